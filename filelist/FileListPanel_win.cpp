// The file list panel: adding files and folders, the filtered view, the folder dialog, the
// panel's skin and keys.

#include "filelist/FileListPanel_win.h"

#include "base/PathText.h"
#include "controls/ListBoxes_win.h"
#include "filelist/FileDialog_win.h"
#include "filelist/Filter.h"
#include "filelist/FolderScan_win.h"
#include "win/ControlText.h"
#include "win/WaitCursor.h"

#include <utility>

const CommandBinding<FileListPanel> FileListPanel::listCommands[] = {
    {IDC_ADD_FILES, BN_CLICKED, &FileListPanel::addFiles},
    {IDC_ADD_DIR, BN_CLICKED, &FileListPanel::addFolder},
    {IDC_FILTER, EN_CHANGE, &FileListPanel::onFilterEdited},
    {IDC_CASE, BN_CLICKED, &FileListPanel::rebuildView},
    {IDC_EXCLUDE, BN_CLICKED, &FileListPanel::rebuildView},
    {IDC_FILE_LIST, LBN_SELCHANGE, &FileListPanel::onSelectionChange},
    {0, 0, nullptr},
};

const KeyBinding<FileListPanel> FileListPanel::keys[] = {
    {'A', true, 0, &FileListPanel::selectAll},
    {'I', true, 0, &FileListPanel::invertSelection},
    {'C', true, 0, &FileListPanel::copySelectedTo},
    {'M', true, 0, &FileListPanel::moveSelectedTo},
    {VK_DELETE, false, IDC_FILE_LIST, &FileListPanel::removeSelected},
    {0, false, 0, nullptr},
};

namespace {

const SkinnedButton skinnedButtons[] = {
    {IDC_ADD_FILES, IDI_ADD_FILES, "Add file(s)"},
    {IDC_ADD_DIR, IDI_ADD_DIR, "Add dir"},
    {IDC_SELECT_ALL, IDI_SELECT_ALL, "Select all (CTRL+A)"},
    {IDC_INVERT, IDI_INVERT, "Invert select (CTRL+I)"},
    {IDC_REMOVE_SELECTED, IDI_REMOVE_SELECTED, "Remove select"},
    {IDC_REMOVE_ALL, IDI_REMOVE_ALL, "Remove All"},
    {IDC_COPY_TO, IDI_COPY_TO, "Copy selected files to... (CTRL+C)"},
    {IDC_MOVE_TO, IDI_MOVE_TO, "Move selected files to... (CTRL+M)"},
};

} // namespace

void FileListPanel::onAttach()
{
    PanelSkin::takeList(listBox_, item(IDC_FILE_LIST), scheme_);
    skin_.takeCheckBoxes(dialog(), {IDC_SUBDIR, IDC_CASE, IDC_EXCLUDE}, scheme_);
    skin_.takeButtons(dialog(), skinnedButtons, scheme_);
    filterTyping_.attach(dialog(), item(IDC_FILTER), [this] { rebuildView(); });
}

bool FileListPanel::preTranslateMessage(MSG& msg)
{
    filterTyping_.beforeDispatch(msg);
    return false;
}

bool FileListPanel::onCommand(int id, int code)
{
    // A command sent from outside in the middle of a typing burst works on the view of
    // the text typed so far, as every command does; this panel is the first to hear it.
    if (id != IDC_FILTER)
        filterTyping_.settle();
    return dispatchCommand(*this, listCommands, id, code) || dispatchCommand(*this, selectionCommands, id, code);
}

bool FileListPanel::translateKey(const MSG& msg)
{
    return dispatchKey(*this, dialog(), keys, msg);
}

void FileListPanel::addFiles()
{
    std::vector<std::string> chosen;
    if (!chooseFiles(dialog(), chosen))
        return;
    {
        WaitCursor wait;
        for (const std::string& path : chosen)
            addedPaths_.add(path);
    }
    rebuildView();
}

void FileListPanel::addFolder()
{
    WaitCursor wait;
    const std::string title = lastAddedFolder_;
    if (!browseForFolder(lastAddedFolder_, title))
        return;
    lastAddedFolder_ = systemPathText().asFolder(lastAddedFolder_);
    scanFolder(lastAddedFolder_, isChecked(item(IDC_SUBDIR)), addedPaths_);
    rebuildView();
}

void FileListPanel::onFilterEdited()
{
    if (!filterTyping_.deferChange()) {
        rebuildView();
        return;
    }
    // Only the refill waits for the burst's end: what hangs on the lines shown goes with
    // every change.
    notify(events_.viewRebuilt);
}

void FileListPanel::rebuildView()
{
    filterTyping_.forget();
    WaitCursor wait;
    notify(events_.viewRebuilt);
    const std::string filter = windowText(item(IDC_FILTER));
    const std::vector<std::string_view> view =
        fileListView(addedPaths_, filter, isChecked(item(IDC_CASE)), isChecked(item(IDC_EXCLUDE)));
    // Most keys in the filter box change few lines or none: the list box is told only the
    // difference, where the lines it shows came from the added paths in their order.
    std::vector<LineRun> runs;
    if (selectionChanges(listBox_.lines(), filter.empty() ? view : fileListView(addedPaths_, "", false, false), view,
                         runs))
        changeListBox(listBox_, runs, view);
    else
        refillListBox(item(IDC_FILE_LIST), view);
}

bool FileListPanel::browseForFolder(std::string& folder, const std::string& title)
{
    return folderBrowser_.browse(folder, title);
}

void FileListPanel::onSelectionChange()
{
    notify(events_.selectionChanged);
}

bool FileListPanel::currentLine(std::string& path) const
{
    HWND list = item(IDC_FILE_LIST);
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (count == LB_ERR || count <= 0)
        return false;
    // In this multiple-selection list the current line is the one with the focus.
    const LRESULT current = SendMessageA(list, LB_GETCARETINDEX, 0, 0);
    if (current == LB_ERR || current < 0 || current >= count)
        return false;
    const std::vector<std::string>& shown = listBox_.lines();
    if (static_cast<std::size_t>(current) >= shown.size())
        return false;
    path = shown[static_cast<std::size_t>(current)];
    return true;
}

void FileListPanel::appendHandedOver(std::vector<std::string> paths)
{
    for (std::string& path : paths)
        addedPaths_.appendUnchecked(path);
    rebuildView();
}

void FileListPanel::replace(const std::vector<std::string>& addedPaths, const std::vector<std::string>& lines)
{
    addedPaths_.replaceAll(addedPaths);
    refillListBox(item(IDC_FILE_LIST), lines);
}
