#pragma once
// Drawing one still picture, upright and fitted on black.
#include <windows.h>

#include <functional>
#include <string>

#include "render/picture/PictureScaler.h"

// Draws the picture at path, or the built-in picture for a null path, over the whole target rectangle (left
// and top 0): turned upright by its camera orientation, scaled to fit, centred on black. A file that cannot
// be opened or read, is larger than the file cap, decodes to more pixels than the pixel cap (see
// PictureLimits.h) or does not decode at all gives the built-in picture. stopRequested, when given, is asked
// while the file is read and after it is decoded; a stop draws nothing. workspace, when given, holds the working
// memory from one picture to the next, up to kKeptWorkspaceBytes (see PictureScaler.h); without it each call
// allocates its own.
void DrawPicture(HDC dc, const RECT& target, const wchar_t* path, const std::function<bool()>& stopRequested = nullptr,
                 PictureWorkspace* workspace = nullptr);
