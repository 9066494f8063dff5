// Attaching C++ objects to child controls.

#include "win/Control.h"

#include <algorithm>
#include <vector>

namespace {

// Every attached object of this process. Owner-drawn lists ask their parent about each
// line they add, and under Wine window properties and child look-ups are round trips to
// the server; a program has a handful of attached controls, so a short list searched in
// process answers faster. Windows live on the user-interface thread only.
std::vector<Control*>& attachedControls()
{
    static std::vector<Control*> controls;
    return controls;
}

} // namespace

Control::~Control()
{
    detach();
}

void Control::attach(HWND window, bool subclassing)
{
    detach();
    hwnd_ = window;
    if (!hwnd_)
        return;
    parent_ = GetParent(hwnd_);
    id_ = GetDlgCtrlID(hwnd_);
    attachedControls().push_back(this);
    if (subclassing) {
        previousProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Control::subclassProc)));
    }
}

void Control::detach()
{
    if (!hwnd_)
        return;
    if (previousProc_ && IsWindow(hwnd_))
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
    std::vector<Control*>& controls = attachedControls();
    controls.erase(std::remove(controls.begin(), controls.end(), this), controls.end());
    previousProc_ = nullptr;
    defaultRan_ = nullptr;
    hwnd_ = nullptr;
    parent_ = nullptr;
    id_ = 0;
}

Control* Control::fromWindow(HWND window)
{
    if (!window)
        return nullptr;
    for (Control* control : attachedControls())
        if (control->hwnd_ == window)
            return control;
    return nullptr;
}

Control* Control::fromChild(HWND parent, int id)
{
    for (Control* control : attachedControls())
        if (control->parent_ == parent && control->id_ == id)
            return control;
    return nullptr;
}

LRESULT Control::windowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return defaultProc(message, wParam, lParam);
}

LRESULT Control::defaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (defaultRan_)
        *defaultRan_ = true;
    if (previousProc_)
        return CallWindowProcA(previousProc_, hwnd_, message, wParam, lParam);
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Control::subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Control* self = fromWindow(window);
    if (!self)
        return DefWindowProcA(window, message, wParam, lParam);
    WNDPROC previous = self->previousProc_;
    if (message == WM_NCDESTROY) {
        LRESULT result = CallWindowProcA(previous, window, message, wParam, lParam);
        self->detach();
        if (self->deleteWithWindow_)
            delete self;
        return result;
    }
    // Whether the control's own procedure already had this message: after an exception it
    // gets the message only if it has not, or a line would be added twice. Messages sent
    // while this one is handled have their own flag.
    bool ran = false;
    bool* outer = self->defaultRan_;
    self->defaultRan_ = &ran;
    // The object may have let go of the window meanwhile (or be gone): only one still
    // attached to it gets the outer flag back.
    auto restore = [&] {
        if (fromWindow(window) == self)
            self->defaultRan_ = outer;
    };
    LRESULT result = 0;
    try {
        result = self->windowProc(message, wParam, lParam);
    } catch (...) {
        restore();
        return ran ? 0 : CallWindowProcA(previous, window, message, wParam, lParam);
    }
    restore();
    return result;
}
