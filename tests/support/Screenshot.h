#pragma once
// Screenshots of windows for test artefacts: the screen's pixels under a rectangle, saved as
// an uncompressed PNG.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

struct Image {
    int width = 0;
    int height = 0;
    // Rows top to bottom, COLORREF order (red in the low byte).
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// What the screen shows in the rectangle (screen coordinates).
Image captureScreen(const RECT& rect);
// The whole window as it shows on the screen, frame included.
Image captureWindow(HWND window);
// The pixels of a memory DC's selected bitmap.
Image readBitmap(HDC dc, HBITMAP bitmap, int width, int height);

// PNG bytes of the image (8-bit RGB, stored deflate blocks).
std::string encodePng(const Image& image);
// The folder for test artefacts (build/<tree>/artifacts), made when missing, with a trailing
// backslash.
std::string artifactDirectory();
// Saves the image as <artifactDirectory><name>.png; returns the path, empty on failure.
std::string saveArtefact(const Image& image, const std::string& name);

} // namespace testsupport
