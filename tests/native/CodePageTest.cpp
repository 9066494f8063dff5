// The portable code-page models, and the system code page of whichever build runs them.

#include "base/CodePage.h"

#include <gtest/gtest.h>

namespace {

struct CaseRow {
    int codePage;
    std::string in;
    std::string upper;
    std::string lower;
};

class CodePageCase : public ::testing::TestWithParam<CaseRow> {};

TEST_P(CodePageCase, MapsCaseWithoutChangingLength)
{
    const CaseRow& row = GetParam();
    const CodePage& cp = modelCodePage(row.codePage);
    std::string up = row.in;
    cp.toUpper(up);
    EXPECT_EQ(up, row.upper);
    std::string low = row.in;
    cp.toLower(low);
    EXPECT_EQ(low, row.lower);
}

INSTANTIATE_TEST_SUITE_P(
    Models, CodePageCase,
    ::testing::Values(
        CaseRow{1252, "Photo.JPG", "PHOTO.JPG", "photo.jpg"},
        CaseRow{1252, "\xC9t\xE9 \xFF\x9F", "\xC9T\xC9 \x9F\x9F", "\xE9t\xE9 \xFF\xFF"},
        CaseRow{1252, "\xD7\xF7\xDF", "\xD7\xF7\xDF", "\xD7\xF7\xDF"},
        // 0x5C as a trail byte must not be taken for a backslash, nor 'a' after a lead byte.
        CaseRow{936, "a\x81\x5C" "b", "A\x81\x5C" "B", "a\x81\x5C" "b"},
        CaseRow{936, "\xB0" "a" "x", "\xB0" "aX", "\xB0" "ax"},
        CaseRow{936, "\xA3\xE1\xA3\xC1", "\xA3\xC1\xA3\xC1", "\xA3\xE1\xA3\xE1"},
        CaseRow{936, "Z\xB0", "Z\xB0", "z\xB0"},
        // 932: 0x95 0x5C is one character, 0xB1 (half-width katakana) stands alone, and the
        // full-width Latin letters sit at 82 60 and 82 81.
        CaseRow{932, "a\x95\x5C" "b", "A\x95\x5C" "B", "a\x95\x5C" "b"},
        CaseRow{932, "\xB1" "a", "\xB1" "A", "\xB1" "a"},
        CaseRow{932, "\x82\x81\x82\x60", "\x82\x60\x82\x60", "\x82\x81\x82\x81"}));

TEST(CodePageModels, LeadBytesAndLetters)
{
    const CodePage& sb = modelCodePage(1252);
    const CodePage& db = modelCodePage(936);
    for (int c = 0; c < 256; ++c)
        EXPECT_FALSE(sb.isLeadByte(static_cast<unsigned char>(c))) << c;
    EXPECT_FALSE(db.isLeadByte(0x80));
    EXPECT_TRUE(db.isLeadByte(0x81));
    EXPECT_TRUE(db.isLeadByte(0xFE));
    EXPECT_FALSE(db.isLeadByte(0xFF));
    EXPECT_FALSE(db.isLeadByte('\\'));
    EXPECT_TRUE(sb.isLetter('q'));
    EXPECT_TRUE(sb.isLetter(0xE9));
    EXPECT_FALSE(sb.isLetter('5'));
    EXPECT_FALSE(sb.isLetter(0xD7));
    EXPECT_FALSE(db.isLetter(0xE9));
    EXPECT_FALSE(db.isLetter('_'));
}

// Under Wine the system code page is the real one (1252 in the test prefix); natively it is
// the 1252 model. Either way ASCII behaves the same.
TEST(SystemCodePage, AsciiBehavesLikeTheModel)
{
    const CodePage& sys = systemCodePage();
    std::string text = "Mixed Case 123.txt";
    sys.toUpper(text);
    EXPECT_EQ(text, "MIXED CASE 123.TXT");
    sys.toLower(text);
    EXPECT_EQ(text, "mixed case 123.txt");
    for (int c = 'A'; c <= 'Z'; ++c)
        EXPECT_TRUE(sys.isLetter(static_cast<unsigned char>(c)));
    EXPECT_FALSE(sys.isLetter('.'));
    EXPECT_FALSE(sys.isLeadByte('a'));
}

} // namespace
