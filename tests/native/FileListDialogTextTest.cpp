// Texts of the file list's dialogs: the names the file dialog returns and the levels the
// folder dialog creates.

#include "filelist/FileDialogResult.h"
#include "filelist/FolderChain.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct DialogRow {
    const char* what;
    std::string buffer;   // as the dialog leaves it, NULs included
    std::vector<std::string> paths;
};

class FileDialogPaths : public ::testing::TestWithParam<DialogRow> {};

TEST_P(FileDialogPaths, JoinsFolderAndNames)
{
    const DialogRow& row = GetParam();
    std::string buffer = row.buffer;
    buffer.append(4, '\0');
    std::vector<std::string> paths;
    EXPECT_TRUE(fileDialogPaths(buffer.data(), buffer.size(), paths)) << row.what;
    EXPECT_EQ(paths, row.paths) << row.what;
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Table, FileDialogPaths,
    ::testing::Values(
        DialogRow{"one file comes back whole", "C:\\dir\\a.txt\0"s, {"C:\\dir\\a.txt"}},
        DialogRow{"several, in the dialog's order", "C:\\dir\0b.txt\0a.txt\0"s,
                  {"C:\\dir\\b.txt", "C:\\dir\\a.txt"}},
        DialogRow{"a root folder already ends with a backslash", "C:\\\0x\0y\0"s,
                  {"C:\\x", "C:\\y"}},
        DialogRow{"names with blanks", "D:\\My Files\0a b.txt\0c  d\0"s,
                  {"D:\\My Files\\a b.txt", "D:\\My Files\\c  d"}},
        DialogRow{"empty buffer", ""s, {}}));

// In a double-byte code page a folder may end in a character whose second byte is 0x5C.
TEST(FileDialogPaths, AFolderEndingInATrailByteGetsItsBackslash)
{
    const std::string buffer = "C:\\x\x95\x5C\0a.txt\0b.txt\0\0"s;
    const struct {
        int codePage;
        std::vector<std::string> paths;
    } rows[] = {
        {932, {"C:\\x\x95\x5C\\a.txt", "C:\\x\x95\x5C\\b.txt"}},
        {936, {"C:\\x\x95\x5C\\a.txt", "C:\\x\x95\x5C\\b.txt"}},
        {1252, {"C:\\x\x95\x5C" "a.txt", "C:\\x\x95\x5C" "b.txt"}},
    };
    for (const auto& row : rows) {
        std::vector<std::string> paths;
        EXPECT_TRUE(fileDialogPaths(buffer.data(), buffer.size(), paths, PathText(modelCodePage(row.codePage))));
        EXPECT_EQ(paths, row.paths) << row.codePage;
    }
}

// A list that does not end within the capacity was cut by the dialog: not taken.
TEST(FileDialogPaths, AListCutAtTheCapacityIsRefused)
{
    using namespace std::string_literals;
    struct Cut {
        std::string buffer;
        std::size_t capacity;
        bool complete;
    };
    const Cut cuts[] = {
        {"C:\\d\0ab\0\0"s, 9, true},
        {"C:\\d\0ab\0\0"s, 8, false},   // the final NUL lies beyond the capacity
        {"C:\\d\0ab\0\0"s, 7, false},   // the last name ends at the capacity
        {"C:\\d\0abc"s, 8, false},        // no NUL at all after the last name
        {"C:\\one.txt\0\0"s, 12, true},
        {"C:\\one.txt\0\0"s, 11, false},
        {"\0"s, 1, true},
    };
    for (const Cut& c : cuts) {
        std::vector<std::string> paths = {"stale"};
        EXPECT_EQ(fileDialogPaths(c.buffer.data(), c.capacity, paths), c.complete)
            << c.buffer.size() << " bytes, capacity " << c.capacity;
        if (!c.complete) {
            EXPECT_TRUE(paths.empty() || paths.front() != "stale");
        }
    }
}

TEST(FileDialogPaths, ManyNames)
{
    std::string buffer = "C:\\many";
    buffer += '\0';
    std::vector<std::string> expected;
    for (int i = 0; i < 5000; ++i) {
        const std::string name = "file number " + std::to_string(i) + ".dat";
        buffer += name;
        buffer += '\0';
        expected.push_back("C:\\many\\" + name);
    }
    buffer += '\0';
    std::vector<std::string> paths;
    EXPECT_TRUE(fileDialogPaths(buffer.data(), buffer.size(), paths));
    EXPECT_EQ(paths, expected);
}

struct LevelRow {
    const char* path;
    int codePage;
    std::vector<std::string> levels;
};

class FolderChainLevels : public ::testing::TestWithParam<LevelRow> {};

TEST_P(FolderChainLevels, OneLevelPerBackslash)
{
    const LevelRow& row = GetParam();
    EXPECT_EQ(folderChainLevels(row.path, modelCodePage(row.codePage)), row.levels) << row.path;
}

INSTANTIATE_TEST_SUITE_P(
    Table, FolderChainLevels,
    ::testing::Values(
        LevelRow{"C:\\New\\Sub", 1252, {"C:\\", "C:\\New\\", "C:\\New\\Sub\\"}},
        LevelRow{"C:\\New\\Sub\\", 1252, {"C:\\", "C:\\New\\", "C:\\New\\Sub\\"}},
        LevelRow{"C:\\", 1252, {"C:\\"}},
        LevelRow{"C:", 1252, {"C:\\"}},
        LevelRow{"", 1252, {}},
        LevelRow{"\\\\server\\share\\a\\b", 1252, {"\\\\server\\share\\a\\", "\\\\server\\share\\a\\b\\"}},
        LevelRow{"\\\\server\\share", 1252, {"\\\\server\\share\\"}},
        // 0x81 0x5C is one character in 936: its trail byte makes no level there.
        LevelRow{"C:\\x\x81\x5C" "y\\z", 936, {"C:\\", "C:\\x\x81\x5Cy\\", "C:\\x\x81\x5Cy\\z\\"}},
        LevelRow{"C:\\x\x81\x5C" "y\\z", 1252,
                 {"C:\\", "C:\\x\x81\\", "C:\\x\x81\x5Cy\\", "C:\\x\x81\x5Cy\\z\\"}},
        LevelRow{"C:\\\xB0\xA1\x5C", 936, {"C:\\", "C:\\\xB0\xA1\\"}}));

} // namespace
