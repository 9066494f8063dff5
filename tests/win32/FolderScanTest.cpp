// The "Add dir" folder scan on real folders: order, attributes, subfolders and links.

#include "filelist/AddedPaths.h"
#include "filelist/FolderScan_win.h"
#include "tests/win32/FileListTestFolders.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// What the scan must yield: each folder's files where they are met, each subfolder's
// files in place of the subfolder when subfolders are scanned.
std::vector<std::string> expectedScan(const std::string& folder, bool subfolders)
{
    std::vector<std::string> paths;
    for (const testsupport::FolderEntry& e : testsupport::listFolder(folder)) {
        if (!e.isFolder()) {
            paths.push_back(folder + e.name);
        } else if (subfolders) {
            for (const std::string& p : expectedScan(folder + e.name + "\\", true))
                paths.push_back(p);
        }
    }
    return paths;
}

std::vector<std::string> scanned(const std::string& folder, bool subfolders, AddedPaths list = AddedPaths())
{
    scanFolder(folder, subfolders, list);
    return list.paths();
}

class FolderScan : public ::testing::Test {
protected:
    void SetUp() override
    {
        root.file("a.txt");
        root.file("b.txt");
        root.file("hidden.txt", FILE_ATTRIBUTE_HIDDEN);
        root.file("system.sys", FILE_ATTRIBUTE_SYSTEM);
        root.file("readonly.txt", FILE_ATTRIBUTE_READONLY);
        root.folder("s");
        root.file("s\\c.txt");
        root.folder("s\\deeper");
        root.file("s\\deeper\\d.txt");
        root.folder("empty");
        root.file("z.txt");
    }
    ScratchFolder root;
};

TEST_F(FolderScan, WithoutSubdirOnlyTheFolderOwnFilesInFileSystemOrder)
{
    const std::vector<std::string> paths = scanned(root.path(), false);
    EXPECT_EQ(paths, expectedScan(root.path(), false));
    EXPECT_EQ(paths.size(), 6u);
    for (const char* name : {"hidden.txt", "system.sys", "readonly.txt", "a.txt", "z.txt"})
        EXPECT_NE(std::find(paths.begin(), paths.end(), root.path() + name), paths.end()) << name;
    EXPECT_EQ(std::find(paths.begin(), paths.end(), root.path() + "s\\c.txt"), paths.end());
}

TEST_F(FolderScan, WithSubdirEachSubfolderIsScannedWhereItIsMet)
{
    const std::vector<std::string> paths = scanned(root.path(), true);
    EXPECT_EQ(paths, expectedScan(root.path(), true));
    ASSERT_EQ(paths.size(), 8u);
    // c and d sit together, where s stands among the root's entries.
    std::size_t filesBeforeS = 0;
    for (const testsupport::FolderEntry& e : testsupport::listFolder(root.path())) {
        if (e.name == "s")
            break;
        filesBeforeS += e.isFolder() ? 0 : 1;
    }
    const auto c = std::find(paths.begin(), paths.end(), root.path() + "s\\c.txt");
    const auto d = std::find(paths.begin(), paths.end(), root.path() + "s\\deeper\\d.txt");
    ASSERT_NE(c, paths.end());
    ASSERT_NE(d, paths.end());
    EXPECT_EQ(std::min(c, d) - paths.begin(), static_cast<std::ptrdiff_t>(filesBeforeS));
    EXPECT_EQ(std::abs(c - d), 1);
}

TEST_F(FolderScan, FilesAlreadyListedInOtherCaseMoveToTheirScanPlace)
{
    AddedPaths list;
    std::string upper = root.path() + "A.TXT";
    list.add("C:\\elsewhere\\first.txt");
    list.add(upper);
    const std::vector<std::string> paths = scanned(root.path(), false, std::move(list));
    EXPECT_EQ(paths.front(), "C:\\elsewhere\\first.txt");
    EXPECT_EQ(std::count_if(paths.begin(), paths.end(),
                            [&](const std::string& p) { return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, p.c_str(), -1, upper.c_str(), -1) == CSTR_EQUAL; }),
              1);
    EXPECT_NE(std::find(paths.begin(), paths.end(), root.path() + "a.txt"), paths.end());
}

TEST(FolderScanEdges, MissingAndEmptyFoldersAddNothing)
{
    ScratchFolder root;
    EXPECT_TRUE(scanned(root.path() + "missing\\", true).empty());
    EXPECT_TRUE(scanned(root.folder("empty"), true).empty());
}

TEST(FolderScanLinks, ALinkBackToAnAncestorEndsTheScan)
{
    ScratchFolder root;
    root.file("top.txt");
    root.folder("sub");
    root.file("sub\\inner.txt");
    if (!makeFolderLink(root.path() + "sub\\loop", root.path().substr(0, root.path().size() - 1)))
        GTEST_SKIP() << "no folder link can be made here";
    ASSERT_TRUE(GetFileAttributesA((root.path() + "sub\\loop").c_str()) & FILE_ATTRIBUTE_DIRECTORY);

    const DWORD start = GetTickCount();
    const std::vector<std::string> paths = scanned(root.path(), true);
    EXPECT_LT(GetTickCount() - start, 10000u);
    std::vector<std::string> sorted = paths;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::string>{root.path() + "sub\\inner.txt", root.path() + "top.txt"}));
}

// A folder reached by more than one way is no loop: each way lists its files under the
// path the user sees, whichever of them the file system returns first.
TEST(FolderScanLinks, EveryWayToAFolderThatIsNoAncestorIsFollowed)
{
    ScratchFolder root;
    ScratchFolder other;
    other.file("far.txt");
    root.folder("real");
    root.file("real\\near.txt");
    const std::string target = other.path().substr(0, other.path().size() - 1);
    if (!makeFolderLink(root.path() + "link1", target) || !makeFolderLink(root.path() + "link2", target)
        || !makeFolderLink(root.path() + "sibling", root.path() + "real"))
        GTEST_SKIP() << "no folder link can be made here";
    std::vector<std::string> paths = scanned(root.path(), true);
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(paths, (std::vector<std::string>{root.path() + "link1\\far.txt", root.path() + "link2\\far.txt",
                                               root.path() + "real\\near.txt",
                                               root.path() + "sibling\\near.txt"}));
    // Without subfolders a link is just a folder entry: skipped.
    EXPECT_TRUE(scanned(root.path(), false).empty());
}

// Two links into each other's folders: each chain ends where it meets its own ancestor.
TEST(FolderScanLinks, LinksBetweenTwoFoldersEndWhereTheyMeetAnAncestor)
{
    ScratchFolder root;
    root.folder("a");
    root.folder("b");
    root.file("a\\x.txt");
    root.file("b\\y.txt");
    if (!makeFolderLink(root.path() + "a\\toB", root.path() + "b")
        || !makeFolderLink(root.path() + "b\\toA", root.path() + "a"))
        GTEST_SKIP() << "no folder link can be made here";
    std::vector<std::string> paths = scanned(root.path(), true);
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(paths, (std::vector<std::string>{root.path() + "a\\toB\\y.txt", root.path() + "a\\x.txt",
                                               root.path() + "b\\toA\\x.txt", root.path() + "b\\y.txt"}));
}

} // namespace
