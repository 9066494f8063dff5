#pragma once
// The program's main window: dialog 102 and the state of the user's work.
//
// One class, defined across the subsystem files that own its commands: each subsystem
// declares its members in its own section below and defines them in its own *_win.cpp.

#include "controls/SkinDialog_win.h"
#include "app/resource.h"
#include "base/Identity.h"
#include "controls/CMacButton_win.h"
#include "controls/CMacCheckBox_win.h"
#include "controls/SkinListBox_win.h"
#include "engine/RenameJournal.h"
#include "filelist/AddedPaths.h"
#include "filelist/FolderBrowser_win.h"
#include "filelist/TypingBurst_win.h"
#include "quickview/MediaPanes_win.h"
#include "quickview/PicturePane_win.h"
#include "win/Dialog.h"
#include "win/Handles.h"

#include <memory>
#include <string>
#include <vector>

class MainDialog : public SkinDialog {
public:
    MainDialog();
    ~MainDialog() override;

    static constexpr int scheme = programScheme;

protected:
    bool onInitDialog() override;
    bool preTranslateMessage(MSG& msg) override;
    bool onCommand(int id, int code, HWND control) override;
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    void onDestroy() override;
    void onOk() override;
    void onCancel() override;

private:
    // Every control notification the window handles, ended by a row without handler.
    static const CommandBinding<MainDialog> commandTable[];

    // ---- start-up (app/MainDialog_win.cpp, app/Intake_win.cpp) ----
    void writeInstallPath();
    void intakeHandoffFile();
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
    // The owner-drawn list boxes 1000 (file list) and 1006 (rules list).
    SkinListBox fileListBox_;
    SkinListBox ruleListBox_;

    // ---- window commands and keyboard (app/Commands_win.cpp) ----
    // Ctrl+A/I/C/M and Delete by focus; true when the key was consumed.
    bool translateKey(MSG& msg);
    // The exit question; ends the modal run on yes.
    void confirmExit();
    // "Help (F1)" (1017) and F1 without Shift, Control or Alt: tessel2.chm through the shell.
    void openHelpFile();
    // "About..." (1018).
    void showAbout();
    // The frame's minimize button (5001).
    void minimizeWindow();

    // ---- frame and skin (app/MainSkin_win.cpp) ----
    // The set-up up to the quick view: the frame, every button and check box of the
    // template skinned in the window's scheme with its icon and tooltip, "QuickView"
    // ticked, the lists' selection colours.
    void setUpSkin();
    std::vector<std::unique_ptr<CMacButton>> skinButtons_;
    std::vector<std::unique_ptr<CMacCheckBox>> skinCheckBoxes_;

    // ---- file list (filelist/) ----
    // Every added path; the list box 1000 shows the part that passes the filter.
    AddedPaths addedPaths_;
    // Refills list box 1000 from addedPaths_ through the filter; empties the journal and
    // disables Undo.
    void rebuildFileListView();
    // The filter's text changed (1004): rebuilt now, or once the burst of typing ends.
    void onFilterEdited();
    TypingBurst filterTyping_;
    // "Add file(s)" (1002) and "Add dir" (1001).
    void addFiles();
    void addFolder();
    // The shared folder dialog (also "Copy to" and "Move to"): true when a folder was
    // chosen or created, which then is in folder; cancelled leaves folder unchanged.
    bool browseForFolder(std::string& folder, const std::string& title);
    // The folder last chosen with "Add dir", ending with a backslash once set.
    std::string lastAddedFolder_;
    // The folder dialog's dialogFolder and folderCreated for the run.
    FolderBrowser folderBrowser_;

    // ---- selection commands (filelist/SelectionCommands_win.cpp) ----
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
    // The folder copy and move go to, shared by both; ends with a backslash once set.
    std::string lastTargetFolder_;

    // ---- rule editor and runs (engine/) ----
    // The editor's boxes as they start: no action, both argument boxes and the label
    // empty, the second box disabled. Called once during set-up.
    void initRuleEditor();
    void onActionChanged();        // 1010 selection changed
    void onFirstArgumentChanged(); // 1011 selection changed
    void onFirstArgumentEdited();  // 1011 edit text changed
    void addRule();                // 1007
    void deleteSelectedRules();    // 1008, and Delete in the rules list
    void moveRuleUp();             // 1028
    void moveRuleDown();           // 1029
    void previewCommand();         // 1019
    void renameCommand();          // 1020
    void undoCommand();            // 1021
    void runRules(bool renameOnDisk);
    // Empties the journal: rebuildFileListView calls it, since the results of the last
    // run no longer belong to the lines shown.
    void clearJournal();
    // The new paths of the last preview or rename run; batch files save and load it.
    RenameJournal renameJournal_;

    // ---- batch files and logs (engine/BatchCommands_win.cpp) ----
    void saveBatch();     // 1024 "Save batch"
    void loadBatch();     // 1023 "Load batch"
    void saveResultLog(); // 1025 "Save result log"

    // ---- update check and web links (update/UpdateCommands_win.cpp) ----
    // "Online Update" (1037): asks the maker's web site for the published version; on an
    // accepted update the browser fetches it and the window closes without the exit question.
    void onOnlineUpdate();
    void onSendMail();     // 1016 "Send email to us"
    void onVisitWebPage(); // 1015 "Visit our web page"

    // ---- quick view (quickview/QuickView_win.cpp) ----
    // The three panes on one rectangle inside the "QuickView" frame.
    void createQuickViewPanes();
    void destroyQuickViewPanes();
    void onFileListSelectionChange(); // 1000 selection changed
    void onQuickViewSwitch();         // 1035
    void showCurrentFileInQuickView();
    void hideQuickViewPanes();
    // The Flash pane's filtering of messages on their way to its control.
    bool filterQuickViewMessage(const MSG& msg);
    // The deferred showing of the current file while keys wait (a timer on this window);
    // true when the message was that timer.
    static constexpr UINT_PTR quickViewTimer = 0x5156;
    bool onQuickViewMessage(UINT message, WPARAM wParam);
    bool quickViewPending_ = false;
    // The hosted panes exist only where their controls are installed.
    NFlash flashPane_;
    PicturePane picturePane_;
    CMediaPlayer2 mediaPane_;

    // ---- shell context ----
};
