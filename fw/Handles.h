#pragma once
// Owners of kernel, registry, module, memory and COM handles: each releases what it holds in its destructor, so
// no path through a function has to remember to.
//
// The rule of the whole program: a handle that has to be given back is held, from the moment it is made, by one
// of these owners or those of fw/Gdi.h, and by nothing else. A bare handle never owns, so nothing gives one back
// by hand. An owner takes a handle when constructed from it or by Reset (Attach on the GDI owners); it moves but is
// never copied. A window object owns no window: it binds one (fw/Wnd.h), and the window's own life decides.
#include <windows.h>

#include <objbase.h>

#include <utility>

// Owns a handle of type H that close() releases; invalid is the value meaning "none".
template <typename H, BOOL(WINAPI* close)(H), H invalid = nullptr> class CScopedHandle {
public:
    CScopedHandle() = default;
    explicit CScopedHandle(H handle) : m_handle(handle) {}
    CScopedHandle(const CScopedHandle&) = delete;
    CScopedHandle& operator=(const CScopedHandle&) = delete;
    CScopedHandle(CScopedHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, invalid)) {}
    CScopedHandle& operator=(CScopedHandle&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.m_handle, invalid));
        return *this;
    }
    ~CScopedHandle() { Reset(); }

    void Reset(H handle = invalid) {
        if (m_handle != invalid)
            close(m_handle);
        m_handle = handle;
    }
    H Get() const { return m_handle; }
    bool IsValid() const { return m_handle != invalid; }

private:
    H m_handle = invalid;
};

namespace fw_detail {
inline BOOL WINAPI CloseRegKey(HKEY key) {
    return ::RegCloseKey(key) == ERROR_SUCCESS;
}
inline BOOL WINAPI ReleaseLibrary(HMODULE module) {
    return ::FreeLibrary(module);
}
inline BOOL WINAPI CloseFindHandle(HANDLE find) {
    return ::FindClose(find);
}
inline BOOL WINAPI FreeGlobal(HGLOBAL memory) {
    return ::GlobalFree(memory) == nullptr;
}
} // namespace fw_detail

// A thread, event or file handle (CloseHandle); null means none.
using CHandle = CScopedHandle<HANDLE, &::CloseHandle>;
// A file from CreateFileA or CreateFileW (INVALID_HANDLE_VALUE means none).
class CFileHandle : public CScopedHandle<HANDLE, &::CloseHandle, nullptr> {
public:
    CFileHandle() = default;
    // CreateFile reports failure as INVALID_HANDLE_VALUE; it is kept as "none".
    explicit CFileHandle(HANDLE handle) : CScopedHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
};
// An open registry key.
using CRegKey = CScopedHandle<HKEY, &fw_detail::CloseRegKey>;
// A library loaded with LoadLibraryA.
using CModule = CScopedHandle<HMODULE, &fw_detail::ReleaseLibrary>;

// A fixed global memory block of size bytes (GlobalAlloc), for the system calls that take an HGLOBAL; null when
// it could not be had.
class CGlobalMemory : public CScopedHandle<HGLOBAL, &fw_detail::FreeGlobal> {
public:
    explicit CGlobalMemory(SIZE_T size) : CScopedHandle(::GlobalAlloc(GMEM_FIXED, size)) {}
    void* Data() const { return Get(); } // a fixed block's handle is its address
};

// A file search from FindFirstFileW: the first entry is read on construction. Wide, because the pictures of a
// folder are its one use, and their names may hold characters the ANSI code page cannot spell.
class CFindFile {
public:
    explicit CFindFile(const wchar_t* pattern) : m_search(Normalise(::FindFirstFileW(pattern, &m_data))) {}
    // True while an entry is at hand; Next moves to the following one.
    bool Found() const { return m_search.IsValid() && m_bFound; }
    void Next() { m_bFound = ::FindNextFileW(m_search.Get(), &m_data) != FALSE; }
    const WIN32_FIND_DATAW& Data() const { return m_data; }

private:
    static HANDLE Normalise(HANDLE h) { return h == INVALID_HANDLE_VALUE ? nullptr : h; }
    WIN32_FIND_DATAW m_data{};
    CScopedHandle<HANDLE, &fw_detail::CloseFindHandle> m_search;
    bool m_bFound = true;
};

// This thread's membership of a single-threaded COM apartment, entered on construction and left on destruction
// (after every COM object the thread made is released). Windows requires it of every thread that uses COM.
class CComApartment {
public:
    // enter false stands for an entry the system refused (a test's fault).
    explicit CComApartment(bool enter = true)
        : m_hr(enter ? ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED) : E_FAIL) {}
    ~CComApartment() {
        if (SUCCEEDED(m_hr))
            ::CoUninitialize();
    }
    CComApartment(const CComApartment&) = delete;
    CComApartment& operator=(const CComApartment&) = delete;

private:
    HRESULT m_hr;
};

// Holds one reference to a COM object.
template <typename T> class CComPtr {
public:
    CComPtr() = default;
    CComPtr(const CComPtr&) = delete;
    CComPtr& operator=(const CComPtr&) = delete;
    ~CComPtr() { Release(); }

    void Release() {
        if (m_p != nullptr)
            m_p->Release();
        m_p = nullptr;
    }
    // Takes over a reference the caller holds; the previous one is released first.
    void Attach(T* p) {
        Release();
        m_p = p;
    }
    // For functions that hand out a new reference: the previous one is released first.
    T** operator&() {
        Release();
        return &m_p;
    }
    T* operator->() const { return m_p; }
    T* Get() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};
