#pragma once
#include <windows.h>

// The system's screen-saver password services, loaded by name for the length of one call.
class CSaverPassword {
public:
    virtual ~CSaverPassword() = default;

    // Nonzero when HKCU "Control Panel\desktop" "ScreenSaveUsePassword" holds any nonzero byte.
    DWORD IsPasswordEnabled();
    // Shows the system's prompt owned by owner; nonzero when proved (or when verification is unavailable).
    BOOL VerifyPassword(HWND owner);
    // Opens the system's change-password dialog owned by owner, where the system has one.
    void ChangePassword(HWND owner);
};
