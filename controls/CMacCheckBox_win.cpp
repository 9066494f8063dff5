// Drawing, mouse and keyboard of the skinned check box.

#include "controls/CMacCheckBox_win.h"

#include "controls/SkinDrawing_win.h"
#include "win/ControlText.h"
#include "win/Handles.h"

#include <string>

namespace {

constexpr int boxSize = 12;

// Top-left corner of the box inside the control's rectangle.
POINT boxOrigin(const RECT& r)
{
    const int free = r.bottom - r.top - boxSize;
    // Floor, also for controls lower than the box.
    const int half = free >= 0 ? free / 2 : -((-free + 1) / 2);
    return POINT{r.left, r.top + half};
}

} // namespace

CMacCheckBox::CMacCheckBox() = default;

void CMacCheckBox::subclass(HWND checkBox)
{
    if (!checkBox)
        return;
    checked_ = SendMessageA(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
    takeOver(checkBox);
}

void CMacCheckBox::setCheck(bool checked)
{
    const bool changed = checked != checked_;
    if (hwnd())
        defaultProc(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    checked_ = checked;
    if (changed)
        invalidateBox();
}

void CMacCheckBox::invalidateBox()
{
    if (!hwnd())
        return;
    RECT client;
    GetClientRect(hwnd(), &client);
    const POINT origin = boxOrigin(client);
    const RECT box = {origin.x, origin.y, origin.x + boxSize + 2, origin.y + boxSize};
    InvalidateRect(hwnd(), &box, TRUE);
}

bool CMacCheckBox::drawItem(DRAWITEMSTRUCT& draw)
{
    // Focus changes draw nothing of their own: the check box shows no focus mark.
    if (draw.itemAction == ODA_FOCUS)
        return true;
    HDC dc = draw.hDC;
    const RECT r = draw.rcItem;
    const bool disabled = (draw.itemState & ODS_DISABLED) != 0;
    const COLORREF c0 = toColorRef(colours().c[0]), c1 = toColorRef(colours().c[1]);
    const COLORREF c3 = toColorRef(colours().c[3]), c4 = toColorRef(colours().c[4]);
    const COLORREF m13 = toColorRef(colours().m13);

    const POINT origin = boxOrigin(r);
    RECT box = {origin.x, origin.y, origin.x + boxSize, origin.y + boxSize};
    skindraw::frame(dc, box, disabled ? c3 : c4);
    InflateRect(&box, -1, -1);
    const int I = box.left, J = box.top, right = box.right - 1, bottom = box.bottom - 1;
    const COLORREF topLeft = pressed_ ? m13 : c0;
    const COLORREF bottomRight = pressed_ ? c0 : m13;
    skindraw::polyline(dc, topLeft, {{I, bottom}, {I, J}, {right + 1, J}});
    skindraw::polyline(dc, bottomRight, {{I + 1, bottom}, {right, bottom}, {right, J}});
    // The two corners where the light and the dark edge meet.
    skindraw::pixels(dc, c1, {{right, J}, {I, bottom}});

    if (checked_) {
        const COLORREF mark = disabled ? c3 : c4;
        skindraw::polyline(dc, mark, {{I + 1, J + 4}, {I + 4, J + 7}, {I + 12, J - 1}});
        skindraw::polyline(dc, mark, {{I + 2, J + 4}, {I + 4, J + 6}, {I + 10, J}});
        if (!disabled) {
            skindraw::polyline(dc, c3, {{I + 4, J + 8}, {I + 9, J + 3}, {I + 9, J + 5}});
            skindraw::polyline(dc, m13, {{I + 2, J + 6}, {I + 4, J + 8}});
            skindraw::polyline(dc, m13, {{I + 5, J + 8}, {I + 9, J + 4}});
            skindraw::pixels(dc, c3, {{I + 11, J + 1}});
            skindraw::pixels(dc, m13, {{I + 12, J + 1}, {I + 11, J + 2}});
        }
    }

    const std::string text = windowText(draw.hwndItem);
    if (!text.empty()) {
        const SavedDcState saved(dc);
        RECT textRect = r;
        textRect.left = r.left + 17;
        textRect.top = r.top + 1;
        SetBkMode(dc, TRANSPARENT);
        const SelectedObject font(dc, reinterpret_cast<HFONT>(SendMessageA(draw.hwndItem, WM_GETFONT, 0, 0)));
        if (disabled)
            SetTextColor(dc, toColorRef(colours().c[8]));
        SIZE extent = {0, 0};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        UINT format = DT_NOPREFIX;
        if (extent.cx <= textRect.right - textRect.left)
            format |= DT_SINGLELINE | DT_VCENTER;
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect, format);
    }
    return true;
}

void CMacCheckBox::notifyParent(bool post)
{
    HWND parent = GetParent(hwnd());
    if (!parent)
        return;
    const WPARAM command = MAKEWPARAM(GetDlgCtrlID(hwnd()), BN_CLICKED);
    if (post)
        PostMessageA(parent, WM_COMMAND, command, reinterpret_cast<LPARAM>(hwnd()));
    else
        SendMessageA(parent, WM_COMMAND, command, reinterpret_cast<LPARAM>(hwnd()));
}

void CMacCheckBox::onButtonDown()
{
    pressed_ = true;
    SetFocus(hwnd());
    captureMouse();
    invalidateBox();
}

LRESULT CMacCheckBox::windowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        onButtonDown();
        return 0;
    case WM_MOUSEMOVE:
        if (hasCapture()) {
            const bool inside = pointInside(lParam);
            if (inside != pressed_) {
                pressed_ = inside;
                invalidateBox();
            }
            return 0;
        }
        break;
    case WM_LBUTTONUP: {
        const bool wasPressed = pressed_;
        releaseMouse();
        if (!wasPressed)
            return 0;
        if (pointInside(lParam))
            checked_ = !checked_;
        pressed_ = false;
        defaultProc(BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
        invalidateBox();
        notifyParent(true);
        return 0;
    }
    case WM_CAPTURECHANGED:
        // Capture taken away mid-press (another window, a dialog): the press is over.
        if (pressed_ && !spacePressed_) {
            pressed_ = false;
            invalidateBox();
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) {
            if (!(lParam & 0x40000000)) {
                pressed_ = true;
                spacePressed_ = true;
                invalidateBox();
            }
            return 0;
        }
        break;
    case WM_KEYUP:
        if (wParam == VK_SPACE) {
            if (spacePressed_) {
                spacePressed_ = false;
                pressed_ = false;
                checked_ = !checked_;
                invalidateBox();
            }
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == ' ')
            return 0;
        break;
    case WM_KILLFOCUS:
        if (spacePressed_) {
            spacePressed_ = false;
            pressed_ = false;
            invalidateBox();
        }
        break;
    case BM_GETCHECK:
        return checked_ ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
        setCheck(wParam == BST_CHECKED);
        return 0;
    case BM_GETSTATE: {
        const LRESULT state = defaultProc(message, wParam, lParam) & ~static_cast<LRESULT>(BST_CHECKED | BST_INDETERMINATE | BST_PUSHED);
        return state | (checked_ ? BST_CHECKED : 0) | (pressed_ ? BST_PUSHED : 0);
    }
    case BM_CLICK:
        // A click by program (automation, the dialog manager's mnemonics): toggled and
        // told at once, as the system's own buttons tell BM_CLICK before it returns.
        checked_ = !checked_;
        pressed_ = false;
        defaultProc(BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
        invalidateBox();
        notifyParent(false);
        return 0;
    default:
        break;
    }
    return SkinControl::windowProc(message, wParam, lParam);
}
