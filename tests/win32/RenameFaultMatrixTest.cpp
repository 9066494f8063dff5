// Rename and undo runs on real files: every fault the matrix names, and after each run
// a listing of the folder with content hashes proving that no file was lost or overwritten.

#include "base/CodePage.h"
#include "engine/MoveSteps_win.h"
#include "engine/NewPath.h"
#include "engine/RenameRun.h"
#include "tests/support/HeldFile.h"
#include "tests/support/TestFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using testsupport::contentHash;
using testsupport::HeldFile;
std::string readFile(const std::string& path)
{
    return testsupport::readFile(path, "<unreadable>");
}

void writeFile(const std::string& path, const std::string& bytes)
{
    ASSERT_TRUE(testsupport::writeFile(path, bytes, CREATE_NEW)) << path;
}

// A fresh folder of its own under the temporary folder, removed with everything in it.
class ScratchFolder : public testsupport::TempFolder {
public:
    ScratchFolder() : TempFolder("run") {}

    // Name -> content hash of every file in the folder, names exactly as listed.
    std::map<std::string, std::uint64_t> listing() const
    {
        std::map<std::string, std::uint64_t> files;
        for (const testsupport::FolderEntry& e : testsupport::listFolder(path()))
            files[e.name] = contentHash(readFile(path() + e.name));
        return files;
    }
};

class FaultMatrix : public ::testing::Test {
protected:
    // Creates the files, each with a content of its own, and remembers the contents.
    void create(const std::vector<std::string>& names)
    {
        for (const std::string& name : names) {
            const std::string content = "content of " + name + " " + std::string(name.size() * 7, 'x');
            writeFile(folder / name, content);
            originals_.push_back(contentHash(content));
        }
    }

    std::vector<std::string> paths(const std::vector<std::string>& names) const
    {
        std::vector<std::string> out;
        for (const std::string& n : names)
            out.push_back(folder / n);
        return out;
    }

    std::string rename(const std::vector<std::string>& lines, const std::vector<std::string>& rules)
    {
        const NewPathComputer computer(rules, systemCodePage(), clock_);
        DiskMover mover;
        return runRenameRules(true, lines, computer, &mover, journal);
    }

    std::string undo(const std::vector<std::string>& lines)
    {
        UndoMover mover;
        return runUndo(journal, lines, mover);
    }

    // Every original content is in the folder exactly once, and nothing else is there.
    void expectNothingLost() const
    {
        const auto files = folder.listing();
        std::map<std::uint64_t, int> seen;
        for (const auto& f : files)
            ++seen[f.second];
        EXPECT_EQ(files.size(), originals_.size());
        for (std::uint64_t h : originals_)
            EXPECT_EQ(seen[h], 1) << "a content is missing or doubled";
    }

    std::vector<std::string> names() const
    {
        std::vector<std::string> out;
        for (const auto& f : folder.listing())
            out.push_back(f.first);
        return out;
    }

    ScratchFolder folder;
    RenameJournal journal;

private:
    FixedClock clock_{2003, 5, 7};
    std::vector<std::uint64_t> originals_;
};

std::string line(const std::string& a, const char* middle, const std::string& b)
{
    return a + middle + b + "\r\n";
}

TEST_F(FaultMatrix, ReadOnlyAndHiddenSourcesGetTheirNewNamesAndLoseTheAttributes)
{
    create({"ro.txt", "hidden.txt", "plain.dat"});
    SetFileAttributesA((folder / "ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA((folder / "hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    const auto files = paths({"ro.txt", "hidden.txt", "plain.dat"});

    const std::string report = rename(files, {"FILENAME PREFIX \"new_\"", "FILEEXT REPLACE \"dat\" with \"dat\""});
    EXPECT_EQ(report, line(files[0], "  has been changed to  ", folder / "new_ro.txt") +
                          line(files[1], "  has been changed to  ", folder / "new_hidden.txt") +
                          line(files[2], "  has been changed to  ", folder / "new_plain.dat"));
    expectNothingLost();
    EXPECT_EQ(names(), (std::vector<std::string>{"new_hidden.txt", "new_plain.dat", "new_ro.txt"}));
    EXPECT_EQ(GetFileAttributesA((folder / "new_ro.txt").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(GetFileAttributesA((folder / "new_hidden.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);

    const std::string back = undo(files);
    EXPECT_EQ(back, line(folder / "new_ro.txt", "  roolback to ", files[0]) +
                        line(folder / "new_hidden.txt", "  roolback to ", files[1]) +
                        line(folder / "new_plain.dat", "  roolback to ", files[2]));
    expectNothingLost();
    EXPECT_EQ(names(), (std::vector<std::string>{"hidden.txt", "plain.dat", "ro.txt"}));
    EXPECT_EQ(GetFileAttributesA(files[0].c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

// The last-write time of a file, as a number; 0 when it cannot be read.
ULONGLONG writeTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

// Gives a file a write time with a fraction of a second, which the move steps would cut.
void setOddWriteTime(const std::string& path)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    SYSTEMTIME st = {2001, 2, 0, 3, 4, 5, 6, 789};
    FILETIME written;
    SystemTimeToFileTime(&st, &written);
    EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, &written));
    CloseHandle(h);
}

TEST_F(FaultMatrix, TakenTargetAndTwoFilesWithTheSameNewPathOverwriteNothing)
{
    // a.txt -> b.txt is taken by an unrelated file; c1 and c2 both compute c.txt.
    create({"a.txt", "b.txt", "c1.txt", "c2.txt"});
    setOddWriteTime(folder / "b.txt");
    const DWORD protectedBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    ASSERT_TRUE(SetFileAttributesA((folder / "b.txt").c_str(), protectedBits));
    const ULONGLONG unrelatedTime = writeTime(folder / "b.txt");
    const auto files = paths({"a.txt", "c1.txt", "c2.txt"});
    const std::vector<std::string> rules = {"FILENAME REPLACE \"a\" with \"b\"", "FILENAME REMOVE \"1\"",
                                            "FILENAME REMOVE \"2\""};
    const std::string report = rename(files, rules);
    EXPECT_EQ(report, line(files[0], " change failed with  ", folder / "b.txt") +
                          line(files[1], "  has been changed to  ", folder / "c.txt") +
                          line(files[2], " change failed with  ", folder / "c.txt"));
    expectNothingLost();
    EXPECT_EQ(names(), (std::vector<std::string>{"a.txt", "b.txt", "c.txt", "c2.txt"}));
    EXPECT_EQ(journal.paths(), (std::vector<std::string>{folder / "b.txt", folder / "c.txt", folder / "c.txt"}));

    // Undo: b.txt (unrelated) cannot go to a.txt, which is still there; c.txt goes back
    // to c1.txt; then nothing is at c.txt for c2.
    const std::string back = undo(files);
    EXPECT_EQ(back, line(folder / "b.txt", "  roolback failed with  ", files[0]) +
                        line(folder / "c.txt", "  roolback to ", files[1]) +
                        line(folder / "c.txt", "  roolback failed with  ", files[2]));
    expectNothingLost();
    EXPECT_EQ(names(), (std::vector<std::string>{"a.txt", "b.txt", "c1.txt", "c2.txt"}));
    // The unrelated file was never the run's to touch: attributes and times as they were.
    EXPECT_EQ(GetFileAttributesA((folder / "b.txt").c_str()) & protectedBits, protectedBits);
    EXPECT_EQ(writeTime(folder / "b.txt"), unrelatedTime);
    SetFileAttributesA((folder / "b.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FaultMatrix, DeletedSourceAndEmptyNewNameFailAndTheRestGoesOn)
{
    create({"gone.txt", "noext", "ok.txt"});
    const auto files = paths({"gone.txt", "noext", "ok.txt"});
    ASSERT_TRUE(DeleteFileA(files[0].c_str()));
    create({}); // the deleted one is no longer an original
    const std::string report = rename(files, {"FILENAME REPLACE \"gone\" with \"g\"",
                                              "FILENAME REPLACE \"ok\" with \"fine\"",
                                              "FILENAME REPLACE \"noext\" with \"\""});
    EXPECT_EQ(report, line(files[0], " change failed with  ", folder / "g.txt") +
                          line(files[1], " change failed with  ", folder.path()) +
                          line(files[2], "  has been changed to  ", folder / "fine.txt"));
    EXPECT_EQ(names(), (std::vector<std::string>{"fine.txt", "noext"}));

    const std::string back = undo(files);
    EXPECT_EQ(back, line(folder / "g.txt", "  roolback failed with  ", files[0]) +
                        line(folder.path(), "  roolback failed with  ", files[1]) +
                        line(folder / "fine.txt", "  roolback to ", files[2]));
    EXPECT_EQ(names(), (std::vector<std::string>{"noext", "ok.txt"}));
    // The folder itself was not moved anywhere.
    EXPECT_NE(GetFileAttributesA(folder.path().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FaultMatrix, EmptyNameThroughRemoveAllOnADotlessName)
{
    create({"readme", "notes.txt"});
    const auto files = paths({"readme", "notes.txt"});
    const std::string report = rename(files, {"FILENAME REMOVE all"});
    EXPECT_EQ(report, line(files[0], " change failed with  ", folder.path()) +
                          line(files[1], "  has been changed to  ", folder / ".txt"));
    expectNothingLost();
    EXPECT_EQ(names(), (std::vector<std::string>{".txt", "readme"}));
    undo(files);
    expectNothingLost();
    EXPECT_EQ(names(), (std::vector<std::string>{"notes.txt", "readme"}));
}

TEST_F(FaultMatrix, CaseOnlyChangeIsCarriedOutOnDiskAndUndone)
{
    create({"photo.jpg", "Other.JPG"});
    const auto files = paths({"photo.jpg", "Other.JPG"});
    const std::string report = rename(files, {"FILEEXT UPPERCASE all"});
    EXPECT_EQ(report, line(files[0], "  has been changed to  ", folder / "photo.JPG") +
                          files[1] + "  not changed\r\n");
    expectNothingLost();
    EXPECT_EQ(names(), (std::vector<std::string>{"Other.JPG", "photo.JPG"}));

    const std::string back = undo(files);
    EXPECT_EQ(back, line(folder / "photo.JPG", "  roolback to ", files[0]) + files[1] + "  not changed\r\n");
    expectNothingLost();
    EXPECT_EQ(names(), (std::vector<std::string>{"Other.JPG", "photo.jpg"}));
}

TEST_F(FaultMatrix, CaseOnlyChangeDoesNotTakeAnotherFilesName)
{
    // x.TXT -> x.txt is case-only; the temporary name must not clash or linger.
    create({"x.TXT", "y.txt"});
    const auto files = paths({"x.TXT"});
    EXPECT_EQ(rename(files, {"FILEEXT LOWERCASE all"}),
              line(files[0], "  has been changed to  ", folder / "x.txt"));
    expectNothingLost();
    EXPECT_EQ(names(), (std::vector<std::string>{"x.txt", "y.txt"}));
}

TEST_F(FaultMatrix, SecondRenameRunAfterASuccessfulOneFailsForMovedFiles)
{
    create({"a.txt", "b.txt"});
    const auto files = paths({"a.txt", "b.txt"});
    const std::vector<std::string> rules = {"FILENAME REPLACE \"a\" with \"z\""};
    rename(files, rules);
    const std::string second = rename(files, rules);
    EXPECT_EQ(second, line(files[0], " change failed with  ", folder / "z.txt") + files[1] + "  not changed\r\n");
    expectNothingLost();
    EXPECT_EQ(names(), (std::vector<std::string>{"b.txt", "z.txt"}));
    // Undo after the second run moves back only what that run moved: z.txt was moved by
    // the run before, and the second run's failure says nothing about whose file it is.
    EXPECT_EQ(undo(files), line(folder / "z.txt", "  roolback failed with  ", files[0]) + files[1] + "  not changed\r\n");
    expectNothingLost();
    EXPECT_EQ(names(), (std::vector<std::string>{"b.txt", "z.txt"}));
}

TEST_F(FaultMatrix, SourceHeldOpenWithoutSharingByAnotherProcess)
{
    create({"locked.txt", "free.txt"});
    const auto files = paths({"locked.txt", "free.txt"});
    {
        HeldFile holder(files[0], 0);
        ASSERT_TRUE(holder.held());
        const std::string report = rename(files, {"FILENAME PREFIX \"n\""});
        EXPECT_EQ(report, line(files[0], " change failed with  ", folder / "nlocked.txt") +
                              line(files[1], "  has been changed to  ", folder / "nfree.txt"));
        EXPECT_EQ(names(), (std::vector<std::string>{"locked.txt", "nfree.txt"}));
        const std::string back = undo(files);
        EXPECT_EQ(back, line(folder / "nlocked.txt", "  roolback failed with  ", files[0]) +
                            line(folder / "nfree.txt", "  roolback to ", files[1]));
    }
    expectNothingLost();
    EXPECT_EQ(names(), (std::vector<std::string>{"free.txt", "locked.txt"}));
}

TEST(RenameMoveSteps, KeepTimesToTheSecondAndClearEveryAttribute)
{
    ScratchFolder folder;
    writeFile(folder / "t.txt", "times");
    HANDLE h = CreateFileA((folder / "t.txt").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    SYSTEMTIME st = {2001, 2, 0, 3, 4, 5, 6, 789};
    FILETIME written;
    SystemTimeToFileTime(&st, &written);
    ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &written));
    CloseHandle(h);
    SetFileAttributesA((folder / "t.txt").c_str(),
                       FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);

    ASSERT_TRUE(moveFileWithStatus(folder / "t.txt", folder / "u.txt"));
    EXPECT_EQ(GetFileAttributesA((folder / "t.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    const DWORD attributes = GetFileAttributesA((folder / "u.txt").c_str());
    // The archive bit is not asked about: Wine reports it for every plain file.
    EXPECT_EQ(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM), 0u);
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((folder / "u.txt").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    FindClose(search);
    ULARGE_INTEGER before{{written.dwLowDateTime, written.dwHighDateTime}};
    ULARGE_INTEGER after{{data.ftLastWriteTime.dwLowDateTime, data.ftLastWriteTime.dwHighDateTime}};
    EXPECT_EQ(after.QuadPart, before.QuadPart - before.QuadPart % 10000000ULL);
    EXPECT_EQ(readFile(folder / "u.txt"), "times");
}

TEST(RenameMoveSteps, FailuresTouchNoOtherFile)
{
    ScratchFolder folder;
    writeFile(folder / "a.txt", "a");
    writeFile(folder / "b.txt", "b");
    CreateDirectoryA((folder / "sub").c_str(), nullptr);
    struct Row {
        std::string from;
        std::string to;
    };
    for (const Row& row : {Row{folder / "a.txt", folder / "b.txt"}, Row{folder / "a.txt", folder / "B.TXT"},
                           Row{folder / "missing.txt", folder / "c.txt"}, Row{folder / "a.txt", folder.path()},
                           Row{folder / "a.txt", ""}, Row{folder / "sub", folder / "sub2"},
                           Row{folder / "a?txt", folder / "c.txt"}, Row{folder / "a.txt", folder / "c?.txt"}}) {
        EXPECT_FALSE(moveFileWithStatus(row.from, row.to)) << row.from << " -> " << row.to;
    }
    EXPECT_EQ(readFile(folder / "a.txt"), "a");
    EXPECT_EQ(readFile(folder / "b.txt"), "b");
    EXPECT_NE(GetFileAttributesA((folder / "sub").c_str()), INVALID_FILE_ATTRIBUTES);
    RemoveDirectoryA((folder / "sub").c_str());
}

// The move back of Undo checks the old path before it touches the file at the new one.
TEST(RenameMoveSteps, MoveBackLeavesAFileAtATakenOldPathAndTheOneAtTheNewPathAlone)
{
    struct Row {
        const char* what;
        const char* from;       // the journal's path
        const char* to;         // the file list's path
        std::vector<const char*> present;
        bool moved;
        std::vector<std::string> after;
    };
    const std::vector<Row> rows = {
        // The folder "dir" is always there.
        {"old path free", "new.txt", "old.txt", {"new.txt"}, true, {"dir", "old.txt"}},
        {"old path taken by another file", "new.txt", "old.txt", {"new.txt", "old.txt"}, false,
         {"dir", "new.txt", "old.txt"}},
        {"case-only: both paths name one file", "CASE.TXT", "case.txt", {"CASE.TXT"}, true, {"case.txt", "dir"}},
        {"nothing at the new path", "new.txt", "old.txt", {"old.txt"}, false, {"dir", "old.txt"}},
        {"old path is a folder", "new.txt", "dir", {"new.txt"}, false, {"dir", "new.txt"}},
    };
    for (const Row& row : rows) {
        ScratchFolder folder;
        CreateDirectoryA((folder / "dir").c_str(), nullptr);
        for (const char* name : row.present) {
            writeFile(folder / name, name);
            setOddWriteTime(folder / name);
            SetFileAttributesA((folder / name).c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
        }
        const ULONGLONG fromTime = writeTime(folder / row.from);
        EXPECT_EQ(moveBackWithStatus(folder / row.from, folder / row.to), row.moved) << row.what;
        const std::vector<std::string> after = testsupport::folderNames(folder.path());
        EXPECT_EQ(after, row.after) << row.what;
        if (!row.moved && fromTime != 0) {
            // Refused before the move steps began: the file keeps all it had.
            EXPECT_EQ(writeTime(folder / row.from), fromTime) << row.what;
            EXPECT_NE(GetFileAttributesA((folder / row.from).c_str()) & FILE_ATTRIBUTE_READONLY, 0u) << row.what;
        }
    }
}

TEST(RenameMoveSteps, CaseOnlyDetection)
{
    EXPECT_TRUE(differOnlyInCase("C:\\d\\a.txt", "C:\\d\\A.TXT"));
    EXPECT_FALSE(differOnlyInCase("C:\\d\\a.txt", "C:\\d\\a.txt"));
    EXPECT_FALSE(differOnlyInCase("C:\\d\\a.txt", "C:\\d\\b.txt"));
    EXPECT_FALSE(differOnlyInCase("C:\\d\\a.txt", "C:\\d\\a.txt2"));
}

} // namespace
