#pragma once
// The program's main window: dialog 102, composed of the feature panels that own its controls.
//
// The window holds the panels, offers them its messages in one chain, and connects them
// through a few narrow calls; what is left here is the window's own: start-up, the frame,
// help, About, minimize and the exit question.

#include "app/resource.h"
#include "controls/PanelSkin_win.h"
#include "controls/SkinDialog_win.h"
#include "engine/RunsPanel_win.h"
#include "filelist/FileListPanel_win.h"
#include "quickview/QuickViewPanel_win.h"
#include "update/UpdatePanel_win.h"
#include "win/Dialog.h"
#include "win/Handles.h"
#include "win/Panel.h"

class MainDialog : public SkinDialog {
public:
    MainDialog();
    ~MainDialog() override;

protected:
    bool onInitDialog() override;
    bool preTranslateMessage(MSG& msg) override;
    bool onCommand(int id, int code, HWND control) override;
    void onDestroy() override;
    void onOk() override;
    void onCancel() override;

private:
    // ---- start-up (app/MainDialog_win.cpp, app/Intake_win.cpp) ----
    void intakeHandoffFile();
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;

    // ---- window commands and keyboard (app/Commands_win.cpp) ----
    static const CommandBinding<MainDialog> commandTable[];
    // The frame, and the window's own buttons and check box skinned with icons and tooltips.
    void setUpSkin();
    // Keys meant for the window that no panel took: F1, and Enter on a button.
    bool translateKey(const MSG& msg);
    // The exit question; ends the modal run on yes.
    void confirmExit();
    // "Help (F1)" (1017) and F1 without Shift, Control or Alt: tessel2.chm through the shell.
    void openHelpFile();
    // "About..." (1018).
    void showAbout();
    // The frame's minimize button (5001).
    void minimizeWindow();
    PanelSkin skin_;

    // ---- the panels, in the order they hear each message ----
    FileListPanel fileList_;
    RunsPanel runs_;
    QuickViewPanel quickView_;
    UpdatePanel update_;
    PanelChain panels_;
};
