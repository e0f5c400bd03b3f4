#pragma once
// The bytes of one picture: a picture file read in pieces that each check the stop request, or the built-in
// picture copied from the executable's resources, each into one fixed global memory block for the decoder.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "fw/Handles.h"

enum class PictureReadResult {
    Read,    // the block holds the file; size is what was actually read
    Refused, // cannot be opened (missing, a folder, in use), empty, larger than the cap, or a read failed
    Stopped, // a stop was requested during the read
};

// An ANSI path (as the picture setting holds it) as the wide path the pictures are listed and opened by.
std::wstring WidePath(const std::string& path);

// Reads the file at path into block, sharing it with other readers. stopRequested, when given, is asked before
// each piece, so a stop ends even the read of a large file within about one piece's time.
PictureReadResult ReadPictureFile(const wchar_t* path, const std::function<bool()>& stopRequested,
                                  std::unique_ptr<CGlobalMemory>& block, DWORD& size);

// Copies the built-in picture (resource "JPEG" of the executable) into block; false when it is missing.
bool CopyBuiltinPicture(std::unique_ptr<CGlobalMemory>& block, DWORD& size);
