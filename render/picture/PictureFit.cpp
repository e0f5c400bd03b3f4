#include "render/picture/PictureFit.h"

FitRect FitPicture(int32_t r, int32_t b, int32_t W, int32_t H) {
    // A decoder that reports no width or height would otherwise divide by zero.
    if (W <= 0 || H <= 0)
        return {0, 0, r, b};
    // Products in 64 bits: the same results as 32-bit arithmetic wherever that does not overflow, and no
    // overflow for pictures of more than about 20,000 pixels on a large target.
    const int64_t hfit = static_cast<int64_t>(r) * H / W;
    int64_t dx = 0;
    int64_t dy = 0;
    if (hfit > b)
        dx = r - static_cast<int64_t>(b) * W / H;
    else
        dy = b - hfit;
    return {static_cast<int32_t>(dx / 2), static_cast<int32_t>(dy / 2), static_cast<int32_t>(r - dx),
            static_cast<int32_t>(b - dy)};
}
