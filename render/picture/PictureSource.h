#pragma once
// Drawing one still picture, upright and fitted on black, on one target or on several.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "render/picture/PictureKinds.h"
#include "render/picture/PictureScaler.h"

// Where pictures are shown: each monitor's rectangle, and the kinds (size and colour profile) they are prepared for.
struct PictureScreens {
    std::vector<RECT> monitors;
    PictureKinds kinds; // kinds.kindOf has one entry per monitor
};

enum class PrepareResult {
    Prepared, // work.shown holds the picture prepared for every kind asked for
    Stopped,  // a stop was requested: nothing is to be drawn, the thread is ending
};

// Reads and decodes the picture at path, or the built-in picture for a null path, once, and prepares it for each of
// kinds into work.shown (one entry per kind, in order): turned upright by its camera orientation, scaled to fit,
// centred on black, in the colours of the kind's monitor (see PictureColours.h). A file that cannot be opened or read,
// is larger than the file cap, decodes to more pixels than the pixel cap (see PictureLimits.h) or does not decode at
// all gives the built-in picture; without a usable built-in picture the entries hold no pixels and show black.
// stopRequested, when given, is asked while the file is read and after it is decoded.
PrepareResult PreparePicture(HDC dc, const std::vector<PictureKind>& kinds, const wchar_t* path,
                             const std::function<bool()>& stopRequested, PictureWorkspace& work);

// Copies the picture prepared for each monitor's kind onto it: black wherever the picture does not cover it. A
// monitor whose kind was not prepared is left black.
void ShowPicture(HDC dc, const std::vector<FittedPicture>& picture, const PictureScreens& screens);

// PreparePicture for the screens' kinds, then ShowPicture; a stop draws nothing. workspace, when given, holds the
// working memory from one picture to the next, up to kKeptWorkspaceBytes (see PictureScaler.h); without it each
// call allocates its own.
void DrawPicture(HDC dc, const PictureScreens& screens, const wchar_t* path,
                 const std::function<bool()>& stopRequested = nullptr, PictureWorkspace* workspace = nullptr);
// The same on one target rectangle (left and top 0: a window's client area) taken as an sRGB monitor.
void DrawPicture(HDC dc, const RECT& target, const wchar_t* path, const std::function<bool()>& stopRequested = nullptr,
                 PictureWorkspace* workspace = nullptr);
