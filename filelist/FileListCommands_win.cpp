// The main window's file list: adding files and folders, the filtered view, the folder
// dialog.

#include "app/MainDialog.h"

#include "base/PathText.h"
#include "filelist/FileDialog_win.h"
#include "filelist/Filter.h"
#include "filelist/FolderScan_win.h"
#include "controls/ListBoxes_win.h"
#include "win/ControlText.h"
#include "win/WaitCursor.h"

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
    lastAddedFolder_ = systemPathText().asFolder(lastAddedFolder_);
    scanFolder(lastAddedFolder_, isChecked(item(IDC_SUBDIR)), addedPaths_);
    rebuildFileListView();
}

void MainDialog::onFilterEdited()
{
    if (!filterTyping_.deferChange()) {
        rebuildFileListView();
        return;
    }
    // Only the refill waits for the burst's end: the journal and Undo go with every change.
    clearJournal();
    EnableWindow(item(IDC_UNDO), FALSE);
}

void MainDialog::rebuildFileListView()
{
    filterTyping_.forget();
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
