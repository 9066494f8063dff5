// The commands on the file list's selection: remove, select all, invert, open, copy and
// move to a folder.

#include "app/MainDialog.h"

#include "app/Messages.h"
#include "filelist/Filter.h"
#include "filelist/ListBoxes_win.h"
#include "win/WaitCursor.h"

#include <shellapi.h>

#include <vector>

namespace {

std::string listLine(HWND list, int index)
{
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR || length <= 0)
        return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied = SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
    return text;
}

// The selected line numbers, ascending.
std::vector<int> selectedIndexes(HWND list)
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

std::vector<std::string> MainDialog::selectedFileLines() const
{
    HWND list = item(IDC_FILE_LIST);
    std::vector<std::string> lines;
    for (int index : selectedIndexes(list))
        lines.push_back(listLine(list, index));
    return lines;
}

void MainDialog::removeSelected()
{
    HWND list = item(IDC_FILE_LIST);
    const std::vector<int> selected = selectedIndexes(list);
    if (selected.empty())
        return;
    {
        RedrawOff redraw(list);
        // Last to first, so that the numbers of the lines still to go stay valid.
        for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
            const std::string line = listLine(list, *it);
            SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(*it), 0);
            addedPaths_.removeExact(line);
        }
    }
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
    HWND list = item(IDC_FILE_LIST);
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (count == LB_ERR || count <= 0)
        return;
    RedrawOff redraw(list);
    // -1 is every line at once; the list box sends no selection-change notification.
    SendMessageA(list, LB_SETSEL, TRUE, -1);
}

void MainDialog::invertSelection()
{
    HWND list = item(IDC_FILE_LIST);
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (count == LB_ERR || count <= 0)
        return;
    const std::vector<int> selected = selectedIndexes(list);
    RedrawOff redraw(list);
    // Clear everything, then select the runs between the lines that were selected: one
    // message per run instead of two per line.
    SendMessageA(list, LB_SETSEL, FALSE, -1);
    int runStart = 0;
    auto selectRun = [&](int end) {
        if (end > runStart)
            SendMessageA(list, LB_SELITEMRANGEEX, static_cast<WPARAM>(runStart), end - 1);
    };
    for (int index : selected) {
        selectRun(index);
        runStart = index + 1;
    }
    selectRun(static_cast<int>(count));
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
    const std::string line = listLine(list, static_cast<int>(caret));
    // The shell's result is not examined: a file without an associated program is the
    // shell's to report.
    ShellExecuteA(nullptr, "open", line.c_str(), nullptr, nullptr, SW_SHOW);
}

void MainDialog::copySelectedTo()
{
    if (SendMessageA(item(IDC_FILE_LIST), LB_GETSELCOUNT, 0, 0) <= 0) {
        showMessage(noSelectionText, scheme);
        return;
    }
    const std::string title = lastTargetFolder_;
    if (!browseForFolder(lastTargetFolder_, title))
        return;
    WaitCursor wait;
    if (lastTargetFolder_.empty() || lastTargetFolder_.back() != '\\')
        lastTargetFolder_ += '\\';
    // The folder dialog has no owner, so the list could have changed while it was open:
    // the selection is read now.
    const std::vector<std::string> lines = selectedFileLines();
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        const std::string target = lastTargetFolder_ + it->substr(namePartStart(*it, addedPaths_.caseFold()));
        // An existing target is replaced; a file that fails does not stop the others.
        CopyFileA(it->c_str(), target.c_str(), FALSE);
    }
}

void MainDialog::moveSelectedTo()
{
    if (SendMessageA(item(IDC_FILE_LIST), LB_GETSELCOUNT, 0, 0) <= 0) {
        showMessage(noSelectionText, scheme);
        return;
    }
    const std::string title = lastTargetFolder_;
    if (!browseForFolder(lastTargetFolder_, title))
        return;
    WaitCursor wait;
    if (lastTargetFolder_.empty() || lastTargetFolder_.back() != '\\')
        lastTargetFolder_ += '\\';
    const std::vector<std::string> lines = selectedFileLines();
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        const std::string target = lastTargetFolder_ + it->substr(namePartStart(*it, addedPaths_.caseFold()));
        // MoveFileA does not replace an existing target; the line leaves the list whether
        // or not the file moved.
        MoveFileA(it->c_str(), target.c_str());
        addedPaths_.removeExact(*it);
    }
    rebuildFileListView();
}
