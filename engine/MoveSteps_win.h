#pragma once
// Moving one file for a rename or undo run: status read, attributes cleared, times
// written back, then a move that never replaces an existing file.

#include "engine/RenameRun.h"

#include <windows.h>

#include <string>

// What the first move step reads of the source: its attribute bits and its times, the times
// taken as local time at whole-second precision.
struct FileStatus {
    DWORD attributes = 0;
    FILETIME created = {};
    FILETIME accessed = {};
    FILETIME written = {};
};

// The first move step: false when the path yields no status (missing, or with wildcards).
// Read directly where that gives what a file search on the path gives, otherwise through
// the search.
bool readFileStatus(const std::string& path, FileStatus& status);
// The same through a file search on the path (FindFirstFileA) whatever the path.
bool searchFileStatus(const std::string& path, FileStatus& status);

// The move steps from `from` to `to`; false when any step fails (nothing already done is
// taken back, so a failed move may leave the source's attributes cleared). When the two
// paths differ only in letter case the file goes through a temporary name in its folder:
// a direct case-only MoveFileA reports success under Wine but renames nothing.
bool moveFileWithStatus(const std::string& from, const std::string& to);

// The move back of an undo run: as moveFileWithStatus, but when another file holds `to`
// it fails before anything is done to the file at `from`. After a rename that failed, the
// file at the computed path may be one the run never touched; it keeps its attributes and
// times. After a case-only rename both paths name the same file, which is moved back.
bool moveBackWithStatus(const std::string& from, const std::string& to);

// True when the two paths are equal after the system's upper-casing but differ in bytes.
bool differOnlyInCase(const std::string& a, const std::string& b);

class DiskMover final : public PathMover {
public:
    bool move(const std::string& from, const std::string& to) override
    {
        return moveFileWithStatus(from, to);
    }
};

class UndoMover final : public PathMover {
public:
    bool move(const std::string& from, const std::string& to) override
    {
        return moveBackWithStatus(from, to);
    }
};
