#pragma once
#include <windows.h>

// Entry of a saver window's render thread; the parameter is the CSaverWnd. Returns 0 on every path.
DWORD WINAPI RenderThreadProc(LPVOID param);
