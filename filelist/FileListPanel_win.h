#pragma once
// The file list panel of the main window: the added files, the filter, adding files and
// folders, and the commands on the list's selection.

#define IDC_FILE_LIST           1000
#define IDC_ADD_DIR             1001
#define IDC_ADD_FILES           1002
#define IDC_CASE                1003
#define IDC_FILTER              1004
#define IDC_REMOVE_SELECTED     1005
#define IDC_REMOVE_ALL          1026
#define IDC_SUBDIR              1027
#define IDC_MOVE_TO             1031
#define IDC_SELECT_ALL          1032
#define IDC_INVERT              1033
#define IDC_COPY_TO             1034
#define IDC_FILE_LIST_GROUP     1036
#define IDC_EXCLUDE             1038

#define IDI_REMOVE_SELECTED     146
#define IDI_REMOVE_ALL          147
#define IDI_SELECT_ALL          183
#define IDI_MOVE_TO             184
#define IDI_INVERT              189
#define IDI_COPY_TO             190
#define IDI_ADD_FILES           191
#define IDI_ADD_DIR             192

#ifndef RC_INVOKED

#include "controls/PanelSkin_win.h"
#include "controls/SkinListBox_win.h"
#include "filelist/AddedPaths.h"
#include "filelist/FolderBrowser_win.h"
#include "filelist/TypingBurst_win.h"
#include "win/Panel.h"

#include <functional>
#include <string>
#include <vector>

class FileListPanel : public Panel {
public:
    // What the rest of the window hears of the list.
    struct Events {
        // The lines shown were replaced: results of an earlier run no longer belong to them.
        std::function<void()> viewRebuilt;
        // Lines left the list without a rebuild.
        std::function<void()> linesRemoved;
        // The selection or the current line changed.
        std::function<void()> selectionChanged;
    };
    explicit FileListPanel(int scheme) : scheme_(scheme) {}
    void setEvents(Events events) { events_ = std::move(events); }

    // The lines list box 1000 shows, first to last.
    const std::vector<std::string>& lines() const { return listBox_.lines(); }
    // The path of the current line (the one with the focus); false when there is none.
    bool currentLine(std::string& path) const;
    const AddedPaths& addedPaths() const { return addedPaths_; }
    // Paths handed over by the Explorer command join the list unchecked.
    void appendHandedOver(std::vector<std::string> paths);
    // A loaded batch's list: every added path, and the lines shown, as they were saved.
    void replace(const std::vector<std::string>& addedPaths, const std::vector<std::string>& lines);

    bool preTranslateMessage(MSG& msg) override;
    bool translateKey(const MSG& msg) override;
    bool onCommand(int id, int code) override;

private:
    void onAttach() override;

    // ---- the list and the filter (filelist/FileListPanel_win.cpp) ----
    static const CommandBinding<FileListPanel> listCommands[];
    // Ctrl+A, +I, +C, +M and Delete in the list.
    static const KeyBinding<FileListPanel> keys[];
    // Refills list box 1000 from the added paths through the filter.
    void rebuildView();
    // The filter's text changed (1004): rebuilt now, or once the burst of typing ends.
    void onFilterEdited();
    void addFiles();  // 1002
    void addFolder(); // 1001
    // The shared folder dialog (also "Copy to" and "Move to"): true when a folder was
    // chosen or created, which then is in folder; cancelled leaves folder unchanged.
    bool browseForFolder(std::string& folder, const std::string& title);
    void onSelectionChange(); // 1000 selection changed

    // ---- commands on the selection (filelist/SelectionCommands_win.cpp) ----
    static const CommandBinding<FileListPanel> selectionCommands[];
    void removeSelected();  // 1005, and Delete in the file list
    void removeAll();       // 1026
    void selectAll();       // 1032, Ctrl+A
    void invertSelection(); // 1033, Ctrl+I
    void openCurrentFile(); // double click in the file list
    void copySelectedTo();  // 1034, Ctrl+C
    void moveSelectedTo();  // 1031, Ctrl+M
    // The lines of the file list that are selected, first to last, read after any dialog.
    std::vector<std::string> selectedFileLines() const;
    // What copy and move do before their file work: the selection check with its message
    // and the folder dialog. False ends the command.
    bool chooseTargetFolder();
    // The line's file under its own name in lastTargetFolder_.
    std::string targetPathFor(const std::string& line) const;

    static void notify(const std::function<void()>& event)
    {
        if (event)
            event();
    }

    int scheme_;
    Events events_;
    PanelSkin skin_;
    // The owner-drawn list box 1000.
    SkinListBox listBox_;
    // Every added path; the list box shows the part that passes the filter.
    AddedPaths addedPaths_;
    TypingBurst filterTyping_;
    // The folder last chosen with "Add dir", ending with a backslash once set.
    std::string lastAddedFolder_;
    // The folder copy and move go to, shared by both; ends with a backslash once set.
    std::string lastTargetFolder_;
    // The folder dialog's dialogFolder and folderCreated for the run.
    FolderBrowser folderBrowser_;
};

#endif
