#pragma once
// Drawing one still picture, upright and fitted on black, on one target or on several.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "render/picture/PictureScaler.h"

enum class PrepareResult {
    Prepared, // work.shown holds the picture fitted to every size asked for
    Stopped,  // a stop was requested: nothing is to be drawn, the thread is ending
};

// Reads and decodes the picture at path, or the built-in picture for a null path, once, and fits it to each of
// sizes into work.shown (one entry per size, in order): turned upright by its camera orientation, scaled to fit,
// centred on black. A file that cannot be opened or read, is larger than the file cap, decodes to more pixels
// than the pixel cap (see PictureLimits.h) or does not decode at all gives the built-in picture; without a usable
// built-in picture the entries hold no pixels and show black. stopRequested, when given, is asked while the file
// is read and after it is decoded.
PrepareResult PreparePicture(HDC dc, const std::vector<SIZE>& sizes, const wchar_t* path,
                             const std::function<bool()>& stopRequested, PictureWorkspace& work);

// Copies the prepared picture onto each target: black wherever the picture does not cover it. A target of a
// size that was not prepared is left black.
void ShowPicture(HDC dc, const std::vector<FittedPicture>& picture, const std::vector<RECT>& targets);

// PreparePicture for sizes (the distinct sizes of targets), then ShowPicture; a stop draws nothing. workspace, when
// given, holds the working memory from one picture to the next, up to kKeptWorkspaceBytes (see PictureScaler.h);
// without it each call allocates its own.
void DrawPicture(HDC dc, const std::vector<SIZE>& sizes, const std::vector<RECT>& targets, const wchar_t* path,
                 const std::function<bool()>& stopRequested = nullptr, PictureWorkspace* workspace = nullptr);
// The same on one target rectangle (left and top 0: a window's client area).
void DrawPicture(HDC dc, const RECT& target, const wchar_t* path, const std::function<bool()>& stopRequested = nullptr,
                 PictureWorkspace* workspace = nullptr);
