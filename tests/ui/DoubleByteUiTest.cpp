// The whole work on names that end in a double-byte character whose second byte is 0x5C
// (the kanji "table" 95 5C and the katakana "so" 83 5C in code page 932): handoff, filter,
// Add dir, rename and undo, batch save and load, copy and move. Runs where the system's
// ANSI code page has such characters; the test run has a prefix in code page 932 for it.

#include "CommandsUiSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using commandsui::TestFolder;
using Lines = std::vector<std::string>;

Lines sorted(Lines lines)
{
    std::sort(lines.begin(), lines.end());
    return lines;
}

using commandsui::chooseBatch;
using commandsui::selectFolderAndConfirm;


TEST(DoubleByteUi, NamesEndingInATrailBackslashThroughTheWholeWork)
{
    const std::string table = testsupport::ansiText(L"\u8868");
    const std::string so = testsupport::ansiText(L"\u30bd");
    if (table.size() != 2 || table[1] != '\\' || so.size() != 2 || so[1] != '\\')
        GTEST_SKIP() << "code page " << GetACP() << " has no such characters";

    TestFolder root("dbcs");
    // A folder and files whose names end in such a character.
    const std::string folder = root.folder("x" + table);
    const std::string first = folder + "a" + so;
    const std::string second = folder + "b" + table + ".txt";
    ASSERT_TRUE(commandsui::writeFile(first, "first"));
    ASSERT_TRUE(commandsui::writeFile(second, "second"));

    ui::Program app;
    ui::StartOptions options;
    options.handoffPaths = {first, second};
    ASSERT_TRUE(app.start(options)) << app.lastError();
    EXPECT_EQ(app.lines(IDC_FILE_LIST), (Lines{first, second}));

    // The filter looks at the name part only: the folder's own character does not count.
    app.setText(IDC_FILTER, so);
    EXPECT_EQ(app.lines(IDC_FILE_LIST), (Lines{first}));
    app.setText(IDC_FILTER, table);
    EXPECT_EQ(app.lines(IDC_FILE_LIST), (Lines{second}));
    app.setText(IDC_FILTER, "");

    // Add dir scans the folder itself, not its parent.
    app.click(IDC_REMOVE_ALL);
    ASSERT_TRUE(selectFolderAndConfirm(app, IDC_ADD_DIR, folder)) << "folder dialog";
    EXPECT_EQ(sorted(app.lines(IDC_FILE_LIST)), sorted({first, second}));
    const Lines listed = app.lines(IDC_FILE_LIST);

    // Rename to names that end in such a character, and back.
    app.selectComboItem(IDC_RULE_ACTION, 1); // SUFFIX
    app.setText(IDC_RULE_ARG1, "");
    app.type(IDC_RULE_ARG1, so);
    app.click(IDC_ADD_RULE);
    ASSERT_EQ(app.lineCount(IDC_RULE_LIST), 1);
    app.click(IDC_RENAME);
    const std::string renamedFirst = first + so;
    const std::string renamedSecond = folder + "b" + table + so + ".txt";
    EXPECT_TRUE(commandsui::fileExists(renamedFirst)) << app.text(IDC_RESULT_LIST);
    EXPECT_TRUE(commandsui::fileExists(renamedSecond)) << app.text(IDC_RESULT_LIST);
    EXPECT_EQ(app.text(IDC_RESULT_LIST).find("failed"), std::string::npos) << app.text(IDC_RESULT_LIST);

    // Saved and loaded again, the batch keeps the paths and Undo.
    const std::string batch = root / ("work" + table + ".tlx");
    ASSERT_TRUE(chooseBatch(app, IDC_SAVE_BATCH, batch));
    app.click(IDC_REMOVE_ALL);
    ASSERT_TRUE(chooseBatch(app, IDC_LOAD_BATCH, batch));
    EXPECT_EQ(app.lines(IDC_FILE_LIST), listed);
    ASSERT_TRUE(app.isEnabled(IDC_UNDO));
    app.click(IDC_UNDO);
    EXPECT_EQ(app.text(IDC_RESULT_LIST).find("failed"), std::string::npos) << app.text(IDC_RESULT_LIST);
    EXPECT_EQ(commandsui::readFile(first), "first");
    EXPECT_EQ(commandsui::readFile(second), "second");

    // Copy into a folder whose name ends in such a character: the copies are inside it.
    const std::string copies = root.folder("c" + table);
    app.click(IDC_SELECT_ALL);
    ASSERT_TRUE(selectFolderAndConfirm(app, IDC_COPY_TO, copies)) << "folder dialog";
    EXPECT_EQ(commandsui::readFile(copies + "a" + so), "first");
    EXPECT_EQ(commandsui::readFile(copies + "b" + table + ".txt"), "second");

    // Move likewise; the moved files leave the list.
    const std::string moved = root.folder("m" + so);
    app.click(IDC_SELECT_ALL);
    ASSERT_TRUE(selectFolderAndConfirm(app, IDC_MOVE_TO, moved)) << "folder dialog";
    EXPECT_EQ(commandsui::readFile(moved + "a" + so), "first");
    EXPECT_EQ(commandsui::readFile(moved + "b" + table + ".txt"), "second");
    EXPECT_FALSE(commandsui::fileExists(first));
    EXPECT_EQ(app.lineCount(IDC_FILE_LIST), 0);
    // Nothing was written beside the folders instead of into them.
    EXPECT_EQ(root.names(), sorted({"c" + table, "m" + so, "work" + table + ".tlx", "x" + table}));
}

} // namespace
