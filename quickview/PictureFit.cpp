// The picture pane's fit; the order of the steps decides which of several valid layouts wins.

#include "quickview/PictureFit.h"

bool fitPicture(int width, int height, const PaneRect& pane, PaneRect& destination)
{
    if (width <= 0 || height <= 0)
        return false;

    int left = pane.left;
    int top = pane.top;
    int right = pane.right;
    int bottom = pane.bottom;

    // Shape first: the pane's height (or width) decides the other side by the aspect.
    const double ratio = static_cast<double>(width) / static_cast<double>(height);
    if (ratio < 1.0) {
        const int m = static_cast<int>(ratio * (bottom - top));
        left = left + (right - m - left) / 2;
        right = m + left;
    } else if (ratio > 1.0) {
        const int m = static_cast<int>((right - left) / ratio);
        top = top + (bottom - top - m) / 2;
        bottom = m + top;
    }

    // Never larger than the picture itself: a smaller picture is centred at its own size.
    if (right - left > width) {
        left = left + (right - width - left) / 2;
        right = width + left;
    }
    if (bottom - top > height) {
        top = top + (bottom - top - height) / 2;
        bottom = height + top;
    }

    if (bottom > pane.bottom)
        bottom = pane.bottom;
    if (top < pane.top)
        top = pane.top;
    if (right > pane.right)
        right = pane.right;
    if (left < pane.left)
        left = pane.left;

    destination = {left, top, right, bottom};
    return true;
}
