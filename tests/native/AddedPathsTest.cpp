// The ordered list of added paths and its case-insensitive duplicate rule.

#include "filelist/AddedPaths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

enum class Op { add, appendUnchecked, removeExact, clear };

struct Step {
    Op op;
    std::string path;
};

struct ListRow {
    const char* what;
    int codePage;
    std::vector<Step> steps;
    std::vector<std::string> expected;
};

class AddedPathsSequence : public ::testing::TestWithParam<ListRow> {};

TEST_P(AddedPathsSequence, KeepsOrderAndDuplicateRule)
{
    const ListRow& row = GetParam();
    AddedPaths list(modelCodePage(row.codePage));
    for (const Step& s : row.steps) {
        switch (s.op) {
        case Op::add: list.add(s.path); break;
        case Op::appendUnchecked: list.appendUnchecked(s.path); break;
        case Op::removeExact: list.removeExact(s.path); break;
        case Op::clear: list.clear(); break;
        }
    }
    EXPECT_EQ(list.paths(), row.expected) << row.what;
    EXPECT_EQ(list.size(), row.expected.size()) << row.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, AddedPathsSequence,
    ::testing::Values(
        ListRow{"same path in other case moves to the end, as last written", 1252,
                {{Op::add, "C:\\A\\x.txt"}, {Op::add, "C:\\b.txt"}, {Op::add, "c:\\a\\X.TXT"}},
                {"C:\\b.txt", "c:\\a\\X.TXT"}},
        ListRow{"re-adding the same text moves it", 1252,
                {{Op::add, "a"}, {Op::add, "b"}, {Op::add, "a"}}, {"b", "a"}},
        ListRow{"handoff duplicates are kept", 1252,
                {{Op::appendUnchecked, "C:\\a.txt"}, {Op::appendUnchecked, "C:\\a.txt"}},
                {"C:\\a.txt", "C:\\a.txt"}},
        ListRow{"an add removes every equal entry, however many", 1252,
                {{Op::appendUnchecked, "C:\\a.txt"}, {Op::appendUnchecked, "x"},
                 {Op::appendUnchecked, "c:\\A.TXT"}, {Op::add, "C:\\A.txt"}},
                {"x", "C:\\A.txt"}},
        ListRow{"an empty record is an entry", 1252,
                {{Op::appendUnchecked, ""}, {Op::add, "a"}, {Op::add, ""}}, {"a", ""}},
        ListRow{"accented letters fold in 1252", 1252,
                {{Op::add, "C:\\\xC9t\xE9.txt"}, {Op::add, "c:\\\xE9T\xC9.TXT"}},
                {"c:\\\xE9T\xC9.TXT"}},
        ListRow{"remove by exact text leaves other cases", 1252,
                {{Op::appendUnchecked, "C:\\a"}, {Op::appendUnchecked, "c:\\A"},
                 {Op::appendUnchecked, "C:\\a"}, {Op::removeExact, "C:\\a"}},
                {"c:\\A"}},
        ListRow{"remove of a missing path changes nothing", 1252,
                {{Op::add, "a"}, {Op::removeExact, "b"}, {Op::removeExact, "A"}}, {"a"}},
        ListRow{"clear then add", 1252,
                {{Op::add, "a"}, {Op::clear, ""}, {Op::add, "b"}}, {"b"}},
        ListRow{"full-width letters fold in 936", 936,
                {{Op::add, "C:\\\xA3\xC1.txt"}, {Op::add, "C:\\\xA3\xE1.TXT"}},
                {"C:\\\xA3\xE1.TXT"}},
        ListRow{"a trail byte is not a letter to fold in 936", 936,
                {{Op::add, "C:\\\xB0\x41"}, {Op::add, "C:\\\xB0\x61"}},
                {"C:\\\xB0\x41", "C:\\\xB0\x61"}}));

TEST(AddedPaths, EntriesCarryFoldedNameParts)
{
    AddedPaths list(modelCodePage(936));
    list.add("D:\\Photos\\IMG.JPG");
    list.add("C:\\x\x81\x5C" "Y");
    list.add("bare.TXT");
    std::vector<std::string> names, folded;
    for (const AddedPaths::Entry& e : list) {
        names.emplace_back(e.name());
        folded.emplace_back(e.foldedName());
        // The path serves as a C string as it stands (the list box takes it so).
        EXPECT_EQ(std::string(e.c_str()), std::string(e.path()));
        EXPECT_EQ(e.path().data()[e.path().size()], '\0');
        EXPECT_EQ(e.foldedPath().size(), e.path().size());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"IMG.JPG", "x\x81\x5C" "Y", "bare.TXT"}));
    EXPECT_EQ(folded, (std::vector<std::string>{"img.jpg", "x\x81\x5C" "y", "bare.txt"}));
}

TEST(AddedPaths, ReplaceAllKeepsPathsAsTheyStand)
{
    AddedPaths list(modelCodePage(1252));
    list.add("old");
    const std::vector<std::string> loaded = {"C:\\a", "c:\\A", "C:\\a"};
    list.replaceAll(loaded);
    EXPECT_EQ(list.paths(), loaded);
    list.add("C:\\A");
    EXPECT_EQ(list.paths(), std::vector<std::string>{"C:\\A"});
}

// Many removals squeeze the gaps out of the storage; order and the index must survive it.
TEST(AddedPaths, OrderAndIndexSurviveManyRemovals)
{
    AddedPaths list(modelCodePage(1252));
    const int n = 5000;
    for (int i = 0; i < n; ++i)
        list.add("C:\\dir\\file" + std::to_string(i) + ".txt");
    for (int i = 0; i < n; i += 3)
        ASSERT_EQ(list.removeExact("C:\\dir\\file" + std::to_string(i) + ".txt"), 1u);
    for (int i = 1; i < n; i += 3)
        list.add("c:\\DIR\\FILE" + std::to_string(i) + ".TXT");
    std::vector<std::string> expected;
    for (int i = 2; i < n; i += 3)
        expected.push_back("C:\\dir\\file" + std::to_string(i) + ".txt");
    for (int i = 1; i < n; i += 3)
        expected.push_back("c:\\DIR\\FILE" + std::to_string(i) + ".TXT");
    EXPECT_EQ(list.paths(), expected);
    // Every survivor is still found by the index.
    for (int i = 2; i < n; i += 3)
        list.add("C:\\Dir\\File" + std::to_string(i) + ".txt");
    EXPECT_EQ(list.size(), expected.size());
    EXPECT_EQ(list.paths().front(), "c:\\DIR\\FILE1.TXT");
}

TEST(AddedPaths, RepeatedReAddsDoNotGrowTheList)
{
    AddedPaths list(modelCodePage(1252));
    for (int round = 0; round < 2000; ++round) {
        list.add("C:\\a.txt");
        list.add("C:\\B.txt");
    }
    EXPECT_EQ(list.paths(), (std::vector<std::string>{"C:\\a.txt", "C:\\B.txt"}));
}

} // namespace
