#pragma once
// Where the picture pane draws a picture: fitted to the pane's aspect, never larger than the
// picture's own pixel size, centred, and kept inside the pane.

struct PaneRect {
    int left;
    int top;
    int right;
    int bottom;
};

inline bool operator==(const PaneRect& a, const PaneRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The destination for a picture of width x height device pixels in the pane. False when
// the picture has no area (an empty holder, or a picture that reports 0 pixels in one
// direction): its aspect is undefined and nothing is to be drawn.
bool fitPicture(int width, int height, const PaneRect& pane, PaneRect& destination);
