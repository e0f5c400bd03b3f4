#pragma once
// DLLs from the system folder only. Windows looks beside the program first for every DLL outside its
// known-DLL list, so a DLL of the same name left in the program's folder (a Downloads folder, say) would run
// inside us; a screen saver is a well-known carrier of that attack.
#include <windows.h>

#include <type_traits>

#include "fw/Handles.h"

// Restricts the DLL search of this process to the system folder. Called first thing in start-up, before
// anything can load a DLL; the delay-loaded imports rely on it.
void RestrictDllSearchToSystemFolder();

// Loads a DLL of the system folder by its bare name; none when there is none there.
CModule LoadSystemLibrary(const char* name);

// Entry point name of module, typed as Fn: decltype(::Function), or the signature written out where our headers
// lack it (newer than the Windows we build for, or a DLL without headers). Null where module is null or lacks it.
template <typename Fn> Fn* FindEntryPoint(HMODULE module, const char* name) {
    static_assert(std::is_function<Fn>::value, "Fn is a function type, such as decltype(::Function)");
    if (module == nullptr)
        return nullptr;
    // GetProcAddress gives every entry point one generic type; going through void* says the cast is meant.
    return reinterpret_cast<Fn*>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}
