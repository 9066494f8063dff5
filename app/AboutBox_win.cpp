// The About box's set-up.

#include "app/AboutBox_win.h"

#include "base/Identity.h"
#include "app/resource.h"

std::string AboutBox::aboutText()
{
    return std::string(displayName) + " Version " + versionText + "\r\n" + "\r\n" +
           "Copyright (C) 2026 Corvanta";
}

bool AboutBox::onInitDialog()
{
    resizeCentred(280, 145);
    setTitle(std::string(displayName) + " - About...");
    setUpBoxFrame();

    HINSTANCE module = GetModuleHandleA(nullptr);
    HWND icon = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_ICON, 10, 45, 32, 32, hwnd(), nullptr,
                                module, nullptr);
    programIcon_.reset(
        static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 32, 32, 0)));
    SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(programIcon_.get()), 0);

    HWND text = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT, 50, 35, 220, 65, hwnd(), nullptr,
                                module, nullptr);
    SendMessageA(text, WM_SETFONT, reinterpret_cast<WPARAM>(bodyFont()), FALSE);
    SetWindowTextA(text, aboutText().c_str());

    const RECT closeRect = {190, 108, 260, 130};
    closeCommand_.create(hwnd(), IDCANCEL, "&Close", closeRect);
    SendMessageA(closeCommand_.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(bodyFont()), FALSE);
    closeCommand_.setScheme(boxScheme());
    return true;
}
