// The window's own commands and set-up: tooltips, About, minimize, the Undo button's start.

#include "CommandsUiSupport.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using commandsui::answerMessage;

TEST(CommandsUi, EveryButtonWithATooltipHasItsOwnText)
{
    ui::Program app;
    ASSERT_TRUE(app.start()) << app.lastError();
    std::map<int, std::string> found;
    for (const auto& tool : commandsui::tooltips(app))
        found[tool.first] = tool.second;
    const std::map<int, std::string> expected = {
        {IDC_ADD_FILES, "Add file(s)"},
        {IDC_ADD_DIR, "Add dir"},
        {IDC_REMOVE_SELECTED, "Remove select"},
        {IDC_REMOVE_ALL, "Remove All"},
        {IDC_SELECT_ALL, "Select all (CTRL+A)"},
        {IDC_INVERT, "Invert select (CTRL+I)"},
        {IDC_COPY_TO, "Copy selected files to... (CTRL+C)"},
        {IDC_MOVE_TO, "Move selected files to... (CTRL+M)"},
        {IDC_ADD_RULE, "Add rule"},
        {IDC_DELETE_RULE, "Delete rule"},
        {IDC_RULE_UP, "Move up"},
        {IDC_RULE_DOWN, "Move down"},
        {IDC_LOAD_BATCH, "Load batch"},
        {IDC_SAVE_BATCH, "Save batch"},
        {IDC_SAVE_LOG, "Save result log"},
        {IDC_UPDATE, "Online Update"},
        {IDC_WEB, "Visit our web page"},
        {IDC_MAIL, "Send email to us"},
        {IDC_HELP_BUTTON, "Help (F1)"},
        {IDC_ABOUT, "About..."},
    };
    for (const auto& row : expected) {
        auto it = found.find(row.first);
        ASSERT_NE(it, found.end()) << "no tooltip on " << row.first;
        EXPECT_EQ(it->second, row.second) << row.first;
    }
    // Preview, Rename and Undo have none.
    for (int id : {IDC_PREVIEW, IDC_RENAME, IDC_UNDO})
        EXPECT_EQ(found.count(id), 0u) << id;
}

TEST(CommandsUi, AboutShowsNameVersionAndMaker)
{
    ui::Program app;
    ASSERT_TRUE(app.start()) << app.lastError();
    app.clickAsync(IDC_ABOUT);
    const std::string text = answerMessage(app, messageBoxTitle, "&OK");
    const std::string head = "Tesselwork 2 Version 2.21\r\n\r\n";
    ASSERT_EQ(text.substr(0, head.size()), head) << text;
    EXPECT_GT(text.size(), head.size()) << "no maker's line";
    EXPECT_EQ(text.find("\r\n", head.size()), std::string::npos) << "more than three lines";
    EXPECT_TRUE(app.running());
}

TEST(CommandsUi, MinimizeCommandMinimizesAndUndoStartsDisabled)
{
    ui::Program app;
    ASSERT_TRUE(app.start()) << app.lastError();
    EXPECT_FALSE(app.isEnabled(IDC_UNDO));
    EXPECT_FALSE(app.isVisible(IDC_SHELL_CONTEXT));
    SendMessageA(app.mainWindow(), WM_COMMAND, MAKEWPARAM(IDC_MINIMIZE_BUTTON, BN_CLICKED), 0);
    EXPECT_TRUE(ui::waitFor([&] { return IsIconic(app.mainWindow()) != FALSE; }, 3000));
    EXPECT_TRUE(app.running());
}

} // namespace
