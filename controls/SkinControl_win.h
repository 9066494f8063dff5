#pragma once
// Base of the skinned buttons: their colour scheme, taking a button over as owner-drawn, and
// following the mouse while it holds the capture.

#include "controls/SkinScheme.h"
#include "win/Control.h"

#include <windows.h>

#include <vector>

class SkinControl : public Control {
public:
    // 0 to 7; other values leave the scheme as it is.
    void setScheme(int scheme);
    int scheme() const { return scheme_; }
    // Appends c0 to c8 of the scheme, in order.
    void getSchemeColours(std::vector<COLORREF>& colours) const;

protected:
    SkinControl();

    // Owner drawing from now on, other styles unchanged; the control's messages come to
    // windowProc first.
    void takeOver(HWND button);
    const skin::SchemeColours& colours() const { return colours_; }

    bool hasCapture() const { return GetCapture() == hwnd(); }
    void captureMouse() { SetCapture(hwnd()); }
    void releaseMouse()
    {
        if (hasCapture())
            ReleaseCapture();
    }
    // Whether a mouse message's point (client coordinates) lies on the control.
    bool pointInside(LPARAM lParam) const;

    // Derived procedures end here rather than in defaultProc.
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void recomputeColours();

    int scheme_ = skin::defaultScheme;
    skin::SchemeColours colours_;
};

// The Win32 colour of a scheme colour.
inline COLORREF toColorRef(const skin::Rgb& c)
{
    return RGB(c.red, c.green, c.blue);
}
