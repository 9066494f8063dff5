// The new-name computation: the worked examples and the edge cases, in a single-byte and
// a double-byte code page, with the date fixed at 7 May 2003.

#include "base/CodePage.h"
#include "engine/NewPath.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

const FixedClock may7th2003(2003, 5, 7);

struct PathRow {
    std::vector<std::string> rules;
    std::string oldPath;
    int position;
    std::string newPath;
};

std::ostream& operator<<(std::ostream& os, const PathRow& row)
{
    for (const std::string& r : row.rules)
        os << "[" << r << "] ";
    return os << row.oldPath << " @" << row.position;
}

class NewPathRows : public ::testing::TestWithParam<PathRow> {};

// Every row holds in both code pages: nothing in them is a lead byte of 936.
TEST_P(NewPathRows, ComputesTheNewPath)
{
    const PathRow& row = GetParam();
    for (int cp : {1252, 936}) {
        EXPECT_EQ(computeNewPath(row.oldPath, row.position, row.rules, modelCodePage(cp),
                                 may7th2003),
                  row.newPath)
            << "code page " << cp;
    }
}

const std::string D = "C:\\Photos\\";

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, NewPathRows,
    ::testing::Values(
        PathRow{{"FILENAME PREFIX digit length:3"}, D + "photo.jpg", 7, D + "007photo.jpg"},
        PathRow{{"FILENAME SUFFIX digit length:2:10"}, D + "photo.jpg", 1, D + "photo11.jpg"},
        PathRow{{"FILENAME SUFFIX digit length:1"}, D + "photo.jpg", 123, D + "photo123.jpg"},
        PathRow{{"FILENAME PREFIX date format:dd-mm-yyyy"}, D + "photo.jpg", 1,
                D + "07-05-2003photo.jpg"},
        PathRow{{"FILENAME PREFIX date format:mm-dd-yy"}, D + "photo.jpg", 1,
                D + "05-07-03photo.jpg"},
        PathRow{{"FILEEXT UPPERCASE all"}, D + "photo.jpg", 1, D + "photo.JPG"},
        PathRow{{"FILENAME UPPERCASE left length:1letter"}, D + "01 track.mp3", 1,
                D + "01 Track.mp3"},
        PathRow{{"FILENAME REMOVE right length:3"}, D + "report_v2.doc", 1, D + "report.doc"},
        PathRow{{"FILENAME REMOVE (*)"}, D + "song (live) mix.mp3", 1, D + "song  mix.mp3"},
        PathRow{{"FILENAME REMOVE (*"}, D + "song (live) mix.mp3", 1, D + "song .mp3"},
        PathRow{{"FILENAME REMOVE *)"}, D + "song (live) mix.mp3", 1, D + " mix.mp3"},
        PathRow{{"FILENAME REMOVE date format:mm-dd-yy"}, D + "trip 05-07-03 beach.jpg", 1,
                D + "trip  beach.jpg"},
        PathRow{{"FILENAME REMOVE all"}, D + "notes.txt", 1, D + ".txt"},
        PathRow{{"FILEEXT REMOVE all"}, D + "notes.txt", 1, D + "notes."},
        PathRow{{"FILEEXT PREFIX digit length:1"}, D + "notes", 5, D + "notes"}));

INSTANTIATE_TEST_SUITE_P(
    SplitAndOrder, NewPathRows,
    ::testing::Values(
        // A dot file has an empty name part; its extension is everything after the dot.
        PathRow{{"FILENAME PREFIX \"x\""}, D + ".profile", 1, D + ".profile"},
        PathRow{{"FILEEXT UPPERCASE all"}, D + ".profile", 1, D + ".PROFILE"},
        // No dot: no extension to work on; a suffix of the name can add one.
        PathRow{{"FILEEXT SUFFIX \"txt\""}, D + "readme", 1, D + "readme"},
        PathRow{{"FILENAME SUFFIX \".txt\""}, D + "readme", 1, D + "readme.txt"},
        // The split is redone before every rule.
        PathRow{{"FILENAME SUFFIX \".bak\"", "FILEEXT UPPERCASE all"}, D + "photo.jpg", 1,
                D + "photo.bak.JPG"},
        PathRow{{"FILENAME SUFFIX \".bak\"", "FILENAME UPPERCASE all"}, D + "photo.jpg", 1,
                D + "PHOTO.BAK.jpg"},
        PathRow{{"FILENAME PREFIX digit length:2", "FILENAME PREFIX digit length:2"},
                D + "a.txt", 3, D + "0303a.txt"},
        PathRow{{"FILENAME UPPERCASE all", "FILENAME PREFIX \"x\""}, D + "photo.jpg", 1,
                D + "xPHOTO.jpg"},
        PathRow{{"FILENAME PREFIX \"x\"", "FILENAME UPPERCASE all"}, D + "photo.jpg", 1,
                D + "XPHOTO.jpg"},
        // Only the name changes: dots and rule texts in the folders are not touched.
        PathRow{{"FILENAME REPLACE \"o\" with \"0\""}, "D:\\fo.o\\photo.jpg", 1,
                "D:\\fo.o\\ph0t0.jpg"},
        PathRow{{"FILENAME PREFIX \"x\""}, "photo.jpg", 1, "xphoto.jpg"},
        PathRow{{"FILENAME REMOVE all"}, D + "notes", 1, D},
        PathRow{{"FILENAME REMOVE all", "FILENAME PREFIX \"x\""}, D + "notes", 1, D},
        PathRow{{}, D + "notes.txt", 1, D + "notes.txt"},
        // Lines that do not read and unknown words leave the name alone.
        PathRow{{"FILENAME", "FILENAME RENAME \"x\"", "FILENAME PREFIX \"open",
                 "FILENAME PREFIX time format:x", "FILENAME REPLACE \"a\"", "FILENAME LOWERCASE x"},
                D + "Photo.jpg", 1, D + "Photo.jpg"},
        PathRow{{"filename PREFIX \"x\""}, D + "a.txt", 1, D + "a.xtxt"}));

INSTANTIATE_TEST_SUITE_P(
    Digits, NewPathRows,
    ::testing::Values(
        PathRow{{"FILENAME PREFIX digit length:0"}, D + "a.txt", 5, D + "5a.txt"},
        PathRow{{"FILENAME PREFIX digit length:-3"}, D + "a.txt", 5, D + "5a.txt"},
        PathRow{{"FILENAME PREFIX digit length:abc"}, D + "a.txt", 5, D + "5a.txt"},
        PathRow{{"FILENAME PREFIX digit length:2"}, D + "a.txt", 1234, D + "1234a.txt"},
        PathRow{{"FILENAME SUFFIX digit length:4:-10"}, D + "a.txt", 3, D + "a00-7.txt"},
        PathRow{{"FILENAME SUFFIX digit length:1:2147483647"}, D + "a.txt", 2,
                D + "a2147483649.txt"},
        PathRow{{"FILENAME SUFFIX digit length:6:5"}, D + "a.txt", 1, D + "a000006.txt"}));

INSTANTIATE_TEST_SUITE_P(
    Dates, NewPathRows,
    ::testing::Values(
        PathRow{{"FILENAME SUFFIX date format:mm-dd-yyyy"}, D + "a.jpg", 1, D + "a05-07-2003.jpg"},
        PathRow{{"FILENAME SUFFIX date format:dd-mm-yy"}, D + "a.jpg", 1, D + "a07-05-03.jpg"},
        PathRow{{"FILENAME SUFFIX date format:_draft"}, D + "a.jpg", 1, D + "a_draft.jpg"},
        PathRow{{"FILENAME SUFFIX date format:%Y"}, D + "a.jpg", 1, D + "a%Y.jpg"},
        PathRow{{"FILENAME REMOVE date format:dd-mm-yyyy"}, D + "07-05-2003 trip.jpg", 1,
                D + " trip.jpg"},
        PathRow{{"FILENAME REMOVE date format:dd-mm-yyyy"}, D + "07-13-2003 trip.jpg", 1,
                D + "07-13-2003 trip.jpg"},
        PathRow{{"FILENAME REMOVE date format:mm-dd-yyyy"}, D + "x12-31-1999.jpg", 1,
                D + "x.jpg"},
        // The start is at the first hyphen minus two, clamped to the start of the text.
        PathRow{{"FILENAME REMOVE date format:mm-dd-yy"}, D + "5-07-03 x.jpg", 1, D + "x.jpg"},
        // Fewer characters than the format takes: removed up to the end.
        PathRow{{"FILENAME REMOVE date format:mm-dd-yyyy"}, D + "05-07-03.jpg", 1, D + ".jpg"},
        // One hyphen only, a month of 0 or 13, or a bare mm-dd: nothing changes.
        PathRow{{"FILENAME REMOVE date format:mm-dd-yy"}, D + "05-07.jpg", 1, D + "05-07.jpg"},
        PathRow{{"FILENAME REMOVE date format:mm-dd-yy"}, D + "00-07-03.jpg", 1,
                D + "00-07-03.jpg"},
        PathRow{{"FILENAME REMOVE date format:mm-dd"}, D + "05-07-03.jpg", 1, D + "05-07-03.jpg"},
        PathRow{{"FILENAME REMOVE date format:yy-mm-dd"}, D + "05-07-03.jpg", 1,
                D + "05-07-03.jpg"},
        PathRow{{"FILENAME REMOVE date format:mm-dd-yy"}, D + "no hyphen.jpg", 1,
                D + "no hyphen.jpg"},
        // The day and year are not examined.
        PathRow{{"FILENAME REMOVE date format:mm-dd-yy"}, D + "12-xx-yy tail.jpg", 1,
                D + " tail.jpg"}));

INSTANTIATE_TEST_SUITE_P(
    Segments, NewPathRows,
    ::testing::Values(
        PathRow{{"FILENAME UPPERCASE left length:5letter"}, D + "1abc.txt", 1, D + "1ABC.txt"},
        PathRow{{"FILENAME UPPERCASE right length:1letter"}, D + "abc_1.txt", 1,
                D + "abC_1.txt"},
        PathRow{{"FILENAME UPPERCASE left length:3letter"}, D + "12345.txt", 1, D + "12345.txt"},
        PathRow{{"FILENAME REMOVE left length:3letter"}, D + "12345.txt", 1, D + "45.txt"},
        PathRow{{"FILENAME REMOVE left length:99"}, D + "abc.txt", 1, D + ".txt"},
        PathRow{{"FILENAME REMOVE left length:0"}, D + "abc.txt", 1, D + "abc.txt"},
        PathRow{{"FILENAME REMOVE left length:-2"}, D + "abc.txt", 1, D + "abc.txt"},
        PathRow{{"FILENAME REMOVE left length:2147483647"}, D + "abc.txt", 1, D + ".txt"},
        PathRow{{"FILENAME LOWERCASE right length:2"}, D + "ABCD.TXT", 1, D + "ABcd.TXT"},
        PathRow{{"FILENAME REMOVE right length:2letter"}, D + "ab12cd34.x", 1, D + "ab1234.x"},
        PathRow{{"FILEEXT UPPERCASE left length:1"}, D + "a.txt", 1, D + "a.Txt"},
        PathRow{{"FILENAME LOWERCASE left length:letter"}, D + "ABC.x", 1, D + "ABC.x"}));

INSTANTIATE_TEST_SUITE_P(
    ReplaceAndRemoveText, NewPathRows,
    ::testing::Values(
        PathRow{{"FILENAME REPLACE \"aa\" with \"a\""}, D + "aaaa.txt", 1, D + "aa.txt"},
        PathRow{{"FILENAME REPLACE \"a\" with \"aa\""}, D + "a.txt", 1, D + "aa.txt"},
        PathRow{{"FILENAME REPLACE \"_\" with \" \""}, D + "a_b_c.txt", 1, D + "a b c.txt"},
        PathRow{{"FILENAME REPLACE \"_\" with \"\""}, D + "a_b_c.txt", 1, D + "abc.txt"},
        PathRow{{"FILENAME REPLACE \"\" with \"x\""}, D + "abc.txt", 1, D + "abc.txt"},
        PathRow{{"FILENAME REPLACE \".\" with \"-\""}, D + "a.b.txt", 1, D + "a-b.txt"},
        PathRow{{"FILENAME REMOVE \"IMG\""}, D + "img_001.jpg", 1, D + "img_001.jpg"},
        PathRow{{"FILENAME REMOVE \"copy\""}, D + "copy of copy.jpg", 1, D + " of .jpg"},
        PathRow{{"FILENAME REMOVE (*)"}, D + "a) b (c).txt", 1, D + "a) b .txt"},
        PathRow{{"FILENAME REMOVE (*)"}, D + "a (b.txt", 1, D + "a (b.txt"},
        PathRow{{"FILENAME REMOVE (*)"}, D + "a (b) (c).txt", 1, D + "a  (c).txt"},
        PathRow{{"FILENAME REMOVE *)"}, D + "no bracket.txt", 1, D + "no bracket.txt"},
        PathRow{{"FILENAME REMOVE (*"}, D + "no bracket.txt", 1, D + "no bracket.txt"},
        PathRow{{"FILENAME REMOVE \"*\""}, D + "a.txt", 1, D + "a.txt"},
        // Only the first asterisk is a wildcard.
        PathRow{{"FILENAME REMOVE \"a*b*\""}, D + "xa1b*y.txt", 1, D + "xy.txt"},
        PathRow{{"FILENAME REMOVE \"a*b*\""}, D + "xa1by.txt", 1, D + "xa1by.txt"},
        // The closing text is searched from where the opening text starts.
        PathRow{{"FILENAME REMOVE \"ab*b\""}, D + "ab.txt", 1, D + ".txt"}));

// Double-byte names in code page 936, whose trail bytes look like the characters searched
// for: 0x81 0x5C is one character with the backslash byte as its trail, 0xB0 0x61 one with
// an 'a'. In 1252 the same bytes are single characters, so the backslash splits the path.
struct DbcsRow {
    std::vector<std::string> rules;
    std::string oldPath;
    std::string in936;
    std::string in1252;
};

class NewPathDoubleByte : public ::testing::TestWithParam<DbcsRow> {};

TEST_P(NewPathDoubleByte, NeverTakesATrailByteForACharacter)
{
    const DbcsRow& row = GetParam();
    EXPECT_EQ(computeNewPath(row.oldPath, 1, row.rules, modelCodePage(936), may7th2003), row.in936);
    EXPECT_EQ(computeNewPath(row.oldPath, 1, row.rules, modelCodePage(1252), may7th2003),
              row.in1252);
}

INSTANTIATE_TEST_SUITE_P(
    Models, NewPathDoubleByte,
    ::testing::Values(
        // The folder split: the trail 0x5C of the name's first character is no backslash.
        DbcsRow{{"FILENAME PREFIX \"x\""}, "C:\\d\\\x81\x5C" "a.txt", "C:\\d\\x\x81\x5C" "a.txt",
                "C:\\d\\\x81\\x" "a.txt"},
        // REPLACE must not match 'a' inside 0xB0 0x61.
        DbcsRow{{"FILENAME REPLACE \"a\" with \"b\""}, "\xB0" "a" "a.txt", "\xB0" "ab.txt",
                "\xB0" "bb.txt"},
        // Upper-casing maps whole characters: the 'a' trail byte stays.
        DbcsRow{{"FILENAME UPPERCASE all"}, "\xB0" "aa.txt", "\xB0" "aA.txt", "\xB0" "AA.txt"},
        DbcsRow{{"FILENAME UPPERCASE all"}, "\xA3\xE1" "b.txt", "\xA3\xC1" "B.txt",
                "\xA3\xC1" "B.txt"},
        // Removing one byte from the left removes the whole double-byte character, so no
        // stray trail byte (here a backslash) is left in the name.
        DbcsRow{{"FILENAME REMOVE left length:1"}, "\x81\x5C" "ab.txt", "ab.txt",
                "\x81\\b.txt"},
        DbcsRow{{"FILENAME REMOVE right length:1"}, "ab\x81\x5C.txt", "ab.txt",
                "ab\x81\\.txt"},
        DbcsRow{{"FILENAME UPPERCASE left length:1letter"}, "\xB0" "ab.txt", "\xB0" "aB.txt",
                "\xB0" "Ab.txt"},
        // A text ending in a lead byte does not match half a character.
        DbcsRow{{"FILENAME REMOVE \"x\x81\""}, "x\x81\x5C" "y.txt", "x\x81\x5C" "y.txt",
                "x\x81\\y.txt"},
        // The date removal does not cut the character after the date in two.
        DbcsRow{{"FILENAME REMOVE date format:mm-dd-yy"}, "5-07-03\x81\x5C" "z.jpg", "z.jpg",
                "5-07-03\x81\\z.jpg"}));

TEST(NewPathDates, EmptyWhenTheLocalTimeCannotBeFormed)
{
    const FixedClock failing = FixedClock::failing();
    const FixedClock outOfRange(2003, 14, 40);
    for (const LocalClock* clock : {static_cast<const LocalClock*>(&failing),
                                    static_cast<const LocalClock*>(&outOfRange)}) {
        EXPECT_EQ(computeNewPath("a.jpg", 1, {"FILENAME PREFIX date format:dd-mm-yyyy"},
                                 modelCodePage(1252), *clock),
                  "a.jpg");
        // A literal value needs no clock.
        EXPECT_EQ(computeNewPath("a.jpg", 1, {"FILENAME PREFIX date format:x"},
                                 modelCodePage(1252), *clock),
                  "xa.jpg");
    }
}

TEST(NewPathDates, ReadsTheClockAtEveryComputation)
{
    class CountingClock final : public LocalClock {
    public:
        mutable int calls = 0;
        bool now(std::tm& t) const override
        {
            ++calls;
            t = std::tm{};
            t.tm_year = 103;
            t.tm_mon = 4;
            t.tm_mday = calls; // a new day at every read
            return true;
        }
    } clock;
    const NewPathComputer computer({"FILENAME PREFIX date format:dd-mm-yy"}, modelCodePage(1252),
                                   clock);
    EXPECT_EQ(computer.compute("a", 1), "01-05-03a");
    EXPECT_EQ(computer.compute("a", 2), "02-05-03a");
}

TEST(NewPathDigits, HugeWidthIsCapped)
{
    const std::string result = computeNewPath("a", 1, {"FILENAME PREFIX digit length:2000000000"},
                                              modelCodePage(1252), may7th2003);
    ASSERT_EQ(result.size(), static_cast<std::size_t>(kMaxDigitWidth) + 1);
    EXPECT_EQ(result.substr(kMaxDigitWidth - 2), "01a");
    EXPECT_EQ(result.find_first_not_of('0'), static_cast<std::size_t>(kMaxDigitWidth - 1));
}

TEST(NewPathSystem, SystemClockGivesAPlausibleDate)
{
    std::tm t{};
    ASSERT_TRUE(systemLocalClock().now(t));
    EXPECT_GE(t.tm_year, 120);
    const std::string result = computeNewPath("a", 1, {"FILENAME PREFIX date format:mm-dd-yyyy"},
                                              systemCodePage(), systemLocalClock());
    ASSERT_EQ(result.size(), 11u);
    EXPECT_EQ(result[2], '-');
    EXPECT_EQ(result[5], '-');
    EXPECT_EQ(result.substr(6, 4), std::to_string(1900 + t.tm_year));
}

} // namespace
