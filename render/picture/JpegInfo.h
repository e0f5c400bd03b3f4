#pragma once
// What a picture file's JPEG headers say before it is decoded: the frame size, the camera orientation and the
// colour profile its colours are stored in. Platform-free; every read stays inside the given block, whatever the
// block holds.
#include <cstddef>
#include <cstdint>
#include <vector>

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
    // The embedded ICC colour profile, joined from its APP2 chunks and checked (see ReadJpegInfo); empty when there
    // is none or it cannot be used, and the stored colours are then taken as sRGB.
    std::vector<uint8_t> iccProfile;
};

// The most a joined colour profile may hold: a display or camera profile is a few kB, a large lookup-table
// profile a few hundred; more is no profile a photo carries.
constexpr size_t kMaxColourProfileBytes = 4u << 20;

// Reads the block's frame header, the orientation of its first "Exif" block and its "ICC_PROFILE" chunks. A block
// that is not a JPEG gives no frame; anything malformed in the Exif block gives orientation 1 (shown as stored).
// The profile is kept only when it is whole and fits the picture: every chunk from 1 to the count they all state
// there once, at most kMaxColourProfileBytes together, the joined header's size field equal to its size, its
// signature "acsp" and its data colour space RGB on a three-component frame. Anything else keeps no profile; it
// never costs the picture.
JpegInfo ReadJpegInfo(const uint8_t* data, size_t size);

// The orientation value (tag 0x0112) of the first image directory of a TIFF structure, as carried in an
// Exif block after its "Exif\0\0" prefix; 1 when it is missing, malformed or out of range.
int ReadTiffOrientation(const uint8_t* tiff, size_t size);
