#pragma once
// Which monitors can share one prepared picture: those of one size that show colours alike. Platform-free.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One kind of monitor a picture is prepared for: its size, and the colour profile its colours are converted to.
struct PictureKind {
    int32_t w = 0, h = 0;
    std::string monitorProfile; // the monitor's colour profile file; empty for sRGB, the colours pictures are stored in
};

// The distinct kinds of a desk's monitors, in the order the monitors first show them, and each monitor's kind.
struct PictureKinds {
    std::vector<PictureKind> kinds;
    std::vector<size_t> kindOf; // index into kinds, one per monitor
};

// Groups monitors (one PictureKind each, in the desk's order) into their distinct kinds.
PictureKinds DistinctPictureKinds(const std::vector<PictureKind>& monitors);
