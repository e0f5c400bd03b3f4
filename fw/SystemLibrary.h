#pragma once
// DLLs from the system folder only. Windows looks beside the program first for every DLL outside its
// known-DLL list, so a DLL of the same name left in the program's folder (a Downloads folder, say) would run
// inside us; a screen saver is a well-known carrier of that attack.
#include <windows.h>

// Restricts the DLL search of this process to the system folder. Called first thing in start-up, before
// anything can load a DLL; the delay-loaded imports rely on it.
void RestrictDllSearchToSystemFolder();

// Loads a DLL of the system folder by its bare name; null when there is none there.
HMODULE LoadSystemLibrary(const char* name);
