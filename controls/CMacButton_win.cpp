// Drawing and mouse handling of the skinned push button.

#include "controls/CMacButton_win.h"

#include "controls/SkinDrawing_win.h"
#include "win/ControlText.h"

#include <commctrl.h>
#include <windowsx.h>

CMacButton::CMacButton() = default;

CMacButton::~CMacButton() = default;

void CMacButton::subclass(HWND button)
{
    if (!button)
        return;
    takeOver(button);
}

bool CMacButton::create(HWND parent, int id, const char* text, const RECT& rect, DWORD style)
{
    HWND button = CreateWindowExA(0, "BUTTON", text, style | BS_PUSHBUTTON, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    if (!button)
        return false;
    subclass(button);
    return true;
}

void CMacButton::setIcon(int resourceId)
{
    icon_.reset(static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId), IMAGE_ICON, 16, 16, 0)));
    iconWidth_ = icon_ ? 16 : 0;
    iconHeight_ = icon_ ? 16 : 0;
    if (hwnd())
        InvalidateRect(hwnd(), nullptr, TRUE);
}

void CMacButton::setTooltip(const std::string& text)
{
    if (!hwnd())
        return;
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = GetParent(hwnd());
    info.uId = reinterpret_cast<UINT_PTR>(hwnd());
    if (!tooltip_) {
        tooltip_.reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                                       GetModuleHandleA(nullptr), nullptr));
        if (!tooltip_)
            return;
        SendMessageA(tooltip_.get(), TTM_SETDELAYTIME, TTDT_AUTOMATIC, MAKELPARAM(300, 0));
        SendMessageA(tooltip_.get(), WM_SETFONT, static_cast<WPARAM>(SendMessageA(hwnd(), WM_GETFONT, 0, 0)), FALSE);
    } else {
        SendMessageA(tooltip_.get(), TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    }
    tooltipText_ = text;
    info.lpszText = &tooltipText_[0];
    SendMessageA(tooltip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void CMacButton::enable(bool enabled)
{
    if (hwnd())
        EnableWindow(hwnd(), enabled ? TRUE : FALSE);
}

void CMacButton::drawFace(HDC dc, const RECT& r, bool selected) const
{
    const int L = r.left, T = r.top, Rt = r.right, B = r.bottom;
    const COLORREF c0 = toColorRef(colours().c[0]), c1 = toColorRef(colours().c[1]);
    const COLORREF c2 = toColorRef(colours().c[2]), c3 = toColorRef(colours().c[3]);
    const COLORREF c4 = toColorRef(colours().c[4]);
    const COLORREF m13 = toColorRef(colours().m13), m34 = toColorRef(colours().m34);
    const bool corners = cornerX_ > 4;

    skindraw::roundRect(dc, r, selected ? m13 : c1, c4, cornerX_, cornerY_);
    if (!selected) {
        skindraw::polyline(dc, c0, {{L + 2, B - 4}, {L + 2, T + 2}, {Rt - 3, T + 2}});
        SetPixel(dc, L + 3, T + 3, c0);
        skindraw::polyline(dc, m13, {{L + 3, B - 3}, {Rt - 4, B - 3}, {Rt - 4, B - 4}, {Rt - 3, B - 4}, {Rt - 3, T + 2}});
        skindraw::polyline(dc, c3, {{L + 3, B - 2}, {Rt - 3, B - 2}, {Rt - 3, B - 3}, {Rt - 2, B - 3}, {Rt - 2, T + 2}});
        if (corners)
            skindraw::pixels(dc, m13, {{L + 1, T + 2}, {L + 2, T + 1}, {Rt - 3, T + 1}, {Rt - 2, T + 2}, {L + 2, B - 2}, {L + 1, B - 3}});
    } else {
        skindraw::polyline(dc, m34, {{L + 1, B - 4}, {L + 1, T + 2}, {L + 2, T + 2}, {L + 2, T + 1}, {Rt - 3, T + 1}});
        skindraw::polyline(dc, c3, {{L + 2, B - 4}, {L + 2, T + 3}, {L + 3, T + 3}, {L + 3, T + 2}, {Rt - 3, T + 2}});
        skindraw::polyline(dc, c2, {{L + 3, B - 2}, {Rt - 4, B - 2}, {Rt - 2, B - 4}, {Rt - 2, T + 2}});
        skindraw::polyline(dc, c1, {{L + 3, B - 3}, {Rt - 4, B - 3}, {Rt - 4, B - 4}, {Rt - 3, B - 4}, {Rt - 3, T + 2}});
        if (corners) {
            skindraw::pixels(dc, c1, {{Rt - 2, T + 2}, {L + 2, B - 2}});
            skindraw::pixels(dc, c3, {{Rt - 3, T + 1}, {L + 1, B - 3}});
        }
    }
    if (corners)
        skindraw::pixels(dc, c4, {{L, T + 2}, {L + 2, T}, {Rt - 3, T}, {Rt - 1, T + 2}, {Rt - 1, B - 3}, {Rt - 3, B - 1},
                                  {L + 2, B - 1}, {L, B - 3}});

    if (icon_) {
        const int x = L + 3;
        const int y = T + (B - T - iconHeight_) / 2;
        if (hwnd() && !IsWindowEnabled(hwnd()))
            DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon_.get()), 0, x, y, iconWidth_, iconHeight_,
                       DST_ICON | DSS_DISABLED);
        else
            DrawIconEx(dc, x, y, icon_.get(), iconWidth_, iconHeight_, 0, nullptr, DI_NORMAL);
    }
}

bool CMacButton::drawItem(DRAWITEMSTRUCT& draw)
{
    HDC dc = draw.hDC;
    const RECT r = draw.rcItem;
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    const bool disabled = (draw.itemState & ODS_DISABLED) != 0;

    if (r.right - r.left < 25)
        cornerX_ = cornerY_ = 0;
    if (repaintFace_)
        drawFace(dc, r, selected);
    else
        repaintFace_ = true;

    const SavedDcState saved(dc);
    SetBkMode(dc, TRANSPARENT);
    const SelectedObject font(dc, reinterpret_cast<HFONT>(SendMessageA(draw.hwndItem, WM_GETFONT, 0, 0)));
    if (selected)
        SetTextColor(dc, toColorRef(colours().c[7]));

    const RECT ring = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    if (state_ == hot || state_ == pressed)
        skindraw::ring(dc, ring, PS_INSIDEFRAME, toColorRef(colours().c[6]), cornerX_, cornerY_);
    else
        skindraw::ring(dc, ring, PS_SOLID, toColorRef(colours().c[3]), cornerX_, cornerY_);

    RECT textRect = r;
    if (icon_)
        textRect.left += iconWidth_ + 5;
    textRect.left += 1;
    textRect.right -= 1;
    const std::string text = windowText(draw.hwndItem);
    if (!text.empty()) {
        const UINT format = (icon_ ? DT_LEFT : DT_CENTER) | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
        if (disabled) {
            RECT shadow = textRect;
            OffsetRect(&shadow, 1, 1);
            SetTextColor(dc, RGB(255, 255, 255));
            DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &shadow, format);
            SetTextColor(dc, RGB(130, 130, 130));
        }
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect, format);
    }
    return true;
}

void CMacButton::onMouseMove(LPARAM lParam)
{
    const bool captured = hasCapture();
    if (pointInside(lParam)) {
        if (state_ == hot || state_ == pressed) {
            if (!captured) {
                repaintFace_ = true;
                captureMouse();
            }
            return;
        }
        if (!captured) {
            entering_ = true;
            captureMouse();
        }
        state_ = hot;
        if (entering_) {
            entering_ = false;
            repaintFace_ = true;
        } else {
            repaintFace_ = false;
        }
        InvalidateRect(hwnd(), nullptr, FALSE);
        return;
    }
    const VisualState previous = state_;
    releaseMouse();
    state_ = normal;
    // Leaving a hot button changes only the ring; leaving while held down also lifts the
    // face, which must then be drawn again.
    repaintFace_ = previous == pressed;
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void CMacButton::relayToTooltip(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!tooltip_)
        return;
    MSG msg = {};
    msg.hwnd = hwnd();
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = static_cast<DWORD>(GetMessageTime());
    const DWORD pos = GetMessagePos();
    msg.pt.x = GET_X_LPARAM(pos);
    msg.pt.y = GET_Y_LPARAM(pos);
    SendMessageA(tooltip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

LRESULT CMacButton::windowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
        relayToTooltip(message, wParam, lParam);
        onMouseMove(lParam);
        break;
    case WM_LBUTTONDOWN:
        relayToTooltip(message, wParam, lParam);
        state_ = pressed;
        break;
    case WM_LBUTTONUP:
        relayToTooltip(message, wParam, lParam);
        state_ = normal;
        break;
    case WM_LBUTTONDBLCLK:
        // Quick repeated clicks each count as a click.
        return windowProc(WM_LBUTTONDOWN, wParam, lParam);
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_MBUTTONDOWN: case WM_MBUTTONUP:
        relayToTooltip(message, wParam, lParam);
        break;
    case WM_CAPTURECHANGED: {
        if (state_ == hot) {
            state_ = normal;
            InvalidateRect(hwnd(), nullptr, FALSE);
        }
        POINT cursor;
        if (GetCursorPos(&cursor) && WindowFromPoint(cursor) == hwnd())
            entering_ = true;
        break;
    }
    case WM_DESTROY:
        state_ = normal;
        tooltip_.reset();
        break;
    default:
        break;
    }
    return SkinControl::windowProc(message, wParam, lParam);
}
