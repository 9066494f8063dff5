#pragma once
// Base of our C++ objects for child controls: owner-draw and colour requests are reflected
// to them by their parent Dialog, and they may subclass the control to answer messages.

#include <windows.h>

class Control {
public:
    Control() = default;
    virtual ~Control();

    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Binds this object to an existing child window. With subclassing, windowProc sees
    // every message of the control before its class does.
    void attach(HWND window, bool subclassing = false);
    void detach();
    HWND hwnd() const { return hwnd_; }

    // For objects made by a window class's own procedure: deleted once their window has
    // gone (after WM_NCDESTROY), since nothing else holds them.
    void deleteWithWindow() { deleteWithWindow_ = true; }

    static Control* fromWindow(HWND window);
    // The object attached to the parent's child with this identifier, as owner-draw
    // measure requests name it.
    static Control* fromChild(HWND parent, int id);

    // Reflected from the parent; return false to let the parent's default handling run.
    virtual bool drawItem(DRAWITEMSTRUCT&) { return false; }
    virtual bool measureItem(MEASUREITEMSTRUCT&) { return false; }
    // Answer to WM_CTLCOLOR*: a brush, or nullptr for the default.
    virtual HBRUSH controlColor(HDC, UINT) { return nullptr; }

protected:
    virtual LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK subclassProc(HWND, UINT, WPARAM, LPARAM);

    HWND hwnd_ = nullptr;
    HWND parent_ = nullptr;
    int id_ = 0;
    WNDPROC previousProc_ = nullptr;
    bool deleteWithWindow_ = false;
    // Set by defaultProc for the message subclassProc is handling.
    bool* defaultRan_ = nullptr;
};
