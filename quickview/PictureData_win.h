#pragma once
// One decoded picture held for the picture pane, and its drawing: JPEG, GIF and BMP as the
// system's picture object (IPicture), the types of the imaging codecs as a bitmap.

#include "win/Handles.h"

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>

class PictureData {
public:
    PictureData() = default;
    PictureData(const PictureData&) = delete;
    PictureData& operator=(const PictureData&) = delete;

    // Opens the file (others may read it, not write it) and decodes it. False when it
    // cannot be opened: the previous picture stays. Once it is open the previous picture
    // is released, and a file that does not decode leaves the holder empty, as does one
    // whose signature does not fit its extension or whose declared size is over the caps.
    // A codec picture is kept only as large as the fit into pane needs (its whole size
    // when pane is null); it is then to be drawn into a pane of that size.
    bool loadFromFile(const std::string& path, const RECT* pane = nullptr);

    bool empty() const { return !picture_ && !bitmap_; }
    // The picture object of a JPEG, GIF or BMP; null for the codecs' types.
    IPicture* picture() const { return picture_.get(); }
    void clear();

    // The picture's size in device pixels of the context (of the screen when null);
    // 0 x 0 when empty.
    SIZE pixelSize(HDC dc) const;

    // Draws the picture upright, fitted into the rectangle, never larger than its own
    // pixel size. bounds is handed to the picture for metafiles and may be null.
    void render(HDC dc, int left, int top, int right, int bottom, const RECT* bounds) const;

private:
    ComPtr<IPicture> picture_;
    // A codec picture: upright, 32-bit premultiplied BGRA, top-down.
    UniqueGdiObject bitmap_;
    SIZE bitmapSize_ = {0, 0};
    // The codec picture's own size, upright.
    SIZE codecSize_ = {0, 0};
};
