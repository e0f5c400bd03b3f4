#include "render/PictureSource.h"

#include <mmsystem.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "fw/Handles.h"
#include "render/PictureFit.h"
#include "res/resource.h"

namespace {

// Owns a fixed global memory block.
class CGlobalBlock {
public:
    explicit CGlobalBlock(SIZE_T size) : m_hMem(::GlobalAlloc(GMEM_FIXED, size)) {}
    ~CGlobalBlock() {
        if (m_hMem != nullptr)
            ::GlobalFree(m_hMem);
    }
    CGlobalBlock(const CGlobalBlock&) = delete;
    CGlobalBlock& operator=(const CGlobalBlock&) = delete;
    HGLOBAL Handle() const { return m_hMem; }
    void* Data() const { return m_hMem; } // a fixed block's handle is its address

private:
    HGLOBAL m_hMem;
};

// Reads a whole file (opened with no sharing) into a fixed block; false when it cannot be opened or read.
bool ReadWholeFile(const char* path, std::unique_ptr<CGlobalBlock>& block, DWORD& size) {
    const CFileHandle file(
        ::CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return false;
    const DWORD fileSize = ::GetFileSize(file.Get(), nullptr);
    if (fileSize == INVALID_FILE_SIZE)
        return false;
    block = std::make_unique<CGlobalBlock>(fileSize);
    DWORD read = 0;
    const bool ok = block->Handle() != nullptr && ::ReadFile(file.Get(), block->Data(), fileSize, &read, nullptr);
    size = read; // what was actually read is the size from here on
    return ok;
}

bool CopyBuiltinPicture(std::unique_ptr<CGlobalBlock>& block, DWORD& size) {
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(IDR_BUILTIN_PICTURE), "JPEG");
    if (resource == nullptr)
        return false;
    HGLOBAL loaded = ::LoadResource(module, resource);
    const DWORD resourceSize = ::SizeofResource(module, resource);
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr)
        return false;
    block = std::make_unique<CGlobalBlock>(resourceSize);
    if (block->Handle() == nullptr)
        return false;
    std::memcpy(block->Data(), bytes, resourceSize);
    size = resourceSize;
    return true;
}

// Decodes the block and draws it fitted on black; false (nothing drawn) when it does not decode.
bool RenderBlock(HDC dc, const RECT& target, const CGlobalBlock& block, DWORD size) {
    CComPtr<IStream> stream;
    // The stream must not free the block: its owner frees it, after the picture and the stream are gone.
    if (FAILED(::CreateStreamOnHGlobal(block.Handle(), FALSE, &stream)) || !stream)
        return false;
    CComPtr<IPicture> picture;
    const HRESULT hr = ::OleLoadPicture(stream.Get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                                        reinterpret_cast<void**>(&picture));
    if (FAILED(hr) || !picture)
        return false;
    ::FillRect(dc, &target, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    OLE_XSIZE_HIMETRIC W = 0;
    OLE_YSIZE_HIMETRIC H = 0;
    picture->get_Width(&W);
    picture->get_Height(&H);
    const FitRect fit = FitPicture(target.right, target.bottom, W, H);
    // Source from HIMETRIC's bottom-up space, hence the negative height.
    picture->Render(dc, fit.x, fit.y, fit.width, fit.height, 0, H - 1, W, -H, nullptr);
    return true;
}

} // namespace

bool BuildPictureList(const std::string& path, const std::function<bool()>& stopRequested, PictureList& list,
                      RandomDraw draw) {
    list.Clear();
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        list.Append(path);
        return true;
    }
    if (!draw) {
        // rand() keeps its state per thread: seeding here does not disturb any other thread.
        std::srand(::timeGetTime());
        draw = [] { return std::rand(); };
    }
    const std::string folder = FolderWithOneBackslash(path, [](unsigned char c) { return ::IsDBCSLeadByte(c) != 0; });
    CShuffledInserter inserter(list, draw);
    for (const char* pattern : {"*.jpg", "*.jpeg"}) {
        if (stopRequested())
            return false;
        // Entries are taken as reported, attributes unread: a sub-folder named like a picture is listed too.
        for (CFindFile search((folder + pattern).c_str()); search.Found(); search.Next()) {
            inserter.Add(folder + search.Data().cFileName);
            if (stopRequested())
                return false;
        }
    }
    return true;
}

void DrawPicture(HDC dc, const RECT& target, const char* path) {
    std::unique_ptr<CGlobalBlock> block;
    DWORD size = 0;
    if (path != nullptr) {
        // A file that is missing, a folder, held open by another program, or does not decode (empty, damaged,
        // not a picture at all) shows the built-in picture instead, so the phase still has a defined image.
        if (!ReadWholeFile(path, block, size) || !RenderBlock(dc, target, *block, size)) {
            block.reset();
            DrawPicture(dc, target, nullptr);
        }
        return;
    }
    if (!CopyBuiltinPicture(block, size) || !RenderBlock(dc, target, *block, size)) {
        // Without a usable built-in picture the target is at least left in a defined state.
        ::FillRect(dc, &target, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
}
