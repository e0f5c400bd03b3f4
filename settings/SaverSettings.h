#pragma once
// The six persisted settings, their keys and defaults. Platform-free.
#include <cstdint>
#include <string>

// The saver's settings, one field per key of the same name.
struct SaverSettings {
    int32_t Speed = 11;            // frame interval = Speed + 20 ms
    int32_t SpiralTime = 30;       // seconds of spiral
    int32_t PictureTime = 15;      // seconds of still picture; 0: no pictures
    std::string PictureFile;       // a JPEG file or a folder; empty: the built-in picture
    uint32_t FrontColor = 0;       // COLORREF
    uint32_t BackColor = 0xFFFFFF; // COLORREF
};

// Buffer size of the stored path: longer values are cut to one less than this.
constexpr int kPictureFileBuffer = 4096;

// Section used when the login name cannot be read (GetUserNameA fails, e.g. for names of 64 characters or
// more). '<' and '>' cannot occur in a Windows login name, so this never collides with a real user's section.
constexpr const char* kFallbackSection = "<unknown>";
