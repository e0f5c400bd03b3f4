#include "render/picture/PictureFile.h"

#include <algorithm>
#include <cstring>

#include "fw/Handles.h"
#include "fw/ResourceLoad.h"
#include "render/picture/PictureLimits.h"
#include "res/resource.h"

namespace {

// One piece reads in a few milliseconds even from a slow disk, well within a frame interval.
constexpr DWORD kReadPieceBytes = 1u << 20;

} // namespace

std::wstring WidePath(const std::string& path) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    if (length > 0)
        ::MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), &wide[0], length);
    return wide;
}

PictureReadResult ReadPictureFile(const wchar_t* path, const std::function<bool()>& stopRequested,
                                  std::unique_ptr<CGlobalMemory>& block, DWORD& size) {
    // Reading only, we let others read too: a picture open in a viewer or the shell's preview still shows. A
    // program writing it without sharing reads still keeps it from us.
    const CFileHandle file(
        ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return PictureReadResult::Refused;
    // The 64-bit size: a file of 4 GB and more is seen as the size it is, not as its low 32 bits.
    LARGE_INTEGER fileSize{};
    if (!::GetFileSizeEx(file.Get(), &fileSize) || fileSize.QuadPart <= 0 ||
        !PictureFileSizeAllowed(static_cast<uint64_t>(fileSize.QuadPart)))
        return PictureReadResult::Refused;
    const DWORD total = static_cast<DWORD>(fileSize.QuadPart);
    block = std::make_unique<CGlobalMemory>(total);
    if (!block->IsValid())
        return PictureReadResult::Refused;
    auto* bytes = static_cast<BYTE*>(block->Data());
    DWORD done = 0;
    while (done < total) {
        if (stopRequested && stopRequested())
            return PictureReadResult::Stopped;
        DWORD read = 0;
        if (!::ReadFile(file.Get(), bytes + done, std::min(kReadPieceBytes, total - done), &read, nullptr))
            return PictureReadResult::Refused;
        if (read == 0)
            break; // the file became shorter since its size was taken
        done += read;
    }
    size = done; // what was actually read is the size from here on
    return PictureReadResult::Read;
}

bool CopyBuiltinPicture(std::unique_ptr<CGlobalMemory>& block, DWORD& size) {
    DWORD resourceSize = 0;
    const void* bytes =
        LoadResourceBytes(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_BUILTIN_PICTURE), "JPEG", &resourceSize);
    if (bytes == nullptr)
        return false;
    block = std::make_unique<CGlobalMemory>(resourceSize);
    if (!block->IsValid())
        return false;
    std::memcpy(block->Data(), bytes, resourceSize);
    size = resourceSize;
    return true;
}
