#pragma once
// The quick view panel of the main window: the file list's current file shown as a picture,
// as sound or video, or as a Flash movie, and the switch that shows or hides the view.

#define IDC_QUICKVIEW_GROUP     1030
#define IDC_QUICKVIEW           1035

#ifndef RC_INVOKED

#include "controls/PanelSkin_win.h"
#include "quickview/MediaPanes_win.h"
#include "quickview/PicturePane_win.h"
#include "win/Panel.h"
#include "win/QueuedKeys.h"

#include <functional>
#include <string>

class QuickViewPanel : public Panel {
public:
    // The list whose current file the view shows, which the window gives it: the list box
    // and its group box (the switch makes them wider or narrower), and the current line.
    struct FileList {
        int listBoxId;
        int groupId;
        // False when no line is current.
        std::function<bool(std::string& path)> currentLine;
    };
    QuickViewPanel(int scheme, FileList files) : scheme_(scheme), files_(std::move(files)) {}

    // The current line of the file list changed: shown now, or once the keys already
    // waiting are through.
    void onCurrentFileChanged();

    bool preTranslateMessage(MSG& msg) override;
    bool onCommand(int id, int code) override;
    void onDestroy() override;

private:
    void onAttach() override;

    static const CommandBinding<QuickViewPanel> commands[];
    void onSwitch(); // 1035
    void showCurrentFile();
    void hidePanes();

    int scheme_;
    FileList files_;
    PanelSkin skin_;
    // Decoding a photo takes longer than an arrow key's repeat: while more keys wait, the
    // current file is shown once they are through.
    AfterQueuedKeys afterKeys_{USER_TIMER_MINIMUM};
    // The hosted panes exist only where their controls are installed.
    NFlash flashPane_;
    PicturePane picturePane_;
    CMediaPlayer2 mediaPane_;
};

#endif
