// The frame's labels: colours, transparency and the caption's redraw over the strip.

#include "controls/SkinLabel_win.h"

bool SkinLabel::create(HWND parent, const std::string& text, const RECT& rect, DWORD extraStyle)
{
    HWND label = CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX | extraStyle,
                                 rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!label)
        return false;
    attach(label);
    if (!brush_)
        brush_.reset(CreateSolidBrush(backgroundColour_));
    return true;
}

HBRUSH SkinLabel::setColours(COLORREF text, COLORREF background)
{
    textColour_ = text;
    if (!transparent_) {
        backgroundColour_ = background;
        brush_.reset(CreateSolidBrush(background));
    }
    return static_cast<HBRUSH>(brush_.get());
}

void SkinLabel::setFont(HFONT font)
{
    font_ = font;
    if (hwnd())
        SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void SkinLabel::setIcon(HICON icon, int width, int height)
{
    icon_ = icon;
    iconWidth_ = width;
    iconHeight_ = height;
    transparent_ = true;
    if (hwnd())
        InvalidateRect(hwnd(), nullptr, TRUE);
}

void SkinLabel::setCaption(const std::string& text)
{
    if (!hwnd())
        return;
    if (transparent_) {
        HWND parent = GetParent(hwnd());
        RECT under;
        GetWindowRect(hwnd(), &under);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&under), 2);
        InvalidateRect(parent, &under, TRUE);
    }
    SetWindowTextA(hwnd(), text.c_str());
}

HBRUSH SkinLabel::controlColor(HDC dc, UINT)
{
    SetTextColor(dc, textColour_);
    if (transparent_) {
        SetBkMode(dc, TRANSPARENT);
        if (icon_)
            DrawIconEx(dc, 0, 0, icon_, iconWidth_, iconHeight_, 0, nullptr, DI_NORMAL);
        return static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
    }
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, backgroundColour_);
    if (!brush_)
        brush_.reset(CreateSolidBrush(backgroundColour_));
    return static_cast<HBRUSH>(brush_.get());
}
