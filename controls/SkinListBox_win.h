#pragma once
// The owner-drawn list box of the file list and the rules list: one line per string, the
// selection in the window's scheme colours.

#include "base/LineRuns.h"
#include "win/Control.h"

#include <string>
#include <vector>

class SkinListBox : public Control {
public:
    // Binds the object to the list box and starts keeping a copy of its lines.
    void attachList(HWND listBox);
    // The list box's lines, first to last, without asking the list box: the copy follows
    // every line added, inserted, deleted or emptied through the list box's messages,
    // whoever sends them.
    const std::vector<std::string>& lines() const
    {
        applyPendingDeletes();
        return lines_;
    }

    // For a batch of deletions and insertions sent by the caller (as updating the list box
    // by runs does), the copy stops following them one by one, which would move the rest
    // of the copy at every line; takeRuns() then brings it in step in one pass.
    void pauseFollowing() { following_ = false; }
    void takeRuns(const std::vector<LineRun>& runs, const std::vector<std::string_view>& after);

    void setSelectedBackground(COLORREF colour) { selectedBackground_ = colour; }
    void setSelectedText(COLORREF colour) { selectedText_ = colour; }
    void setFocusFrame(COLORREF colour) { focusFrame_ = colour; }
    void setFixedLineHeight(int height) { fixedLineHeight_ = height; }

    bool drawItem(DRAWITEMSTRUCT& draw) override;
    bool measureItem(MEASUREITEMSTRUCT& measure) override;

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Lines deleted one by one from the last to the first (as removing a selection does)
    // are taken out of the copy together, in one pass, when the copy is next read.
    void applyPendingDeletes() const;

    mutable std::vector<std::string> lines_;
    mutable std::vector<std::size_t> pendingDeletes_;
    COLORREF normalBackground_ = RGB(255, 255, 255);
    COLORREF selectedBackground_ = RGB(100, 150, 200);
    COLORREF selectedText_ = RGB(255, 255, 255);
    COLORREF focusFrame_ = RGB(180, 220, 250);
    int fixedLineHeight_ = 0;
    bool following_ = true;
    // Every single-line text measures the height of the font, whatever its letters; the
    // first measurement is kept so that filling 100,000 lines does not measure each.
    int measuredLineHeight_ = 0;
};
