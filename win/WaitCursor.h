#pragma once
// Shows the wait cursor for as long as a command works.

#include <windows.h>

class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { restore(); }

    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

    // Takes the wait cursor away before the end of the scope (before a modal dialog, say).
    void restore()
    {
        if (active_) {
            active_ = false;
            SetCursor(previous_ ? previous_ : LoadCursor(nullptr, IDC_ARROW));
        }
    }

private:
    HCURSOR previous_;
    bool active_ = true;
};
