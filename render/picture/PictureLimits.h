#pragma once
// How big a picture file may be, and how many pixels a picture may decode to, before the built-in picture is
// shown instead. Platform-free.
#include <cstdint>

// Files larger than this are not read at all. A 100 MB panorama, the largest real photo file we expect, fits
// two and a half times; anything bigger is far more likely a mistake (a disk image, a video renamed .jpg) and
// would hold up the end of the saver while it is read.
constexpr uint64_t kMaxPictureFileBytes = 256ull << 20;

// Pictures with more pixels than this are not decoded. Decoding needs about 4 bytes a pixel in the decoder and
// another 4 in our own copy, so this cap (268 million pixels, e.g. 32768 x 8192) keeps one picture under about
// 2 GiB while a 50 MP camera file (8688 x 5792) fits five times.
constexpr uint64_t kMaxPicturePixels = 256ull << 20;

inline bool PictureFileSizeAllowed(uint64_t bytes) {
    return bytes <= kMaxPictureFileBytes;
}

// Width and height as a decoder or a frame header reports them; none may be zero or negative.
inline bool PicturePixelsAllowed(int64_t width, int64_t height) {
    if (width <= 0 || height <= 0 || width > static_cast<int64_t>(kMaxPicturePixels) ||
        height > static_cast<int64_t>(kMaxPicturePixels))
        return false;
    return static_cast<uint64_t>(width) * static_cast<uint64_t>(height) <= kMaxPicturePixels;
}
