#pragma once
// Owning GDI wrappers (move-only, deleted in the destructor) and scoped guards that undo what they did.
#include <windows.h>

#include "fw/Handles.h"

namespace fw_detail {
template <typename T> BOOL WINAPI DeleteGdiObject(T handle) {
    return ::DeleteObject(handle);
}
} // namespace fw_detail

// Owns one GDI object of type T.
template <typename T> class CGdiObjectT : public CScopedHandle<T, &fw_detail::DeleteGdiObject<T>> {
public:
    using CScopedHandle<T, &fw_detail::DeleteGdiObject<T>>::CScopedHandle;

    // Takes ownership of handle, deleting the object held before.
    void Attach(T handle) { this->Reset(handle); }
    void DeleteObject() { this->Reset(); }
    T GetSafeHandle() const { return this->Get(); }
    operator T() const { return this->Get(); }
    bool IsNull() const { return !this->IsValid(); }
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

// Owns a region.
using CRgn = CGdiObjectT<HRGN>;

// Owns an icon made for this process (LoadImage without LR_SHARED).
using CIcon = CScopedHandle<HICON, &::DestroyIcon>;

// Owns a memory device context.
class CMemDC : public CScopedHandle<HDC, &::DeleteDC> {
public:
    CMemDC() = default;
    explicit CMemDC(HDC compatibleWith) { Create(compatibleWith); }
    BOOL Create(HDC compatibleWith) {
        Reset(::CreateCompatibleDC(compatibleWith));
        return IsValid();
    }
    void Delete() { Reset(); }
    operator HDC() const { return Get(); }
    bool IsNull() const { return !IsValid(); }
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
    bool IsNull() const { return m_hDC == nullptr; }

protected:
    CClientDC(HWND hWnd, HDC dc) : m_hWnd(hWnd), m_hDC(dc) {}

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// A window's device context with its border (GetWindowDC), released on scope exit.
class CWindowDC : public CClientDC {
public:
    explicit CWindowDC(HWND hWnd) : CClientDC(hWnd, ::GetWindowDC(hWnd)) {}
};

// BeginPaint/EndPaint for one WM_PAINT.
class CPaintDC {
public:
    explicit CPaintDC(HWND hWnd) : m_hWnd(hWnd) { m_hDC = ::BeginPaint(hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    operator HDC() const { return m_hDC; }

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

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// The header of a top-down DIB of w x h with bitCount bits per pixel (rows from the top, uncompressed).
inline BITMAPINFOHEADER TopDownDibHeader(int w, int h, WORD bitCount) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = w;
    header.biHeight = -h;
    header.biPlanes = 1;
    header.biBitCount = bitCount;
    header.biCompression = BI_RGB;
    return header;
}
