#pragma once
// Base of every dialog window: its own modal loop with pre-translation, and a table that
// binds control notifications to handler methods.

#include <windows.h>

// One row of a dialog's notification table: a control, the notification code it sends in
// WM_COMMAND, and the handler method that runs for it.
template <typename D>
struct CommandBinding {
    int controlId;
    int notification;
    void (D::*handler)();
};

// Runs the handler bound to (id, code) in a table ended by a row without handler; true when
// a row matched.
template <typename D>
bool dispatchCommand(D& self, const CommandBinding<D>* table, int id, int code)
{
    for (const CommandBinding<D>* row = table; row->handler; ++row) {
        if (row->controlId == id && row->notification == code) {
            (self.*row->handler)();
            return true;
        }
    }
    return false;
}

class Dialog {
public:
    explicit Dialog(int templateId, HINSTANCE module = nullptr);
    virtual ~Dialog();

    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Creates the window from its template and runs it modally until endModal. Every
    // message of the thread is offered to preTranslateMessage first, then to the dialog
    // manager. Returns the result given to endModal, or -1 when the window could not be
    // created. The window is destroyed before it returns.
    int runModal(HWND owner);
    void endModal(int result);

    HWND hwnd() const { return hwnd_; }
    HWND item(int id) const { return GetDlgItem(hwnd_, id); }

protected:
    // WM_INITDIALOG. Return true to let the system choose the first focused control.
    virtual bool onInitDialog() { return true; }
    // A message taken here is not dispatched at all.
    virtual bool preTranslateMessage(MSG&) { return false; }
    // WM_COMMAND other than IDOK/IDCANCEL; return true when handled.
    virtual bool onCommand(int, int, HWND) { return false; }
    // IDCANCEL (Escape, the system close, a button with identifier 2).
    virtual void onCancel() { endModal(IDCANCEL); }
    // IDOK (Enter gives it when no button is the default).
    virtual void onOk() { endModal(IDOK); }
    // The window frame's share of every message, offered before onMessage; set handled to
    // keep onMessage and the default dialog processing out.
    virtual INT_PTR onFrameMessage(UINT, WPARAM, LPARAM, bool& handled)
    {
        handled = false;
        return 0;
    }
    // Any other message; set handled to keep the default dialog processing out.
    virtual INT_PTR onMessage(UINT, WPARAM, LPARAM, bool& handled)
    {
        handled = false;
        return 0;
    }
    virtual void onDestroy() {}

private:
    static INT_PTR CALLBACK dialogProc(HWND, UINT, WPARAM, LPARAM);
    bool offerToPreTranslate(MSG& msg);
    INT_PTR handleMessage(UINT, WPARAM, LPARAM, bool& handled);

    int templateId_;
    HINSTANCE module_;
    HWND hwnd_ = nullptr;
    bool ended_ = false;
    int result_ = 0;
};
