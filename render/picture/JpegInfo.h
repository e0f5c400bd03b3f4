#pragma once
// What a picture file's JPEG headers say before it is decoded: the frame size and the camera orientation.
// Platform-free; every read stays inside the given block, whatever the block holds.
#include <cstddef>
#include <cstdint>

// The facts read from a JPEG block's markers up to the first scan.
struct JpegInfo {
    bool hasFrame = false; // a frame header with a non-zero width and height was found
    uint32_t width = 0, height = 0;
    int components = 0; // 1 grey, 3 colour, 4 CMYK
    bool progressive = false;
    // How the stored pixels are to be turned for showing, as a camera records it: 1 as stored, 2 mirrored
    // left-right, 3 turned half round, 4 mirrored top-bottom, 5 mirrored along the main diagonal, 6 turned a
    // quarter clockwise, 7 mirrored along the other diagonal, 8 turned a quarter anticlockwise.
    int orientation = 1;
};

// Reads the block's frame header and the orientation of its first "Exif" block. A block that is not a
// JPEG gives no frame; anything malformed in the Exif block gives orientation 1 (shown as stored).
JpegInfo ReadJpegInfo(const uint8_t* data, size_t size);

// The orientation value (tag 0x0112) of the first image directory of a TIFF structure, as carried in an
// Exif block after its "Exif\0\0" prefix; 1 when it is missing, malformed or out of range.
int ReadTiffOrientation(const uint8_t* tiff, size_t size);
