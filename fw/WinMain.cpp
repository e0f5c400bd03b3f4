// The process entry of a program built on this framework: everything else happens in the application object.
#include "fw/App.h"
#include "fw/SystemLibrary.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    // Before anything can load a DLL: from here on every DLL comes from the system folder.
    RestrictDllSearchToSystemFolder();
    return AfxWinMain(hInstance);
}
