#include "render/picture/PictureColours.h"

#include <icm.h>

#include <atomic>
#include <cstring>
#include <new>
#include <utility>

#include "fw/FailureLog.h"
#include "fw/Handles.h"

namespace {

using CColourProfile = CScopedHandle<HPROFILE, &::CloseColorProfile>;
using CColourTransform = CScopedHandle<HTRANSFORM, &::DeleteColorTransform>;
using CDisplayDC = CScopedHandle<HDC, &::DeleteDC>; // a monitor's own device context, from CreateDC

// 'RGB ' and 'sRGB' as the headers' multi-character constants spell them, without their compiler warning.
constexpr DWORD kRgbColourSpace = 0x52474220;
constexpr DWORD kSrgbColourSpace = 0x73524742;

// The file name of the profile the system stands for sRGB with, which GetICMProfile names for a monitor that has none.
constexpr char kStandardSrgbName[] = "sRGB Color Space Profile.icm";

// A failure of the colour management is the same for every picture after it: one line in the log says it.
std::atomic<bool> g_bColourFailureLogged{false};

void LogColourFailure(const char* what) {
    if (!g_bColourFailureLogged.exchange(true))
        LogFailure("picture shown in its stored colours: %s failed (error %lu)", what, ::GetLastError());
}

// Only RGB profiles describe the pixels the decoder hands out, and the system's colour management does not check
// that by itself (Wine's converts an RGB picture through a grey profile into nonsense).
bool IsRgbProfile(HPROFILE profile) {
    PROFILEHEADER header{};
    return ::GetColorProfileHeader(profile, &header) && header.phDataColorSpace == kRgbColourSpace;
}

CColourProfile OpenProfile(DWORD type, const void* data, DWORD size) {
    PROFILE profile{type, const_cast<void*>(data), size};
    CColourProfile opened(::OpenColorProfileA(&profile, PROFILE_READ, FILE_SHARE_READ, OPEN_EXISTING));
    if (opened.IsValid() && !IsRgbProfile(opened.Get()))
        opened.Reset();
    return opened;
}

CColourProfile OpenProfileFile(const std::string& path) {
    return OpenProfile(PROFILE_FILENAME, path.c_str(), static_cast<DWORD>(path.size() + 1));
}

// The system's sRGB profile: where a picture has no profile of its own, or a monitor none.
CColourProfile OpenStandardSrgb() {
    char path[MAX_PATH] = {};
    DWORD size = sizeof path;
    if (!::GetStandardColorSpaceProfileA(nullptr, kSrgbColourSpace, path, &size))
        return CColourProfile();
    return OpenProfileFile(path);
}

// The transform from the picture's colours to one monitor profile's.
CColourTransform MakeTransform(const std::vector<uint8_t>& sourceProfile, const std::string& monitorProfile) {
    CColourProfile source = sourceProfile.empty() ? OpenStandardSrgb()
                                                  : OpenProfile(PROFILE_MEMBUFFER, sourceProfile.data(),
                                                                static_cast<DWORD>(sourceProfile.size()));
    if (!source.IsValid()) {
        LogColourFailure("opening the picture's colour profile");
        return CColourTransform();
    }
    CColourProfile monitor = monitorProfile.empty() ? OpenStandardSrgb() : OpenProfileFile(monitorProfile);
    if (!monitor.IsValid()) {
        LogColourFailure("opening the monitor's colour profile");
        return CColourTransform();
    }
    // Perceptual, as photo viewers convert; for the matrix profiles of cameras, phones and monitors it is the
    // colorimetric conversion.
    HPROFILE profiles[2] = {source.Get(), monitor.Get()};
    DWORD intents[2] = {INTENT_PERCEPTUAL, INTENT_PERCEPTUAL};
    CColourTransform transform(::CreateMultiProfileTransform(profiles, 2, intents, 2, BEST_MODE, INDEX_DONT_CARE));
    if (!transform.IsValid())
        LogColourFailure("making a colour transform");
    return transform;
}

// Converts one fitted picture through transform, by way of scratch (the pictures' words are BGRx bytes, as
// BM_xRGBQUADS reads them). Rows are packed: Wine ignores the stride and Windows is given the packed one.
bool Translate(HTRANSFORM transform, FittedPicture& fitted, std::vector<uint32_t>& scratch) {
    try {
        scratch.resize(fitted.pixels.size());
    } catch (const std::bad_alloc&) {
        return false;
    }
    const DWORD w = static_cast<DWORD>(fitted.fit.width), h = static_cast<DWORD>(fitted.fit.height);
    if (!::TranslateBitmapBits(transform, fitted.pixels.data(), BM_xRGBQUADS, w, h, w * 4, scratch.data(), BM_xRGBQUADS,
                               w * 4, nullptr, 0)) {
        LogColourFailure("converting a picture's colours");
        return false;
    }
    std::swap(fitted.pixels, scratch);
    return true;
}

} // namespace

std::string MonitorColourProfile(HMONITOR monitor) {
    MONITORINFOEXA info{};
    info.cbSize = sizeof info;
    if (monitor == nullptr || !::GetMonitorInfoA(monitor, &info))
        return {};
    const CDisplayDC dc(::CreateDCA(info.szDevice, info.szDevice, nullptr, nullptr));
    char path[MAX_PATH] = {};
    DWORD size = sizeof path;
    if (!dc.IsValid() || !::GetICMProfileA(dc.Get(), &size, path))
        return {};
    const char* name = std::strrchr(path, '\\');
    name = name != nullptr ? name + 1 : path;
    return ::lstrcmpiA(name, kStandardSrgbName) == 0 ? std::string() : std::string(path);
}

void ConvertToMonitorColours(const std::vector<uint8_t>& sourceProfile, const std::vector<PictureKind>& kinds,
                             std::vector<FittedPicture>& shown, std::vector<uint32_t>& scratch) {
    // One transform for each monitor profile, kept while the kinds that show it are converted.
    std::vector<std::pair<std::string, CColourTransform>> transforms;
    for (size_t i = 0; i < kinds.size() && i < shown.size(); ++i) {
        const std::string& monitorProfile = kinds[i].monitorProfile;
        if ((sourceProfile.empty() && monitorProfile.empty()) || shown[i].pixels.empty())
            continue; // stored as sRGB and shown on sRGB: exactly as decoded
        auto known = transforms.begin();
        while (known != transforms.end() && known->first != monitorProfile)
            ++known;
        if (known == transforms.end())
            known = transforms.insert(transforms.end(), {monitorProfile, MakeTransform(sourceProfile, monitorProfile)});
        if (known->second.IsValid())
            Translate(known->second.Get(), shown[i], scratch);
    }
}
