// The move steps of rename and undo runs.

#include "engine/MoveSteps_win.h"

#include "win/Handles.h"

#include <windows.h>

#include <cstdio>

namespace {

struct FileStatus {
    FILETIME created;
    FILETIME accessed;
    FILETIME written;
};

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

// Step 1: the status from a file search on the path itself.
bool readStatus(const std::string& path, FileStatus& status)
{
    // A path with wildcards would find some other file's status.
    if (path.find_first_of("*?") != std::string::npos)
        return false;
    WIN32_FIND_DATAA data;
    UniqueFindHandle search(FindFirstFileA(path.c_str(), &data));
    if (!search)
        return false;
    status.created = throughLocalSeconds(data.ftCreationTime);
    status.accessed = throughLocalSeconds(data.ftLastAccessTime);
    status.written = throughLocalSeconds(data.ftLastWriteTime);
    return true;
}

// Step 2: the status written back with every attribute bit cleared.
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

std::string folderOf(const std::string& path)
{
    // The folder part is the same for both paths of a case-only move; the last backslash
    // is searched byte-wise here because only its prefix is used, never cut in two: a
    // trail byte 0x5C is preceded by its lead byte, which stays in the prefix.
    std::size_t slash = std::string::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
            ++i;
            continue;
        }
        if (path[i] == '\\')
            slash = i;
    }
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Step 3 when only the letter case changes: through a free temporary name beside it.
bool moveCaseOnly(const std::string& from, const std::string& to)
{
    const std::string folder = folderOf(from);
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

bool moveFileWithStatus(const std::string& from, const std::string& to)
{
    FileStatus status;
    if (!readStatus(from, status))
        return false;
    if (!writeStatus(from, status))
        return false;
    // A name that became empty leaves only the folder: there is nothing to move to.
    if (to.empty() || to.back() == '\\' || to.back() == '/')
        return false;
    if (differOnlyInCase(from, to))
        return moveCaseOnly(from, to);
    return MoveFileA(from.c_str(), to.c_str()) != FALSE;
}
