#pragma once
// A part of a dialog window that owns some of its controls: their state, their notifications,
// the keys meant for them; the window forwards its messages to its panels in a chain.

#include "win/Dialog.h"
#include "win/QueuedKeys.h"

#include <windows.h>

#include <initializer_list>
#include <vector>

// One row of a panel's key table: a key press, whether it needs Control held (without Alt:
// AltGr arrives as Control and Alt together and types letters on many keyboards), the control
// that must have the focus (0: any), and the handler. A row without Control takes the key
// whatever else is held.
template <typename P>
struct KeyBinding {
    WPARAM key;
    bool control;
    int focusId;
    void (P::*handler)();
};

// Runs the handler bound to the key press in a table ended by a row without handler; true
// when a row matched.
template <typename P>
bool dispatchKey(P& self, HWND dialog, const KeyBinding<P>* table, const MSG& msg)
{
    const bool control = keyHeld(VK_CONTROL) && !keyHeld(VK_MENU);
    for (const KeyBinding<P>* row = table; row->handler; ++row) {
        if (row->key != msg.wParam || (row->control && !control))
            continue;
        if (row->focusId != 0 && msg.hwnd != GetDlgItem(dialog, row->focusId))
            continue;
        (self.*row->handler)();
        return true;
    }
    return false;
}

class Panel {
public:
    Panel() = default;
    virtual ~Panel() = default;
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    // The window and its controls exist: the panel takes over its own controls and gives
    // them their first state.
    void attach(HWND dialog)
    {
        dialog_ = dialog;
        onAttach();
    }

    // Every message the window's own loop takes from the queue, before anyone else sees it;
    // true keeps it from being dispatched at all.
    virtual bool preTranslateMessage(MSG&) { return false; }
    // A key press meant for the window or one of its controls, before the dialog manager
    // sees it; true when the panel consumed it.
    virtual bool translateKey(const MSG&) { return false; }
    // A control's WM_COMMAND notification; true when the panel handled it.
    virtual bool onCommand(int, int) { return false; }
    // The window is being destroyed; its controls still exist.
    virtual void onDestroy() {}

protected:
    virtual void onAttach() {}
    HWND dialog() const { return dialog_; }
    HWND item(int id) const { return GetDlgItem(dialog_, id); }

private:
    HWND dialog_ = nullptr;
};

// The window's panels in the order they are offered each message; the first that takes a
// message ends its way along the chain.
class PanelChain {
public:
    PanelChain(std::initializer_list<Panel*> panels) : panels_(panels) {}

    void attach(HWND dialog)
    {
        for (Panel* panel : panels_)
            panel->attach(dialog);
    }
    bool preTranslateMessage(MSG& msg)
    {
        for (Panel* panel : panels_)
            if (panel->preTranslateMessage(msg))
                return true;
        return false;
    }
    bool translateKey(const MSG& msg)
    {
        for (Panel* panel : panels_)
            if (panel->translateKey(msg))
                return true;
        return false;
    }
    bool onCommand(int id, int code)
    {
        for (Panel* panel : panels_)
            if (panel->onCommand(id, code))
                return true;
        return false;
    }
    void onDestroy()
    {
        for (Panel* panel : panels_)
            panel->onDestroy();
    }

private:
    std::vector<Panel*> panels_;
};
