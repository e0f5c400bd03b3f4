#pragma once
// The pictures a picture setting names: one file, or every picture of a folder in random order.
#include <functional>
#include <string>

#include "render/picture/PictureList.h"

// Fills list from a picture setting: nothing for a path that does not exist, the path itself for a file, every
// "*.jpg" and "*.jpeg" of a folder (sub-folders whose names match included) in random order. draw gives the
// random numbers (0 to 32767); when empty, the C library generator seeded with the tick count is used.
// Returns false when stopRequested ended a folder search early (the list is then incomplete).
bool BuildPictureList(const std::string& path, const std::function<bool()>& stopRequested, PictureList& list,
                      RandomDraw draw = nullptr);
