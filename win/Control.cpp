// Attaching C++ objects to child controls.

#include "win/Control.h"

namespace {

// The property that ties a control window to its object. Looked up by atom: owner-drawn
// lists ask their parent about every line they add, and a property looked up by name
// costs an atom-table search each time.
LPCSTR controlProperty()
{
    static const ATOM atom = GlobalAddAtomA("Tessel.Control");
    return MAKEINTATOM(atom);
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
    SetPropA(hwnd_, controlProperty(), this);
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
    if (IsWindow(hwnd_))
        RemovePropA(hwnd_, controlProperty());
    previousProc_ = nullptr;
    hwnd_ = nullptr;
}

Control* Control::fromWindow(HWND window)
{
    return window ? static_cast<Control*>(GetPropA(window, controlProperty())) : nullptr;
}

LRESULT Control::windowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return defaultProc(message, wParam, lParam);
}

LRESULT Control::defaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
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
    try {
        if (message == WM_NCDESTROY) {
            LRESULT result = CallWindowProcA(previous, window, message, wParam, lParam);
            self->detach();
            return result;
        }
        return self->windowProc(message, wParam, lParam);
    } catch (...) {
        return CallWindowProcA(previous, window, message, wParam, lParam);
    }
}
