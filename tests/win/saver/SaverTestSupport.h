#pragma once
// Shared by the saver tests: the password flag and the stand-in verifier.
#include <windows.h>

#include <string>

#include "TestSupport.h"

namespace st {

// Sets the password flag for the life of the object, then removes it.
class PasswordFlag {
public:
    explicit PasswordFlag(DWORD value);
    PasswordFlag(DWORD type, const void* data, DWORD size);
    ~PasswordFlag();
};

// Puts the stand-in "password.cpl" into the system folder, where Windows keeps the real one, with an answer ('1'
// proves, '0' refuses) until destroyed.
class PasswordDouble {
public:
    explicit PasswordDouble(char answer);
    ~PasswordDouble();
    void SetAnswer(char answer);
    // Number of verifications so far.
    int Calls() const;

private:
    std::string m_folder = wt::SystemFolder();
    wt::CSystemFileStandIn m_verifier{wt::PasswordDoublePath(), "password.cpl"};
};

} // namespace st
