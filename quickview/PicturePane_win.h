#pragma once
// The quick view's picture pane: a static control that paints the picture it holds.

#include "quickview/PictureData_win.h"
#include "win/Control.h"

#include <string>

class PicturePane : public Control {
public:
    // The static control (no text, child, visible, identifier 0xFFFF) on the rectangle
    // of the parent's client area. False when the window could not be made.
    bool create(HWND parent, const RECT& rect);
    void destroy();

    // 1 when the file could be opened (the pane then holds its picture, or nothing when it
    // did not decode), 0 when it could not (the previous picture stays). A codec picture is
    // kept at the size the pane shows it.
    int load(const std::string& path);
    const PictureData& picture() const { return picture_; }

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void paint();

    PictureData picture_;
};
