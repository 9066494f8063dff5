// The file list through the real program's window: the handoff intake, the filter with
// "Case" and "Exclude", "Add file(s)" and "Add dir" through the real dialogs, and Undo.

#include "tests/support/TestFiles.h"
#include "driver/UiDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Control identifiers of the main window that these tests work.
enum : int {
    fileList = 1000,
    addDir = 1001,
    addFiles = 1002,
    caseBox = 1003,
    filterBox = 1004,
    ruleList = 1006,
    ruleAction = 1010,
    ruleArgument = 1011,
    addRuleButton = 1007,
    renameButton = 1020,
    undoButton = 1021,
    subdirBox = 1027,
    excludeBox = 1038,
};

using Lines = std::vector<std::string>;

Lines sorted(Lines lines)
{
    std::sort(lines.begin(), lines.end());
    return lines;
}

class FileListUi : public ::testing::Test {
protected:
    void start(const ui::StartOptions& options = ui::StartOptions())
    {
        ASSERT_TRUE(program.start(options)) << program.lastError();
    }
    void TearDown() override
    {
        program.close();
        DeleteFileA(ui::Program::handoffPath().c_str());
    }
    ui::Program program;
};

TEST_F(FileListUi, StartsEmptyWithoutAHandoffFile)
{
    DeleteFileA(ui::Program::handoffPath().c_str());
    start();
    EXPECT_EQ(program.lineCount(fileList), 0);
    EXPECT_FALSE(program.isEnabled(undoButton));
}

TEST_F(FileListUi, HandoffIntakeIsShownInOrderWithDuplicatesAndTheFileIsGone)
{
    ui::StartOptions options;
    options.handoffRaw = "C:\\a.txt\r\nD:\\Photos\\b.jpg\r\nC:\\a.txt\r\nC:\\dropped";
    start(options);
    EXPECT_EQ(program.lines(fileList), (Lines{"C:\\a.txt", "D:\\Photos\\b.jpg", "C:\\a.txt"}));
    EXPECT_FALSE(testsupport::pathExists(ui::Program::handoffPath()));
}

class FileListFilterUi : public FileListUi {
protected:
    void SetUp() override
    {
        ui::StartOptions options;
        options.handoffPaths = all;
        start(options);
    }
    const Lines all = {"C:\\pics\\Photo.JPG", "C:\\docs\\a.txt", "C:\\docs\\a.txt.bak", "D:\\Photos\\a.jpg",
                       "C:\\x\\abc"};
};

TEST_F(FileListFilterUi, TypingNarrowsTheListAndCaseAndExcludeSwitch)
{
    ASSERT_EQ(program.lines(fileList), all);

    program.type(filterBox, "jpg");
    EXPECT_EQ(program.text(filterBox), "jpg");
    EXPECT_EQ(program.lines(fileList), (Lines{"C:\\pics\\Photo.JPG", "D:\\Photos\\a.jpg"}));

    program.click(caseBox);
    ASSERT_TRUE(program.isChecked(caseBox));
    EXPECT_EQ(program.lines(fileList), (Lines{"D:\\Photos\\a.jpg"}));

    program.click(excludeBox);
    ASSERT_TRUE(program.isChecked(excludeBox));
    EXPECT_EQ(program.lines(fileList),
              (Lines{"C:\\pics\\Photo.JPG", "C:\\docs\\a.txt", "C:\\docs\\a.txt.bak", "C:\\x\\abc"}));

    program.click(caseBox);
    program.click(excludeBox);
    EXPECT_EQ(program.lines(fileList), (Lines{"C:\\pics\\Photo.JPG", "D:\\Photos\\a.jpg"}));
}

struct FilterRow {
    const char* filter;
    bool exclude;
    Lines shown;
};

TEST_F(FileListFilterUi, FilterTable)
{
    const FilterRow rows[] = {
        {"*.txt", false, {"C:\\docs\\a.txt"}},
        {"*.txt", true, {"C:\\pics\\Photo.JPG", "C:\\docs\\a.txt.bak", "D:\\Photos\\a.jpg", "C:\\x\\abc"}},
        {"ab*bc", false, {"C:\\x\\abc"}},
        {"*", false, all},
        {"*", true, {}},
        {"", true, all},
        {"a?c", false, {}},
        {"photos", false, {}},
    };
    for (const FilterRow& row : rows) {
        program.setChecked(excludeBox, row.exclude);
        // Clearing the box first, then typing, as a user would.
        program.setText(filterBox, "");
        program.type(filterBox, row.filter);
        EXPECT_EQ(program.lines(fileList), row.shown) << "filter '" << row.filter << "' exclude " << row.exclude;
    }
}

TEST_F(FileListFilterUi, TypingInTheFilterDisablesUndo)
{
    // A real rename run makes Undo available: one prefix rule over files that exist.
    testsupport::TempFolder folder("ui");
    const std::string file = folder.file("undo me.txt", "x");
    program.close();
    ui::StartOptions options;
    options.handoffPaths = {file};
    start(options);

    program.selectComboItem(ruleAction, 0);   // PREFIX
    program.setText(ruleArgument, "new_");
    program.click(addRuleButton);
    ASSERT_EQ(program.lineCount(ruleList), 1) << "the rule editor did not take the rule";
    program.clickAsync(renameButton);
    ASSERT_TRUE(program.waitIdle());
    if (ui::ModalWindow box = program.findModal())
        FAIL() << "the rename run showed: " << box.staticText();
    ASSERT_TRUE(ui::waitFor([&] { return program.isEnabled(undoButton); }, 5000)) << "no Undo after a rename";

    // The lines shown stay the same; Undo goes all the same.
    program.type(filterBox, "u");
    EXPECT_EQ(program.lines(fileList), (Lines{file}));
    EXPECT_FALSE(program.isEnabled(undoButton));
}

class FileListAddUi : public FileListUi {
protected:
    void SetUp() override { start(); }
    testsupport::TempFolder folder{"ui"};
};

TEST_F(FileListAddUi, AddFilesThroughTheFileDialog)
{
    const Lines names = {"one.txt", "Two.JPG", "three with blanks.doc"};
    Lines expected;
    for (const std::string& n : names)
        expected.push_back(folder.file(n));
    folder.file("not chosen.txt");

    program.clickAsync(addFiles);
    ui::ModalWindow dialog = program.waitForModal("Open");
    ASSERT_TRUE(dialog) << "no file dialog";
    ASSERT_TRUE(dialog.chooseFiles(folder.path(), names));
    ASSERT_TRUE(dialog.waitClosed());
    ASSERT_TRUE(program.waitIdle());
    EXPECT_EQ(sorted(program.lines(fileList)), sorted(expected));

    // The same files again, one in other letter case: still one line each.
    program.clickAsync(addFiles);
    dialog = program.waitForModal("Open");
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(dialog.chooseFiles(folder.path(), {"ONE.TXT"}));
    ASSERT_TRUE(dialog.waitClosed());
    ASSERT_TRUE(program.waitIdle());
    const Lines after = program.lines(fileList);
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after.back(), folder.path() + "ONE.TXT");
}

TEST_F(FileListAddUi, AddFilesTakesThousandsOfFilesAtOnce)
{
    Lines names;
    Lines expected;
    for (int i = 0; i < 2500; ++i) {
        names.push_back("holiday picture " + std::to_string(10000 + i) + ".jpg");
        expected.push_back(folder.file(names.back()));
    }
    program.clickAsync(addFiles);
    ui::ModalWindow dialog = program.waitForModal("Open");
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(dialog.chooseFiles(folder.path(), names));
    ASSERT_TRUE(dialog.waitClosed(30000));
    ASSERT_TRUE(program.waitIdle());
    EXPECT_EQ(sorted(program.lines(fileList)), sorted(expected));
}

TEST_F(FileListAddUi, AddFilesCancelledChangesNothing)
{
    program.clickAsync(addFiles);
    ui::ModalWindow dialog = program.waitForModal("Open");
    ASSERT_TRUE(dialog);
    dialog.command(IDCANCEL);
    ASSERT_TRUE(dialog.waitClosed());
    ASSERT_TRUE(program.waitIdle());
    EXPECT_EQ(program.lineCount(fileList), 0);
}

TEST_F(FileListAddUi, AddDirThroughTheFolderDialogWithAndWithoutSubdir)
{
    folder.file("a.txt");
    folder.file("b.txt", "", FILE_ATTRIBUTE_HIDDEN);
    folder.folder("s");
    folder.file("s\\c.txt");
    const std::string chosen = folder.path().substr(0, folder.path().size() - 1);

    program.clickAsync(addDir);
    ASSERT_TRUE(ui::waitFor([&] { return static_cast<bool>(program.findModal()); })) << "no folder dialog";
    ui::ModalWindow dialog = program.findModal();
    ASSERT_TRUE(dialog.selectFolder(chosen)) << "folder not found in the tree";
    // The dialog's routine shows the selected folder's path in the status line, and in the
    // edit box where the dialog has one (Wine's has none).
    ASSERT_TRUE(ui::waitFor([&] { return dialog.staticText().find(chosen) != std::string::npos; }, 3000))
        << "status shows '" << dialog.staticText() << "'";
    if (HWND edit = dialog.editBox())
        EXPECT_EQ(ui::windowText(edit), chosen);
    dialog.command(IDOK);
    ASSERT_TRUE(dialog.waitClosed());
    ASSERT_TRUE(program.waitIdle());
    EXPECT_EQ(sorted(program.lines(fileList)), sorted({folder.path() + "a.txt", folder.path() + "b.txt"}));

    // With "Subdir": the dialog opens on the folder chosen last.
    program.setChecked(subdirBox, true);
    program.clickAsync(addDir);
    ASSERT_TRUE(ui::waitFor([&] { return static_cast<bool>(program.findModal()); }));
    dialog = program.findModal();
    EXPECT_EQ(dialog.staticText().find(folder.path()) != std::string::npos, true)
        << "title line: " << dialog.staticText();
    ASSERT_TRUE(ui::waitFor([&] { return dialog.selectedTreeItemText() == folder.path().substr(
                                          folder.path().rfind('\\', folder.path().size() - 2) + 1,
                                          folder.path().size() - 2 - folder.path().rfind('\\', folder.path().size() - 2)); },
                            3000))
        << "selected: " << dialog.selectedTreeItemText();
    dialog.command(IDOK);
    ASSERT_TRUE(dialog.waitClosed());
    ASSERT_TRUE(program.waitIdle());
    const Lines lines = program.lines(fileList);
    EXPECT_EQ(sorted(lines), sorted({folder.path() + "a.txt", folder.path() + "b.txt", folder.path() + "s\\c.txt"}));
}

} // namespace
