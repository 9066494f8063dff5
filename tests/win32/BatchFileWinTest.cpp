// Batch files and result logs on disk: a save that fails part-way keeps the earlier file,
// files that cannot be opened end silently, and loads change nothing until all is read.

#include "engine/BatchFile_win.h"

#include "engine/FileError.h"
#include "tests/support/HeldFile.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using testsupport::HeldFile;

struct Folder : testsupport::TempFolder {
    Folder() : TempFolder("batchwin") {}
};

std::string readAll(const std::string& path)
{
    return testsupport::readFile(path, "<missing>");
}

void writeAll(const std::string& path, const std::string& content)
{
    testsupport::writeFile(path, content);
}

BatchFile sample(int paths)
{
    BatchFile b;
    for (int i = 0; i < paths; ++i)
        b.addedPaths.push_back("C:\\photos\\img" + std::to_string(i) + ".jpg");
    b.fileListLines = b.addedPaths;
    b.ruleLines = {"FILENAME PREFIX x"};
    b.undoAvailable = true;
    return b;
}

// Writes `before` bytes, then fails as a full disk does.
std::function<bool(ByteSink&)> failingWriter(std::size_t before, DWORD code)
{
    return [before, code](ByteSink& sink) {
        const std::string part(before, 'n');
        if (!sink.write(part.data(), part.size()))
            return false;
        SetLastError(code);
        return false;
    };
}

TEST(BatchFileWin, SaveWritesTheExactBytesAndLeavesNothingBeside)
{
    Folder folder;
    const std::string path = folder / "a.tlx";
    const BatchFile batch = sample(5000); // several write blocks
    const FileOutcome outcome = saveBatchFile(path, batch);
    EXPECT_EQ(outcome.kind, FileOutcome::done);
    EXPECT_EQ(readAll(path), encodeBatchFile(batch));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.tlx"}));

    // Saving again over it replaces it whole.
    const BatchFile smaller = sample(1);
    EXPECT_EQ(saveBatchFile(path, smaller).kind, FileOutcome::done);
    EXPECT_EQ(readAll(path), encodeBatchFile(smaller));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.tlx"}));
}

struct FailRow {
    const char* what;
    std::size_t before;
    DWORD code;
    FileErrorCause cause;
};

class BatchFileWinFailedSave : public ::testing::TestWithParam<FailRow> {};

TEST_P(BatchFileWinFailedSave, KeepsTheEarlierFileAndNamesTheChosenOne)
{
    const FailRow& row = GetParam();
    Folder folder;
    const std::string path = folder / "keep.tlx";
    const std::string earlier = encodeBatchFile(sample(3));
    writeAll(path, earlier);
    const FileOutcome outcome = writeFileReplacing(path, failingWriter(row.before, row.code));
    ASSERT_EQ(outcome.kind, FileOutcome::failed) << row.what;
    EXPECT_EQ(fileErrorCauseOf(outcome.systemCode), row.cause) << row.what << " code " << outcome.systemCode;
    EXPECT_EQ(readAll(path), earlier) << row.what;
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"keep.tlx"})) << row.what << ": the new file stayed";
}

TEST_P(BatchFileWinFailedSave, LeavesNoFileWhereThereWasNone)
{
    const FailRow& row = GetParam();
    Folder folder;
    const FileOutcome outcome = writeFileReplacing(folder / "new.tlx", failingWriter(row.before, row.code));
    EXPECT_EQ(outcome.kind, FileOutcome::failed) << row.what;
    EXPECT_TRUE(folder.names().empty()) << row.what;
}

INSTANTIATE_TEST_SUITE_P(
    Failures, BatchFileWinFailedSave,
    ::testing::Values(FailRow{"disk full at once", 0, ERROR_DISK_FULL, FileErrorCause::diskFull},
                      FailRow{"disk full after some blocks", 200000, ERROR_DISK_FULL, FileErrorCause::diskFull},
                      FailRow{"hardware error", 10, ERROR_CRC, FileErrorCause::hardIO},
                      FailRow{"unknown error", 10, 0, FileErrorCause::hardIO}));

// The earlier file's creation time, set to a day long ago so that a new file shows.
FILETIME ageFile(const std::string& path)
{
    SYSTEMTIME day = {2001, 2, 0, 3, 4, 5, 6, 0};
    FILETIME created;
    SystemTimeToFileTime(&day, &created);
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(SetFileTime(file, &created, nullptr, nullptr));
    CloseHandle(file);
    return created;
}

FILETIME creationTimeOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftCreationTime;
}

TEST(BatchFileWin, ReplacingKeepsTheEarlierFilesAttributesAndCreationTime)
{
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    for (DWORD attributes : {DWORD(FILE_ATTRIBUTE_NORMAL), kept, DWORD(FILE_ATTRIBUTE_HIDDEN)}) {
        Folder folder;
        const std::string path = folder / "kept.tlx";
        writeAll(path, "an earlier batch, longer than the new one will be");
        const FILETIME created = ageFile(path);
        const FILETIME before = creationTimeOf(path);
        const bool creationTimeSettable = CompareFileTime(&before, &created) == 0;
        SetFileAttributesA(path.c_str(), attributes);

        const BatchFile batch = sample(2);
        ASSERT_EQ(saveBatchFile(path, batch).kind, FileOutcome::done) << attributes;
        EXPECT_EQ(readAll(path), encodeBatchFile(batch)) << attributes;
        EXPECT_EQ(GetFileAttributesA(path.c_str()) & kept, attributes & kept) << attributes;
        // Wine cannot give a file another creation time (the host file systems keep
        // their own); where the system can, the replacement must keep it.
        if (creationTimeSettable) {
            const FILETIME now = creationTimeOf(path);
            EXPECT_EQ(CompareFileTime(&now, &created), 0) << attributes;
        }
        EXPECT_EQ(folder.names(), (std::vector<std::string>{"kept.tlx"})) << attributes;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

struct HeldRow {
    const char* what;
    DWORD share;            // how another process holds the earlier file
    FileOutcome::Kind kind;
    bool saved;             // the new content is in the file afterwards
};

class BatchFileWinHeldSave : public ::testing::TestWithParam<HeldRow> {};

TEST_P(BatchFileWinHeldSave, ReplacesOrWritesInPlaceOrEndsSilently)
{
    const HeldRow& row = GetParam();
    Folder folder;
    const std::string path = folder / "held.tlx";
    const std::string earlier = encodeBatchFile(sample(300));
    writeAll(path, earlier);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    const BatchFile batch = sample(2);
    {
        HeldFile holder(path, row.share);
        ASSERT_TRUE(holder.held()) << row.what;
        EXPECT_EQ(saveBatchFile(path, batch).kind, row.kind) << row.what;
    }
    EXPECT_EQ(readAll(path), row.saved ? encodeBatchFile(batch) : earlier) << row.what;
    EXPECT_NE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u) << row.what;
    // Neither our temporary file nor one of the system's replacement is left behind.
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"held.tlx"})) << row.what;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

INSTANTIATE_TEST_SUITE_P(
    Sharing, BatchFileWinHeldSave,
    ::testing::Values(
        HeldRow{"shared for everything: replaced", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                FileOutcome::done, true},
        HeldRow{"no delete sharing: written in place", FILE_SHARE_READ | FILE_SHARE_WRITE, FileOutcome::done, true},
        HeldRow{"read sharing only: cannot be written", FILE_SHARE_READ, FileOutcome::notOpened, false},
        HeldRow{"no sharing: cannot be written", 0, FileOutcome::notOpened, false}));

TEST(BatchFileWin, AFolderWithNoRoomForAnotherNameIsWrittenInPlace)
{
    // A folder whose path leaves no room for a temporary name: the earlier file is
    // overwritten in place, shorter and longer content alike.
    Folder folder;
    const std::size_t length = 248 - folder.path().size() - 1;
    const std::string deep = folder.folder(std::string(length, 'd'));
    ASSERT_EQ(deep.size(), 248u);
    const std::string path = deep + "a.tlx";
    for (int paths : {40, 1, 400}) {
        writeAll(path, encodeBatchFile(sample(100)));
        const BatchFile batch = sample(paths);
        ASSERT_EQ(saveBatchFile(path, batch).kind, FileOutcome::done) << paths;
        EXPECT_EQ(readAll(path), encodeBatchFile(batch)) << paths;
        EXPECT_EQ(testsupport::folderNames(deep), (std::vector<std::string>{"a.tlx"})) << paths;
    }
    DeleteFileA(path.c_str());
}

TEST(BatchFileWin, AnExceptionWhileWritingLeavesNoFileBehind)
{
    auto throwing = [](ByteSink& sink) -> bool {
        sink.write("part", 4);
        throw std::runtime_error("no memory for the next path");
    };
    Folder folder;
    const std::string path = folder / "earlier.tlx";
    writeAll(path, "earlier");
    EXPECT_THROW(writeFileReplacing(path, throwing), std::runtime_error);
    EXPECT_THROW(writeFileReplacing(folder / "new.tlx", throwing), std::runtime_error);
    EXPECT_EQ(readAll(path), "earlier");
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"earlier.tlx"}));
}

TEST(BatchFileWin, FilesThatCannotBeOpenedEndSilently)
{
    Folder folder;
    // A read-only earlier file: the save may not empty it, so nothing happens.
    const std::string readOnly = folder / "ro.tlx";
    writeAll(readOnly, "earlier");
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(saveBatchFile(readOnly, sample(2)).kind, FileOutcome::notOpened);
    EXPECT_EQ(readAll(readOnly), "earlier");
    EXPECT_EQ(saveBatchFile(folder / "no such folder\\x.tlx", sample(2)).kind, FileOutcome::notOpened);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"ro.tlx"}));

    BatchFile state = sample(1);
    EXPECT_EQ(loadBatchFile(folder / "missing.tlx", state).kind, FileOutcome::notOpened);
    EXPECT_EQ(state, sample(1));
    EXPECT_EQ(writeWholeFile(folder / "no such folder\\Log1.txt", "x").kind, FileOutcome::notOpened);
}

TEST(BatchFileWin, LoadReadsBackAndStopsAtAnEarlyEndWithoutChanges)
{
    Folder folder;
    const std::string path = folder / "b.tlx";
    const BatchFile batch = sample(20000);
    ASSERT_EQ(saveBatchFile(path, batch).kind, FileOutcome::done);
    BatchFile back;
    EXPECT_EQ(loadBatchFile(path, back).kind, FileOutcome::done);
    EXPECT_EQ(back, batch);

    const std::string bytes = encodeBatchFile(batch);
    for (std::size_t cut : {std::size_t(0), std::size_t(1), std::size_t(70000), bytes.size() - 1}) {
        writeAll(path, bytes.substr(0, cut));
        BatchFile state = sample(1);
        EXPECT_EQ(loadBatchFile(path, state).kind, FileOutcome::pastEnd) << cut;
        EXPECT_EQ(state, sample(1)) << cut;
    }
}

TEST(BatchFileWin, WholeFileReplacesAnEarlierOne)
{
    Folder folder;
    const std::string path = folder / "Log1000000000.txt";
    writeAll(path, "an earlier, longer log of the same second");
    EXPECT_EQ(writeWholeFile(path, "second").kind, FileOutcome::done);
    EXPECT_EQ(readAll(path), "second");
}

} // namespace
