// The move steps of rename and undo runs.

#include "engine/MoveSteps_win.h"

#include "base/PathText.h"
#include "win/Handles.h"

#include <windows.h>

#include <cstdio>

namespace {

// The times as the status record keeps them: local time, whole seconds.
FILETIME throughLocalSeconds(const FILETIME& utc)
{
    FILETIME local;
    FILETIME back = utc;
    if (!FileTimeToLocalFileTime(&utc, &local))
        return back;
    ULARGE_INTEGER value;
    value.LowPart = local.dwLowDateTime;
    value.HighPart = local.dwHighDateTime;
    value.QuadPart -= value.QuadPart % 10000000ULL;
    local.dwLowDateTime = value.LowPart;
    local.dwHighDateTime = value.HighPart;
    if (!LocalFileTimeToFileTime(&local, &back))
        return utc;
    return back;
}

bool isZero(const FILETIME& t)
{
    return t.dwLowDateTime == 0 && t.dwHighDateTime == 0;
}

// Where a file search on the path finds the very entry the path names: then reading that
// entry's attributes and times directly gives the same status. Not so for a folder named
// with a trailing separator, a root, a share, a drive alone or a "." or ".." at the end,
// where the search finds nothing or another entry.
bool searchFindsTheEntryItself(const std::string& path)
{
    std::string_view name = systemPathText().namePart(path);
    // A slash is never the second byte of a double-byte character: a plain search will do.
    const std::size_t slash = name.find_last_of('/');
    if (slash != std::string_view::npos)
        name.remove_prefix(slash + 1);
    if (name.empty() || name == "." || name == ".." || name.find(':') != std::string_view::npos)
        return false;
    if (path.size() > 2 && (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/'))
        return path.find_first_of("\\/", path.find_first_of("\\/", 2) + 1) != std::string::npos;
    return true;
}

void takeTimes(const FILETIME& created, const FILETIME& accessed, const FILETIME& written, FileStatus& status)
{
    status.created = throughLocalSeconds(created);
    status.accessed = throughLocalSeconds(accessed);
    status.written = throughLocalSeconds(written);
}

} // namespace

bool searchFileStatus(const std::string& path, FileStatus& status)
{
    // A path with wildcards would find some other file's status.
    if (path.find_first_of("*?") != std::string::npos)
        return false;
    WIN32_FIND_DATAA data;
    UniqueFindHandle search(FindFirstFileA(path.c_str(), &data));
    if (!search)
        return false;
    status.attributes = data.dwFileAttributes;
    takeTimes(data.ftCreationTime, data.ftLastAccessTime, data.ftLastWriteTime, status);
    return true;
}

bool readFileStatus(const std::string& path, FileStatus& status)
{
    // A file search under Wine reads the whole folder to find one name; the direct read
    // costs the same for any folder size.
    if (path.find_first_of("*?") != std::string::npos || !searchFindsTheEntryItself(path))
        return searchFileStatus(path, status);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return false;
    status.attributes = data.dwFileAttributes;
    takeTimes(data.ftCreationTime, data.ftLastAccessTime, data.ftLastWriteTime, status);
    return true;
}

namespace {

// The status written back with every attribute bit cleared.
bool writeStatus(const std::string& path, const FileStatus& status)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    // A read-only file cannot be opened for writing: its attributes go first.
    if (readOnly && !SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL))
        return false;
    {
        UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return false;
        if (!SetFileTime(file.get(), isZero(status.created) ? nullptr : &status.created,
                         isZero(status.accessed) ? nullptr : &status.accessed,
                         isZero(status.written) ? nullptr : &status.written))
            return false;
        if (!CloseHandle(file.release()))
            return false;
    }
    if (!readOnly && !SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL))
        return false;
    return true;
}

// The move when only the letter case changes: through a free temporary name beside it.
bool moveCaseOnly(const std::string& from, const std::string& to)
{
    // The folder part is the same for both paths of a case-only move.
    const std::string folder(systemPathText().folderPart(from));
    const DWORD stamp = GetTickCount() ^ GetCurrentProcessId();
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[40];
        std::snprintf(name, sizeof name, "~tw%08lx%02d.tmp", static_cast<unsigned long>(stamp), attempt);
        const std::string temporary = folder + name;
        if (!MoveFileA(from.c_str(), temporary.c_str())) {
            if (GetFileAttributesA(temporary.c_str()) != INVALID_FILE_ATTRIBUTES)
                continue; // that name is taken; try the next one
            return false;
        }
        if (MoveFileA(temporary.c_str(), to.c_str()))
            return true;
        // Put the file back under its own name rather than leave it under a strange one.
        MoveFileA(temporary.c_str(), from.c_str());
        return false;
    }
    return false;
}

} // namespace

bool differOnlyInCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size() || a == b)
        return false;
    std::string upperA = a;
    std::string upperB = b;
    CharUpperBuffA(&upperA[0], static_cast<DWORD>(upperA.size()));
    CharUpperBuffA(&upperB[0], static_cast<DWORD>(upperB.size()));
    return upperA == upperB;
}

namespace {

// The volume and file index of an existing file or folder; false when there is none to be
// had (some network volumes report index 0 for every file).
bool fileIdentity(const std::string& path, DWORD& volume, ULONGLONG& index)
{
    UniqueHandle file(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!file || !GetFileInformationByHandle(file.get(), &info))
        return false;
    volume = info.dwVolumeSerialNumber;
    index = (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return index != 0;
}

// True when the two paths name one file, as after a case-only rename.
bool sameFile(const std::string& a, const std::string& b)
{
    DWORD volumeA = 0, volumeB = 0;
    ULONGLONG indexA = 0, indexB = 0;
    if (fileIdentity(a, volumeA, indexA) && fileIdentity(b, volumeB, indexB))
        return volumeA == volumeB && indexA == indexB;
    return differOnlyInCase(a, b);
}

} // namespace

bool moveBackWithStatus(const std::string& from, const std::string& to)
{
    if (GetFileAttributesA(to.c_str()) != INVALID_FILE_ATTRIBUTES && !sameFile(from, to))
        return false;
    return moveFileWithStatus(from, to);
}

bool moveFileWithStatus(const std::string& from, const std::string& to)
{
    FileStatus status;
    if (!readFileStatus(from, status))
        return false;
    if (!writeStatus(from, status))
        return false;
    // A name that became empty leaves only the folder: there is nothing to move to. (A
    // slash is never the second byte of a double-byte character; a backslash can be.)
    if (to.empty() || systemPathText().endsWithSeparator(to) || to.back() == '/')
        return false;
    if (differOnlyInCase(from, to))
        return moveCaseOnly(from, to);
    return MoveFileA(from.c_str(), to.c_str()) != FALSE;
}
