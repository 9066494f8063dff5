// Reading rule text: target, action and arguments, the number conversion, and lines that do not read.

#include "base/CodePage.h"
#include "engine/RenameRule.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct NumberRow {
    std::string text;
    int value;
};

class RuleNumber : public ::testing::TestWithParam<NumberRow> {};

TEST_P(RuleNumber, ReadsLikeTheRuntimeConversion)
{
    EXPECT_EQ(readRuleNumber(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Conversion, RuleNumber,
    ::testing::Values(NumberRow{"3", 3}, NumberRow{"  42", 42}, NumberRow{"\t\n\v\f\r7", 7},
                      NumberRow{"+5", 5}, NumberRow{"-12", -12}, NumberRow{"10abc", 10},
                      NumberRow{"abc", 0}, NumberRow{"", 0}, NumberRow{"- 3", 0},
                      NumberRow{"+-3", 0}, NumberRow{"007", 7}, NumberRow{"1letter", 1},
                      NumberRow{"2147483647", INT_MAX}, NumberRow{"2147483648", INT_MAX},
                      NumberRow{"99999999999999999999999", INT_MAX},
                      NumberRow{"-2147483648", INT_MIN}, NumberRow{"-2147483649", INT_MIN},
                      NumberRow{"-99999999999999999999", INT_MIN}, NumberRow{"3:10", 3},
                      NumberRow{"\xA0" "5", 0}));

using Kind = RenameRule::Kind;
using Action = RenameRule::Action;
using Target = RenameRule::Target;

struct ReadRow {
    std::string line;
    bool skipped;
    Target target;
    Action action;
    Kind kind;
    std::string text = {};
    std::string replacement = {};
    int width = 0;
    int offset = 0;
    int count = 0;
    bool letter = false;
};

class RuleReading : public ::testing::TestWithParam<ReadRow> {};

TEST_P(RuleReading, FollowsTheReadingSteps)
{
    const ReadRow& row = GetParam();
    for (int cp : {1252, 936}) {
        const RenameRule rule = readRenameRule(row.line, modelCodePage(cp));
        SCOPED_TRACE(row.line + " in " + std::to_string(cp));
        EXPECT_EQ(rule.skipped, row.skipped);
        if (row.skipped)
            continue;
        EXPECT_EQ(rule.target, row.target);
        EXPECT_EQ(rule.action, row.action);
        EXPECT_EQ(rule.kind, row.kind);
        EXPECT_EQ(rule.text, row.text);
        EXPECT_EQ(rule.replacement, row.replacement);
        EXPECT_EQ(rule.width, row.width);
        EXPECT_EQ(rule.offset, row.offset);
        EXPECT_EQ(rule.count, row.count);
        EXPECT_EQ(rule.letter, row.letter);
    }
}

const Target N = Target::FileName;
const Target E = Target::Extension;

INSTANTIATE_TEST_SUITE_P(
    Lines, RuleReading,
    ::testing::Values(
        // A target and an action each end at a blank.
        ReadRow{"FILENAME", true, N, Action::Other, Kind::NoChange},
        ReadRow{"FILENAME REMOVE", true, N, Action::Other, Kind::NoChange},
        ReadRow{"", true, N, Action::Other, Kind::NoChange},
        // Any other target word is the extension; keywords are case-sensitive.
        ReadRow{"FILEEXT REMOVE all", false, E, Action::Remove, Kind::RemoveAll},
        ReadRow{"filename REMOVE all", false, E, Action::Remove, Kind::RemoveAll},
        ReadRow{"X REMOVE all", false, E, Action::Remove, Kind::RemoveAll},
        ReadRow{"FILENAME remove all", false, N, Action::Other, Kind::NoChange},
        ReadRow{"FILENAME  PREFIX \"a\"", false, N, Action::Other, Kind::NoChange},
        // Quoted texts, digits and dates.
        ReadRow{"FILENAME PREFIX \"new_\"", false, N, Action::Prefix, Kind::InsertText, "new_"},
        ReadRow{"FILENAME SUFFIX \"a b\" junk", false, N, Action::Suffix, Kind::InsertText, "a b"},
        ReadRow{"FILENAME PREFIX digit \"x\"", false, N, Action::Prefix, Kind::InsertText, "x"},
        ReadRow{"FILENAME PREFIX \"open", true, N, Action::Prefix, Kind::NoChange},
        ReadRow{"FILENAME PREFIX \"\"", false, N, Action::Prefix, Kind::InsertText, ""},
        ReadRow{"FILENAME SUFFIX digit length:3", false, N, Action::Suffix, Kind::InsertDigits,
                "", "", 3, 0},
        ReadRow{"FILENAME SUFFIX digit length:2:10", false, N, Action::Suffix,
                Kind::InsertDigits, "", "", 2, 10},
        ReadRow{"FILENAME SUFFIX digit width:4", false, N, Action::Suffix, Kind::InsertDigits,
                "", "", 4, 0},
        ReadRow{"FILENAME SUFFIX digit length:", false, N, Action::Suffix, Kind::InsertDigits},
        ReadRow{"FILENAME SUFFIX digit length:x:-5", false, N, Action::Suffix,
                Kind::InsertDigits, "", "", 0, -5},
        ReadRow{"FILENAME SUFFIX digit:3", true, N, Action::Suffix, Kind::NoChange},
        ReadRow{"FILENAME SUFFIX digit length3", true, N, Action::Suffix, Kind::NoChange},
        ReadRow{"FILENAME PREFIX date format:dd-mm-yyyy", false, N, Action::Prefix,
                Kind::InsertDate, "dd-mm-yyyy"},
        ReadRow{"FILENAME PREFIX date format:any text: here", false, N, Action::Prefix,
                Kind::InsertDate, "any text: here"},
        ReadRow{"FILENAME PREFIX time format:x", false, N, Action::Prefix, Kind::NoChange},
        // REPLACE needs four quotes; the word between is not examined.
        ReadRow{"FILENAME REPLACE \"_\" with \" \"", false, N, Action::Replace, Kind::Replace,
                "_", " "},
        ReadRow{"FILENAME REPLACE \"a\" by \"\"", false, N, Action::Replace, Kind::Replace, "a", ""},
        ReadRow{"FILENAME REPLACE \"a\"\"b\"", false, N, Action::Replace, Kind::Replace, "a", "b"},
        ReadRow{"FILENAME REPLACE \"a\" with \"b", true, N, Action::Replace, Kind::NoChange},
        ReadRow{"FILENAME REPLACE \"a\" with", true, N, Action::Replace, Kind::NoChange},
        ReadRow{"FILENAME REPLACE a with b", true, N, Action::Replace, Kind::NoChange},
        // All, left/right with the letter option, date, and texts.
        ReadRow{"FILEEXT UPPERCASE all", false, E, Action::Uppercase, Kind::AllCase},
        ReadRow{"FILEEXT LOWERCASE all extra", false, E, Action::Lowercase, Kind::AllCase},
        ReadRow{"FILENAME UPPERCASE left length:1letter", false, N, Action::Uppercase,
                Kind::LeftSegment, "", "", 0, 0, 1, true},
        ReadRow{"FILENAME REMOVE right length:3", false, N, Action::Remove, Kind::RightSegment,
                "", "", 0, 0, 3},
        ReadRow{"FILENAME REMOVE right length:letter", false, N, Action::Remove,
                Kind::RightSegment, "", "", 0, 0, 0, false},
        ReadRow{"FILENAME REMOVE left length:2letterletter", false, N, Action::Remove,
                Kind::LeftSegment, "", "", 0, 0, 2, true},
        ReadRow{"FILENAME REMOVE left n:4x", false, N, Action::Remove, Kind::LeftSegment, "", "",
                0, 0, 4},
        ReadRow{"FILENAME REMOVE left", true, N, Action::Remove, Kind::NoChange},
        ReadRow{"FILENAME REMOVE left length4", true, N, Action::Remove, Kind::NoChange},
        ReadRow{"FILENAME REMOVE date format:mm-dd-yy", false, N, Action::Remove,
                Kind::RemoveDate, "mm-dd-yy"},
        ReadRow{"FILENAME REMOVE date mm-dd-yy", true, N, Action::Remove, Kind::NoChange},
        ReadRow{"FILENAME UPPERCASE date format:mm-dd-yy", false, N, Action::Uppercase,
                Kind::NoChange},
        ReadRow{"FILENAME LOWERCASE \"x\"", false, N, Action::Lowercase, Kind::NoChange},
        ReadRow{"FILENAME REMOVE (*)", false, N, Action::Remove, Kind::RemoveText, "(*)"},
        ReadRow{"FILENAME REMOVE (*", false, N, Action::Remove, Kind::RemoveText, "(*"},
        ReadRow{"FILENAME REMOVE \"copy\"", false, N, Action::Remove, Kind::RemoveText, "copy"},
        ReadRow{"FILENAME REMOVE \"a b\"", false, N, Action::Remove, Kind::RemoveText, "a b"},
        ReadRow{"FILENAME REMOVE \"all\"", false, N, Action::Remove, Kind::RemoveText, "all"},
        ReadRow{"FILENAME REMOVE \"x*y\"", false, N, Action::Remove, Kind::RemoveText, "x*y"},
        ReadRow{"FILENAME REMOVE \"open", true, N, Action::Remove, Kind::NoChange},
        ReadRow{"FILENAME REMOVE ", false, N, Action::Remove, Kind::RemoveText, ""},
        // An unknown action reads but changes nothing.
        ReadRow{"FILENAME RENAME \"x\"", false, N, Action::Other, Kind::NoChange}));

TEST(RuleReadingDoubleByte, TrailBytesAreNotDelimiters)
{
    // In code page 936 the trail byte of 0x81 0x22 is not a double quote: the quoted text
    // runs to the real closing quote and keeps the whole character.
    const std::string line = "FILENAME PREFIX \"\x81\x22x\"";
    const RenameRule rule = readRenameRule(line, modelCodePage(936));
    EXPECT_FALSE(rule.skipped);
    EXPECT_EQ(rule.kind, Kind::InsertText);
    EXPECT_EQ(rule.text, "\x81\x22x");
    // The single-byte code page sees the quote in the middle.
    EXPECT_EQ(readRenameRule(line, modelCodePage(1252)).text, "\x81");

    // "letter" made of a lead byte's trail does not count as the option.
    const RenameRule seg = readRenameRule("FILENAME REMOVE left length:2\x81letter",
                                          modelCodePage(936));
    EXPECT_FALSE(seg.letter);
    EXPECT_EQ(seg.count, 2);
    EXPECT_TRUE(readRenameRule("FILENAME REMOVE left length:2\x81letter",
                               modelCodePage(1252)).letter);
}

TEST(RuleReadingList, ReadsEveryLineInOrder)
{
    const std::vector<RenameRule> rules = readRenameRules(
        {"FILENAME REMOVE all", "bad", "FILEEXT UPPERCASE all"}, modelCodePage(1252));
    ASSERT_EQ(rules.size(), 3u);
    EXPECT_EQ(rules[0].kind, Kind::RemoveAll);
    EXPECT_TRUE(rules[1].skipped);
    EXPECT_EQ(rules[2].kind, Kind::AllCase);
    EXPECT_EQ(rules[2].target, Target::Extension);
}

} // namespace
