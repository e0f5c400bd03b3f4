#pragma once
// Turning a decoded picture upright by its camera orientation and resampling it to the size it is shown at.
// Platform-free: pixels are 32-bit words (0x00RRGGBB as a top-down 32-bpp DIB holds them), rows packed.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/picture/PictureFit.h"

// A picture as shown on targets of one size: where it sits on them and its pixels at that fitted size.
struct FittedPicture {
    int32_t targetW = 0, targetH = 0;
    FitRect fit;
    std::vector<uint32_t> pixels; // fit.width x fit.height; empty when nothing is to be drawn but black
};

// Working memory of the scaler, kept from one picture to the next by whoever draws them: fresh pages are
// costly to touch (under Wine about 2.7 ms per MB), and a photo's buffers run to tens of MB.
struct PictureWorkspace {
    std::vector<uint32_t> source;       // the decoded picture, 1:1
    std::vector<uint32_t> resampled;    // before a turn, for orientations 2 to 8
    std::vector<FittedPicture> shown;   // the picture as shown, one per distinct target size
    std::vector<unsigned char> resizer; // the resampler's own working memory

    // Gives back, after a picture, what the next typical one would not reuse, keeping at most bytes in all. The
    // picture as shown comes first: it may be the next phase's picture, prepared ahead (see ShownBytes).
    void KeepWithin(size_t bytes);
    // What the picture as shown holds, for every size together.
    size_t ShownBytes() const;
};

// What a kept workspace may hold between pictures: a phone's 12 MP photo decoded (47 MiB) with its fitted copy
// on a screen up to 1920 x 1200 (9 MiB), so a run of such photos touches no fresh pages after the first, while
// one giant photo (48 MP: 183 MiB decoded; the pixel cap: 1 GiB) is not paid for in memory all night. A picture
// prepared ahead for the next phase is counted in it too.
constexpr size_t kKeptWorkspaceBytes = 64u << 20;

// Orientations 5 to 8 turn or mirror the picture across a diagonal, so its width and height trade places.
bool OrientationSwapsAxes(int orientation);

// Writes the stored picture src (sw x sh) as it is to be shown by orientation into dst, whose size is the
// oriented one (sh x sw for 5 to 8). An orientation outside 1 to 8 is taken as 1.
void OrientPixels(const uint32_t* src, int32_t sw, int32_t sh, int orientation, uint32_t* dst);

// Resamples src (sw x sh) to dst (dw x dh). Where an axis shrinks, every target pixel is the average of the
// source area it covers; where it grows, the picture is interpolated linearly. False when no working memory.
// workspace, when given, supplies the resampler's working memory.
bool ResamplePixels(const uint32_t* src, int32_t sw, int32_t sh, uint32_t* dst, int32_t dw, int32_t dh,
                    PictureWorkspace* workspace = nullptr);

// The stored picture src (sw x sh), turned upright by orientation and resampled to dw x dh (an oriented size).
// The picture is resampled first and turned afterwards, on the smaller image. False when no working memory.
bool ScaleOrientedPicture(const uint32_t* src, int32_t sw, int32_t sh, int orientation, uint32_t* dst, int32_t dw,
                          int32_t dh, PictureWorkspace* workspace = nullptr);
