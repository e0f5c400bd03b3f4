#include "saver/SaverPassword.h"

#include <vector>

#include "fw/Handles.h"
#include "fw/SystemLibrary.h"

DWORD CSaverPassword::IsPasswordEnabled() {
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\desktop", 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return 0;
    const CRegKey key(opened);
    // The value's type is not examined: its raw bytes decide. Up to 4 bytes read as a little-endian number.
    // A longer value (which would not fit a 4-byte read) counts as enabled when any of its bytes is nonzero,
    // the same rule applied to all of its bytes instead of trusting whatever a short read left behind.
    DWORD data = 0;
    DWORD size = sizeof data;
    LONG rc =
        ::RegQueryValueExA(key.Get(), "ScreenSaveUsePassword", nullptr, nullptr, reinterpret_cast<BYTE*>(&data), &size);
    if (rc == ERROR_MORE_DATA) {
        std::vector<BYTE> bytes(size);
        data = 0;
        if (::RegQueryValueExA(key.Get(), "ScreenSaveUsePassword", nullptr, nullptr, bytes.data(), &size) ==
            ERROR_SUCCESS)
            for (DWORD i = 0; i < size && i < bytes.size(); ++i)
                if (bytes[i] != 0)
                    data = 1;
    } else if (rc != ERROR_SUCCESS) {
        data = 0;
    }
    return data;
}

// Both services are the system's own, so they are taken from the system folder only: a file of that name beside
// the program is not ours to run.
BOOL CSaverPassword::VerifyPassword(HWND owner) {
    const CModule lib(LoadSystemLibrary("password.cpl"));
    if (!lib.IsValid())
        return TRUE;
    const auto verify = FindEntryPoint<BOOL WINAPI(HWND)>(lib.Get(), "VerifyScreenSavePwd");
    return verify != nullptr ? verify(owner) : TRUE;
}

void CSaverPassword::ChangePassword(HWND owner) {
    const CModule lib(LoadSystemLibrary("mpr.dll"));
    if (!lib.IsValid())
        return;
    if (const auto change = FindEntryPoint<DWORD WINAPI(LPCSTR, HWND, DWORD, LPVOID)>(lib.Get(), "PwdChangePasswordA"))
        change("SCRSAVE", owner, 0, nullptr);
}
