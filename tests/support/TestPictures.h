#pragma once
// Picture files written by the tests and the benchmark: bitmaps and GIFs written here byte
// by byte, JPEGs through the system's imaging component.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace testsupport {

// The colour of the pixel at (x, y), y counted from the top.
using PixelColour = std::function<COLORREF(int x, int y)>;

// The bytes of a 24-bit bottom-up bitmap file.
std::string bitmapFileBytes(int width, int height, const PixelColour& colour);
// The bytes of a GIF of up to four colours (the palette; pixels give an index 0..3).
std::string gifFileBytes(int width, int height, const COLORREF (&palette)[4],
                         const std::function<int(int x, int y)>& index);
// A JPEG (quality about 0.9) written through WIC; false when the system cannot encode
// one. Rows are produced band by band, so very large pictures need little memory.
// COM must be initialised on the calling thread.
bool writeJpegFile(const std::string& path, int width, int height, const PixelColour& colour);

} // namespace testsupport
