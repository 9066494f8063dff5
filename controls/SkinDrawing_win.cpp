// Small drawing steps of the skin.

#include "controls/SkinDrawing_win.h"

#include "win/Handles.h"

#include <vector>

namespace skindraw {

namespace {

// A new pen selected into the DC for the life of the object; then the old pen goes back
// and the new one is deleted.
class ScopedPen {
public:
    ScopedPen(HDC dc, int style, COLORREF colour) : pen_(CreatePen(style, 1, colour)), selected_(dc, pen_.get()) {}

private:
    UniqueGdiObject pen_;
    SelectedObject selected_;
};

} // namespace

void polyline(HDC dc, COLORREF colour, std::initializer_list<POINT> points)
{
    ScopedPen pen(dc, PS_SOLID, colour);
    const std::vector<POINT> list(points);
    Polyline(dc, list.data(), static_cast<int>(list.size()));
}

void pixels(HDC dc, COLORREF colour, std::initializer_list<POINT> points)
{
    for (const POINT& p : points)
        SetPixel(dc, p.x, p.y, colour);
}

void roundRect(HDC dc, const RECT& rect, COLORREF fill, COLORREF frameColour, int cornerWidth, int cornerHeight)
{
    ScopedPen pen(dc, PS_INSIDEFRAME, frameColour);
    const UniqueGdiObject brush(CreateSolidBrush(fill));
    const SelectedObject selected(dc, brush.get());
    RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, cornerWidth, cornerHeight);
}

void ring(HDC dc, const RECT& rect, int penStyle, COLORREF colour, int cornerWidth, int cornerHeight)
{
    ScopedPen pen(dc, penStyle, colour);
    const SelectedObject hollow(dc, GetStockObject(HOLLOW_BRUSH));
    RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, cornerWidth, cornerHeight);
}

void frame(HDC dc, const RECT& rect, COLORREF colour)
{
    const UniqueGdiObject brush(CreateSolidBrush(colour));
    FrameRect(dc, &rect, static_cast<HBRUSH>(brush.get()));
}

} // namespace skindraw
