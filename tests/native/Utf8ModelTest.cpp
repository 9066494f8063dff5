// UTF-8 as the program's code page: characters of one to four bytes in the new-name
// computation, the filter and the case mapping, and which file texts read as UTF-8.

#include "base/CodePage.h"
#include "base/Utf8.h"
#include "engine/NewPath.h"
#include "filelist/Filter.h"

#include <gtest/gtest.h>

namespace {

const CodePage& utf8Model = modelCodePage(65001);
const FixedClock anyDay(2003, 5, 7);

enum class Check {
    newName,      // `rule` applied to `text` in the UTF-8 model gives `expected`
    filterNoCase, // the filter `rule` without Case on the name `text`: "yes" or "no"
    filterCase,   // the same with Case
    validUtf8,    // whether `text` reads as UTF-8: "yes" or "no"
};

struct Row {
    const char* what;
    Check check;
    std::string rule;
    std::string text;
    std::string expected;
};

std::ostream& operator<<(std::ostream& os, const Row& row) { return os << row.what; }

std::string yesNo(bool value) { return value ? "yes" : "no"; }

class Utf8Model : public ::testing::TestWithParam<Row> {};

TEST_P(Utf8Model, CountsAndMapsWholeCharacters)
{
    const Row& row = GetParam();
    std::string got;
    switch (row.check) {
    case Check::newName:
        got = computeNewPath(row.text, 1, {row.rule}, utf8Model, anyDay);
        break;
    case Check::filterNoCase:
    case Check::filterCase:
        got = yesNo(filterMatches(row.text, row.rule, row.check == Check::filterCase, utf8Model));
        break;
    case Check::validUtf8:
        got = yesNo(utf8::isValid(row.text));
        break;
    }
    EXPECT_EQ(got, row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Utf8Model,
    ::testing::Values(
        // Counts are characters: three of Фото's four leave one, whatever their bytes.
        Row{"remove left counts characters", Check::newName, "FILENAME REMOVE left length:3",
            u8"C:\\Фото\\Фото.png", u8"C:\\Фото\\о.png"},
        Row{"remove right counts characters", Check::newName, "FILENAME REMOVE right length:2",
            u8"写真.jpg", u8".jpg"},
        Row{"a four-byte character is one", Check::newName, "FILENAME REMOVE right length:1",
            u8"emoji-📷.txt", "emoji-.txt"},
        Row{"uppercase all, every script", Check::newName, "FILENAME UPPERCASE all",
            u8"Főtanúsítvány фото αβ 写真 📷.pem", u8"FŐTANÚSÍTVÁNY ФОТО ΑΒ 写真 📷.pem"},
        Row{"lowercase all", Check::newName, "FILEEXT LOWERCASE all", u8"x.ÉŁЖ", u8"x.éłж"},
        Row{"uppercase a left segment", Check::newName, "FILENAME UPPERCASE left length:2",
            u8"őrség.txt", u8"ŐRség.txt"},
        // Cyrillic letters are letters: the digits before them are skipped.
        Row{"letter option on Cyrillic", Check::newName, "FILENAME UPPERCASE left length:1letter",
            u8"01 фото.png", u8"01 Фото.png"},
        Row{"letter option from the right", Check::newName,
            "FILENAME REMOVE right length:1letter", u8"фото_1.png", u8"фот_1.png"},
        Row{"a count past the end stops there", Check::newName, "FILENAME REMOVE left length:9",
            u8"Фото.png", ".png"},
        Row{"replace a Cyrillic text", Check::newName, u8"FILENAME REPLACE \"Фо\" with \"фо\"",
            u8"ФотоФото.png", u8"фотофото.png"},
        Row{"remove a bracketed part", Check::newName, "FILENAME REMOVE (*)",
            u8"写真 (コピー).jpg", u8"写真 .jpg"},
        Row{"bytes that are no character stay", Check::newName, "FILENAME UPPERCASE all",
            "a\xE9" "b.txt", "A\xE9" "B.txt"},
        Row{"filter without Case folds Cyrillic", Check::filterNoCase, u8"фото", u8"Фото.png", "yes"},
        Row{"filter with Case does not", Check::filterCase, u8"фото", u8"Фото.png", "no"},
        Row{"filter without Case, Latin Extended", Check::filterNoCase, u8"*Ő.PEM",
            u8"Főtanúsítványő.pem", "yes"},
        Row{"ASCII is UTF-8", Check::validUtf8, "", "plain.txt", "yes"},
        Row{"four-byte characters", Check::validUtf8, "", u8"emoji-📷.txt", "yes"},
        Row{"1252 bytes are not", Check::validUtf8, "", "C:\\\xC9t\xE9.txt", "no"},
        Row{"932 bytes are not", Check::validUtf8, "", "\x95\x5C.txt", "no"},
        Row{"an overlong slash is not", Check::validUtf8, "", "\xC0\xAF", "no"},
        Row{"a surrogate is not", Check::validUtf8, "", "\xED\xA0\x80", "no"},
        Row{"a cut character is not", Check::validUtf8, "", "\xD0", "no"},
        Row{"past U+10FFFF is not", Check::validUtf8, "", "\xF4\x90\x80\x80", "no"}));

TEST(Utf8Text, ConvertsUtf16Whole)
{
    const std::u16string units = u"写真-\U0001F4F7 \xD800.txt";
    EXPECT_EQ(utf8Model.fromUtf16(units), u8"写真-📷 \uFFFD.txt");
    EXPECT_EQ(utf8::toUtf16(u8"写真-📷.txt"), u"写真-\U0001F4F7.txt");
}

} // namespace
