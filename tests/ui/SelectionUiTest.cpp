// The selection commands in the real window: remove, remove all (hidden entries too), select
// all, invert, open with the shell, and copy and move through the folder dialog.

#include "CommandsUiSupport.h"

#include "engine/BatchFile.h"

#include <gtest/gtest.h>

namespace {

using commandsui::TestFolder;
using commandsui::answerMessage;
using commandsui::readFile;
using commandsui::selectLines;

// Writes the batch and loads it through the Load batch command.
void loadBatch(ui::Program& app, const BatchFile& batch, const std::string& path)
{
    commandsui::writeFile(path, encodeBatchFile(batch));
    app.clickAsync(IDC_LOAD_BATCH);
    ui::ModalWindow dialog;
    ASSERT_TRUE(ui::waitFor([&] { return static_cast<bool>(dialog = app.findModal()); }));
    ASSERT_TRUE(commandsui::chooseFileName(dialog, path));
    dialog.waitClosed();
    app.waitIdle();
}

// The folder dialog's title text above its tree; its status line follows it.
std::string titleOf(const ui::ModalWindow& dialog)
{
    const std::string texts = dialog.staticText();
    return texts.substr(0, texts.find('\n'));
}

// Clicks copy or move, answers the folder dialog with the folder; returns the text the
// dialog showed above its tree (the remembered target folder).
std::string chooseTarget(ui::Program& app, int commandId, const std::string& folder)
{
    app.clickAsync(commandId);
    ui::ModalWindow dialog;
    ui::waitFor([&] { return static_cast<bool>(dialog = app.findModal()); }, 10000);
    if (!dialog)
        return "<no folder dialog>";
    const std::string shown = titleOf(dialog);
    std::string path = folder;
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    if (!dialog.selectFolder(path)) {
        dialog.command(IDCANCEL);
        dialog.waitClosed();
        return "<folder not found in the tree>";
    }
    Sleep(100);
    dialog.command(IDOK);
    dialog.waitClosed();
    app.waitIdle();
    return shown;
}

TEST(SelectionUi, RemoveSelectedKeepsHiddenEntriesAndRemoveAllDropsThem)
{
    TestFolder folder;
    ui::Program app;
    ASSERT_TRUE(app.start(folder.createAndHandOff({"a.txt", "b.jpg", "c.txt", "d.txt"}))) << app.lastError();
    app.setText(IDC_FILTER, ".txt");
    ASSERT_EQ(app.lineCount(IDC_FILE_LIST), 3);
    // The same state from a batch saved with Undo available, so that its end can be seen.
    BatchFile same;
    same.addedPaths = {folder / "a.txt", folder / "b.jpg", folder / "c.txt", folder / "d.txt"};
    same.fileListLines = {folder / "a.txt", folder / "c.txt", folder / "d.txt"};
    same.undoAvailable = true;
    loadBatch(app, same, folder / "same.tlx");
    ASSERT_TRUE(app.isEnabled(IDC_UNDO));

    // Nothing selected: nothing happens.
    app.click(IDC_REMOVE_SELECTED);
    EXPECT_EQ(app.lineCount(IDC_FILE_LIST), 3);
    EXPECT_TRUE(app.isEnabled(IDC_UNDO));

    selectLines(app, IDC_FILE_LIST, {0, 2});
    app.click(IDC_REMOVE_SELECTED);
    EXPECT_EQ(app.lines(IDC_FILE_LIST), (std::vector<std::string>{folder / "c.txt"}));
    EXPECT_FALSE(app.isEnabled(IDC_UNDO));
    // The view is not rebuilt; clearing the filter shows what stayed in the added paths.
    app.setText(IDC_FILTER, "");
    EXPECT_EQ(app.lines(IDC_FILE_LIST), (std::vector<std::string>{folder / "b.jpg", folder / "c.txt"}));

    app.setText(IDC_FILTER, "jpg");
    ASSERT_EQ(app.lineCount(IDC_FILE_LIST), 1);
    // A batch that says Undo is available turns it on; Remove All turns it off again.
    BatchFile undoable;
    undoable.addedPaths = {folder / "b.jpg"};
    undoable.fileListLines = undoable.addedPaths;
    undoable.undoAvailable = true;
    loadBatch(app, undoable, folder / "undo.tlx");
    ASSERT_TRUE(app.isEnabled(IDC_UNDO));
    app.click(IDC_REMOVE_ALL);
    EXPECT_FALSE(app.isEnabled(IDC_UNDO));
    EXPECT_EQ(app.lineCount(IDC_FILE_LIST), 0);
    app.setText(IDC_FILTER, "");
    EXPECT_EQ(app.lineCount(IDC_FILE_LIST), 0) << "Remove All left entries hidden by the filter";
    // The files themselves stay.
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.txt", "b.jpg", "c.txt", "d.txt", "same.tlx", "undo.tlx"}));
}

TEST(SelectionUi, SelectAllAndInvert)
{
    TestFolder folder;
    ui::Program app;
    ASSERT_TRUE(app.start(folder.createAndHandOff({"1", "2", "3", "4"}))) << app.lastError();
    app.click(IDC_INVERT);
    EXPECT_EQ(app.selectedLines(IDC_FILE_LIST), (std::vector<int>{0, 1, 2, 3}));
    selectLines(app, IDC_FILE_LIST, {0, 2});
    app.click(IDC_INVERT);
    EXPECT_EQ(app.selectedLines(IDC_FILE_LIST), (std::vector<int>{1, 3}));
    selectLines(app, IDC_FILE_LIST, {3});
    app.click(IDC_SELECT_ALL);
    EXPECT_EQ(app.selectedLines(IDC_FILE_LIST), (std::vector<int>{0, 1, 2, 3}));
    app.click(IDC_INVERT);
    EXPECT_TRUE(app.selectedLines(IDC_FILE_LIST).empty());
}

TEST(SelectionUi, DoubleClickOpensTheFocusedLineEvenWithOthersSelected)
{
    TestFolder folder;
    commandsui::OpenRecorder recorder({".tst"});
    ui::Program app;
    ASSERT_TRUE(app.start(folder.createAndHandOff({"x.tst", "y.tst", "z.tst"}))) << app.lastError();
    selectLines(app, IDC_FILE_LIST, {0, 2});
    HWND list = app.control(IDC_FILE_LIST);
    SendMessageA(list, LB_SETCARETINDEX, 1, FALSE);
    // What the list box sends its owner on a double click.
    SendMessageA(app.mainWindow(), WM_COMMAND, MAKEWPARAM(IDC_FILE_LIST, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
    const std::vector<std::string> opened = recorder.opened(1);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(_stricmp(opened[0].c_str(), (folder / "y.tst").c_str()) == 0) << opened[0];
    EXPECT_EQ(app.lineCount(IDC_FILE_LIST), 3);
}

// Copy and move: a.txt, b.txt and c.txt in the folder, a target folder that already holds
// an a.txt of its own, and the program started with the three files.
class SelectionTransferUi : public ::testing::Test {
protected:
    void start(const std::string& source, const std::string& existing)
    {
        folder.create("a.txt", source + " a");
        folder.create("b.txt", source + " b");
        folder.create("c.txt", "c");
        target = folder.folder("target");
        commandsui::writeFile(target + "a.txt", existing + " a");
        ASSERT_TRUE(app.start(folder.handoff({"a.txt", "b.txt", "c.txt"}))) << app.lastError();
    }

    TestFolder folder;
    std::string target;
    ui::Program app;
};

TEST_F(SelectionTransferUi, CopyReplacesAnExistingTargetAndKeepsTheLists)
{
    ASSERT_NO_FATAL_FAILURE(start("new", "old"));

    // No selection: the message and no dialog.
    app.clickAsync(IDC_COPY_TO);
    EXPECT_EQ(answerMessage(app, messageBoxTitle, "&OK"), "Please select the files first.");

    selectLines(app, IDC_FILE_LIST, {0, 1});
    EXPECT_EQ(chooseTarget(app, IDC_COPY_TO, target), "") << "the first dialog offers no folder";
    EXPECT_EQ(readFile(target + "a.txt"), "new a") << "the existing target was not replaced";
    EXPECT_EQ(readFile(target + "b.txt"), "new b");
    EXPECT_EQ(folder.names("target"), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(app.lineCount(IDC_FILE_LIST), 3);
    EXPECT_EQ(app.selectedLines(IDC_FILE_LIST), (std::vector<int>{0, 1}));
    EXPECT_EQ(readFile(folder / "a.txt"), "new a");

    // A cancelled dialog copies nothing; the next one still offers the remembered folder.
    selectLines(app, IDC_FILE_LIST, {2});
    app.clickAsync(IDC_COPY_TO);
    ui::ModalWindow dialog;
    ASSERT_TRUE(ui::waitFor([&] { return static_cast<bool>(dialog = app.findModal()); }));
    EXPECT_EQ(titleOf(dialog), target);
    dialog.command(IDCANCEL);
    dialog.waitClosed();
    app.waitIdle();
    EXPECT_FALSE(commandsui::fileExists(target + "c.txt"));
    EXPECT_EQ(chooseTarget(app, IDC_MOVE_TO, target), target) << "move and copy share the folder";
}

TEST_F(SelectionTransferUi, MoveLeavesBothFilesWhenTheTargetExistsAndStillRemovesTheLine)
{
    ASSERT_NO_FATAL_FAILURE(start("source", "target"));
    selectLines(app, IDC_FILE_LIST, {0, 1});
    chooseTarget(app, IDC_MOVE_TO, target);
    EXPECT_EQ(readFile(folder / "a.txt"), "source a") << "the move replaced nothing, so a stays";
    EXPECT_EQ(readFile(target + "a.txt"), "target a");
    EXPECT_FALSE(commandsui::fileExists(folder / "b.txt"));
    EXPECT_EQ(readFile(target + "b.txt"), "source b");
    // Both lines leave the list; the moved file's new path is not added.
    EXPECT_EQ(app.lines(IDC_FILE_LIST), (std::vector<std::string>{folder / "c.txt"}));
    EXPECT_FALSE(app.isEnabled(IDC_UNDO));

    // Moving into the folder the file is already in keeps it on disk and drops the line.
    selectLines(app, IDC_FILE_LIST, {0});
    chooseTarget(app, IDC_MOVE_TO, folder.path());
    EXPECT_EQ(readFile(folder / "c.txt"), "c");
    EXPECT_EQ(app.lineCount(IDC_FILE_LIST), 0);
}

} // namespace
