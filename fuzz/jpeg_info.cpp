// The JPEG header, Exif and colour profile reader on any bytes. Besides never reading outside the block, what it
// answers must always be sound and must depend on the bytes alone, not on where in memory they lie.
#include <cstring>
#include <vector>

#include "FuzzCheck.h"
#include "render/picture/JpegInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The same bytes one address further on: an odd alignment, and the same end, so a read past it still shows.
    std::vector<uint8_t> moved(size + 1);
    if (size > 0)
        std::memcpy(moved.data() + 1, data, size);

    const JpegInfo info = ReadJpegInfo(data, size);
    FUZZ_CHECK(info.orientation >= 1 && info.orientation <= 8);
    FUZZ_CHECK(info.hasFrame ? info.width > 0 && info.height > 0 : info.width == 0 && info.height == 0);
    const JpegInfo again = ReadJpegInfo(moved.data() + 1, size);
    FUZZ_CHECK(again.hasFrame == info.hasFrame && again.width == info.width && again.height == info.height &&
               again.components == info.components && again.progressive == info.progressive &&
               again.orientation == info.orientation && again.iccProfile == info.iccProfile);
    // A colour profile is kept only whole and for a colour picture: within the bound, its header's own size, an
    // RGB profile with the ICC signature.
    const std::vector<uint8_t>& icc = info.iccProfile;
    if (!icc.empty()) {
        FUZZ_CHECK(info.hasFrame && info.components == 3 && icc.size() >= 128 && icc.size() <= kMaxColourProfileBytes);
        FUZZ_CHECK(std::memcmp(icc.data() + 36, "acsp", 4) == 0 && std::memcmp(icc.data() + 16, "RGB ", 4) == 0);
        FUZZ_CHECK(((size_t{icc[0]} << 24) | (size_t{icc[1]} << 16) | (size_t{icc[2]} << 8) | icc[3]) == icc.size());
    }

    // The Exif reader on its own, taking the bytes as the TIFF structure of an Exif block.
    const int orientation = ReadTiffOrientation(data, size);
    FUZZ_CHECK(orientation >= 1 && orientation <= 8);
    FUZZ_CHECK(ReadTiffOrientation(moved.data() + 1, size) == orientation);
    return 0;
}
