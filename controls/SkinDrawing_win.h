#pragma once
// Small drawing steps shared by the skinned controls and the window frame: pens and brushes
// made, used and deleted within one call.

#include <windows.h>

#include <initializer_list>

namespace skindraw {

// A line through the points with a 1-pixel solid pen, each end point left out as usual.
void polyline(HDC dc, COLORREF colour, std::initializer_list<POINT> points);
void pixels(HDC dc, COLORREF colour, std::initializer_list<POINT> points);
// A rounded rectangle filled with the brush colour and framed inside with a 1-pixel pen.
void roundRect(HDC dc, const RECT& rect, COLORREF fill, COLORREF frame, int cornerWidth, int cornerHeight);
// A rounded rectangle outline only (hollow brush) with a 1-pixel pen of the style.
void ring(HDC dc, const RECT& rect, int penStyle, COLORREF colour, int cornerWidth, int cornerHeight);
// A 1-pixel frame just inside the rectangle.
void frame(HDC dc, const RECT& rect, COLORREF colour);

} // namespace skindraw
