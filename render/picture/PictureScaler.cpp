#include "render/picture/PictureScaler.h"

#include <cstddef>
#include <cstdlib>
#include <new>
#include <type_traits>
#include <vector>

namespace {
// The resampler asks for its working memory in one piece per call; with a workspace it is the workspace's
// buffer, grown when too small and kept for the next picture.
void* ResizerMemory(size_t size, void* context) {
    if (context == nullptr)
        return std::malloc(size);
    std::vector<unsigned char>& memory = static_cast<PictureWorkspace*>(context)->resizer;
    try {
        if (memory.size() < size)
            memory.resize(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return memory.data();
}
void ReleaseResizerMemory(void* block, void* context) {
    if (context == nullptr)
        std::free(block);
}
} // namespace

#define STBIR_MALLOC(size, context) ResizerMemory(size, context)
#define STBIR_FREE(block, context) ReleaseResizerMemory(block, context)
// The resampler is compiled into this one file only.
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_IMAGE_RESIZE_STATIC
#include <stb_image_resize.h>

void PictureWorkspace::KeepWithin(size_t bytes) {
    // Each buffer is kept whole or not at all: a buffer cut down would be grown again by the next picture that
    // needs it, touching fresh pages all the same. The picture as shown comes first, since it may be the next
    // phase's picture prepared ahead (whoever prepared it keeps it only when all of it fits); the same monitors need
    // those buffers for every picture anyway. The decoded picture follows: it is the largest and so saves the most
    // when reused; it fits beside the fitted copies unless it is a giant or the monitors are beyond 1920 x 1200.
    // What no longer fits is given back, so nothing a giant picture needed outlives it.
    size_t kept = 0;
    const auto keepOrFree = [&kept, bytes](auto& buffer) {
        const size_t size = buffer.capacity() * sizeof(buffer[0]);
        if (size <= bytes - kept)
            kept += size;
        else
            std::decay_t<decltype(buffer)>().swap(buffer);
    };
    for (FittedPicture& fitted : shown)
        keepOrFree(fitted.pixels);
    keepOrFree(source);
    keepOrFree(resampled);
    keepOrFree(resizer);
}

size_t PictureWorkspace::ShownBytes() const {
    size_t bytes = 0;
    for (const FittedPicture& fitted : shown)
        bytes += fitted.pixels.capacity() * sizeof(uint32_t);
    return bytes;
}

bool OrientationSwapsAxes(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

void OrientPixels(const uint32_t* src, int32_t sw, int32_t sh, int orientation, uint32_t* dst) {
    if (sw <= 0 || sh <= 0)
        return;
    // Each target pixel (x, y) comes from source index origin + x * stepX + y * stepY.
    const ptrdiff_t w = sw;
    const ptrdiff_t lastRow = static_cast<ptrdiff_t>(sh - 1) * w;
    ptrdiff_t origin = 0, stepX = 1, stepY = w;
    switch (orientation) {
    case 2:
        origin = w - 1, stepX = -1, stepY = w;
        break;
    case 3:
        origin = lastRow + w - 1, stepX = -1, stepY = -w;
        break;
    case 4:
        origin = lastRow, stepX = 1, stepY = -w;
        break;
    case 5:
        origin = 0, stepX = w, stepY = 1;
        break;
    case 6:
        origin = lastRow, stepX = -w, stepY = 1;
        break;
    case 7:
        origin = lastRow + w - 1, stepX = -w, stepY = -1;
        break;
    case 8:
        origin = w - 1, stepX = w, stepY = -1;
        break;
    default:
        break;
    }
    const bool swaps = OrientationSwapsAxes(orientation);
    const int32_t ow = swaps ? sh : sw;
    const int32_t oh = swaps ? sw : sh;
    for (int32_t y = 0; y < oh; ++y) {
        const uint32_t* from = src + origin + y * stepY;
        uint32_t* to = dst + static_cast<ptrdiff_t>(y) * ow;
        for (int32_t x = 0; x < ow; ++x, from += stepX)
            to[x] = *from;
    }
}

bool ResamplePixels(const uint32_t* src, int32_t sw, int32_t sh, uint32_t* dst, int32_t dw, int32_t dh,
                    PictureWorkspace* workspace) {
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0)
        return false;
    // The box filter averages exactly the covered area when shrinking; the triangle filter is bilinear when
    // growing. Each axis gets its own, as fitting can shrink one axis and grow the other by a pixel.
    const stbir_filter horizontal = dw < sw ? STBIR_FILTER_BOX : STBIR_FILTER_TRIANGLE;
    const stbir_filter vertical = dh < sh ? STBIR_FILTER_BOX : STBIR_FILTER_TRIANGLE;
    // Averaged in sRGB values, as stored, not in linear light: that is how the platform's own viewers and web
    // browsers shrink photos, so a photo looks here as it does there; linear light would only differ on fine
    // high-contrast detail (one-pixel black and white stripes give grey 128 rather than 188), and it costs two
    // conversions per pixel for a difference few photos show.
    return stbir_resize(src, sw, sh, sw * 4, dst, dw, dh, dw * 4, STBIR_TYPE_UINT8, 4, STBIR_ALPHA_CHANNEL_NONE, 0,
                        STBIR_EDGE_CLAMP, STBIR_EDGE_CLAMP, horizontal, vertical, STBIR_COLORSPACE_LINEAR,
                        workspace) != 0;
}

bool ScaleOrientedPicture(const uint32_t* src, int32_t sw, int32_t sh, int orientation, uint32_t* dst, int32_t dw,
                          int32_t dh, PictureWorkspace* workspace) {
    if (orientation < 2 || orientation > 8)
        return ResamplePixels(src, sw, sh, dst, dw, dh, workspace);
    const bool swaps = OrientationSwapsAxes(orientation);
    const int32_t rw = swaps ? dh : dw;
    const int32_t rh = swaps ? dw : dh;
    std::vector<uint32_t> local;
    std::vector<uint32_t>& resampled = workspace != nullptr ? workspace->resampled : local;
    try {
        resampled.resize(static_cast<size_t>(rw) * static_cast<size_t>(rh));
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!ResamplePixels(src, sw, sh, resampled.data(), rw, rh, workspace))
        return false;
    OrientPixels(resampled.data(), rw, rh, orientation, dst);
    return true;
}
