// The modal loop and message routing of our dialogs.

#include "win/Dialog.h"

#include "win/Control.h"

Dialog::Dialog(int templateId, HINSTANCE module)
    : templateId_(templateId), module_(module ? module : GetModuleHandleA(nullptr))
{
}

Dialog::~Dialog()
{
    if (hwnd_ && IsWindow(hwnd_))
        DestroyWindow(hwnd_);
}

int Dialog::runModal(HWND owner)
{
    ended_ = false;
    result_ = 0;
    HWND window = CreateDialogParamA(module_, MAKEINTRESOURCEA(templateId_), owner,
                                     &Dialog::dialogProc, reinterpret_cast<LPARAM>(this));
    if (!window)
        return -1;

    const bool disableOwner = owner && IsWindowEnabled(owner);
    if (disableOwner)
        EnableWindow(owner, FALSE);
    if (!ended_)
        ShowWindow(window, SW_SHOW);

    MSG msg;
    while (!ended_) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // Pass the quit request on to whichever loop runs outside ours.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1)
            break;
        if (offerToPreTranslate(msg))
            continue;
        if (hwnd_ && IsDialogMessageA(hwnd_, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }

    if (disableOwner) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    if (hwnd_)
        DestroyWindow(hwnd_);
    return result_;
}

bool Dialog::offerToPreTranslate(MSG& msg)
{
    // Keyboard commands run from here, outside the dialog procedure's guard; a command
    // that fails with an exception ends, the loop goes on, and the key is taken.
    try {
        return preTranslateMessage(msg);
    } catch (...) {
        return true;
    }
}

void Dialog::endModal(int result)
{
    result_ = result;
    ended_ = true;
    // Wake the loop in case no other message is pending.
    if (hwnd_)
        PostMessageA(hwnd_, WM_NULL, 0, 0);
}

INT_PTR CALLBACK Dialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Dialog* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = window;
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
    }
    if (!self)
        return FALSE;

    // No exception may unwind through the system's dispatch code.
    try {
        bool handled = false;
        INT_PTR result = self->handleMessage(message, wParam, lParam, handled);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(window, DWLP_USER, 0);
            self->hwnd_ = nullptr;
        }
        if (!handled)
            return FALSE;
        switch (message) {
        case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN: case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC: case WM_INITDIALOG: case WM_QUERYDRAGICON:
        case WM_COMPAREITEM: case WM_VKEYTOITEM: case WM_CHARTOITEM:
            return result;
        default:
            SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
            return TRUE;
        }
    } catch (...) {
        return FALSE;
    }
}

INT_PTR Dialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    switch (message) {
    case WM_INITDIALOG:
        handled = true;
        return onInitDialog() ? TRUE : FALSE;

    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        handled = true;
        if (id == IDCANCEL && (code == BN_CLICKED || lParam == 0)) {
            onCancel();
            return 0;
        }
        if (id == IDOK && (code == BN_CLICKED || lParam == 0)) {
            onOk();
            return 0;
        }
        if (onCommand(id, code, reinterpret_cast<HWND>(lParam)))
            return 0;
        handled = false;
        break;
    }

    case WM_DRAWITEM: {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (draw->CtlType != ODT_MENU) {
            if (Control* control = Control::fromWindow(draw->hwndItem)) {
                if (control->drawItem(*draw)) {
                    handled = true;
                    return TRUE;
                }
            }
        }
        break;
    }

    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure->CtlType != ODT_MENU) {
            if (Control* control = Control::fromChild(hwnd_, static_cast<int>(measure->CtlID))) {
                if (control->measureItem(*measure)) {
                    handled = true;
                    return TRUE;
                }
            }
        }
        break;
    }

    case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
        if (Control* control = Control::fromWindow(reinterpret_cast<HWND>(lParam))) {
            if (HBRUSH brush = control->controlColor(reinterpret_cast<HDC>(wParam), message)) {
                handled = true;
                return reinterpret_cast<INT_PTR>(brush);
            }
        }
        break;

    case WM_DESTROY:
        onDestroy();
        break;

    default:
        break;
    }

    bool frameHandled = false;
    INT_PTR frameResult = onFrameMessage(message, wParam, lParam, frameHandled);
    if (frameHandled) {
        handled = true;
        return frameResult;
    }
    bool ownHandled = false;
    INT_PTR result = onMessage(message, wParam, lParam, ownHandled);
    if (ownHandled) {
        handled = true;
        return result;
    }
    return 0;
}
