// Preview, Rename and Undo: the three runs of the rules panel over the file list.

#include "engine/RunsPanel_win.h"

#include "base/CodePage.h"
#include "controls/Messages.h"
#include "engine/MoveSteps_win.h"
#include "engine/NewPath.h"
#include "engine/RenameRun.h"
#include "win/ControlText.h"
#include "win/WaitCursor.h"

#include <string>
#include <vector>

const CommandBinding<RunsPanel> RunsPanel::runCommands[] = {
    {IDC_PREVIEW, BN_CLICKED, &RunsPanel::previewCommand},
    {IDC_RENAME, BN_CLICKED, &RunsPanel::renameCommand},
    {IDC_UNDO, BN_CLICKED, &RunsPanel::undoCommand},
    {0, 0, nullptr},
};

namespace {

int lineCount(HWND listBox)
{
    const LRESULT count = SendMessageA(listBox, LB_GETCOUNT, 0, 0);
    return count == LB_ERR ? 0 : static_cast<int>(count);
}

// The report replaces the whole text of the result list in one call. The edit's default
// limit would cut a long report and stop the user typing into it.
void setResultText(HWND edit, const std::string& report)
{
    setLongEditText(edit, report);
}

bool runPreconditionsMet(const std::vector<std::string>& files, HWND ruleList, int scheme)
{
    if (files.empty()) {
        showMessage("The file list is null, please add file first.", scheme);
        return false;
    }
    if (lineCount(ruleList) == 0) {
        showMessage("Please define the rename rules.", scheme);
        return false;
    }
    return true;
}

// A disabled button cannot keep the keyboard focus; the focus moves on to the next
// control rather than leave the window without one (Undo disables itself when clicked).
void enableUndo(HWND dialog, HWND undo, bool enable)
{
    if (!enable && GetFocus() == undo)
        SendMessageA(dialog, WM_NEXTDLGCTL, 0, FALSE);
    EnableWindow(undo, enable ? TRUE : FALSE);
}

} // namespace

void RunsPanel::previewCommand()
{
    if (runPreconditionsMet(files_.lines(), item(IDC_RULE_LIST), scheme_))
        runRules(false);
}

void RunsPanel::renameCommand()
{
    if (runPreconditionsMet(files_.lines(), item(IDC_RULE_LIST), scheme_))
        runRules(true);
}

void RunsPanel::runRules(bool renameOnDisk)
{
    WaitCursor wait;
    const std::vector<std::string>& files = files_.lines();
    const NewPathComputer computer(ruleListBox_.lines(), systemCodePage(),
                                   systemLocalClock());
    DiskMover mover;
    const std::string report = runRenameRules(renameOnDisk, files, computer, &mover, renameJournal_);
    setResultText(item(IDC_RESULT_LIST), report);
    enableUndo(dialog(), item(IDC_UNDO), renameOnDisk);
}

void RunsPanel::undoCommand()
{
    enableUndo(dialog(), item(IDC_UNDO), false);
    UndoMover mover;
    const std::string report = runUndo(renameJournal_, files_.lines(), mover);
    setResultText(item(IDC_RESULT_LIST), report);
}

void RunsPanel::forgetLastRun()
{
    renameJournal_.clear();
    disableUndo();
}

void RunsPanel::disableUndo()
{
    EnableWindow(item(IDC_UNDO), FALSE);
}
