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
#include "render/picture/PictureColours.h"
#include "render/picture/PictureFile.h"
#include "render/picture/PictureFit.h"
#include "render/picture/PictureLimits.h"
#include "render/picture/PictureScaler.h"

namespace {

// What became of one block of picture bytes.
enum class BlockResult { Usable, NotShown, Stopped };

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

// The decoded picture, 1:1 in work.source, and what its header and the decoder said of it.
struct DecodedPicture {
    SIZE pixels{};
    OLE_XSIZE_HIMETRIC W = 0; // the fit is computed from the decoder's size
    OLE_YSIZE_HIMETRIC H = 0;
    int orientation = 1;
    std::vector<uint8_t> colourProfile; // the colours it is stored in; sRGB when empty
};

// Decodes the block into work.source. The decoded pixels are taken 1:1; they are resampled to each fitted size
// afterwards (the surface's own stretching drops or ANDs pixels when shrinking).
BlockResult DecodeBlock(HDC dc, const CGlobalMemory& block, DWORD size, const std::function<bool()>& stopRequested,
                        PictureWorkspace& work, DecodedPicture& decodedPicture) {
    if (!ThreadIsInComApartment())
        return BlockResult::NotShown;
    JpegInfo info = ReadJpegInfo(static_cast<const uint8_t*>(block.Data()), size);
    // The frame header says how large the decoded picture will be before the decoder allocates it.
    if (info.hasFrame && !PicturePixelsAllowed(info.width, info.height))
        return BlockResult::NotShown;
    CComPtr<IStream> stream;
    // The stream must not free the block: its owner frees it, after the picture and the stream are gone.
    if (FAILED(::CreateStreamOnHGlobal(block.Get(), FALSE, &stream)) || !stream)
        return BlockResult::NotShown;
    CComPtr<IPicture> picture;
    const HRESULT hr = ::OleLoadPicture(stream.Get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                                        reinterpret_cast<void**>(&picture));
    if (FAILED(hr) || !picture)
        return BlockResult::NotShown;
    DecodedPicture& d = decodedPicture;
    picture->get_Width(&d.W);
    picture->get_Height(&d.H);
    const HBITMAP decoded = DecodedBitmap(*picture.Get());
    d.pixels = PicturePixelSize(dc, decoded, d.W, d.H);
    d.orientation = info.orientation;
    d.colourProfile = std::move(info.iccProfile);
    if (!PicturePixelsAllowed(d.pixels.cx, d.pixels.cy) || d.W <= 0 || d.H <= 0)
        return BlockResult::NotShown;
    if (stopRequested && stopRequested())
        return BlockResult::Stopped;
    if (!DecodedPixels(dc, *picture.Get(), decoded, d.W, d.H, d.pixels, work.source))
        return BlockResult::NotShown;
    return BlockResult::Usable;
}

// Fits the decoded picture to every kind: the one decode serves them all, only the resampling is per kind.
bool FitToKinds(const DecodedPicture& d, const std::vector<PictureKind>& kinds, PictureWorkspace& work) {
    // The fit arithmetic sees the picture as shown: a quarter turn trades its width and height.
    const bool swaps = OrientationSwapsAxes(d.orientation);
    work.shown.resize(kinds.size());
    for (size_t i = 0; i < kinds.size(); ++i) {
        FittedPicture& fitted = work.shown[i];
        fitted.targetW = kinds[i].w;
        fitted.targetH = kinds[i].h;
        fitted.fit = FitPicture(kinds[i].w, kinds[i].h, swaps ? d.H : d.W, swaps ? d.W : d.H);
        fitted.pixels.clear();
        if (fitted.fit.width <= 0 || fitted.fit.height <= 0)
            continue;
        // Monitors of one size with other colour profiles (two alike, calibrated apart) share the resampling: the
        // colours are converted afterwards.
        const auto sameSize = std::find_if(work.shown.begin(), work.shown.begin() + i, [&](const FittedPicture& f) {
            return f.targetW == fitted.targetW && f.targetH == fitted.targetH;
        });
        try {
            if (sameSize != work.shown.begin() + i) {
                fitted.pixels = sameSize->pixels;
                continue;
            }
            fitted.pixels.resize(static_cast<size_t>(fitted.fit.width) * static_cast<size_t>(fitted.fit.height));
        } catch (const std::bad_alloc&) {
            return false;
        }
        if (!ScaleOrientedPicture(work.source.data(), d.pixels.cx, d.pixels.cy, d.orientation, fitted.pixels.data(),
                                  fitted.fit.width, fitted.fit.height, &work))
            return false;
    }
    return true;
}

// Decodes the block, fits it to every kind and converts it to each kind's monitor colours. The colours are converted
// after the fit, on the fewer pixels; the difference to converting first is far below what an eye sees.
BlockResult PrepareBlock(HDC dc, const std::vector<PictureKind>& kinds, const CGlobalMemory& block, DWORD size,
                         const std::function<bool()>& stopRequested, PictureWorkspace& work) {
    DecodedPicture decoded;
    const BlockResult result = DecodeBlock(dc, block, size, stopRequested, work, decoded);
    if (result != BlockResult::Usable)
        return result;
    if (!FitToKinds(decoded, kinds, work))
        return BlockResult::NotShown;
    ConvertToMonitorColours(decoded.colourProfile, kinds, work.shown, work.resampled);
    return BlockResult::Usable;
}

} // namespace

PrepareResult PreparePicture(HDC dc, const std::vector<PictureKind>& kinds, const wchar_t* path,
                             const std::function<bool()>& stopRequested, PictureWorkspace& work) {
    std::unique_ptr<CGlobalMemory> block;
    DWORD size = 0;
    if (path != nullptr) {
        // A file that is missing, a folder, held open by another program, too large, or does not decode (empty,
        // damaged, not a picture at all, too many pixels) shows the built-in picture instead, so the phase still
        // has a defined image. A stop during the read or the decode draws nothing: the thread is ending.
        BlockResult result = BlockResult::NotShown;
        switch (ReadPictureFile(path, stopRequested, block, size)) {
        case PictureReadResult::Stopped:
            return PrepareResult::Stopped;
        case PictureReadResult::Read:
            result = PrepareBlock(dc, kinds, *block, size, stopRequested, work);
            break;
        case PictureReadResult::Refused:
            break;
        }
        if (result == BlockResult::Stopped)
            return PrepareResult::Stopped;
        if (result == BlockResult::Usable)
            return PrepareResult::Prepared;
        block.reset();
        return PreparePicture(dc, kinds, nullptr, stopRequested, work);
    }
    // Without a usable built-in picture nothing is prepared, which leaves the targets in a defined state: black.
    if (!CopyBuiltinPicture(block, size) || PrepareBlock(dc, kinds, *block, size, nullptr, work) != BlockResult::Usable)
        work.shown.clear();
    return PrepareResult::Prepared;
}

void ShowPicture(HDC dc, const std::vector<FittedPicture>& picture, const PictureScreens& screens) {
    for (size_t i = 0; i < screens.monitors.size(); ++i) {
        const RECT& target = screens.monitors[i];
        ::FillRect(dc, &target, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        const size_t kind = i < screens.kinds.kindOf.size() ? screens.kinds.kindOf[i] : picture.size();
        if (kind >= picture.size() || picture[kind].pixels.empty() ||
            picture[kind].targetW != target.right - target.left || picture[kind].targetH != target.bottom - target.top)
            continue;
        const FittedPicture& fitted = picture[kind];
        const FitRect& fit = fitted.fit;
        const BITMAPINFO info = TopDown32(fit.width, fit.height);
        ::SetDIBitsToDevice(dc, target.left + fit.x, target.top + fit.y, fit.width, fit.height, 0, 0, 0, fit.height,
                            fitted.pixels.data(), &info, DIB_RGB_COLORS);
    }
}

void DrawPicture(HDC dc, const PictureScreens& screens, const wchar_t* path, const std::function<bool()>& stopRequested,
                 PictureWorkspace* workspace) {
    PictureWorkspace local;
    PictureWorkspace& work = workspace != nullptr ? *workspace : local;
    const PrepareResult prepared = PreparePicture(dc, screens.kinds.kinds, path, stopRequested, work);
    if (prepared == PrepareResult::Prepared)
        ShowPicture(dc, work.shown, screens);
    // Afterwards the kept workspace gives back what the next picture would not reuse.
    if (workspace != nullptr)
        workspace->KeepWithin(kKeptWorkspaceBytes);
}

void DrawPicture(HDC dc, const RECT& target, const wchar_t* path, const std::function<bool()>& stopRequested,
                 PictureWorkspace* workspace) {
    const PictureScreens screens{{target}, {{{target.right - target.left, target.bottom - target.top, ""}}, {0}}};
    DrawPicture(dc, screens, path, stopRequested, workspace);
}
