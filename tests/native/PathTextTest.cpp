// Splitting and joining paths in single-byte and double-byte code pages: a trail byte
// 0x5C (the second byte of many Japanese and Chinese characters) is never a separator.

#include "base/PathText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// In 932 and 936, 95 5C is one character (the kanji "table" in 932); B0 5C is one character
// in 936 but a half-width katakana followed by a backslash in 932.
const char table[] = "\x95\x5C";

struct SplitRow {
    int codePage;
    std::string path;
    std::size_t nameStart;
    bool endsWithSeparator;
};

class PathTextSplit : public ::testing::TestWithParam<SplitRow> {};

TEST_P(PathTextSplit, FindsTheLastRealBackslash)
{
    const SplitRow& row = GetParam();
    const PathText paths(modelCodePage(row.codePage));
    EXPECT_EQ(paths.nameStart(row.path), row.nameStart);
    EXPECT_EQ(paths.namePart(row.path), row.path.substr(row.nameStart));
    EXPECT_EQ(paths.folderPart(row.path), row.path.substr(0, row.nameStart));
    EXPECT_EQ(paths.endsWithSeparator(row.path), row.endsWithSeparator);
}

INSTANTIATE_TEST_SUITE_P(
    Models, PathTextSplit,
    ::testing::Values(
        SplitRow{1252, "C:\\a\\b.txt", 5, false}, SplitRow{932, "C:\\a\\b.txt", 5, false},
        SplitRow{1252, "b.txt", 0, false}, SplitRow{1252, "", 0, false}, SplitRow{932, "", 0, false},
        SplitRow{1252, "C:\\dir\\", 7, true}, SplitRow{936, "C:\\dir\\", 7, true},
        SplitRow{1252, "\\\\server\\share\\f.txt", 15, false},
        // A folder whose name ends in a character with the trail byte 0x5C.
        SplitRow{932, std::string("C:\\x") + table, 3, false},
        SplitRow{936, std::string("C:\\x") + table, 3, false},
        SplitRow{1252, std::string("C:\\x") + table, 6, true},
        SplitRow{932, std::string("C:\\x") + table + "\\", 7, true},
        SplitRow{932, std::string("C:\\x") + table + "\\a.txt", 7, false},
        SplitRow{932, std::string("C:\\") + table + table + "\\" + table + ".txt", 8, false},
        // A file name that ends in such a character.
        SplitRow{932, std::string("C:\\d\\") + table, 5, false},
        SplitRow{936, "\x81\x5C\\n", 3, false},
        // B0: a lead byte in 936, a character of its own in 932.
        SplitRow{936, "C:\\\xB0\x5C", 3, false}, SplitRow{932, "C:\\\xB0\x5C", 5, true},
        // A lead byte as the last byte has no trail byte to take.
        SplitRow{932, "C:\\a\\x\x95", 5, false}));

struct JoinRow {
    int codePage;
    std::string folder;
    std::string name;
    std::string joined;
};

class PathTextJoin : public ::testing::TestWithParam<JoinRow> {};

TEST_P(PathTextJoin, AddsABackslashOnlyWhereNoneEnds)
{
    const JoinRow& row = GetParam();
    const PathText paths(modelCodePage(row.codePage));
    EXPECT_EQ(paths.join(row.folder, row.name), row.joined);
    EXPECT_EQ(paths.asFolder(row.folder) + row.name, row.joined);
}

INSTANTIATE_TEST_SUITE_P(
    Models, PathTextJoin,
    ::testing::Values(
        JoinRow{1252, "C:\\dir", "a.txt", "C:\\dir\\a.txt"}, JoinRow{1252, "C:\\", "a.txt", "C:\\a.txt"},
        JoinRow{932, "C:\\dir\\", "a.txt", "C:\\dir\\a.txt"}, JoinRow{1252, "", "a", "\\a"},
        JoinRow{932, std::string("C:\\x") + table, "a.txt", std::string("C:\\x") + table + "\\a.txt"},
        JoinRow{936, std::string("C:\\x") + table, "a.txt", std::string("C:\\x") + table + "\\a.txt"},
        JoinRow{1252, std::string("C:\\x") + table, "a.txt", std::string("C:\\x") + table + "a.txt"},
        JoinRow{932, std::string("C:\\x") + table + "\\", table, std::string("C:\\x") + table + "\\" + table},
        JoinRow{932, "C:\\\xB0\x5C", "a", "C:\\\xB0\x5C" "a"}));

TEST(PathTextSystem, FollowsTheSystemCodePage)
{
    // The native build's system code page is single-byte; under Windows it is whatever the
    // system runs, and the helper must agree with its lead bytes.
    const PathText& paths = systemPathText();
    const std::string path = std::string("C:\\x") + table;
    const bool lead = systemCodePage().isLeadByte(0x95);
    EXPECT_EQ(paths.endsWithSeparator(path), !lead);
    EXPECT_EQ(paths.join(path, "a"), path + (lead ? "\\a" : "a"));
}

} // namespace
