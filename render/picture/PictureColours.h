#pragma once
// A picture's colours as its monitor is to show them: converted by the system's colour management from the colour
// space the file stores them in (its embedded profile, else sRGB) to the monitor's (its colour profile, else sRGB).
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "render/picture/PictureKinds.h"
#include "render/picture/PictureScaler.h"

// The colour profile file the system has for monitor, as PictureKind holds it: empty where the system names none,
// cannot say, or names its standard sRGB profile (what every monitor without a profile of its own is taken as).
std::string MonitorColourProfile(HMONITOR monitor);

// Converts every fitted picture from the colours of sourceProfile (an embedded ICC profile, checked as JpegInfo
// checks it; empty for sRGB) to those of its kind's monitor: one transform for each distinct monitor profile. A
// picture without a profile of its own shown on an sRGB monitor is left exactly as decoded. Any failure of the
// colour management leaves that picture as decoded too (logged once in the process): its colours are then off,
// but it shows. scratch is working memory, kept with the picture's other buffers.
void ConvertToMonitorColours(const std::vector<uint8_t>& sourceProfile, const std::vector<PictureKind>& kinds,
                             std::vector<FittedPicture>& shown, std::vector<uint32_t>& scratch);
