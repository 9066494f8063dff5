// Real disk faults: a full volume, a read-only volume, a folder without write permission
// and files held by another process, for Save batch, Save result log, rename and undo runs
// and the copy and move of selected files. After each, a listing with content hashes shows
// that no file was lost or overwritten. Set-ups this machine refuses are skipped, saying why.

#include "engine/BatchFile_win.h"
#include "base/CodePage.h"
#include "engine/FileError.h"
#include "engine/MoveSteps_win.h"
#include "engine/NewPath.h"
#include "engine/RenameRun.h"
#include "filelist/FileTransfer_win.h"
#include "tests/support/HeldFile.h"
#include "tests/support/HostVolume.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {

using testsupport::HeldFile;
using testsupport::HostVolume;
using testsupport::hostFolderOf;
using testsupport::runHostShell;
using Listing = std::map<std::string, std::uint64_t>;

// Name -> content hash of every file in the folder (with a trailing backslash).
Listing listing(const std::string& folder)
{
    Listing files;
    for (const testsupport::FolderEntry& e : testsupport::listFolder(folder))
        files[e.name] = testsupport::contentHash(testsupport::readFile(folder + e.name, "<unreadable>"));
    return files;
}

Listing without(Listing files, const std::string& name)
{
    files.erase(name);
    return files;
}

std::string bytes(std::size_t size, char fill)
{
    return std::string(size, fill);
}

BatchFile batchOf(int paths)
{
    BatchFile batch;
    for (int i = 0; i < paths; ++i)
        batch.addedPaths.push_back("C:\\photos\\holiday\\img" + std::to_string(i) + ".jpg");
    batch.fileListLines = batch.addedPaths;
    batch.ruleLines = {"FILENAME PREFIX \"x\""};
    return batch;
}

std::string diskFullText(const std::string& path)
{
    return "Disk full while accessing " + path + ".";
}

std::string messageOf(const FileOutcome& outcome, const std::string& path)
{
    return fileErrorText(fileErrorCauseOf(outcome.systemCode), path);
}

std::string renameRun(const std::vector<std::string>& lines, RenameJournal& journal)
{
    const FixedClock clock(2003, 5, 7);
    const NewPathComputer computer({"FILENAME PREFIX \"x_\""}, systemCodePage(), clock);
    DiskMover mover;
    return runRenameRules(true, lines, computer, &mover, journal);
}

std::string undoRun(const std::vector<std::string>& lines, const RenameJournal& journal)
{
    DiskMover mover;
    return runUndo(journal, lines, mover);
}

#define SKIP_UNLESS_MOUNTED(volume)                                                        \
    if (!(volume).mounted())                                                               \
    GTEST_SKIP() << "no small volume for this test: " << (volume).refusal()

TEST(DiskFault, SaveBatchOnAFullDiskSaysDiskFullAndKeepsEveryFile)
{
    HostVolume volume(256);
    SKIP_UNLESS_MOUNTED(volume);
    const std::string earlier = encodeBatchFile(batchOf(3));
    ASSERT_TRUE(testsupport::writeFile(volume / "earlier.tlx", earlier));
    ASSERT_TRUE(testsupport::writeFile(volume / "other.txt", "other"));
    ASSERT_TRUE(volume.fill("filler"));
    const Listing before = listing(volume.path());

    for (const char* name : {"earlier.tlx", "new.tlx"}) {
        const std::string path = volume / name;
        const FileOutcome outcome = saveBatchFile(path, batchOf(5000));
        EXPECT_EQ(outcome.kind, FileOutcome::failed) << name;
        EXPECT_EQ(messageOf(outcome, path), diskFullText(path)) << name;
        EXPECT_EQ(listing(volume.path()), before) << name;
    }
}

TEST(DiskFault, SaveInPlaceOnAFullDiskStopsBeforeTheEarlierContentIsTouched)
{
    HostVolume volume(256);
    SKIP_UNLESS_MOUNTED(volume);
    // A folder whose path leaves no room for a temporary name: saved in place.
    const std::string deep = volume.path() + std::string(248 - volume.path().size() - 1, 'd') + "\\";
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
    const std::string path = deep + "a.tlx";
    ASSERT_TRUE(testsupport::writeFile(path, encodeBatchFile(batchOf(300))));
    ASSERT_TRUE(volume.fill("filler"));
    const Listing before = listing(deep);

    const FileOutcome longer = saveBatchFile(path, batchOf(5000));
    EXPECT_EQ(longer.kind, FileOutcome::failed);
    EXPECT_EQ(messageOf(longer, path), diskFullText(path));
    EXPECT_EQ(listing(deep), before);

    // Shorter content needs no room: it is saved.
    const BatchFile shorter = batchOf(10);
    EXPECT_EQ(saveBatchFile(path, shorter).kind, FileOutcome::done);
    EXPECT_EQ(testsupport::contentHash(testsupport::readFile(path)), testsupport::contentHash(encodeBatchFile(shorter)));
    EXPECT_EQ(testsupport::folderNames(deep), (std::vector<std::string>{"a.tlx"}));
}

TEST(DiskFault, SaveOverAHeldFileOnAFullDiskSaysDiskFull)
{
    HostVolume volume(256);
    SKIP_UNLESS_MOUNTED(volume);
    const std::string path = volume / "held.tlx";
    ASSERT_TRUE(testsupport::writeFile(path, encodeBatchFile(batchOf(300))));
    ASSERT_TRUE(volume.fill("filler"));
    const Listing before = listing(volume.path());
    HeldFile holder(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(holder.held());
    for (int paths : {5000, 10}) {
        // The complete new content is written beside the file first, and finds no room.
        const FileOutcome outcome = saveBatchFile(path, batchOf(paths));
        EXPECT_EQ(outcome.kind, FileOutcome::failed) << paths;
        EXPECT_EQ(messageOf(outcome, path), diskFullText(path)) << paths;
        EXPECT_EQ(listing(volume.path()), before) << paths;
    }
}

TEST(DiskFault, SaveResultLogOnAFullDiskSaysDiskFullAndTouchesNoOtherFile)
{
    HostVolume volume(256);
    SKIP_UNLESS_MOUNTED(volume);
    ASSERT_TRUE(testsupport::writeFile(volume / "Log999999999.txt", "an earlier log"));
    ASSERT_TRUE(volume.fill("filler"));
    const Listing before = listing(volume.path());
    const std::string path = volume / "Log1000000000.txt";
    const FileOutcome outcome = writeWholeFile(path, bytes(100000, 'l'));
    EXPECT_EQ(outcome.kind, FileOutcome::failed);
    EXPECT_EQ(messageOf(outcome, path), diskFullText(path));
    // The new log is left as far as it was written; every other file is as it was.
    EXPECT_EQ(without(listing(volume.path()), "Log1000000000.txt"), before);
}

TEST(DiskFault, RenameAndUndoNeedNoRoomOnAFullDisk)
{
    HostVolume volume(256);
    SKIP_UNLESS_MOUNTED(volume);
    ASSERT_TRUE(testsupport::writeFile(volume / "a.txt", "a"));
    ASSERT_TRUE(testsupport::writeFile(volume / "b.txt", "b"));
    ASSERT_TRUE(volume.fill("filler"));
    const Listing before = listing(volume.path());
    const std::vector<std::string> lines = {volume / "a.txt", volume / "b.txt"};
    RenameJournal journal;
    EXPECT_EQ(renameRun(lines, journal), lines[0] + "  has been changed to  " + volume / "x_a.txt\r\n" + lines[1]
                                             + "  has been changed to  " + volume / "x_b.txt\r\n");
    EXPECT_EQ(listing(volume.path()).size(), before.size());
    EXPECT_EQ(undoRun(lines, journal), volume / "x_a.txt  roolback to " + lines[0] + "\r\n" + volume / "x_b.txt"
                                           + "  roolback to " + lines[1] + "\r\n");
    EXPECT_EQ(listing(volume.path()), before);
}

TEST(DiskFault, CopyAndMoveOntoAFullDiskLeaveEveryFileAsItWas)
{
    HostVolume volume(256);
    SKIP_UNLESS_MOUNTED(volume);
    testsupport::TempFolder source("diskfault");
    const std::string big = bytes(200000, 'B');
    ASSERT_TRUE(testsupport::writeFile(source / "target.bin", big));
    ASSERT_TRUE(testsupport::writeFile(source / "moved.bin", big));
    ASSERT_TRUE(testsupport::writeFile(volume / "target.bin", "the earlier target"));
    ASSERT_TRUE(volume.fill("filler"));
    const Listing sourceBefore = listing(source.path());
    const Listing before = listing(volume.path());

    // Over an existing target, to a new name, and a move (across volumes, so a copy).
    EXPECT_FALSE(copyFileReplacing(source / "target.bin", volume / "target.bin", volume.path()));
    EXPECT_FALSE(copyFileReplacing(source / "target.bin", volume / "new.bin", volume.path()));
    EXPECT_FALSE(moveFileKeeping(source / "moved.bin", volume / "moved.bin"));
    EXPECT_EQ(listing(volume.path()), before);
    EXPECT_EQ(listing(source.path()), sourceBefore);

    // With room again, the copy replaces the target whole and leaves nothing beside it.
    ASSERT_TRUE(DeleteFileA((volume / "filler").c_str()));
    EXPECT_TRUE(copyFileReplacing(source / "target.bin", volume / "target.bin", volume.path()));
    EXPECT_EQ(testsupport::contentHash(testsupport::readFile(volume / "target.bin")), testsupport::contentHash(big));
    EXPECT_EQ(testsupport::folderNames(volume.path()), (std::vector<std::string>{"target.bin"}));
}

TEST(DiskFault, ReadOnlyVolumeRefusesEveryWriteAndKeepsEveryFile)
{
    HostVolume volume(256);
    SKIP_UNLESS_MOUNTED(volume);
    ASSERT_TRUE(testsupport::writeFile(volume / "earlier.tlx", encodeBatchFile(batchOf(3))));
    ASSERT_TRUE(testsupport::writeFile(volume / "a.txt", "a"));
    if (!volume.makeReadOnly())
        GTEST_SKIP() << volume.refusal();
    testsupport::TempFolder other("diskfault");
    ASSERT_TRUE(testsupport::writeFile(other / "c.txt", "c"));
    const Listing before = listing(volume.path());
    const Listing otherBefore = listing(other.path());

    // Files that cannot be created or emptied end the command silently.
    EXPECT_EQ(saveBatchFile(volume / "earlier.tlx", batchOf(5)).kind, FileOutcome::notOpened);
    EXPECT_EQ(saveBatchFile(volume / "new.tlx", batchOf(5)).kind, FileOutcome::notOpened);
    EXPECT_EQ(writeWholeFile(volume / "Log1000000000.txt", "log").kind, FileOutcome::notOpened);

    const std::vector<std::string> lines = {volume / "a.txt"};
    RenameJournal journal;
    EXPECT_EQ(renameRun(lines, journal), lines[0] + " change failed with  " + volume / "x_a.txt\r\n");
    EXPECT_EQ(undoRun(lines, journal), volume / "x_a.txt  roolback failed with  " + lines[0] + "\r\n");

    EXPECT_FALSE(copyFileReplacing(other / "c.txt", volume / "a.txt", volume.path()));
    EXPECT_FALSE(copyFileReplacing(other / "c.txt", volume / "c.txt", volume.path()));
    EXPECT_FALSE(moveFileKeeping(other / "c.txt", volume / "c.txt"));
    EXPECT_FALSE(moveFileKeeping(volume / "a.txt", other / "a.txt"));
    EXPECT_EQ(listing(volume.path()), before);
    EXPECT_EQ(listing(other.path()), otherBefore);
}

TEST(DiskFault, FolderWithoutWritePermissionIsWrittenInPlace)
{
    testsupport::TempFolder folder("diskfault");
    const std::string locked = folder.folder("locked");
    const std::string path = locked + "earlier.tlx";
    ASSERT_TRUE(testsupport::writeFile(path, encodeBatchFile(batchOf(30))));
    const std::string host = hostFolderOf(locked);
    if (host.empty() || !runHostShell("chmod a-w '" + host + "'"))
        GTEST_SKIP() << "no host file system whose permissions the test can change";
    struct Restore {
        std::string host;
        ~Restore() { runHostShell("chmod u+w '" + host + "'"); }
    } restore{host};
    if (testsupport::writeFile(locked + "probe", "p")) {
        DeleteFileA((locked + "probe").c_str());
        GTEST_SKIP() << "running as root: a folder's missing write permission does not stop this process";
    }
    // No temporary name beside it, but the file itself may be written.
    const BatchFile batch = batchOf(3);
    EXPECT_EQ(saveBatchFile(path, batch).kind, FileOutcome::done);
    EXPECT_EQ(testsupport::readFile(path), encodeBatchFile(batch));
    EXPECT_EQ(saveBatchFile(locked + "new.tlx", batch).kind, FileOutcome::notOpened);
    EXPECT_EQ(testsupport::folderNames(locked), (std::vector<std::string>{"earlier.tlx"}));
}

struct HeldTransferRow {
    const char* what;
    DWORD share;
    bool copied; // the copy over the held target succeeds
};

class DiskFaultHeld : public ::testing::TestWithParam<HeldTransferRow> {};

TEST_P(DiskFaultHeld, CopyOverAndMoveOfAHeldFileLoseNothing)
{
    const HeldTransferRow& row = GetParam();
    testsupport::TempFolder from("diskfault");
    testsupport::TempFolder to("diskfault");
    ASSERT_TRUE(testsupport::writeFile(from / "a.txt", "new content"));
    ASSERT_TRUE(testsupport::writeFile(from / "held.txt", "held source"));
    ASSERT_TRUE(testsupport::writeFile(to / "a.txt", "earlier target"));
    {
        HeldFile target(to / "a.txt", row.share);
        HeldFile source(from / "held.txt", row.share);
        ASSERT_TRUE(target.held() && source.held()) << row.what;
        EXPECT_EQ(copyFileReplacing(from / "a.txt", to / "a.txt", to.path()), row.copied) << row.what;
        moveFileKeeping(from / "held.txt", to / "held.txt");
    }
    EXPECT_EQ(testsupport::readFile(to / "a.txt"), row.copied ? "new content" : "earlier target") << row.what;
    EXPECT_EQ(testsupport::readFile(from / "a.txt"), "new content") << row.what;
    // The held source is in exactly one of the two folders, whole.
    const bool moved = testsupport::pathExists(to / "held.txt");
    EXPECT_NE(moved, testsupport::pathExists(from / "held.txt")) << row.what;
    EXPECT_EQ(testsupport::readFile((moved ? to : from) / "held.txt"), "held source") << row.what;
    EXPECT_EQ(to.names().size(), moved ? 2u : 1u) << row.what << ": a temporary copy stayed";
}

INSTANTIATE_TEST_SUITE_P(
    Sharing, DiskFaultHeld,
    ::testing::Values(HeldTransferRow{"no sharing", 0, false},
                      HeldTransferRow{"read sharing only", FILE_SHARE_READ, false},
                      HeldTransferRow{"no delete sharing", FILE_SHARE_READ | FILE_SHARE_WRITE, true},
                      HeldTransferRow{"every sharing", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, true}));

struct FileIdentity {
    DWORD attributes = 0;
    FILETIME created = {};
    std::uint64_t index = 0;
    DWORD links = 0;
};

FileIdentity identityOf(const std::string& path)
{
    FileIdentity id;
    HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION info = {};
    if (file != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file, &info)) {
        id.attributes = info.dwFileAttributes;
        id.created = info.ftCreationTime;
        id.index = (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
        id.links = info.nNumberOfLinks;
    }
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return id;
}

// Copy to the files' own folder leaves each file as it is; a copy over another file gives
// it the new content but keeps what an overwrite in place keeps.
TEST(FileTransfer, CopyOntoItselfTouchesNothingAndOverAnotherKeepsItsIdentity)
{
    testsupport::TempFolder from("transfer");
    testsupport::TempFolder to("transfer");
    ASSERT_TRUE(testsupport::writeFile(from / "a.txt", "new content"));
    ASSERT_TRUE(testsupport::writeFile(to / "a.txt", "earlier target"));
    const FILETIME longAgo = {0x12345600, 0x01C00000};
    {
        HANDLE target = CreateFileA((to / "a.txt").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(target, INVALID_HANDLE_VALUE);
        ASSERT_TRUE(SetFileTime(target, &longAgo, nullptr, nullptr));
        CloseHandle(target);
        ASSERT_TRUE(SetFileAttributesA((to / "a.txt").c_str(), FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
        HANDLE source = CreateFileA((from / "a.txt").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(source, INVALID_HANDLE_VALUE);
        ASSERT_TRUE(SetFileTime(source, &longAgo, nullptr, nullptr));
        CloseHandle(source);
    }
    // A second name for the file: a replacement would split the two.
    ASSERT_TRUE(CreateHardLinkA((from / "b.txt").c_str(), (from / "a.txt").c_str(), nullptr));
    const FileIdentity source = identityOf(from / "a.txt");
    const FileIdentity target = identityOf(to / "a.txt");
    const std::string link = from.path() + "link";
    const bool linked = testsupport::makeFolderLink(link, from.path());

    EXPECT_TRUE(copyFileReplacing(from / "a.txt", from / "a.txt", from.path()));
    if (linked) {
        EXPECT_TRUE(copyFileReplacing(from / "a.txt", link + "\\a.txt", link + "\\"));
    }
    const FileIdentity itself = identityOf(from / "a.txt");
    EXPECT_EQ(itself.index, source.index) << "the file was replaced by a copy of itself";
    EXPECT_EQ(itself.links, 2u);
    EXPECT_EQ(CompareFileTime(&itself.created, &source.created), 0);
    EXPECT_EQ(testsupport::readFile(from / "a.txt"), "new content");

    EXPECT_TRUE(copyFileReplacing(from / "a.txt", to / "a.txt", to.path()));
    const FileIdentity replaced = identityOf(to / "a.txt");
    EXPECT_EQ(testsupport::readFile(to / "a.txt"), "new content");
    // Wine keeps neither this attribute nor a creation time given to a file (the host file
    // systems keep their own); where the system does, the replacement keeps the target's.
    if (target.attributes & FILE_ATTRIBUTE_NOT_CONTENT_INDEXED) {
        EXPECT_EQ(replaced.attributes & FILE_ATTRIBUTE_NOT_CONTENT_INDEXED, DWORD(FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
    }
    if (CompareFileTime(&target.created, &longAgo) == 0) {
        EXPECT_EQ(CompareFileTime(&replaced.created, &target.created), 0);
    }
    EXPECT_EQ(to.names(), (std::vector<std::string>{"a.txt"}));
    if (linked)
        testsupport::removeLink(link);
}

} // namespace
