// Drawing and measuring the lines of the owner-drawn list boxes.

#include "controls/SkinListBox_win.h"

#include "win/ControlText.h"
#include "win/Handles.h"

void SkinListBox::attachList(HWND listBox)
{
    attach(listBox, true);
    pendingDeletes_.clear();
    lines_ = listBoxLines(listBox);
}

void SkinListBox::applyPendingDeletes() const
{
    if (pendingDeletes_.empty())
        return;
    // The indexes descend, so each names a line of the copy as it stands now.
    std::vector<bool> gone(lines_.size(), false);
    for (std::size_t index : pendingDeletes_)
        gone[index] = true;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (gone[i])
            continue;
        if (kept != i)
            lines_[kept] = std::move(lines_[i]);
        ++kept;
    }
    lines_.resize(kept);
    pendingDeletes_.clear();
}

void SkinListBox::takeRuns(const std::vector<LineRun>& runs, const std::vector<std::string_view>& after)
{
    applyPendingDeletes();
    following_ = true;
    std::vector<std::string> next;
    next.reserve(lines_.size() + changedLines(runs));
    std::size_t kept = 0;
    for (const LineRun& run : runs) {
        for (; kept < run.at && kept < lines_.size(); ++kept)
            next.push_back(std::move(lines_[kept]));
        for (std::size_t i = 0; i < run.inserted; ++i)
            next.emplace_back(after[run.from + i]);
        kept += run.removed;
    }
    for (; kept < lines_.size(); ++kept)
        next.push_back(std::move(lines_[kept]));
    lines_ = std::move(next);
}

LRESULT SkinListBox::windowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!following_ && (message == LB_ADDSTRING || message == LB_INSERTSTRING || message == LB_DELETESTRING))
        return defaultProc(message, wParam, lParam);
    switch (message) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
        applyPendingDeletes();
        const LRESULT index = defaultProc(message, wParam, lParam);
        if (index >= 0 && static_cast<std::size_t>(index) <= lines_.size()) {
            const char* text = reinterpret_cast<const char*>(lParam);
            lines_.insert(lines_.begin() + index, text ? std::string(text) : std::string());
        }
        return index;
    }
    case LB_DELETESTRING: {
        const LRESULT remaining = defaultProc(message, wParam, lParam);
        if (remaining != LB_ERR && wParam < lines_.size()) {
            // Erasing each line at once would move the rest of the copy every time.
            if (!pendingDeletes_.empty() && wParam >= pendingDeletes_.back())
                applyPendingDeletes();
            pendingDeletes_.push_back(wParam);
        }
        return remaining;
    }
    case LB_RESETCONTENT:
        pendingDeletes_.clear();
        lines_.clear();
        return defaultProc(message, wParam, lParam);
    case LB_INITSTORAGE:
        lines_.reserve(lines_.size() + wParam);
        return defaultProc(message, wParam, lParam);
    default:
        return defaultProc(message, wParam, lParam);
    }
}

bool SkinListBox::drawItem(DRAWITEMSTRUCT& draw)
{
    applyPendingDeletes();
    if (draw.itemID == static_cast<UINT>(-1) || lines_.empty())
        return true;

    static const std::string none;
    const std::string& text = draw.itemID < lines_.size() ? lines_[draw.itemID] : none;
    HDC dc = draw.hDC;
    const SavedDcState saved(dc);

    const COLORREF fill = (draw.itemState & ODS_SELECTED) ? selectedBackground_ : normalBackground_;
    if (draw.itemState & ODS_SELECTED) {
        SetTextColor(dc, selectedText_);
        SetBkColor(dc, selectedBackground_);
    } else {
        SetBkColor(dc, normalBackground_);
    }
    const UniqueGdiObject brush(CreateSolidBrush(fill));
    FillRect(dc, &draw.rcItem, static_cast<HBRUSH>(brush.get()));

    if (!text.empty()) {
        RECT textRect = draw.rcItem;
        textRect.left += 4;
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if (draw.itemState & ODS_FOCUS) {
        const UniqueGdiObject frame(CreateSolidBrush(focusFrame_));
        FrameRect(dc, &draw.rcItem, static_cast<HBRUSH>(frame.get()));
    }
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
        const WindowDc dc(hwnd());
        SIZE size = {0, 0};
        GetTextExtentPoint32A(dc.get(), "W", 1, &size);
        measuredLineHeight_ = size.cy;
    }
    measure.itemHeight = static_cast<UINT>(measuredLineHeight_ + 3);
    return true;
}
