#pragma once
// Our own small ActiveX host: a child window that creates a control by class identifier,
// activates it in place to fill the window, and reaches it only through IDispatch by
// dispatch identifier. Base of the media and Flash panes.

#include "win/Handles.h"

#include <windows.h>
#include <ole2.h>

#include <string>

class AxWindow {
public:
    AxWindow() = default;
    virtual ~AxWindow();
    AxWindow(const AxWindow&) = delete;
    AxWindow& operator=(const AxWindow&) = delete;

    // Creates the window of our class className (registered on first use) with the style,
    // rectangle (parent's client coordinates), parent and identifier, and the control in
    // it with no saved state. On failure nothing is left: no window, no control, false.
    // OLE must be initialised on the calling thread.
    bool createControl(const char* className, const CLSID& clsid, DWORD style, const RECT& rect, HWND parent,
                       int id);
    // Deactivates and closes the control, releases every reference to it, destroys the
    // window. Also run when the parent destroys the window.
    void destroy();

    // The pane exists when its window does.
    HWND hwnd() const { return window_; }
    bool exists() const { return window_ != nullptr; }
    // The control's own in-place window (a child of ours), null for a windowless one.
    HWND controlWindow() const;

    void show(bool visible) const;

    // Calls through the control's dispatch interface; the HRESULT of Invoke.
    HRESULT putBool(DISPID id, bool value) const;
    HRESULT putText(DISPID id, const std::string& ansi) const;
    HRESULT getProperty(DISPID id, VARTYPE type, VARIANT& result) const;
    HRESULT callMethod(DISPID id, VARIANT* result = nullptr) const;

protected:
    // Every message of our window; the default lets the window procedure keep the
    // control's rectangle and tear it down.
    virtual LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    class Site;
    static LRESULT CALLBACK staticWindowProc(HWND, UINT, WPARAM, LPARAM);
    static bool registerClass(const char* className);
    bool activate(const CLSID& clsid);
    void releaseControl();
    HRESULT invoke(DISPID id, WORD flags, VARIANT* arguments, UINT count, VARIANT* result) const;

    HWND window_ = nullptr;
    Site* site_ = nullptr;
    ComPtr<IOleObject> object_;
    ComPtr<IOleInPlaceObject> inPlace_;
    ComPtr<IDispatch> dispatch_;
};
