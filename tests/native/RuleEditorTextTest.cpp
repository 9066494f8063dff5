// Composing rule text from the editor's boxes: the forms, the messages and their order.

#include "base/CodePage.h"
#include "engine/RuleEditorText.h"

#include <gtest/gtest.h>

namespace {

struct ComposeRow {
    RuleEditorState state;
    std::string rule = {};    // expected line, when accepted
    std::string message = {}; // expected message, when refused
};

RuleEditorState picked(const char* target, const char* action, const char* first)
{
    RuleEditorState s;
    s.target = target;
    s.action = action;
    s.firstArgument = first;
    s.firstArgumentPicked = true;
    return s;
}

RuleEditorState typed(const char* target, const char* action, const char* first)
{
    RuleEditorState s = picked(target, action, first);
    s.firstArgumentPicked = false;
    return s;
}

RuleEditorState withSecond(RuleEditorState s, const char* label, const char* second)
{
    s.secondEnabled = true;
    s.label = label;
    s.secondArgument = second;
    return s;
}

class RuleCompose : public ::testing::TestWithParam<ComposeRow> {};

TEST_P(RuleCompose, BuildsTheLineOrTheMessage)
{
    const ComposeRow& row = GetParam();
    std::string rule;
    std::string message;
    const bool accepted = composeRuleText(row.state, modelCodePage(1252), rule, message);
    if (row.message.empty()) {
        EXPECT_TRUE(accepted) << message;
        EXPECT_EQ(rule, row.rule);
    } else {
        EXPECT_FALSE(accepted) << rule;
        EXPECT_EQ(message, row.message);
    }
}

const std::string incomplete = "Please complete the rule.";

INSTANTIATE_TEST_SUITE_P(
    Editor, RuleCompose,
    ::testing::Values(
        ComposeRow{withSecond(picked("FILENAME", "PREFIX", "digit"), "length", "1"),
                   "FILENAME PREFIX digit length:1"},
        ComposeRow{withSecond(picked("FILENAME", "PREFIX", "digit"), "length", "3:10"),
                   "FILENAME PREFIX digit length:3:10"},
        ComposeRow{withSecond(picked("FILENAME", "PREFIX", "date"), "format", "mm-dd-yy"),
                   "FILENAME PREFIX date format:mm-dd-yy"},
        ComposeRow{picked("FILENAME", "REMOVE", "all"), "FILENAME REMOVE all"},
        ComposeRow{picked("FILENAME", "REMOVE", "(*"), "FILENAME REMOVE (*"},
        ComposeRow{withSecond(picked("FILENAME", "UPPERCASE", "left"), "length", "1letter"),
                   "FILENAME UPPERCASE left length:1letter"},
        ComposeRow{withSecond(typed("FILENAME", "REPLACE", "_"), "with", ""),
                   "FILENAME REPLACE \"_\" with \"\""},
        ComposeRow{withSecond(typed("FILENAME", "REPLACE", "a"), "with", "b?"),
                   "FILENAME REPLACE \"a\" with \"b?\""},
        ComposeRow{withSecond(picked("FILENAME", "PREFIX", "digit"), "length", ""),
                   "FILENAME PREFIX digit length:"},
        ComposeRow{withSecond(typed("FILEEXT", "SUFFIX", "x"), "", "y"), "FILEEXT SUFFIX \"x\" \"y\""},
        ComposeRow{typed("FILENAME", "PREFIX", "new_"), "FILENAME PREFIX \"new_\""},
        ComposeRow{typed("FILENAME", "REMOVE", "x*y"), "FILENAME REMOVE \"x*y\""},
        ComposeRow{typed("FILEEXT", "UPPERCASE", "all"), "FILEEXT UPPERCASE \"all\""},
        // Refusals.
        ComposeRow{typed("FILENAME", "", "x"), "", incomplete},
        ComposeRow{typed("FILENAME", "PREFIX", ""), "", incomplete},
        ComposeRow{typed("FILENAME", "", ""), "", incomplete},
        ComposeRow{typed("FILENAME", "PREFIX", "x*y"), "", "'*' is an illegal character for filename."},
        ComposeRow{typed("FILENAME", "PREFIX", "a?b/c"), "", "'/' is an illegal character for filename."},
        ComposeRow{typed("FILENAME", "PREFIX", "|<>\"?*:/\\"), "",
                   "'\\' is an illegal character for filename."},
        ComposeRow{typed("FILENAME", "PREFIX", "|<>\"?*:"), "", "':' is an illegal character for filename."},
        ComposeRow{typed("FILENAME", "REMOVE", "|<>\"?*"), "", "'?' is an illegal character for filename."},
        ComposeRow{typed("FILENAME", "REMOVE", "|<>\"*"), "", "'\"' is an illegal character for filename."},
        ComposeRow{typed("FILENAME", "REMOVE", "|<>*"), "", "'<' is an illegal character for filename."},
        ComposeRow{typed("FILENAME", "REMOVE", "|>"), "", "'>' is an illegal character for filename."},
        ComposeRow{typed("FILENAME", "REMOVE", "a|"), "", "'|' is an illegal character for filename."},
        // The second argument is not tested.
        ComposeRow{withSecond(typed("FILENAME", "REPLACE", "a"), "with", "\\/:*?\"<>|"),
                   "FILENAME REPLACE \"a\" with \"\\/:*?\"<>|\""}));

TEST(RuleComposeDoubleByte, TrailBytesAreNotIllegalCharacters)
{
    // 0x81 0x5C and 0x81 0x7C are single characters of code page 936.
    RuleEditorState s = typed("FILENAME", "PREFIX", "\x81\x5C\x81\x7C");
    std::string rule;
    std::string message;
    EXPECT_TRUE(composeRuleText(s, modelCodePage(936), rule, message)) << message;
    EXPECT_EQ(rule, "FILENAME PREFIX \"\x81\x5C\x81\x7C\"");
    EXPECT_FALSE(composeRuleText(s, modelCodePage(1252), rule, message));
    EXPECT_EQ(message, "'\\' is an illegal character for filename.");
}

} // namespace
