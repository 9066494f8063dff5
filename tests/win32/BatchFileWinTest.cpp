// Batch files and result logs on disk: a save that fails part-way keeps the earlier file,
// files that cannot be opened end silently, and loads change nothing until all is read.

#include "engine/BatchFile_win.h"

#include "engine/FileError.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

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
