#include "render/picture/PictureFolder.h"

#include <windows.h>

#include <mmsystem.h>

#include <cstdlib>

#include "fw/AnsiCodePage.h"
#include "fw/Handles.h"
#include "render/picture/PictureFile.h"

bool BuildPictureList(const std::string& path, const std::function<bool()>& stopRequested, PictureList& list,
                      RandomDraw draw) {
    list.Clear();
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        list.Append(WidePath(path));
        return true;
    }
    if (!draw) {
        // rand() keeps its state per thread: seeding here does not disturb any other thread.
        std::srand(::timeGetTime());
        draw = [] { return std::rand(); };
    }
    // The setting is ANSI text, walked as such for its backslashes; the folder's pictures are listed by their
    // wide names, which hold characters the ANSI code page may lack.
    const std::wstring folder = WidePath(FolderWithOneBackslash(path, &IsAnsiLeadByte));
    CShuffledInserter inserter(list, draw);
    for (const wchar_t* pattern : {L"*.jpg", L"*.jpeg"}) {
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
