// The file list panel's commands on the selection: remove, select all, invert, open, copy
// and move to a folder.

#include "filelist/FileListPanel_win.h"

#include "base/PathText.h"
#include "controls/ListBoxes_win.h"
#include "controls/Messages.h"
#include "filelist/FileTransfer_win.h"
#include "filelist/LineSelection_win.h"
#include "win/ControlText.h"
#include "win/WaitCursor.h"

#include <shellapi.h>

#include <vector>

const CommandBinding<FileListPanel> FileListPanel::selectionCommands[] = {
    {IDC_FILE_LIST, LBN_DBLCLK, &FileListPanel::openCurrentFile},
    {IDC_REMOVE_SELECTED, BN_CLICKED, &FileListPanel::removeSelected},
    {IDC_REMOVE_ALL, BN_CLICKED, &FileListPanel::removeAll},
    {IDC_SELECT_ALL, BN_CLICKED, &FileListPanel::selectAll},
    {IDC_INVERT, BN_CLICKED, &FileListPanel::invertSelection},
    {IDC_COPY_TO, BN_CLICKED, &FileListPanel::copySelectedTo},
    {IDC_MOVE_TO, BN_CLICKED, &FileListPanel::moveSelectedTo},
    {0, 0, nullptr},
};

namespace {

const char noSelectionText[] = "Please select the files first.";

} // namespace

std::vector<std::string> FileListPanel::selectedFileLines() const
{
    const std::vector<std::string>& shown = listBox_.lines();
    std::vector<std::string> lines;
    for (int index : selectedListBoxIndexes(item(IDC_FILE_LIST)))
        if (static_cast<std::size_t>(index) < shown.size())
            lines.push_back(shown[static_cast<std::size_t>(index)]);
    return lines;
}

void FileListPanel::removeSelected()
{
    HWND list = item(IDC_FILE_LIST);
    const std::vector<std::string> removed = deleteSelectedLines(list, listBox_.lines());
    if (removed.empty())
        return;
    for (const std::string& line : removed)
        addedPaths_.removeExact(line);
    updateHorizontalExtent(list, listBox_.lines());
    notify(events_.linesRemoved);
}

void FileListPanel::removeAll()
{
    HWND list = item(IDC_FILE_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    // Entries hidden by the filter go too.
    addedPaths_.clear();
    updateHorizontalExtent(list);
    notify(events_.linesRemoved);
}

void FileListPanel::selectAll()
{
    selectAllLines(item(IDC_FILE_LIST));
}

void FileListPanel::invertSelection()
{
    invertLineSelection(item(IDC_FILE_LIST));
}

void FileListPanel::openCurrentFile()
{
    std::string line;
    if (!currentLine(line))
        return;
    // The shell's result is not examined: a file without an associated program is the
    // shell's to report.
    ShellExecuteA(nullptr, "open", line.c_str(), nullptr, nullptr, SW_SHOW);
}

bool FileListPanel::chooseTargetFolder()
{
    if (SendMessageA(item(IDC_FILE_LIST), LB_GETSELCOUNT, 0, 0) <= 0) {
        showMessage(noSelectionText, scheme_);
        return false;
    }
    const std::string title = lastTargetFolder_;
    if (!browseForFolder(lastTargetFolder_, title))
        return false;
    lastTargetFolder_ = systemPathText().asFolder(lastTargetFolder_);
    return true;
}

std::string FileListPanel::targetPathFor(const std::string& line) const
{
    const PathText& paths = systemPathText();
    return paths.join(lastTargetFolder_, paths.namePart(line));
}

void FileListPanel::copySelectedTo()
{
    if (!chooseTargetFolder())
        return;
    WaitCursor wait;
    // The folder dialog has no owner, so the list could have changed while it was open:
    // the selection is read now.
    const std::vector<std::string> lines = selectedFileLines();
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        // An existing target is replaced; a file that fails does not stop the others.
        copyFileReplacing(*it, targetPathFor(*it), lastTargetFolder_);
    }
}

void FileListPanel::moveSelectedTo()
{
    if (!chooseTargetFolder())
        return;
    WaitCursor wait;
    const std::vector<std::string> lines = selectedFileLines();
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        // MoveFileA does not replace an existing target; the line leaves the list whether
        // or not the file moved.
        moveFileKeeping(*it, targetPathFor(*it));
        addedPaths_.removeExact(*it);
    }
    rebuildView();
}
