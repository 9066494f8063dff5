// Drawing and measuring the lines of the owner-drawn list boxes.

#include "controls/SkinListBox_win.h"

#include "win/ControlText.h"

bool SkinListBox::drawItem(DRAWITEMSTRUCT& draw)
{
    if (draw.itemID == static_cast<UINT>(-1) || SendMessageA(draw.hwndItem, LB_GETCOUNT, 0, 0) <= 0)
        return true;

    const std::string text = listBoxLine(draw.hwndItem, static_cast<int>(draw.itemID));
    HDC dc = draw.hDC;
    const int saved = SaveDC(dc);

    const COLORREF fill = (draw.itemState & ODS_SELECTED) ? selectedBackground_ : normalBackground_;
    if (draw.itemState & ODS_SELECTED) {
        SetTextColor(dc, selectedText_);
        SetBkColor(dc, selectedBackground_);
    } else {
        SetBkColor(dc, normalBackground_);
    }
    HBRUSH brush = CreateSolidBrush(fill);
    FillRect(dc, &draw.rcItem, brush);
    DeleteObject(brush);

    if (!text.empty()) {
        RECT textRect = draw.rcItem;
        textRect.left += 4;
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if (draw.itemState & ODS_FOCUS) {
        HBRUSH frame = CreateSolidBrush(focusFrame_);
        FrameRect(dc, &draw.rcItem, frame);
        DeleteObject(frame);
    }
    RestoreDC(dc, saved);
    return true;
}

bool SkinListBox::measureItem(MEASUREITEMSTRUCT& measure)
{
    if (fixedLineHeight_ != 0) {
        measure.itemHeight = static_cast<UINT>(fixedLineHeight_);
        return true;
    }
    if (measuredLineHeight_ == 0) {
        // Measured in the list's device context as obtained, without selecting a font.
        HDC dc = GetDC(hwnd());
        SIZE size = {0, 0};
        GetTextExtentPoint32A(dc, "W", 1, &size);
        ReleaseDC(hwnd(), dc);
        measuredLineHeight_ = size.cy;
    }
    measure.itemHeight = static_cast<UINT>(measuredLineHeight_ + 3);
    return true;
}
