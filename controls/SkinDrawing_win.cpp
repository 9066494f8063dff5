// Small drawing steps of the skin.

#include "controls/SkinDrawing_win.h"

#include <vector>

namespace skindraw {

namespace {

// Selects a new pen into the DC for the life of the object, then restores and deletes it.
class ScopedPen {
public:
    ScopedPen(HDC dc, int style, COLORREF colour)
        : dc_(dc), pen_(CreatePen(style, 1, colour)), old_(SelectObject(dc, pen_))
    {
    }
    ~ScopedPen()
    {
        SelectObject(dc_, old_);
        DeleteObject(pen_);
    }
    ScopedPen(const ScopedPen&) = delete;
    ScopedPen& operator=(const ScopedPen&) = delete;

private:
    HDC dc_;
    HPEN pen_;
    HGDIOBJ old_;
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
    HBRUSH brush = CreateSolidBrush(fill);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, cornerWidth, cornerHeight);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
}

void ring(HDC dc, const RECT& rect, int penStyle, COLORREF colour, int cornerWidth, int cornerHeight)
{
    ScopedPen pen(dc, penStyle, colour);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, cornerWidth, cornerHeight);
    SelectObject(dc, oldBrush);
}

void frame(HDC dc, const RECT& rect, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FrameRect(dc, &rect, brush);
    DeleteObject(brush);
}

} // namespace skindraw
