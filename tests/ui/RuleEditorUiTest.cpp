// The rule editor in the real window: composing each kind of rule with the combo boxes as
// a user does, and reading the rules list back.

#include "CommandsUiSupport.h"
#include "driver/UiDriver.h"

#include "controls/Messages.h"
#include "app/resource.h"

#include <gtest/gtest.h>

namespace {

enum { prefix, suffix, remove, replace, uppercase, lowercase };

class RuleEditorUi : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(app.start()) << app.lastError(); }
    void TearDown() override { app.close(); }

    // Chooses an action, then an item of the first box (or none with -1).
    void compose(int action, int firstItem = -1)
    {
        app.selectComboItem(IDC_RULE_ACTION, action);
        if (firstItem >= 0)
            app.selectComboItem(IDC_RULE_ARG1, firstItem);
    }

    // Replaces the first box's text by typing, as the user does.
    void typeFirst(const std::string& text)
    {
        app.setText(IDC_RULE_ARG1, "");
        app.type(IDC_RULE_ARG1, text);
    }

    // Clicks "Add rule" and answers the message box if one comes; returns its text.
    std::string addExpectingMessage()
    {
        app.clickAsync(IDC_ADD_RULE);
        return commandsui::answerMessage(app, messageBoxTitle, "&OK", 10000);
    }

    std::vector<std::string> rules() const { return app.lines(IDC_RULE_LIST); }

    ui::Program app;
};

TEST_F(RuleEditorUi, StartsWithNoActionAndTheSecondBoxDisabled)
{
    EXPECT_EQ(app.text(IDC_RULE_TARGET), "FILENAME");
    EXPECT_EQ(app.text(IDC_RULE_ACTION), "");
    EXPECT_EQ(app.text(IDC_RULE_ARG1), "");
    EXPECT_EQ(app.text(IDC_RULE_ARG2), "");
    EXPECT_EQ(app.text(IDC_RULE_ARG_LABEL), "");
    EXPECT_FALSE(app.isEnabled(IDC_RULE_ARG2));
    EXPECT_EQ(app.lineCount(IDC_RULE_LIST), 0);
}

TEST_F(RuleEditorUi, ComposesEachKindOfRule)
{
    // PREFIX digit: label "length", second box "1"; then 3:10 typed instead.
    compose(prefix, 0);
    EXPECT_EQ(app.text(IDC_RULE_ARG_LABEL), "length");
    EXPECT_EQ(app.text(IDC_RULE_ARG2), "1");
    EXPECT_TRUE(app.isEnabled(IDC_RULE_ARG2));
    app.click(IDC_ADD_RULE);
    app.setText(IDC_RULE_ARG2, "3:10");
    app.click(IDC_ADD_RULE);

    // PREFIX date: the first format is preselected.
    compose(prefix, 1);
    EXPECT_EQ(app.text(IDC_RULE_ARG_LABEL), "format");
    EXPECT_EQ(app.comboItems(IDC_RULE_ARG2),
              (std::vector<std::string>{"mm-dd-yy", "mm-dd-yyyy", "dd-mm-yy", "dd-mm-yyyy"}));
    app.click(IDC_ADD_RULE);

    // REMOVE at once: "all" is selected by the program, the label stays empty.
    compose(remove);
    EXPECT_EQ(app.comboItems(IDC_RULE_ARG1),
              (std::vector<std::string>{"all", "left", "right", "date", "(*)", "(*", "*)"}));
    EXPECT_EQ(app.text(IDC_RULE_ARG1), "all");
    EXPECT_FALSE(app.isEnabled(IDC_RULE_ARG2));
    app.click(IDC_ADD_RULE);

    // REMOVE (*: the second box is disabled.
    compose(remove, 5);
    EXPECT_FALSE(app.isEnabled(IDC_RULE_ARG2));
    app.click(IDC_ADD_RULE);

    // UPPERCASE left with 1letter typed into the second box.
    compose(uppercase, 1);
    EXPECT_EQ(app.text(IDC_RULE_ARG_LABEL), "length");
    app.setText(IDC_RULE_ARG2, "1letter");
    app.click(IDC_ADD_RULE);

    // LOWERCASE all: the second box goes off.
    compose(lowercase, 0);
    EXPECT_FALSE(app.isEnabled(IDC_RULE_ARG2));
    app.click(IDC_ADD_RULE);

    // REPLACE with a typed search text and an empty second box.
    compose(replace);
    EXPECT_EQ(app.text(IDC_RULE_ARG_LABEL), "with");
    EXPECT_TRUE(app.isEnabled(IDC_RULE_ARG2));
    EXPECT_TRUE(app.comboItems(IDC_RULE_ARG1).empty());
    typeFirst("_");
    EXPECT_TRUE(app.isEnabled(IDC_RULE_ARG2));
    app.click(IDC_ADD_RULE);
    // A question mark in the second argument is accepted.
    app.setText(IDC_RULE_ARG2, "x?");
    app.click(IDC_ADD_RULE);

    // REMOVE date with the label format and the first format.
    compose(remove, 3);
    EXPECT_TRUE(app.isEnabled(IDC_RULE_ARG2));
    app.click(IDC_ADD_RULE);

    // SUFFIX with typed text: typing empties the label and disables the second box.
    compose(suffix, 0);
    typeFirst("_v");
    EXPECT_EQ(app.text(IDC_RULE_ARG_LABEL), "");
    EXPECT_FALSE(app.isEnabled(IDC_RULE_ARG2));
    app.click(IDC_ADD_RULE);

    EXPECT_EQ(rules(), (std::vector<std::string>{
                           "FILENAME PREFIX digit length:1",
                           "FILENAME PREFIX digit length:3:10",
                           "FILENAME PREFIX date format:mm-dd-yy",
                           "FILENAME REMOVE all",
                           "FILENAME REMOVE (*",
                           "FILENAME UPPERCASE left length:1letter",
                           "FILENAME LOWERCASE all",
                           "FILENAME REPLACE \"_\" with \"\"",
                           "FILENAME REPLACE \"_\" with \"x?\"",
                           "FILENAME REMOVE date format:mm-dd-yy",
                           "FILENAME SUFFIX \"_v\"",
                       }));
}

TEST_F(RuleEditorUi, RefusesIncompleteRulesAndIllegalCharacters)
{
    EXPECT_EQ(addExpectingMessage(), "Please complete the rule.");
    compose(prefix);
    EXPECT_EQ(addExpectingMessage(), "Please complete the rule.");

    typeFirst("x*y");
    EXPECT_EQ(addExpectingMessage(), "'*' is an illegal character for filename.");
    typeFirst("a?b/c");
    EXPECT_EQ(addExpectingMessage(), "'/' is an illegal character for filename.");
    EXPECT_EQ(app.lineCount(IDC_RULE_LIST), 0);

    // The same text is a wildcard pattern for REMOVE.
    compose(remove);
    typeFirst("x*y");
    app.click(IDC_ADD_RULE);
    EXPECT_EQ(rules(), (std::vector<std::string>{"FILENAME REMOVE \"x*y\""}));
}

TEST_F(RuleEditorUi, DuplicatesAreNotAddedButTheOtherTargetIs)
{
    compose(remove);
    app.click(IDC_ADD_RULE);
    app.click(IDC_ADD_RULE);
    EXPECT_EQ(rules(), (std::vector<std::string>{"FILENAME REMOVE all"}));
    app.selectComboItem(IDC_RULE_TARGET, 1);
    app.click(IDC_ADD_RULE);
    EXPECT_EQ(rules(), (std::vector<std::string>{"FILENAME REMOVE all", "FILEEXT REMOVE all"}));
}

TEST_F(RuleEditorUi, DeleteAndMoveWorkOnTheSelectionAndTheCaretLine)
{
    compose(prefix);
    for (const char* text : {"a", "b", "c", "d", "e"}) {
        typeFirst(text);
        app.click(IDC_ADD_RULE);
    }
    HWND list = app.control(IDC_RULE_LIST);
    auto line = [](const char* t) { return std::string("FILENAME PREFIX \"") + t + "\""; };

    // Nothing selected: move and delete do nothing.
    SendMessageW(list, LB_SETSEL, FALSE, -1);
    app.click(IDC_RULE_UP);
    app.click(IDC_DELETE_RULE);
    EXPECT_EQ(app.lineCount(IDC_RULE_LIST), 5);

    // Lines 1 to 3 selected and the caret on line 3: move up moves only the caret line.
    for (int i = 0; i < 3; ++i)
        SendMessageW(list, LB_SETSEL, TRUE, i);
    SendMessageW(list, LB_SETCARETINDEX, 2, FALSE);
    app.click(IDC_RULE_UP);
    EXPECT_EQ(rules(), (std::vector<std::string>{line("a"), line("c"), line("b"), line("d"), line("e")}));
    EXPECT_EQ(app.selectedLines(IDC_RULE_LIST), (std::vector<int>{0, 1, 2}));

    // Move down from the caret (now on c at line 2); at the bottom nothing happens.
    app.click(IDC_RULE_DOWN);
    EXPECT_EQ(rules(), (std::vector<std::string>{line("a"), line("b"), line("c"), line("d"), line("e")}));
    SendMessageW(list, LB_SETSEL, FALSE, -1);
    SendMessageW(list, LB_SETSEL, TRUE, 4);
    SendMessageW(list, LB_SETCARETINDEX, 4, FALSE);
    app.click(IDC_RULE_DOWN);
    EXPECT_EQ(rules().back(), line("e"));
    // The caret line need not be selected: it moves as long as something is selected.
    SendMessageW(list, LB_SETCARETINDEX, 1, FALSE);
    app.click(IDC_RULE_UP);
    EXPECT_EQ(rules(), (std::vector<std::string>{line("b"), line("a"), line("c"), line("d"), line("e")}));
    // At the top nothing happens.
    SendMessageW(list, LB_SETCARETINDEX, 0, FALSE);
    app.click(IDC_RULE_UP);
    EXPECT_EQ(rules().front(), line("b"));

    // Lines 1 to 3 selected: Delete removes all three.
    SendMessageW(list, LB_SETSEL, FALSE, -1);
    for (int i = 0; i < 3; ++i)
        SendMessageW(list, LB_SETSEL, TRUE, i);
    SendMessageW(list, LB_SETCARETINDEX, 2, FALSE);
    app.click(IDC_DELETE_RULE);
    EXPECT_EQ(rules(), (std::vector<std::string>{line("d"), line("e")}));
}

} // namespace
