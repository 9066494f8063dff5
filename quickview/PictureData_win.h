#pragma once
// One decoded picture (the system's IPicture) held for the picture pane, and its drawing.

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
    // is released, and a file that does not decode leaves the holder empty.
    bool loadFromFile(const std::string& path);

    bool empty() const { return !picture_; }
    IPicture* picture() const { return picture_.get(); }
    void clear() { picture_.reset(); }

    // The picture's size in device pixels of the context (of the screen when null);
    // 0 x 0 when empty.
    SIZE pixelSize(HDC dc) const;

    // Draws the picture upright, fitted into the rectangle, never larger than its own
    // pixel size. bounds is handed to the picture for metafiles and may be null.
    void render(HDC dc, int left, int top, int right, int bottom, const RECT* bounds) const;

private:
    ComPtr<IPicture> picture_;
};
