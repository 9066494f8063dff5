// Keyboard routing of the main window, typed as real key strokes: Ctrl+A/I/C/M whatever
// has the focus, Delete by focus, Enter doing nothing, F1 and the exit question.

#include "CommandsUiSupport.h"

#include <gtest/gtest.h>

namespace {

using commandsui::TestFolder;
using commandsui::answerMessage;
using commandsui::focus;
using commandsui::press;
using commandsui::selectLines;

const std::string exitQuestion = "Do you want to exit \"Tesselwork 2\"?";

struct CtrlRow {
    const char* what;
    int focusId;
    WORD key;
};

class KeyboardUiNoSelection : public ::testing::TestWithParam<CtrlRow> {};

TEST_P(KeyboardUiNoSelection, CopyAndMoveKeysAskForASelectionWhateverHasTheFocus)
{
    const CtrlRow& row = GetParam();
    TestFolder folder;
    ui::Program app;
    ASSERT_TRUE(app.start(folder.createAndHandOff({"a.txt"}))) << app.lastError();
    app.setText(IDC_FILTER, "a.txt");
    app.setText(IDC_RESULT_LIST, "typed text");
    ASSERT_TRUE(focus(app, row.focusId)) << row.what;
    press(app, {VK_CONTROL, row.key});
    EXPECT_EQ(answerMessage(app, messageBoxTitle, "&OK"), "Please select the files first.") << row.what;
    // No folder dialog follows, and the text boxes are untouched.
    EXPECT_FALSE(app.findModal()) << row.what;
    EXPECT_EQ(app.text(IDC_FILTER), "a.txt") << row.what;
    EXPECT_EQ(app.text(IDC_RESULT_LIST), "typed text") << row.what;
    EXPECT_EQ(app.lineCount(IDC_FILE_LIST), 1) << row.what;
}

INSTANTIATE_TEST_SUITE_P(
    Focus, KeyboardUiNoSelection,
    ::testing::Values(CtrlRow{"Ctrl+C in the filter box", IDC_FILTER, 'C'},
                      CtrlRow{"Ctrl+M in the filter box", IDC_FILTER, 'M'},
                      CtrlRow{"Ctrl+C in the result list", IDC_RESULT_LIST, 'C'},
                      CtrlRow{"Ctrl+M in the file list", IDC_FILE_LIST, 'M'},
                      CtrlRow{"Ctrl+C in the rules list", IDC_RULE_LIST, 'C'}));

TEST(KeyboardUi, ControlWithAltIsNoCommandKey)
{
    TestFolder folder;
    ui::Program app;
    ASSERT_TRUE(app.start(folder.createAndHandOff({"a.txt"}))) << app.lastError();
    ASSERT_TRUE(focus(app, IDC_FILTER));
    // AltGr, as Control and Alt, types letters on many keyboards.
    press(app, {VK_CONTROL, VK_MENU, 'C'});
    press(app, {VK_CONTROL, VK_MENU, 'A'});
    EXPECT_FALSE(app.findModal()) << "Ctrl+Alt+C started the copy command";
    EXPECT_TRUE(app.selectedLines(IDC_FILE_LIST).empty()) << "Ctrl+Alt+A selected the lines";
    EXPECT_TRUE(app.running());
}

TEST(KeyboardUi, CtrlAAndCtrlISelectInTheFileListFromAnywhere)
{
    TestFolder folder;
    ui::Program app;
    ASSERT_TRUE(app.start(folder.createAndHandOff({"1.txt", "2.txt", "3.txt", "4.txt"}))) << app.lastError();
    app.setText(IDC_FILTER, "txt");
    ASSERT_TRUE(focus(app, IDC_FILTER));
    press(app, {VK_CONTROL, 'A'});
    EXPECT_EQ(app.selectedLines(IDC_FILE_LIST), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(app.text(IDC_FILTER), "txt") << "Ctrl+A must not act on the filter text";

    selectLines(app, IDC_FILE_LIST, {0, 2});
    ASSERT_TRUE(focus(app, IDC_RESULT_LIST));
    press(app, {VK_CONTROL, 'I'});
    EXPECT_EQ(app.selectedLines(IDC_FILE_LIST), (std::vector<int>{1, 3}));
    press(app, {VK_CONTROL, 'I'});
    EXPECT_EQ(app.selectedLines(IDC_FILE_LIST), (std::vector<int>{0, 2}));
}

TEST(KeyboardUi, DeleteFollowsTheFocus)
{
    TestFolder folder;
    ui::Program app;
    ASSERT_TRUE(app.start(folder.createAndHandOff({"abc.txt", "b.txt", "c.txt"}))) << app.lastError();

    // In the filter box Delete edits the text.
    app.setText(IDC_FILTER, "xtxt");
    ASSERT_TRUE(focus(app, IDC_FILTER));
    SendMessageA(app.control(IDC_FILTER), EM_SETSEL, 0, 0);
    press(app, {VK_DELETE});
    EXPECT_EQ(app.text(IDC_FILTER), "txt");
    ASSERT_EQ(app.lineCount(IDC_FILE_LIST), 3);

    // In the file list it removes the selected lines.
    selectLines(app, IDC_FILE_LIST, {0, 2});
    ASSERT_TRUE(focus(app, IDC_FILE_LIST));
    press(app, {VK_DELETE});
    EXPECT_EQ(app.lines(IDC_FILE_LIST), (std::vector<std::string>{folder / "b.txt"}));
    EXPECT_EQ(app.text(IDC_FILTER), "txt");

    // In the rules list it deletes the selected rule.
    app.selectComboItem(IDC_RULE_ACTION, 4); // UPPERCASE
    app.click(IDC_ADD_RULE);
    app.selectComboItem(IDC_RULE_ACTION, 5); // LOWERCASE
    app.click(IDC_ADD_RULE);
    const std::vector<std::string> rules = app.lines(IDC_RULE_LIST);
    ASSERT_EQ(rules.size(), 2u) << "the rule editor did not add two rules";
    selectLines(app, IDC_RULE_LIST, {0});
    ASSERT_TRUE(focus(app, IDC_RULE_LIST));
    press(app, {VK_DELETE});
    EXPECT_EQ(app.lines(IDC_RULE_LIST), (std::vector<std::string>{rules[1]}));
    EXPECT_EQ(app.lines(IDC_FILE_LIST), (std::vector<std::string>{folder / "b.txt"}));
}

TEST(KeyboardUi, EnterDoesNothingAnywhere)
{
    TestFolder folder;
    ui::Program app;
    ASSERT_TRUE(app.start(folder.createAndHandOff({"a.txt"}))) << app.lastError();
    app.setText(IDC_FILTER, "a");
    app.setText(IDC_RESULT_LIST, "result");
    for (int id : {IDC_FILTER, IDC_RESULT_LIST, IDC_FILE_LIST, IDC_REMOVE_ALL, IDC_PREVIEW, IDC_ABOUT}) {
        ASSERT_TRUE(focus(app, id)) << id;
        press(app, {VK_RETURN});
        EXPECT_FALSE(app.findModal()) << "Enter with the focus on " << id << " opened a window";
        EXPECT_TRUE(app.running());
        EXPECT_EQ(app.lineCount(IDC_FILE_LIST), 1) << id;
        EXPECT_EQ(app.text(IDC_FILTER), "a") << id;
        EXPECT_EQ(app.text(IDC_RESULT_LIST), "result") << id;
    }
}

TEST(KeyboardUi, F1OpensTheHelpFileOnlyWithoutShiftControlOrAlt)
{
    const std::string help = ui::testBinDirectory() + "tessel2.chm";
    const bool madeHelp = !commandsui::fileExists(help);
    if (madeHelp)
        commandsui::writeFile(help, "stand-in help file");
    {
        commandsui::OpenRecorder recorder({".chm"});
        ui::Program app;
        ASSERT_TRUE(app.start()) << app.lastError();
        ASSERT_TRUE(focus(app, IDC_FILE_LIST));
        press(app, {VK_SHIFT, VK_F1});
        press(app, {VK_CONTROL, VK_F1});
        EXPECT_TRUE(recorder.opened(0).empty()) << "F1 with a modifier opened something";
        press(app, {VK_F1});
        std::vector<std::string> opened = recorder.opened(1);
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_TRUE(_stricmp(opened[0].c_str(), help.c_str()) == 0) << opened[0];
        // The button opens the same file.
        app.click(IDC_HELP_BUTTON);
        opened = recorder.opened(2);
        ASSERT_EQ(opened.size(), 2u);
        EXPECT_TRUE(_stricmp(opened[1].c_str(), help.c_str()) == 0) << opened[1];
    }
    if (madeHelp)
        DeleteFileA(help.c_str());
}

TEST(KeyboardUi, EscapeAsksAndNoKeepsEverything)
{
    TestFolder folder;
    ui::Program app;
    ASSERT_TRUE(app.start(folder.createAndHandOff({"a.txt"}))) << app.lastError();
    app.setText(IDC_FILTER, "a");
    ASSERT_TRUE(focus(app, IDC_FILTER));
    press(app, {VK_ESCAPE});
    EXPECT_EQ(answerMessage(app, questionBoxTitle, "&No"), exitQuestion);
    EXPECT_TRUE(app.running());
    EXPECT_EQ(app.lines(IDC_FILE_LIST), (std::vector<std::string>{folder / "a.txt"}));
    EXPECT_EQ(app.text(IDC_FILTER), "a");

    // The system close asks the same.
    PostMessageA(app.mainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(answerMessage(app, questionBoxTitle, "&No"), exitQuestion);
    EXPECT_TRUE(app.running());

    // Alt+F4, answered yes, ends the program.
    ASSERT_TRUE(focus(app, IDC_FILE_LIST));
    press(app, {VK_MENU, VK_F4});
    ui::ModalWindow question = app.waitForModal(questionBoxTitle, 5000);
    ASSERT_TRUE(question);
    EXPECT_EQ(question.staticText(), exitQuestion);
    question.clickButton("&Yes");
    EXPECT_TRUE(ui::waitFor([&] { return !app.running(); }, 5000));
}

} // namespace
