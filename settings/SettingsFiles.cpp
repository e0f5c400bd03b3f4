#include "settings/SettingsFiles.h"

#include "fw/FailureLog.h"

namespace {

// Errors that a file held open by someone else gives, for a moment.
bool IsPassing(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
}

// Calls attempt until it succeeds, fails for good, or about a second of passing failures is over.
template <typename Attempt> bool Retrying(Attempt attempt) {
    for (int tries = 0;; ++tries) {
        if (attempt())
            return true;
        if (tries == 50 || !IsPassing(::GetLastError()))
            return false;
        ::Sleep(20);
    }
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// An INI file is a few hundred bytes; anything this large is not one to rewrite.
constexpr LONGLONG kMaxSettingsFile = 16 * 1024 * 1024;

// The range the lock takes lies far past the end of any settings file, so that locking it never stands in the way
// of a reader of the file's bytes (a lock on Windows keeps others from reading or writing its range).
OVERLAPPED LockRange() {
    OVERLAPPED range{};
    range.OffsetHigh = 0x7FFFFFFF;
    return range;
}

} // namespace

ISettingsFiles::ReadResult CSettingsFiles::Read(const std::string& path, std::string& text) {
    CFileHandle file;
    const bool opened = Retrying([&] {
        file = CFileHandle(::CreateFileA(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
        return file.IsValid();
    });
    if (!opened)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND ? ReadResult::Missing : ReadResult::Failed;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > kMaxSettingsFile)
        return ReadResult::Failed;
    text.assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!text.empty() &&
        (!::ReadFile(file.Get(), &text[0], static_cast<DWORD>(text.size()), &got, nullptr) || got != text.size()))
        return ReadResult::Failed;
    return ReadResult::Read;
}

bool CSettingsFiles::Create(const std::string& path) {
    return Retrying([&] {
        m_file = CFileHandle(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        return m_file.IsValid();
    });
}

bool CSettingsFiles::OpenExisting(const std::string& path) {
    return Retrying([&] {
        m_file = CFileHandle(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
        return m_file.IsValid();
    });
}

bool CSettingsFiles::Write(const std::string& text) {
    DWORD put = 0;
    return ::SetFilePointer(m_file.Get(), 0, nullptr, FILE_BEGIN) == 0 &&
           (text.empty() || ::WriteFile(m_file.Get(), text.data(), static_cast<DWORD>(text.size()), &put, nullptr)) &&
           put == text.size() && ::SetEndOfFile(m_file.Get());
}

bool CSettingsFiles::Flush() {
    return ::FlushFileBuffers(m_file.Get()) != FALSE;
}

bool CSettingsFiles::Replace(const std::string& from, const std::string& to) {
    return Retrying([&] {
        return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    });
}

bool CSettingsFiles::Remove(const std::string& path) {
    // Removing is clearing up, mostly after a step that failed: that step's error stays the one the log shows, not
    // the file-not-found of a temporary that was never made.
    const DWORD failedStep = ::GetLastError();
    const bool removed = Retrying([&] { return ::DeleteFileA(path.c_str()) != FALSE; });
    ::SetLastError(failedStep);
    return removed;
}

CSettingsLock::CSettingsLock(const std::string& settingsPath, unsigned waitMs) {
    const std::string lockPath = SettingsLockPath(settingsPath);
    // Reading is all a lock needs: a user who may read the lock file another user made shares it.
    m_file = CFileHandle(::CreateFileA(lockPath.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_ALWAYS, 0, nullptr));
    const DWORD lockAttributes = m_file.IsValid() ? 0 : ::GetFileAttributesA(lockPath.c_str());
    if (!m_file.IsValid() && lockAttributes != INVALID_FILE_ATTRIBUTES &&
        !(lockAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        // A lock file that is there is the one every other save locks: locking anything else would let two saves
        // run at once.
        LogFailure("settings lock %s is there but cannot be opened (error %lu)", lockPath.c_str(), ::GetLastError());
        return;
    }
    if (!m_file.IsValid()) {
        // None can be made (the folder refuses new files): every such save locks the settings file itself.
        m_file = CFileHandle(
            ::CreateFileA(settingsPath.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
        m_bOnSettingsFile = m_file.IsValid();
    }
    if (!m_file.IsValid()) {
        LogFailure("settings lock %s cannot be opened (error %lu)", lockPath.c_str(), ::GetLastError());
        return;
    }
    // Polled rather than waited on: a wait that cannot end before the holder lets go would hang the dialog.
    const ULONGLONG deadline = ::GetTickCount64() + waitMs;
    for (;;) {
        OVERLAPPED range = LockRange();
        if (::LockFileEx(m_file.Get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &range)) {
            m_bHeld = true;
            return;
        }
        if (::GetTickCount64() >= deadline) {
            LogFailure("settings lock %s still held by another save after %u ms", lockPath.c_str(), waitMs);
            return;
        }
        ::Sleep(10);
    }
}

CSettingsLock::~CSettingsLock() {
    // Closing the handle would drop the lock too, but the system may take its time over that.
    OVERLAPPED range = LockRange();
    if (m_bHeld)
        ::UnlockFileEx(m_file.Get(), 0, 1, 0, &range);
}
