#include "SaverTestSupport.h"

#include "TestSupport.h"

namespace st {

PasswordFlag::PasswordFlag(DWORD value) {
    wt::SetPasswordFlag(REG_DWORD, &value, sizeof value);
}
PasswordFlag::PasswordFlag(DWORD type, const void* data, DWORD size) {
    wt::SetPasswordFlag(type, data, size);
}
PasswordFlag::~PasswordFlag() {
    wt::SetPasswordFlag(0, nullptr, 0);
}

PasswordDouble::PasswordDouble(char answer) {
    ::DeleteFileA((m_folder + "\\password.log").c_str());
    SetAnswer(answer);
}

PasswordDouble::~PasswordDouble() {
    ::DeleteFileA((m_folder + "\\password.log").c_str());
    ::DeleteFileA((m_folder + "\\password.answer").c_str());
}

void PasswordDouble::SetAnswer(char answer) {
    wt::WriteFileBytes(m_folder + "\\password.answer", std::string(1, answer));
}

int PasswordDouble::Calls() const {
    std::string log = wt::ReadFileBytes(m_folder + "\\password.log");
    int n = 0;
    for (char c : log)
        n += c == '\n';
    return n;
}

} // namespace st
