// Preview, Rename and Undo: the three runs of the main window over the file list.

#include "app/MainDialog.h"

#include "controls/Messages.h"
#include "base/CodePage.h"
#include "engine/MoveSteps_win.h"
#include "engine/NewPath.h"
#include "engine/RenameRun.h"
#include "win/ControlText.h"
#include "win/WaitCursor.h"

#include <string>
#include <vector>

namespace {

int lineCount(HWND listBox)
{
    const LRESULT count = SendMessageA(listBox, LB_GETCOUNT, 0, 0);
    return count == LB_ERR ? 0 : static_cast<int>(count);
}

// The report replaces the whole text of the result list in one call. The edit's default
// limit (about 32 KB) would cut a long report and stop the user typing into it.
void setResultText(HWND edit, const std::string& report)
{
    SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
    SetWindowTextA(edit, report.c_str());
}

bool runPreconditionsMet(HWND fileList, HWND ruleList)
{
    if (lineCount(fileList) == 0) {
        showMessage("The file list is null, please add file first.", programScheme);
        return false;
    }
    if (lineCount(ruleList) == 0) {
        showMessage("Please define the rename rules.", programScheme);
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

void MainDialog::previewCommand()
{
    if (runPreconditionsMet(item(IDC_FILE_LIST), item(IDC_RULE_LIST)))
        runRules(false);
}

void MainDialog::renameCommand()
{
    if (runPreconditionsMet(item(IDC_FILE_LIST), item(IDC_RULE_LIST)))
        runRules(true);
}

void MainDialog::runRules(bool renameOnDisk)
{
    WaitCursor wait;
    const std::vector<std::string>& files = fileListBox_.lines();
    const NewPathComputer computer(ruleListBox_.lines(), systemCodePage(),
                                   systemLocalClock());
    DiskMover mover;
    const std::string report = runRenameRules(renameOnDisk, files, computer, &mover, renameJournal_);
    setResultText(item(IDC_RESULT_LIST), report);
    enableUndo(hwnd(), item(IDC_UNDO), renameOnDisk);
}

void MainDialog::undoCommand()
{
    enableUndo(hwnd(), item(IDC_UNDO), false);
    UndoMover mover;
    const std::string report = runUndo(renameJournal_, fileListBox_.lines(), mover);
    setResultText(item(IDC_RESULT_LIST), report);
}

void MainDialog::clearJournal()
{
    renameJournal_.clear();
}
