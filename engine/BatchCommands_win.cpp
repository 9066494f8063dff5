// "Save batch", "Load batch" and "Save result log" of the rules panel.

#include "engine/RunsPanel_win.h"

#include "base/Program.h"
#include "controls/ListBoxes_win.h"
#include "base/WideText_win.h"
#include "engine/BatchFile_win.h"
#include "engine/FileError_win.h"
#include "engine/ResultLogFile.h"
#include "win/ControlText.h"
#include "win/WaitCursor.h"

#include <commdlg.h>

const CommandBinding<RunsPanel> RunsPanel::batchCommands[] = {
    {IDC_LOAD_BATCH, BN_CLICKED, &RunsPanel::loadBatch},
    {IDC_SAVE_BATCH, BN_CLICKED, &RunsPanel::saveBatch},
    {IDC_SAVE_LOG, BN_CLICKED, &RunsPanel::saveResultLog},
    {0, 0, nullptr},
};

namespace {

// One entry; the common dialog wants the pairs zero-separated, ended by two zeros.
const char batchFilter[] = "Tesselwork File (*.tlx)\0*.tlx\0";

// The common file dialog for a batch file; false when cancelled.
bool chooseBatchFile(HWND owner, bool save, std::string& path)
{
    char name[MAX_PATH * 4] = {0};
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = batchFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name;
    dialog.nMaxFile = sizeof name;
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    BOOL chosen;
    if (save) {
        dialog.Flags |= OFN_OVERWRITEPROMPT;
        dialog.lpstrDefExt = "tlx";
        chosen = GetSaveFileNameA(&dialog);
    } else {
        dialog.Flags |= OFN_FILEMUSTEXIST;
        chosen = GetOpenFileNameA(&dialog);
    }
    if (!chosen)
        return false;
    path = name;
    return true;
}

} // namespace

void RunsPanel::saveBatch()
{
    std::string path;
    if (!chooseBatchFile(dialog(), true, path))
        return;
    WaitCursor wait;
    // Written straight from the window's own lists: 100,000 paths are not copied first.
    BatchFileRefs batch;
    batch.addedPaths = files_.addedPaths();
    batch.fileListLines = refsOf(files_.lines());
    batch.journalPaths = refsOf(renameJournal_.paths());
    batch.ruleLines = refsOf(ruleListBox_.lines());
    batch.undoAvailable = IsWindowEnabled(item(IDC_UNDO)) != FALSE;
    const FileOutcome outcome = saveBatchFile(path, batch);
    wait.restore();
    if (outcome.kind == FileOutcome::failed)
        showSystemFileErrorBox(dialog(), outcome.systemCode, path);
}

void RunsPanel::loadBatch()
{
    std::string path;
    if (!chooseBatchFile(dialog(), false, path))
        return;
    WaitCursor wait;
    // All five items are read before anything changes: a file that fails leaves the lists,
    // the journal and Undo as they were.
    BatchFile batch;
    const FileOutcome outcome = loadBatchFile(path, batch);
    switch (outcome.kind) {
    case FileOutcome::notOpened:
        return;
    case FileOutcome::pastEnd:
        wait.restore();
        showFileErrorBox(dialog(), FileErrorCause::endOfFile, std::string());
        return;
    case FileOutcome::failed:
        wait.restore();
        showSystemFileErrorBox(dialog(), outcome.systemCode, path);
        return;
    case FileOutcome::done:
        break;
    }
    files_.replace(batch.addedPaths, batch.fileListLines);
    renameJournal_.assign(std::move(batch.journalPaths));
    refillListBox(item(IDC_RULE_LIST), batch.ruleLines);
    EnableWindow(item(IDC_UNDO), batch.undoAvailable ? TRUE : FALSE);
}

void RunsPanel::saveResultLog()
{
    const std::string text = windowText(item(IDC_RESULT_LIST));
    if (text.empty())
        return;
    WaitCursor wait;
    const ResultLogFile log = makeResultLogFile(systemLogClock(), text);
    const std::string fileText = fileTextFromProgram(log.content);
    std::string path = programDirectory() + log.fileName;
    FileOutcome outcome = writeWholeFile(path, fileText);
    // An installation folder the user may not write to (Program Files for an ordinary
    // user) keeps no log: it goes to the user's own folder of the program instead.
    if (outcome.kind == FileOutcome::notOpened) {
        const std::string userFolder = userDataDirectory(true);
        if (!userFolder.empty()) {
            path = userFolder + log.fileName;
            outcome = writeWholeFile(path, fileText);
        }
    }
    wait.restore();
    if (outcome.kind == FileOutcome::failed)
        showSystemFileErrorBox(dialog(), outcome.systemCode, path);
}
