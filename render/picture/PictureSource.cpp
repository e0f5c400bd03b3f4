#include "render/picture/PictureSource.h"

#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "fw/Gdi.h"
#include "fw/Handles.h"
#include "render/picture/JpegInfo.h"
#include "render/picture/PictureFile.h"
#include "render/picture/PictureFit.h"
#include "render/picture/PictureLimits.h"
#include "render/picture/PictureScaler.h"

namespace {

enum class DrawResult { Drawn, NotShown, Stopped };

// The decoder is a COM service, and Windows requires the calling thread to have entered an apartment. (Wine's
// decoder enters one for itself, which would hide a thread that never did.)
bool ThreadIsInComApartment() {
    APTTYPE type{};
    APTTYPEQUALIFIER qualifier{};
    return SUCCEEDED(::CoGetApartmentType(&type, &qualifier));
}

// The decoder's bitmap, for a picture that is one (every JPEG); null otherwise.
HBITMAP DecodedBitmap(IPicture& picture) {
    SHORT type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    if (FAILED(picture.get_Type(&type)) || type != PICTYPE_BITMAP || FAILED(picture.get_Handle(&handle)))
        return nullptr;
    return reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
}

// The decoded picture's size in pixels: a bitmap's own size, else its HIMETRIC size at the surface's resolution.
SIZE PicturePixelSize(HDC dc, HBITMAP decoded, OLE_XSIZE_HIMETRIC W, OLE_YSIZE_HIMETRIC H) {
    BITMAP bitmap{};
    if (decoded != nullptr && ::GetObjectA(decoded, sizeof bitmap, &bitmap) == sizeof bitmap)
        return {bitmap.bmWidth, bitmap.bmHeight < 0 ? -bitmap.bmHeight : bitmap.bmHeight};
    return {::MulDiv(W, ::GetDeviceCaps(dc, LOGPIXELSX), 2540), ::MulDiv(H, ::GetDeviceCaps(dc, LOGPIXELSY), 2540)};
}

BITMAPINFO TopDown32(int32_t w, int32_t h) {
    BITMAPINFO info{};
    info.bmiHeader = TopDownDibHeader(w, h, 32);
    return info;
}

// The decoded picture's pixels, 1:1, as top-down 32-bit words. A bitmap is read straight out of it; anything
// else is drawn 1:1 into a surface of our own first.
bool DecodedPixels(HDC dc, IPicture& picture, HBITMAP decoded, OLE_XSIZE_HIMETRIC W, OLE_YSIZE_HIMETRIC H, SIZE pixels,
                   std::vector<uint32_t>& out) {
    try {
        out.resize(static_cast<size_t>(pixels.cx) * static_cast<size_t>(pixels.cy));
    } catch (const std::bad_alloc&) {
        return false;
    }
    BITMAPINFO info = TopDown32(pixels.cx, pixels.cy);
    if (decoded != nullptr &&
        ::GetDIBits(dc, decoded, 0, static_cast<UINT>(pixels.cy), out.data(), &info, DIB_RGB_COLORS) == pixels.cy)
        return true;
    void* bits = nullptr;
    CBitmap surface;
    surface.Attach(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    CMemDC memory(dc);
    if (surface.IsNull() || bits == nullptr || memory.IsNull())
        return false;
    {
        CSelectGuard select(memory, surface);
        // Source from HIMETRIC's bottom-up space, hence the negative height.
        picture.Render(memory, 0, 0, pixels.cx, pixels.cy, 0, H - 1, W, -H, nullptr);
    }
    ::GdiFlush();
    std::copy_n(static_cast<const uint32_t*>(bits), out.size(), out.data());
    return true;
}

// Decodes the block and draws it upright by its camera orientation, fitted on black. The decoded pixels are
// taken 1:1; we resample them to the fitted size (the surface's own stretching drops or ANDs pixels when
// shrinking) and copy the result 1:1 to the window.
DrawResult RenderBlockWith(HDC dc, const RECT& target, const CGlobalBlock& block, DWORD size,
                           const std::function<bool()>& stopRequested, PictureWorkspace& work) {
    if (!ThreadIsInComApartment())
        return DrawResult::NotShown;
    const JpegInfo info = ReadJpegInfo(static_cast<const uint8_t*>(block.Data()), size);
    // The frame header says how large the decoded picture will be before the decoder allocates it.
    if (info.hasFrame && !PicturePixelsAllowed(info.width, info.height))
        return DrawResult::NotShown;
    CComPtr<IStream> stream;
    // The stream must not free the block: its owner frees it, after the picture and the stream are gone.
    if (FAILED(::CreateStreamOnHGlobal(block.Handle(), FALSE, &stream)) || !stream)
        return DrawResult::NotShown;
    CComPtr<IPicture> picture;
    const HRESULT hr = ::OleLoadPicture(stream.Get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                                        reinterpret_cast<void**>(&picture));
    if (FAILED(hr) || !picture)
        return DrawResult::NotShown;
    OLE_XSIZE_HIMETRIC W = 0;
    OLE_YSIZE_HIMETRIC H = 0;
    picture->get_Width(&W);
    picture->get_Height(&H);
    const HBITMAP decoded = DecodedBitmap(*picture.Get());
    const SIZE pixels = PicturePixelSize(dc, decoded, W, H);
    if (!PicturePixelsAllowed(pixels.cx, pixels.cy) || W <= 0 || H <= 0)
        return DrawResult::NotShown;
    if (stopRequested && stopRequested())
        return DrawResult::Stopped;

    if (!DecodedPixels(dc, *picture.Get(), decoded, W, H, pixels, work.source))
        return DrawResult::NotShown;
    picture.Release(); // the decoder's copy is no longer needed: less memory held while resampling
    stream.Release();

    // The fit arithmetic sees the picture as shown: a quarter turn trades its width and height.
    const bool swaps = OrientationSwapsAxes(info.orientation);
    const FitRect fit = FitPicture(target.right, target.bottom, swaps ? H : W, swaps ? W : H);
    std::vector<uint32_t>& shown = work.shown;
    shown.clear();
    if (fit.width > 0 && fit.height > 0) {
        try {
            shown.resize(static_cast<size_t>(fit.width) * static_cast<size_t>(fit.height));
        } catch (const std::bad_alloc&) {
            return DrawResult::NotShown;
        }
        if (!ScaleOrientedPicture(work.source.data(), pixels.cx, pixels.cy, info.orientation, shown.data(), fit.width,
                                  fit.height, &work))
            return DrawResult::NotShown;
    }
    ::FillRect(dc, &target, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    if (!shown.empty()) {
        const BITMAPINFO shownInfo = TopDown32(fit.width, fit.height);
        ::SetDIBitsToDevice(dc, fit.x, fit.y, fit.width, fit.height, 0, 0, 0, fit.height, shown.data(), &shownInfo,
                            DIB_RGB_COLORS);
    }
    return DrawResult::Drawn;
}

// RenderBlockWith in the kept workspace, which afterwards gives back what the next picture would not reuse, or
// in one of its own.
DrawResult RenderBlock(HDC dc, const RECT& target, const CGlobalBlock& block, DWORD size,
                       const std::function<bool()>& stopRequested, PictureWorkspace* workspace) {
    PictureWorkspace local;
    const DrawResult result =
        RenderBlockWith(dc, target, block, size, stopRequested, workspace != nullptr ? *workspace : local);
    if (workspace != nullptr)
        workspace->KeepWithin(kKeptWorkspaceBytes);
    return result;
}

} // namespace

void DrawPicture(HDC dc, const RECT& target, const wchar_t* path, const std::function<bool()>& stopRequested,
                 PictureWorkspace* workspace) {
    std::unique_ptr<CGlobalBlock> block;
    DWORD size = 0;
    if (path != nullptr) {
        // A file that is missing, a folder, held open by another program, too large, or does not decode (empty,
        // damaged, not a picture at all, too many pixels) shows the built-in picture instead, so the phase still
        // has a defined image. A stop during the read or the decode draws nothing: the thread is ending.
        DrawResult result = DrawResult::NotShown;
        switch (ReadPictureFile(path, stopRequested, block, size)) {
        case PictureReadResult::Stopped:
            return;
        case PictureReadResult::Read:
            result = RenderBlock(dc, target, *block, size, stopRequested, workspace);
            break;
        case PictureReadResult::Refused:
            break;
        }
        if (result == DrawResult::NotShown) {
            block.reset();
            DrawPicture(dc, target, nullptr, stopRequested, workspace);
        }
        return;
    }
    if (!CopyBuiltinPicture(block, size) ||
        RenderBlock(dc, target, *block, size, nullptr, workspace) == DrawResult::NotShown) {
        // Without a usable built-in picture the target is at least left in a defined state.
        ::FillRect(dc, &target, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
}
