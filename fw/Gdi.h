#pragma once
// Owning GDI wrappers (move-only, deleted in the destructor) and scoped guards that undo what they did.
#include <windows.h>

#include <utility>

// Owns one GDI object of type T.
template <typename T> class CGdiObjectT {
public:
    CGdiObjectT() = default;
    explicit CGdiObjectT(T handle) : m_handle(handle) {}
    CGdiObjectT(const CGdiObjectT&) = delete;
    CGdiObjectT& operator=(const CGdiObjectT&) = delete;
    CGdiObjectT(CGdiObjectT&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    CGdiObjectT& operator=(CGdiObjectT&& other) noexcept {
        if (this != &other)
            Attach(std::exchange(other.m_handle, nullptr));
        return *this;
    }
    ~CGdiObjectT() { DeleteObject(); }

    void Attach(T handle) {
        DeleteObject();
        m_handle = handle;
    }
    T Detach() { return std::exchange(m_handle, nullptr); }
    void DeleteObject() {
        if (m_handle != nullptr)
            ::DeleteObject(m_handle);
        m_handle = nullptr;
    }
    T GetSafeHandle() const { return m_handle; }
    operator T() const { return m_handle; }
    bool IsNull() const { return m_handle == nullptr; }

protected:
    T m_handle = nullptr;
};

// Owns a brush.
class CBrush : public CGdiObjectT<HBRUSH> {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    BOOL CreateSolidBrush(COLORREF color) {
        Attach(::CreateSolidBrush(color));
        return !IsNull();
    }
};

// Owns a font.
class CFont : public CGdiObjectT<HFONT> {
public:
    BOOL CreateFontIndirect(const LOGFONTA* lf) {
        Attach(::CreateFontIndirectA(lf));
        return !IsNull();
    }
};

// Owns a bitmap.
class CBitmap : public CGdiObjectT<HBITMAP> {
public:
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
        Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
        return !IsNull();
    }
};

// Owns a memory device context.
class CMemDC {
public:
    explicit CMemDC(HDC compatibleWith) : m_hDC(::CreateCompatibleDC(compatibleWith)) {}
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;
    ~CMemDC() {
        if (m_hDC != nullptr)
            ::DeleteDC(m_hDC);
    }
    operator HDC() const { return m_hDC; }
    bool IsNull() const { return m_hDC == nullptr; }

private:
    HDC m_hDC;
};

// A window's device context from GetDC, released on scope exit.
class CClientDC {
public:
    explicit CClientDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::GetDC(hWnd)) {}
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;
    ~CClientDC() {
        if (m_hDC != nullptr)
            ::ReleaseDC(m_hWnd, m_hDC);
    }
    operator HDC() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// BeginPaint/EndPaint for one WM_PAINT.
class CPaintDC {
public:
    explicit CPaintDC(HWND hWnd) : m_hWnd(hWnd) { m_hDC = ::BeginPaint(hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    operator HDC() const { return m_hDC; }
    const PAINTSTRUCT& Info() const { return m_ps; }

private:
    HWND m_hWnd;
    HDC m_hDC;
    PAINTSTRUCT m_ps{};
};

// Selects an object into a device context and selects the previous one back on scope exit.
class CSelectGuard {
public:
    CSelectGuard(HDC dc, HGDIOBJ obj) : m_hDC(dc), m_hOld(::SelectObject(dc, obj)) {}
    CSelectGuard(const CSelectGuard&) = delete;
    CSelectGuard& operator=(const CSelectGuard&) = delete;
    ~CSelectGuard() {
        if (m_hOld != nullptr && m_hOld != HGDI_ERROR)
            ::SelectObject(m_hDC, m_hOld);
    }
    HGDIOBJ Previous() const { return m_hOld; }

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};
