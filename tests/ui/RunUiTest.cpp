// Preview, Rename and Undo in the real window on real files: the result list line by
// line, the files on disk, and the Undo button's state.

#include "CommandsUiSupport.h"
#include "driver/UiDriver.h"

#include "controls/Messages.h"
#include "app/resource.h"

#include <gtest/gtest.h>

namespace {

struct RunFolder : commandsui::TestFolder {
    RunFolder() : TestFolder("ui-run") {}
};

// The result list split at CR LF; every line must end with it.
std::vector<std::string> resultLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", from)) {
        lines.push_back(text.substr(from, at - from));
        from = at + 2;
    }
    EXPECT_EQ(from, text.size()) << "text after the last CR LF";
    return lines;
}

// Clicks a button whose command shows a message, answers it and returns its text.
std::string clickExpectingMessage(ui::Program& app, int id)
{
    app.clickAsync(id);
    return commandsui::answerMessage(app, messageBoxTitle, "&OK", 10000);
}

void addTypedRule(ui::Program& app, int action, const std::string& first, const std::string* second = nullptr)
{
    app.selectComboItem(IDC_RULE_ACTION, action);
    app.setText(IDC_RULE_ARG1, "");
    app.type(IDC_RULE_ARG1, first);
    if (second)
        app.setText(IDC_RULE_ARG2, *second);
    app.click(IDC_ADD_RULE);
}

enum { prefix, suffix, remove, replace, uppercase, lowercase };

TEST(RunUi, EmptyFileListAndEmptyRulesAreTold)
{
    ui::Program app;
    ASSERT_TRUE(app.start()) << app.lastError();
    // No files, whatever the rules.
    EXPECT_EQ(clickExpectingMessage(app, IDC_PREVIEW), "The file list is null, please add file first.");
    addTypedRule(app, prefix, "x");
    EXPECT_EQ(clickExpectingMessage(app, IDC_RENAME), "The file list is null, please add file first.");
    EXPECT_EQ(app.text(IDC_RESULT_LIST), "");
    EXPECT_FALSE(app.isEnabled(IDC_UNDO));
    app.close();

    RunFolder folder;
    folder.create("a.txt");
    ui::StartOptions options;
    options.handoffPaths = {folder / "a.txt"};
    ui::Program second;
    ASSERT_TRUE(second.start(options)) << second.lastError();
    ASSERT_EQ(second.lineCount(IDC_FILE_LIST), 1);
    EXPECT_EQ(clickExpectingMessage(second, IDC_PREVIEW), "Please define the rename rules.");
    EXPECT_EQ(clickExpectingMessage(second, IDC_RENAME), "Please define the rename rules.");
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.txt"}));
    second.close();
}

TEST(RunUi, PreviewRenameAndUndoOnRealFiles)
{
    RunFolder folder;
    for (const char* name : {"one.txt", "two_2.txt", "three.txt"})
        folder.create(name);
    const std::vector<std::string> files = {folder / "one.txt", folder / "two_2.txt", folder / "three.txt"};
    ui::StartOptions options;
    options.handoffPaths = files;
    ui::Program app;
    ASSERT_TRUE(app.start(options)) << app.lastError();
    ASSERT_EQ(app.lines(IDC_FILE_LIST), files);
    EXPECT_FALSE(app.isEnabled(IDC_UNDO));

    // A rule that changes only the second file.
    const std::string dash = "-";
    addTypedRule(app, replace, "_", &dash);
    ASSERT_EQ(app.lines(IDC_RULE_LIST), (std::vector<std::string>{"FILENAME REPLACE \"_\" with \"-\""}));

    app.click(IDC_PREVIEW);
    EXPECT_EQ(resultLines(app.text(IDC_RESULT_LIST)),
              (std::vector<std::string>{files[0] + "  not changed",
                                        files[1] + "  will be changed to  " + folder / "two-2.txt",
                                        files[2] + "  not changed"}));
    EXPECT_FALSE(app.isEnabled(IDC_UNDO));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"one.txt", "three.txt", "two_2.txt"}));

    // Add an extension rule that makes a case-only change for every file.
    app.selectComboItem(IDC_RULE_TARGET, 1);
    app.selectComboItem(IDC_RULE_ACTION, uppercase);
    app.click(IDC_ADD_RULE);
    app.click(IDC_RENAME);
    EXPECT_EQ(resultLines(app.text(IDC_RESULT_LIST)),
              (std::vector<std::string>{files[0] + "  has been changed to  " + folder / "one.TXT",
                                        files[1] + "  has been changed to  " + folder / "two-2.TXT",
                                        files[2] + "  has been changed to  " + folder / "three.TXT"}));
    EXPECT_TRUE(app.isEnabled(IDC_UNDO));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"one.TXT", "three.TXT", "two-2.TXT"}));
    // The file list still shows the old paths.
    EXPECT_EQ(app.lines(IDC_FILE_LIST), files);

    // A second rename from the old paths fails for the file that was moved away; the two
    // whose case alone changed still answer to their old paths (names are compared without
    // regard to case by the file system) and are renamed to the same names again.
    app.click(IDC_RENAME);
    EXPECT_EQ(resultLines(app.text(IDC_RESULT_LIST)),
              (std::vector<std::string>{files[0] + "  has been changed to  " + folder / "one.TXT",
                                        files[1] + " change failed with  " + folder / "two-2.TXT",
                                        files[2] + "  has been changed to  " + folder / "three.TXT"}));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"one.TXT", "three.TXT", "two-2.TXT"}));
    EXPECT_TRUE(app.isEnabled(IDC_UNDO));

    // Undo moves back what this last run moved; two-2.TXT was moved by the run before.
    app.click(IDC_UNDO);
    EXPECT_EQ(resultLines(app.text(IDC_RESULT_LIST)),
              (std::vector<std::string>{folder / "one.TXT" + "  roolback to " + files[0],
                                        folder / "two-2.TXT" + "  roolback failed with  " + files[1],
                                        folder / "three.TXT" + "  roolback to " + files[2]}));
    EXPECT_FALSE(app.isEnabled(IDC_UNDO));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"one.txt", "three.txt", "two-2.TXT"}));
    app.close();
}

TEST(RunUi, UndoWritesNotChangedLinesAndFilterTypingDisablesIt)
{
    RunFolder folder;
    for (const char* name : {"a.txt", "b.txt"})
        folder.create(name);
    const std::vector<std::string> files = {folder / "a.txt", folder / "b.txt"};
    ui::StartOptions options;
    options.handoffPaths = files;
    ui::Program app;
    ASSERT_TRUE(app.start(options)) << app.lastError();
    const std::string z = "z";
    addTypedRule(app, replace, "a", &z);

    app.click(IDC_RENAME);
    EXPECT_TRUE(app.isEnabled(IDC_UNDO));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"b.txt", "z.txt"}));
    // A preview disables Undo again.
    app.click(IDC_PREVIEW);
    EXPECT_FALSE(app.isEnabled(IDC_UNDO));
    EXPECT_EQ(resultLines(app.text(IDC_RESULT_LIST)),
              (std::vector<std::string>{files[0] + "  will be changed to  " + folder / "z.txt",
                                        files[1] + "  not changed"}));
    // Renaming once more, from a.txt again, brings Undo back.
    ASSERT_TRUE(MoveFileA((folder / "z.txt").c_str(), files[0].c_str()));
    app.click(IDC_RENAME);
    EXPECT_TRUE(app.isEnabled(IDC_UNDO));
    app.click(IDC_UNDO);
    EXPECT_FALSE(app.isEnabled(IDC_UNDO));
    EXPECT_EQ(resultLines(app.text(IDC_RESULT_LIST)),
              (std::vector<std::string>{folder / "z.txt" + "  roolback to " + files[0],
                                        files[1] + "  not changed"}));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.txt", "b.txt"}));

    // Typing in the filter rebuilds the view, which disables Undo.
    app.click(IDC_RENAME);
    ASSERT_TRUE(app.isEnabled(IDC_UNDO));
    app.type(IDC_FILTER, "t");
    app.waitIdle();
    EXPECT_FALSE(app.isEnabled(IDC_UNDO));
    app.close();
    // Leave the folder as found for its clean-up.
    MoveFileA((folder / "z.txt").c_str(), files[0].c_str());
}

// A file that the list does not hold must never be moved by Undo: here the second run
// aims the moved-away IMG_0001.jpg at the name of an unrelated file and fails.
TEST(RunUi, UndoLeavesAloneWhatTheLastRunDidNotMove)
{
    RunFolder folder;
    folder.create("IMG_0001.jpg");
    folder.create("2003_DSC_0001.jpg", "unrelated");
    const std::string original = folder / "IMG_0001.jpg";
    ui::Program app;
    ASSERT_TRUE(app.start(folder.handoff({"IMG_0001.jpg"}))) << app.lastError();
    const std::string dsc = "DSC";
    addTypedRule(app, prefix, "2003_");
    app.click(IDC_RENAME);
    addTypedRule(app, replace, "IMG", &dsc);
    app.click(IDC_RENAME);
    EXPECT_EQ(resultLines(app.text(IDC_RESULT_LIST)),
              (std::vector<std::string>{original + " change failed with  " + folder / "2003_DSC_0001.jpg"}));
    app.click(IDC_UNDO);
    EXPECT_EQ(resultLines(app.text(IDC_RESULT_LIST)),
              (std::vector<std::string>{folder / "2003_DSC_0001.jpg" + "  roolback failed with  " + original}));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"2003_DSC_0001.jpg", "2003_IMG_0001.jpg"}));
    EXPECT_EQ(commandsui::readFile(folder / "2003_DSC_0001.jpg"), "unrelated");
    app.close();
}

// A replacement text that reaches out of the folder is not a name: preview and rename
// report the failure, and the file stays where it is.
TEST(RunUi, NewNameNeverLeavesTheFolder)
{
    RunFolder folder;
    folder.folder("sub");
    folder.create("sub\\a.txt");
    const std::string original = folder / "sub\\a.txt";
    const std::string reached = folder / "sub\\..\\moved.txt";
    ui::Program app;
    ASSERT_TRUE(app.start(folder.handoff({"sub\\a.txt"}))) << app.lastError();
    const std::string outside = "..\\moved";
    addTypedRule(app, replace, "a", &outside);
    for (int command : {IDC_PREVIEW, IDC_RENAME}) {
        app.click(command);
        EXPECT_EQ(resultLines(app.text(IDC_RESULT_LIST)),
                  (std::vector<std::string>{original + " change failed with  " + reached}));
    }
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"sub"}));
    EXPECT_EQ(folder.names("sub"), (std::vector<std::string>{"a.txt"}));
    app.close();
}

} // namespace
