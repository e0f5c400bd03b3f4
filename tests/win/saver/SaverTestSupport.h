#pragma once
// Shared by the saver tests: the password flag and the stand-in verifier.
#include <windows.h>

#include <string>

namespace st {

// Sets the password flag for the life of the object, then removes it.
class PasswordFlag {
public:
    explicit PasswordFlag(DWORD value);
    PasswordFlag(DWORD type, const void* data, DWORD size);
    ~PasswordFlag();
};

// Puts the stand-in "password.cpl" into folder with an answer ('1' proves, '0' refuses) until destroyed.
class PasswordDouble {
public:
    PasswordDouble(const std::string& folder, char answer);
    ~PasswordDouble();
    void SetAnswer(char answer);
    // Number of verifications so far.
    int Calls() const;

private:
    std::string m_folder;
};

} // namespace st
