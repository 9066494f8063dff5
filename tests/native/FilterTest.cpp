// The file-list filter rule and the view it gives over the added paths.

#include "filelist/AddedPaths.h"
#include "filelist/Filter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct MatchRow {
    const char* name;
    const char* filter;
    bool caseMatters;
    bool expected;
};

class FilterMatchesRule : public ::testing::TestWithParam<MatchRow> {};

TEST_P(FilterMatchesRule, InCodePage1252)
{
    const MatchRow& row = GetParam();
    EXPECT_EQ(filterMatches(row.name, row.filter, row.caseMatters, modelCodePage(1252)), row.expected)
        << "name '" << row.name << "' filter '" << row.filter << "' case " << row.caseMatters;
}

INSTANTIATE_TEST_SUITE_P(
    Table, FilterMatchesRule,
    ::testing::Values(
        MatchRow{"anything.txt", "", false, true},
        MatchRow{"", "", true, true},
        // no "*": contains, anywhere
        MatchRow{"Photo.JPG", "jpg", false, true},
        MatchRow{"Photo.JPG", "jpg", true, false},
        MatchRow{"Photo.JPG", "JPG", true, true},
        MatchRow{"Photo.JPG", "to.j", false, true},
        MatchRow{"Photo.JPG", "Photo.JPG.", false, false},
        MatchRow{"a b.txt", "a b", false, true},
        MatchRow{"ab.txt", "a b", false, false},
        // "*" first: ends with
        MatchRow{"a.txt", "*.txt", false, true},
        MatchRow{"a.txt.bak", "*.txt", false, false},
        MatchRow{"A.TXT", "*.txt", false, true},
        MatchRow{"A.TXT", "*.txt", true, false},
        MatchRow{"x", "*", false, true},
        MatchRow{"", "*", true, true},
        MatchRow{".txt", "*.txt", false, true},
        MatchRow{"txt", "*.txt", false, false},
        // "*" last: begins with
        MatchRow{"IMG_001.jpg", "img*", false, true},
        MatchRow{"IMG_001.jpg", "img*", true, false},
        MatchRow{"my IMG.jpg", "img*", false, false},
        // "*" inside: both ends, tested independently (the parts may overlap)
        MatchRow{"abc", "ab*bc", false, true},
        MatchRow{"abxbc", "ab*bc", false, true},
        MatchRow{"abxb", "ab*bc", false, false},
        MatchRow{"xabbc", "ab*bc", false, false},
        MatchRow{"b", "b*b", false, true},
        // only the first "*" is special; later ones and every "?" are literal
        MatchRow{"abc", "a?c", false, false},
        MatchRow{"a?c", "a?c", false, true},
        MatchRow{"x.txt", "**", false, false},
        MatchRow{"x.*", "**", false, true},
        MatchRow{"a.b.c", "a*b*c", false, false},
        MatchRow{"a.b*c", "a*b*c", false, true},
        MatchRow{"a.txt", "*.t*", false, false},
        MatchRow{"a.t*", "*.t*", false, true},
        // letters beyond A-Z fold in 1252
        MatchRow{"\xC9T\xC9.doc", "\xE9t\xE9", false, true},
        MatchRow{"\xC9T\xC9.doc", "\xE9t\xE9", true, false}));

struct DbcsRow {
    const char* name;
    const char* filter;
    bool caseMatters;
    bool expected;
};

class FilterMatchesDoubleByte : public ::testing::TestWithParam<DbcsRow> {};

TEST_P(FilterMatchesDoubleByte, InCodePage936)
{
    const DbcsRow& row = GetParam();
    EXPECT_EQ(filterMatches(row.name, row.filter, row.caseMatters, modelCodePage(936)), row.expected)
        << "filter '" << row.filter << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Table, FilterMatchesDoubleByte,
    ::testing::Values(
        // 0xB0 0x41 is one character: its trail byte is not the letter A.
        DbcsRow{"\xB0\x41.txt", "A", true, false},
        DbcsRow{"\xB0\x41.txt", "a", false, false},
        DbcsRow{"\xB0\x41" "A.txt", "A", true, true},
        DbcsRow{"x\xB0\x41", "*A", true, false},
        DbcsRow{"x\xB0\x41", "*\xB0\x41", true, true},
        DbcsRow{"\xB0\x41\xB0\x41", "\xB0\x41*\x41", true, false},
        DbcsRow{"\xB0\x41" "A", "\xB0\x41*A", true, true},
        // a trail byte 0x2A is not a "*"
        DbcsRow{"\x81\x2A" "b", "\x81\x2A", true, true},
        DbcsRow{"q\x81\x2A", "\x81\x2A", true, true},
        // full-width letters fold through the code page
        DbcsRow{"\xA3\xC1\xA3\xC2.txt", "\xA3\xE1", false, true},
        DbcsRow{"\xA3\xC1\xA3\xC2.txt", "\xA3\xE1", true, false},
        DbcsRow{"PIC.JPG", "*.jpg", false, true}));

struct ViewRow {
    const char* filter;
    bool caseMatters;
    bool exclude;
    std::vector<std::string> shown;
};

class FileListViewTable : public ::testing::TestWithParam<ViewRow> {};

const std::vector<std::string>& viewPaths()
{
    static const std::vector<std::string> paths = {
        "C:\\pics\\Photo.JPG", "C:\\docs\\a.txt", "C:\\docs\\a.txt.bak",
        "D:\\Photos\\a.jpg",   "C:\\x\\abc",      "noslash.txt",
        "",
    };
    return paths;
}

TEST_P(FileListViewTable, ShowsTheEntriesThatPass)
{
    const ViewRow& row = GetParam();
    AddedPaths paths(modelCodePage(1252));
    for (const std::string& p : viewPaths())
        paths.appendUnchecked(p);
    std::vector<std::string> shown;
    for (std::string_view line : fileListView(paths, row.filter, row.caseMatters, row.exclude))
        shown.emplace_back(line);
    EXPECT_EQ(shown, row.shown) << "filter '" << row.filter << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Table, FileListViewTable,
    ::testing::Values(
        ViewRow{"", false, false, viewPaths()},
        ViewRow{"", true, true, viewPaths()},
        ViewRow{"*", false, false, viewPaths()},
        ViewRow{"*", false, true, {}},
        ViewRow{"jpg", false, false, {"C:\\pics\\Photo.JPG", "D:\\Photos\\a.jpg"}},
        ViewRow{"jpg", true, false, {"D:\\Photos\\a.jpg"}},
        ViewRow{"*.txt", false, false, {"C:\\docs\\a.txt", "noslash.txt"}},
        ViewRow{"*.txt", false, true,
                {"C:\\pics\\Photo.JPG", "C:\\docs\\a.txt.bak", "D:\\Photos\\a.jpg", "C:\\x\\abc", ""}},
        ViewRow{"ab*bc", false, false, {"C:\\x\\abc"}},
        ViewRow{"a?c", false, false, {}},
        // the name part only: the folder "Photos" does not count
        ViewRow{"photos", false, false, {}},
        ViewRow{"photo", false, false, {"C:\\pics\\Photo.JPG"}},
        ViewRow{"docs", false, true, viewPaths()}));

TEST(FileListView, FoldedNamesFollowLaterChanges)
{
    AddedPaths paths(modelCodePage(1252));
    paths.add("C:\\A\\One.TXT");
    paths.add("C:\\A\\two.txt");
    paths.add("c:\\a\\ONE.txt");
    std::vector<std::string> shown;
    for (std::string_view line : fileListView(paths, "one", false, false))
        shown.emplace_back(line);
    EXPECT_EQ(shown, std::vector<std::string>{"c:\\a\\ONE.txt"});
    EXPECT_EQ(fileListView(paths, "One", true, false).size(), 0u);
    EXPECT_EQ(fileListView(paths, "ONE", true, false).size(), 1u);
}

// A copy outlives the filter it was made from: each kind of filter, long enough that its
// text lives on the heap, still matches through the copy alone.
TEST(NameFilterCopy, StandsOnItsOwn)
{
    const CaseFold fold(modelCodePage(1252));
    const std::string part(40, 'q');
    struct Row {
        std::string filter;
        std::string matching;
        std::string other;
    };
    const Row rows[] = {
        {part, "a" + part + "b", "ab"},
        {"*" + part, "a" + part, part + "a"},
        {part + "*", part + "a", "a" + part},
        {part + "*" + part, part + "x" + part, part + "x"},
    };
    for (const Row& row : rows) {
        auto original = std::make_unique<NameFilter>(row.filter, true, false, fold);
        NameFilter copy = *original;
        original.reset();
        // Reuse the freed memory.
        std::vector<std::string> clutter(16, std::string(row.filter.size(), '#'));
        EXPECT_TRUE(copy.matches(row.matching)) << row.filter;
        EXPECT_FALSE(copy.matches(row.other)) << row.filter;
    }
}

} // namespace
