// The file list through the real program's window: the handoff intake, the filter with
// "Case" and "Exclude", "Add file(s)" and "Add dir" through the real dialogs, and Undo.

#include "tests/support/TestFiles.h"
#include "driver/UiDriver.h"

#include "app/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

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
    EXPECT_EQ(program.lineCount(IDC_FILE_LIST), 0);
    EXPECT_FALSE(program.isEnabled(IDC_UNDO));
}

TEST_F(FileListUi, HandoffIntakeIsShownInOrderWithDuplicatesAndTheFileIsGone)
{
    ui::StartOptions options;
    options.handoffRaw = "C:\\a.txt\r\nD:\\Photos\\b.jpg\r\nC:\\a.txt\r\nC:\\dropped";
    start(options);
    EXPECT_EQ(program.lines(IDC_FILE_LIST), (Lines{"C:\\a.txt", "D:\\Photos\\b.jpg", "C:\\a.txt"}));
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
    ASSERT_EQ(program.lines(IDC_FILE_LIST), all);

    program.type(IDC_FILTER, "jpg");
    EXPECT_EQ(program.text(IDC_FILTER), "jpg");
    EXPECT_EQ(program.lines(IDC_FILE_LIST), (Lines{"C:\\pics\\Photo.JPG", "D:\\Photos\\a.jpg"}));

    program.click(IDC_CASE);
    ASSERT_TRUE(program.isChecked(IDC_CASE));
    EXPECT_EQ(program.lines(IDC_FILE_LIST), (Lines{"D:\\Photos\\a.jpg"}));

    program.click(IDC_EXCLUDE);
    ASSERT_TRUE(program.isChecked(IDC_EXCLUDE));
    EXPECT_EQ(program.lines(IDC_FILE_LIST),
              (Lines{"C:\\pics\\Photo.JPG", "C:\\docs\\a.txt", "C:\\docs\\a.txt.bak", "C:\\x\\abc"}));

    program.click(IDC_CASE);
    program.click(IDC_EXCLUDE);
    EXPECT_EQ(program.lines(IDC_FILE_LIST), (Lines{"C:\\pics\\Photo.JPG", "D:\\Photos\\a.jpg"}));
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
        program.setChecked(IDC_EXCLUDE, row.exclude);
        // Clearing the box first, then typing, as a user would.
        program.setText(IDC_FILTER, "");
        program.type(IDC_FILTER, row.filter);
        EXPECT_EQ(program.lines(IDC_FILE_LIST), row.shown) << "filter '" << row.filter << "' exclude " << row.exclude;
    }
}

TEST_F(FileListFilterUi, KeysWaitingTogetherEndInTheListOfTheWholeText)
{
    const FilterRow rows[] = {
        {"jpg", false, {"C:\\pics\\Photo.JPG", "D:\\Photos\\a.jpg"}},
        {"*.txt", false, {"C:\\docs\\a.txt"}},
        {"*.txt", true, {"C:\\pics\\Photo.JPG", "C:\\docs\\a.txt.bak", "D:\\Photos\\a.jpg", "C:\\x\\abc"}},
        {"ab*bc", false, {"C:\\x\\abc"}},
        // The first characters alone would show lines that the whole text hides.
        {"a.txt.", false, {"C:\\docs\\a.txt.bak"}},
    };
    for (const FilterRow& row : rows) {
        program.setChecked(IDC_EXCLUDE, row.exclude);
        program.setText(IDC_FILTER, "");
        ASSERT_EQ(program.lines(IDC_FILE_LIST), all);
        program.typeQueued(IDC_FILTER, row.filter);
        // Nothing but the queued keys reaches the program: the burst must end by itself.
        EXPECT_TRUE(ui::waitFor([&] { return program.text(IDC_FILTER) == row.filter; }, 10000)) << row.filter;
        EXPECT_TRUE(ui::waitFor([&] { return program.lines(IDC_FILE_LIST) == row.shown; }, 10000))
            << "filter '" << row.filter << "' exclude " << row.exclude;
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

    program.selectComboItem(IDC_RULE_ACTION, 0);   // PREFIX
    program.setText(IDC_RULE_ARG1, "new_");
    program.click(IDC_ADD_RULE);
    ASSERT_EQ(program.lineCount(IDC_RULE_LIST), 1) << "the rule editor did not take the rule";
    program.clickAsync(IDC_RENAME);
    ASSERT_TRUE(program.waitIdle());
    if (ui::ModalWindow box = program.findModal())
        FAIL() << "the rename run showed: " << box.staticText();
    ASSERT_TRUE(ui::waitFor([&] { return program.isEnabled(IDC_UNDO); }, 5000)) << "no Undo after a rename";

    // The lines shown stay the same; Undo goes all the same.
    program.type(IDC_FILTER, "u");
    EXPECT_EQ(program.lines(IDC_FILE_LIST), (Lines{file}));
    EXPECT_FALSE(program.isEnabled(IDC_UNDO));

    // Again after a second run (its move fails: the file has its new name already; Undo
    // comes all the same), with keys that wait in the queue together.
    program.setText(IDC_FILTER, "");
    program.clickAsync(IDC_RENAME);
    ASSERT_TRUE(program.waitIdle());
    ASSERT_TRUE(ui::waitFor([&] { return program.isEnabled(IDC_UNDO); }, 5000)) << "no Undo after the second rename";
    program.typeQueued(IDC_FILTER, "me");
    EXPECT_TRUE(ui::waitFor([&] { return !program.isEnabled(IDC_UNDO); }, 10000));
    EXPECT_TRUE(ui::waitFor([&] { return program.text(IDC_FILTER) == "me"; }, 10000));
    EXPECT_EQ(program.lines(IDC_FILE_LIST), (Lines{file}));
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

    program.clickAsync(IDC_ADD_FILES);
    ui::ModalWindow dialog = program.waitForModal("Open");
    ASSERT_TRUE(dialog) << "no file dialog";
    ASSERT_TRUE(dialog.chooseFiles(folder.path(), names));
    ASSERT_TRUE(dialog.waitClosed());
    ASSERT_TRUE(program.waitIdle());
    EXPECT_EQ(sorted(program.lines(IDC_FILE_LIST)), sorted(expected));

    // The same files again, one in other letter case: still one line each.
    program.clickAsync(IDC_ADD_FILES);
    dialog = program.waitForModal("Open");
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(dialog.chooseFiles(folder.path(), {"ONE.TXT"}));
    ASSERT_TRUE(dialog.waitClosed());
    ASSERT_TRUE(program.waitIdle());
    const Lines after = program.lines(IDC_FILE_LIST);
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
    program.clickAsync(IDC_ADD_FILES);
    ui::ModalWindow dialog = program.waitForModal("Open");
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(dialog.chooseFiles(folder.path(), names));
    ASSERT_TRUE(dialog.waitClosed(30000));
    ASSERT_TRUE(program.waitIdle());
    EXPECT_EQ(sorted(program.lines(IDC_FILE_LIST)), sorted(expected));
}

TEST_F(FileListAddUi, AddFilesCancelledChangesNothing)
{
    program.clickAsync(IDC_ADD_FILES);
    ui::ModalWindow dialog = program.waitForModal("Open");
    ASSERT_TRUE(dialog);
    dialog.command(IDCANCEL);
    ASSERT_TRUE(dialog.waitClosed());
    ASSERT_TRUE(program.waitIdle());
    EXPECT_EQ(program.lineCount(IDC_FILE_LIST), 0);
}

TEST_F(FileListAddUi, AddDirThroughTheFolderDialogWithAndWithoutSubdir)
{
    folder.file("a.txt");
    folder.file("b.txt", "", FILE_ATTRIBUTE_HIDDEN);
    folder.folder("s");
    folder.file("s\\c.txt");
    const std::string chosen = folder.path().substr(0, folder.path().size() - 1);

    program.clickAsync(IDC_ADD_DIR);
    ASSERT_TRUE(ui::waitFor([&] { return static_cast<bool>(program.findModal()); })) << "no folder dialog";
    ui::ModalWindow dialog = program.findModal();
    ASSERT_TRUE(dialog.selectFolder(chosen)) << "folder not found in the tree";
    // The dialog's routine shows the selected folder's path in the status line, and in the
    // edit box where the dialog has one (Wine's has none).
    ASSERT_TRUE(ui::waitFor([&] { return dialog.staticText().find(chosen) != std::string::npos; }, 3000))
        << "status shows '" << dialog.staticText() << "'";
    if (HWND edit = dialog.editBox()) {
        EXPECT_EQ(ui::windowText(edit), chosen);
    }
    dialog.command(IDOK);
    ASSERT_TRUE(dialog.waitClosed());
    ASSERT_TRUE(program.waitIdle());
    EXPECT_EQ(sorted(program.lines(IDC_FILE_LIST)), sorted({folder.path() + "a.txt", folder.path() + "b.txt"}));

    // With "Subdir": the dialog opens on the folder chosen last.
    program.setChecked(IDC_SUBDIR, true);
    program.clickAsync(IDC_ADD_DIR);
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
    const Lines lines = program.lines(IDC_FILE_LIST);
    EXPECT_EQ(sorted(lines), sorted({folder.path() + "a.txt", folder.path() + "b.txt", folder.path() + "s\\c.txt"}));
}

} // namespace
