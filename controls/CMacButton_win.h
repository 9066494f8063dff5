#pragma once
// The skinned push button: a rounded, shaded face in a colour scheme, an optional 16 x 16
// icon left of the text, a hover ring, an engraved look when disabled, and its own tooltip.

#include "controls/SkinControl_win.h"
#include "win/Handles.h"

#include <string>

class CMacButton : public SkinControl {
public:
    enum VisualState { normal = 0, hot = 1, pressed = 2 };

    CMacButton();
    ~CMacButton() override;

    // Takes over an existing button: owner drawing from now on, other styles unchanged.
    void subclass(HWND button);
    // Creates a child button and takes it over.
    bool create(HWND parent, int id, const char* text, const RECT& rect, DWORD style = WS_CHILD | WS_VISIBLE);

    // The icon resource of the program, at 16 x 16.
    void setIcon(int resourceId);
    // Made on the first call: a tooltip over the whole button with a 300 ms delay.
    void setTooltip(const std::string& text);
    void enable(bool enabled);

    VisualState visualState() const { return state_; }
    HWND tooltip() const { return tooltip_.get(); }

    bool drawItem(DRAWITEMSTRUCT& draw) override;

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void drawFace(HDC dc, const RECT& r, bool selected) const;
    void onMouseMove(LPARAM lParam);
    void relayToTooltip(UINT message, WPARAM wParam, LPARAM lParam);

    VisualState state_ = normal;
    // Clear: the next paint redraws only the ring and the text over the face on screen.
    bool repaintFace_ = true;
    bool entering_ = false;
    UniqueIcon icon_;
    int iconWidth_ = 0;
    int iconHeight_ = 0;
    int cornerX_ = 6;
    int cornerY_ = 6;
    UniqueWindow tooltip_;
    std::string tooltipText_;
};

// Registers the window classes "CMacButton" and "CMacCheckBox": windows of these classes
// are buttons that a skinned object takes over at creation and lets go with the window.
// Safe to call more than once.
void registerSkinControlClasses();
