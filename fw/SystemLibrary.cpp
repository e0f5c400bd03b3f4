#include "fw/SystemLibrary.h"

#include <string>

namespace {

std::string SystemFolderPath(const char* name) {
    char folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    return std::string(folder, length) + "\\" + name;
}

} // namespace

void RestrictDllSearchToSystemFolder() {
    // Windows 8 and later, and Windows 7 with its 2011 loader update, take the system folder as the only place
    // to search. Without that call the least we can do is to drop the current folder from the search; the
    // program's own folder then still comes first for the delay-loaded DLLs.
    const auto setDefault = FindEntryPoint<decltype(::SetDefaultDllDirectories)>(::GetModuleHandleA("kernel32.dll"),
                                                                                 "SetDefaultDllDirectories");
    if (setDefault != nullptr && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    ::SetDllDirectoryA("");
}

CModule LoadSystemLibrary(const char* name) {
    HMODULE module = ::LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // A loader without the search flags refuses them as an invalid parameter: name the file by its full path.
    if (module == nullptr && ::GetLastError() == ERROR_INVALID_PARAMETER) {
        const std::string path = SystemFolderPath(name);
        if (!path.empty())
            module = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    return CModule(module);
}
