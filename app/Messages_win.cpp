// The information and question boxes, laid out to their text.

#include "app/Messages.h"

#include "app/resource.h"
#include "win/Dialog.h"
#include "win/Handles.h"

#include <algorithm>

namespace {

HWND ownerWindow = nullptr;

// A box on the empty dialog template: text, then one or two buttons (identifiers 1 and 2).
class MessageBoxDialog final : public Dialog {
public:
    MessageBoxDialog(const std::string& text, bool question)
        : Dialog(IDD_SKINBOX), text_(text), question_(question)
    {
    }

    int answer() const { return answer_; }

protected:
    bool onInitDialog() override
    {
        SetWindowTextA(hwnd(), question_ ? questionBoxTitle : messageBoxTitle);
        font_.reset(CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH, "Tahoma"));
        HFONT font = static_cast<HFONT>(font_.get());

        HDC dc = GetDC(hwnd());
        HGDIOBJ old = SelectObject(dc, font);
        SIZE line = {0, 0};
        GetTextExtentPoint32A(dc, text_.c_str(), static_cast<int>(text_.size()), &line);
        RECT layout = {0, 0, 440, 400};
        DrawTextA(dc, text_.c_str(), static_cast<int>(text_.size()), &layout,
                  DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
        SelectObject(dc, old);
        ReleaseDC(hwnd(), dc);

        const int height = layout.bottom - layout.top;
        const int width = std::min<int>(line.cx, 440);
        int boxWidth = width + 60;
        int textLeft = 30;
        if (width < 160) {
            boxWidth = 220;
            textLeft = (220 - width) / 2;
        }
        const int boxHeight = height + 120;

        RECT work;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        SetWindowPos(hwnd(), nullptr, work.left + (work.right - work.left - boxWidth) / 2,
                     work.top + (work.bottom - work.top - boxHeight) / 2, boxWidth, boxHeight,
                     SWP_NOZORDER);

        HINSTANCE module = GetModuleHandleA(nullptr);
        HWND label = CreateWindowExA(0, "STATIC", text_.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX,
                                     textLeft, 55, width, height, hwnd(), nullptr, module, nullptr);
        SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

        const int top = height + 80;
        HWND first = CreateWindowExA(0, "BUTTON", question_ ? "&Yes" : "&OK",
                                     WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, top, 65, 22, hwnd(),
                                     reinterpret_cast<HMENU>(1), module, nullptr);
        HWND second = CreateWindowExA(0, "BUTTON", "&No", WS_CHILD | BS_PUSHBUTTON, 0, top, 65, 22,
                                      hwnd(), reinterpret_cast<HMENU>(2), module, nullptr);
        SendMessageA(first, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SendMessageA(second, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (question_) {
            const int gap = (boxWidth - 170) / 2;
            MoveWindow(first, gap, top, 65, 22, FALSE);
            MoveWindow(second, gap + 105, top, 65, 22, FALSE);
            ShowWindow(second, SW_SHOW);
        } else {
            MoveWindow(first, (boxWidth - 65) / 2, top, 65, 22, FALSE);
        }
        SetFocus(first);
        return false;
    }

    void onOk() override
    {
        answer_ = 1;
        endModal(1);
    }

    void onCancel() override
    {
        answer_ = 0;
        endModal(2);
    }

private:
    std::string text_;
    bool question_;
    int answer_ = 0;
    UniqueGdiObject font_;
};

int runBox(const std::string& text, bool question)
{
    MessageBoxDialog box(text, question);
    HWND owner = ownerWindow && IsWindow(ownerWindow) ? ownerWindow : nullptr;
    box.runModal(owner);
    return box.answer();
}

} // namespace

void setMessageOwner(HWND owner)
{
    ownerWindow = owner;
}

void showMessage(const std::string& text, int /*scheme: the skinned box takes it*/)
{
    runBox(text, false);
}

int askYesNo(const std::string& text, int /*scheme*/)
{
    return runBox(text, true);
}
