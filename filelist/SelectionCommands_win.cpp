// The commands on the file list's selection: remove, select all, invert, open, copy and
// move to a folder.

#include "app/MainDialog.h"

#include "controls/Messages.h"
#include "base/PathText.h"
#include "filelist/FileTransfer_win.h"
#include "filelist/Filter.h"
#include "controls/ListBoxes_win.h"
#include "filelist/SelectionCommands_win.h"
#include "win/WaitCursor.h"

#include <shellapi.h>

#include <algorithm>
#include <vector>

namespace {

// Redraw off for the time of many selection changes: each one repaints its line otherwise.
class RedrawOff {
public:
    explicit RedrawOff(HWND window) : window_(window) { SendMessageA(window_, WM_SETREDRAW, FALSE, 0); }
    ~RedrawOff()
    {
        SendMessageA(window_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(window_, nullptr, TRUE);
    }
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;

private:
    HWND window_;
};

const char noSelectionText[] = "Please select the files first.";

} // namespace

std::vector<int> selectedListBoxIndexes(HWND list)
{
    const LRESULT count = SendMessageA(list, LB_GETSELCOUNT, 0, 0);
    if (count == LB_ERR || count <= 0)
        return {};
    std::vector<int> indexes(static_cast<std::size_t>(count));
    const LRESULT got = SendMessageA(list, LB_GETSELITEMS, static_cast<WPARAM>(count),
                                     reinterpret_cast<LPARAM>(indexes.data()));
    indexes.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
    return indexes;
}

namespace {

// A list box of variable-height lines finds the place of line i by adding up the heights of
// the lines between its top line and i, and does so for every line whose selection changes
// (the Wine list box at least): changing many lines far from the top costs the square of
// their number. So the top line is moved along in blocks while lines change, and put back
// after; a block of 2048 lines balances the cost of a move against that of the sums.
class NearTop {
public:
    explicit NearTop(HWND list) : list_(list), top_(SendMessageA(list, LB_GETTOPINDEX, 0, 0)) {}
    ~NearTop()
    {
        if (moved_ && top_ != LB_ERR)
            SendMessageA(list_, LB_SETTOPINDEX, static_cast<WPARAM>(top_), 0);
    }
    NearTop(const NearTop&) = delete;
    NearTop& operator=(const NearTop&) = delete;

    static constexpr int block = 2048;

    // Makes the block holding the line the top.
    void reach(int line)
    {
        const int wanted = line / block;
        if (wanted != block_) {
            block_ = wanted;
            moved_ = true;
            SendMessageA(list_, LB_SETTOPINDEX, static_cast<WPARAM>(wanted * block), 0);
        }
    }

private:
    HWND list_;
    LRESULT top_;
    int block_ = -1;
    bool moved_ = false;
};

// Selects or clears lines first..last, block by block.
void setRange(HWND list, NearTop& mover, int first, int last, bool select)
{
    while (first <= last) {
        mover.reach(first);
        const int end = std::min(last, (first / NearTop::block + 1) * NearTop::block - 1);
        if (select)
            SendMessageA(list, LB_SELITEMRANGEEX, static_cast<WPARAM>(first), end);
        else if (end == first)
            SendMessageA(list, LB_SETSEL, FALSE, first);
        else
            SendMessageA(list, LB_SELITEMRANGEEX, static_cast<WPARAM>(end), first);
        first = end + 1;
    }
}

} // namespace

void selectAllLines(HWND list)
{
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (count == LB_ERR || count <= 0)
        return;
    RedrawOff redraw(list);
    NearTop mover(list);
    setRange(list, mover, 0, static_cast<int>(count) - 1, true);
}

void invertLineSelection(HWND list)
{
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (count == LB_ERR || count <= 0)
        return;
    const std::vector<int> selected = selectedListBoxIndexes(list);
    RedrawOff redraw(list);
    NearTop mover(list);
    // Clear everything, then select the runs between the lines that were selected: one
    // message per run instead of two per line.
    setRange(list, mover, 0, static_cast<int>(count) - 1, false);
    int runStart = 0;
    for (int index : selected) {
        if (index > runStart)
            setRange(list, mover, runStart, index - 1, true);
        runStart = index + 1;
    }
    if (runStart < count)
        setRange(list, mover, runStart, static_cast<int>(count) - 1, true);
}

std::vector<std::string> MainDialog::selectedFileLines() const
{
    const std::vector<std::string>& shown = fileListBox_.lines();
    std::vector<std::string> lines;
    for (int index : selectedListBoxIndexes(item(IDC_FILE_LIST)))
        if (static_cast<std::size_t>(index) < shown.size())
            lines.push_back(shown[static_cast<std::size_t>(index)]);
    return lines;
}

std::vector<std::string> deleteSelectedLines(HWND list)
{
    std::vector<std::string> removed;
    const std::vector<int> selected = selectedListBoxIndexes(list);
    if (selected.empty())
        return removed;
    removed.reserve(selected.size());
    RedrawOff redraw(list);
    NearTop mover(list);
    // Last to first, so that the numbers of the lines still to go stay valid.
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
        mover.reach(*it);
        removed.push_back(listBoxLine(list, *it));
        SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(*it), 0);
    }
    return removed;
}

void MainDialog::removeSelected()
{
    HWND list = item(IDC_FILE_LIST);
    const std::vector<std::string> removed = deleteSelectedLines(list);
    if (removed.empty())
        return;
    for (const std::string& line : removed)
        addedPaths_.removeExact(line);
    updateHorizontalExtent(list);
    EnableWindow(item(IDC_UNDO), FALSE);
}

void MainDialog::removeAll()
{
    HWND list = item(IDC_FILE_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    // Entries hidden by the filter go too.
    addedPaths_.clear();
    updateHorizontalExtent(list);
    EnableWindow(item(IDC_UNDO), FALSE);
}

void MainDialog::selectAll()
{
    selectAllLines(item(IDC_FILE_LIST));
}

void MainDialog::invertSelection()
{
    invertLineSelection(item(IDC_FILE_LIST));
}

void MainDialog::openCurrentFile()
{
    HWND list = item(IDC_FILE_LIST);
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (count == LB_ERR || count <= 0)
        return;
    const LRESULT caret = SendMessageA(list, LB_GETCARETINDEX, 0, 0);
    if (caret == LB_ERR || caret < 0 || caret >= count)
        return;
    const std::string line = listBoxLine(list, static_cast<int>(caret));
    // The shell's result is not examined: a file without an associated program is the
    // shell's to report.
    ShellExecuteA(nullptr, "open", line.c_str(), nullptr, nullptr, SW_SHOW);
}

bool MainDialog::chooseTargetFolder()
{
    if (SendMessageA(item(IDC_FILE_LIST), LB_GETSELCOUNT, 0, 0) <= 0) {
        showMessage(noSelectionText, scheme);
        return false;
    }
    const std::string title = lastTargetFolder_;
    if (!browseForFolder(lastTargetFolder_, title))
        return false;
    lastTargetFolder_ = systemPathText().asFolder(lastTargetFolder_);
    return true;
}

std::string MainDialog::targetPathFor(const std::string& line) const
{
    const PathText& paths = systemPathText();
    return paths.join(lastTargetFolder_, paths.namePart(line));
}

void MainDialog::copySelectedTo()
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

void MainDialog::moveSelectedTo()
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
    rebuildFileListView();
}
