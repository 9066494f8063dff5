#pragma once
// A static text or icon of the skinned frame: its own text and background colours, optionally
// transparent over a picture, no prefix processing (an ampersand shows as itself).

#include "win/Control.h"
#include "win/Handles.h"

#include <string>

class SkinLabel : public Control {
public:
    // A visible child static; SS_NOPREFIX is always added to the extra styles.
    bool create(HWND parent, const std::string& text, const RECT& rect, DWORD extraStyle = 0);

    // Keeps the text colour; unless transparent, also the background colour, with a new
    // brush (the old one is deleted). Returns the background brush.
    HBRUSH setColours(COLORREF text, COLORREF background);
    void setTransparent(bool transparent) { transparent_ = transparent; }
    void setFont(HFONT font);
    // Drawn at the label's top-left corner in the given size; the label becomes transparent.
    void setIcon(HICON icon, int width, int height);
    // Over a picture, the parent's part under the label is drawn again before the new text.
    void setCaption(const std::string& text);

    COLORREF textColour() const { return textColour_; }
    bool transparent() const { return transparent_; }

    HBRUSH controlColor(HDC dc, UINT message) override;

private:
    COLORREF textColour_ = RGB(0, 0, 0);
    COLORREF backgroundColour_ = RGB(255, 255, 255);
    UniqueGdiObject brush_;
    bool transparent_ = false;
    HICON icon_ = nullptr;
    int iconWidth_ = 0;
    int iconHeight_ = 0;
    HFONT font_ = nullptr;
};
