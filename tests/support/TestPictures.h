#pragma once
// Picture files written by the tests and the benchmark: bitmaps, GIFs, TIFFs and icons
// written here byte by byte, JPEGs and PNGs through the system's imaging component.

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

// The colour and opacity of the pixel at (x, y) as 0xAARRGGBB, y counted from the top.
using PixelArgb = std::function<std::uint32_t(int x, int y)>;
// A 32-bit PNG with alpha written through WIC, band by band like writeJpegFile.
bool writePngFile(const std::string& path, int width, int height, const PixelArgb& pixel);
// The bytes of an uncompressed 32-bit TIFF with alpha in one strip, its EXIF orientation
// tag set when orientation is not 0.
std::string tiffFileBytes(int width, int height, int orientation, const PixelArgb& pixel);
// The bytes of an icon of one 32-bit image with alpha (up to 256 x 256).
std::string iconFileBytes(int width, int height, const PixelArgb& pixel);

} // namespace testsupport
