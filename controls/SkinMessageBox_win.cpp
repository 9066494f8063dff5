// The message boxes' set-up: measured text, box size, label and buttons.

#include "controls/SkinMessageBox_win.h"

#include "controls/Messages.h"
#include "win/Handles.h"

SkinMessageBox::SkinMessageBox(HWND parent, const std::string& text, Kind kind)
    : SkinBox(parent), text_(text), kind_(kind)
{
}

bool SkinMessageBox::onInitDialog()
{
    resizeCentred(500, 400);
    setUpBoxFrame();

    SIZE line = {0, 0};
    RECT wrapped = {0, 0, messageTextMaxWidth, 400};
    {
        const WindowDc dc(hwnd());
        const SelectedObject font(dc.get(), bodyFont());
        GetTextExtentPoint32A(dc.get(), text_.c_str(), static_cast<int>(text_.size()), &line);
        DrawTextA(dc.get(), text_.c_str(), static_cast<int>(text_.size()), &wrapped,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    }
    layout_ = layoutMessageBox(line.cx, wrapped.bottom - wrapped.top, kind_ == question);

    resizeCentred(layout_.boxWidth, layout_.boxHeight);
    setWholeWindowRegion();

    const RECT textRect = {layout_.textLeft, layout_.textTop, layout_.textRight, layout_.textBottom};
    label_.create(hwnd(), text_, textRect);
    label_.setFont(bodyFont());
    label_.setColours(GetSysColor(COLOR_WINDOWTEXT), frameColours()[1]);

    const RECT firstRect = {layout_.firstButtonLeft, layout_.buttonTop, layout_.firstButtonLeft + messageButtonWidth,
                            layout_.buttonTop + messageButtonHeight};
    const RECT secondRect = {layout_.secondButtonLeft, layout_.buttonTop,
                             layout_.secondButtonLeft + messageButtonWidth, layout_.buttonTop + messageButtonHeight};
    first_.create(hwnd(), IDOK, kind_ == question ? "&Yes" : "&OK", firstRect);
    second_.create(hwnd(), IDCANCEL, "&No", secondRect, kind_ == question ? WS_CHILD | WS_VISIBLE : WS_CHILD);
    for (CMacButton* button : {&first_, &second_}) {
        SendMessageA(button->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(bodyFont()), FALSE);
        button->setScheme(boxScheme());
    }
    setTitle(kind_ == question ? questionBoxTitle : messageBoxTitle);
    SetFocus(first_.hwnd());
    return false;
}
