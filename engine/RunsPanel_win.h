#pragma once
// The rules and runs panel of the main window: the rule editor and the rules list, Preview,
// Rename and Undo with their journal, batch files and the result log.

#define IDC_RULE_LIST           1006
#define IDC_ADD_RULE            1007
#define IDC_DELETE_RULE         1008
#define IDC_RULE_TARGET         1009
#define IDC_RULE_ACTION         1010
#define IDC_RULE_ARG1           1011
#define IDC_RULE_ARG2           1012
#define IDC_RESULT_LIST         1013
#define IDC_PREVIEW             1019
#define IDC_RENAME              1020
#define IDC_UNDO                1021
#define IDC_RULE_ARG_LABEL      1022
#define IDC_LOAD_BATCH          1023
#define IDC_SAVE_BATCH          1024
#define IDC_SAVE_LOG            1025
#define IDC_RULE_UP             1028
#define IDC_RULE_DOWN           1029

#define IDI_SAVE_LOG            153
#define IDI_LOAD_BATCH          155
#define IDI_SAVE_BATCH          157
#define IDI_RULE_UP             169
#define IDI_RULE_DOWN           171
#define IDI_UNDO                180
#define IDI_PREVIEW             181
#define IDI_ADD_RULE            185
#define IDI_DELETE_RULE         186
#define IDI_RENAME              200

#ifndef RC_INVOKED

#include "controls/PanelSkin_win.h"
#include "controls/SkinListBox_win.h"
#include "engine/RenameJournal.h"
#include "win/Panel.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class RunsPanel : public Panel {
public:
    // What the runs and batch files need of the file list, which the window gives them.
    struct FileList {
        // The lines shown, first to last: the files a run works on.
        std::function<const std::vector<std::string>&()> lines;
        // Every added path, shown or not.
        std::function<std::vector<std::string_view>()> addedPaths;
        // A loaded batch's added paths and lines shown.
        std::function<void(const std::vector<std::string>& addedPaths, const std::vector<std::string>& lines)> replace;
    };
    RunsPanel(int scheme, FileList files) : scheme_(scheme), files_(std::move(files)) {}

    // The file list's lines were replaced: the last run's results no longer belong to them.
    void forgetLastRun();
    // Lines left the file list: the last rename can no longer be undone.
    void disableUndo();

    bool translateKey(const MSG& msg) override;
    bool onCommand(int id, int code) override;

private:
    void onAttach() override;
    // Delete in the rules list.
    static const KeyBinding<RunsPanel> keys[];

    // ---- rule editor (engine/RuleEditor_win.cpp) ----
    static const CommandBinding<RunsPanel> ruleEditorCommands[];
    // The editor's boxes as they start: the fixed targets and actions, FILENAME and no
    // action chosen, both argument boxes and the label empty, the second box disabled.
    void initRuleEditor();
    void onActionChanged();        // 1010 selection changed
    void onFirstArgumentChanged(); // 1011 selection changed
    void onFirstArgumentEdited();  // 1011 edit text changed
    void addRule();                // 1007
    void deleteSelectedRules();    // 1008, and Delete in the rules list
    void moveRuleUp();             // 1028
    void moveRuleDown();           // 1029

    // ---- runs (engine/Runs_win.cpp) ----
    static const CommandBinding<RunsPanel> runCommands[];
    void previewCommand(); // 1019
    void renameCommand();  // 1020
    void undoCommand();    // 1021
    void runRules(bool renameOnDisk);

    // ---- batch files and logs (engine/BatchCommands_win.cpp) ----
    static const CommandBinding<RunsPanel> batchCommands[];
    void saveBatch();     // 1024 "Save batch"
    void loadBatch();     // 1023 "Load batch"
    void saveResultLog(); // 1025 "Save result log"

    int scheme_;
    FileList files_;
    PanelSkin skin_;
    // The owner-drawn rules list 1006.
    SkinListBox ruleListBox_;
    // The new paths of the last preview or rename run; batch files save and load it.
    RenameJournal renameJournal_;
};

#endif
