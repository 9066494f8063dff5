// The first move step reads a file's status directly where a file search on the path would
// give the same: the two ways agree on every kind of path, found or not.

#include "engine/MoveSteps_win.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

bool sameTime(const FILETIME& a, const FILETIME& b)
{
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

ULONGLONG ticks(const FILETIME& t)
{
    ULARGE_INTEGER v;
    v.LowPart = t.dwLowDateTime;
    v.HighPart = t.dwHighDateTime;
    return v.QuadPart;
}

// Times with a fraction of a second, far from now, so that the whole-second rounding shows.
void setOddTimes(const std::string& path)
{
    SYSTEMTIME when = {2001, 2, 6, 3, 4, 5, 6, 789};
    FILETIME written;
    SystemTimeToFileTime(&when, &written);
    FILETIME created = written;
    ULARGE_INTEGER earlier;
    earlier.LowPart = created.dwLowDateTime;
    earlier.HighPart = created.dwHighDateTime;
    earlier.QuadPart -= 864000000000ULL + 1234567; // a day and a bit before
    created.dwLowDateTime = earlier.LowPart;
    created.dwHighDateTime = earlier.HighPart;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    SetFileTime(h, &created, &written, &written);
    CloseHandle(h);
}

TEST(MoveStatus, TheDirectReadAgreesWithTheFileSearch)
{
    testsupport::TempFolder folder("status");
    const std::string plain = folder.file("plain.txt", "x");
    const std::string readOnly = folder.file("read only.txt", FILE_ATTRIBUTE_READONLY);
    const std::string hidden = folder.file("hidden.dat", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    const std::string noExtension = folder.file("noext");
    const std::string sub = folder.folder("sub");
    const std::string timed = folder.file("timed.jpg", "y");
    setOddTimes(timed);
    setOddTimes(sub.substr(0, sub.size() - 1));
    const std::string a1 = folder.file("a1.txt");

    // Where the file search itself decides what a path names ("." and "..", a trailing
    // dot), the two ways need only agree.
    enum Expect { found, missing, either };
    struct Row {
        const char* what;
        std::string path;
        Expect expect;
    };
    const Row rows[] = {
        {"a plain file", plain, found},
        {"a read-only file", readOnly, found},
        {"a hidden system file", hidden, found},
        {"a file with its times set", timed, found},
        {"a name without extension", noExtension, found},
        {"the same with a dot after it", noExtension + ".", either},
        {"a folder", sub.substr(0, sub.size() - 1), found},
        {"a folder with a trailing backslash", sub, missing},
        {"a folder's \".\"", sub + ".", either},
        {"a folder's \"..\"", sub + "..", either},
        {"a missing file", folder / "missing.txt", missing},
        {"a missing folder on the way", folder / "nowhere\\plain.txt", missing},
        {"a question mark that matches a file", folder / "a?.txt", missing},
        {"a star that matches files", folder / "*.txt", missing},
        {"an empty path", "", missing},
    };
    for (const Row& row : rows) {
        FileStatus direct;
        FileStatus searched;
        const bool readOk = readFileStatus(row.path, direct);
        const bool searchOk = searchFileStatus(row.path, searched);
        EXPECT_EQ(readOk, searchOk) << row.what << ": " << row.path;
        if (row.expect != either) {
            EXPECT_EQ(readOk, row.expect == found) << row.what;
        }
        if (!readOk || !searchOk)
            continue;
        EXPECT_EQ(direct.attributes, searched.attributes) << row.what;
        EXPECT_TRUE(sameTime(direct.created, searched.created)) << row.what;
        EXPECT_TRUE(sameTime(direct.accessed, searched.accessed)) << row.what;
        EXPECT_TRUE(sameTime(direct.written, searched.written)) << row.what;
    }

    // The times come as local time at whole seconds, not as stored.
    FileStatus status;
    ASSERT_TRUE(readFileStatus(timed, status));
    FILETIME local;
    ASSERT_TRUE(FileTimeToLocalFileTime(&status.written, &local));
    EXPECT_EQ(ticks(local) % 10000000ULL, 0u);
    EXPECT_TRUE(readFileStatus(readOnly, status));
    EXPECT_NE(status.attributes & FILE_ATTRIBUTE_READONLY, 0u);
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_NORMAL);
}

} // namespace
