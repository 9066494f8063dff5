#pragma once
// The main window's three links to the maker: the update check, the home page and the support
// mail.

#define IDC_WEB                 1015
#define IDC_MAIL                1016
#define IDC_UPDATE              1037

#define IDI_MAIL                139
#define IDI_WEB                 140
#define IDI_UPDATE              198

#ifndef RC_INVOKED

#include "controls/PanelSkin_win.h"
#include "win/Panel.h"

#include <functional>

class UpdatePanel : public Panel {
public:
    // closeWindow ends the program's window without the exit question.
    UpdatePanel(int scheme, std::function<void()> closeWindow)
        : scheme_(scheme), closeWindow_(std::move(closeWindow))
    {
    }

    bool onCommand(int id, int code) override;

private:
    void onAttach() override;

    static const CommandBinding<UpdatePanel> commands[];
    // "Online Update" (1037): asks the maker's web site for the published version; on an
    // accepted update the browser fetches it and the window closes without the exit question.
    void onOnlineUpdate();
    void onSendMail();     // 1016 "Send email to us"
    void onVisitWebPage(); // 1015 "Visit our web page"

    int scheme_;
    std::function<void()> closeWindow_;
    PanelSkin skin_;
};

#endif
