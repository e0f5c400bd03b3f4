// The process entry of a program built on this framework: everything else happens in the application object.
#include "fw/App.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    return AfxWinMain(hInstance);
}
