// The main window's file list: adding files and folders, the filtered view, the folder
// dialog.

#include "app/MainDialog.h"

#include "filelist/FileDialog_win.h"
#include "filelist/Filter.h"
#include "filelist/FolderScan_win.h"
#include "filelist/ListBoxes_win.h"
#include "win/WaitCursor.h"

namespace {

bool isChecked(HWND checkBox)
{
    return SendMessageA(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string windowText(HWND window)
{
    const int length = GetWindowTextLengthA(window);
    if (length <= 0)
        return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(window, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

} // namespace

void MainDialog::addFiles()
{
    std::vector<std::string> chosen;
    if (!chooseFiles(hwnd(), chosen))
        return;
    {
        WaitCursor wait;
        for (const std::string& path : chosen)
            addedPaths_.add(path);
    }
    rebuildFileListView();
}

void MainDialog::addFolder()
{
    WaitCursor wait;
    const std::string title = lastAddedFolder_;
    if (!browseForFolder(lastAddedFolder_, title))
        return;
    if (lastAddedFolder_.empty() || lastAddedFolder_.back() != '\\')
        lastAddedFolder_ += '\\';
    scanFolder(lastAddedFolder_, isChecked(item(IDC_SUBDIR)), addedPaths_);
    rebuildFileListView();
}

void MainDialog::rebuildFileListView()
{
    WaitCursor wait;
    // The results of the last preview or rename run no longer belong to the lines shown.
    clearJournal();
    const std::string filter = windowText(item(IDC_FILTER));
    refillListBox(item(IDC_FILE_LIST),
                  fileListView(addedPaths_, filter, isChecked(item(IDC_CASE)), isChecked(item(IDC_EXCLUDE))));
    EnableWindow(item(IDC_UNDO), FALSE);
}

bool MainDialog::browseForFolder(std::string& folder, const std::string& title)
{
    return folderBrowser_.browse(folder, title);
}
