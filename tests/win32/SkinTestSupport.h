#pragma once
// Memory canvases and a host window for the skinned controls' tests.

#include <windows.h>

#include <string>
#include <vector>

namespace skintest {

// A 32-bit memory bitmap selected into a DC, filled with a colour no scheme uses.
class Canvas {
public:
    static constexpr COLORREF blank = RGB(255, 0, 255);

    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    void clear(COLORREF colour = blank);
    COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }
    // Rows [top, bottom) that hold a pixel of the colour within columns [left, right).
    int firstRowWith(COLORREF colour, int left, int right) const;
    bool contains(COLORREF colour) const;

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

// "r,g,b" for readable failures.
std::string rgb(COLORREF c);

// A hidden top-level window whose WM_COMMAND messages are recorded, as the parent of the
// controls under test; sent ones and posted ones apart.
class Host {
public:
    Host();
    ~Host();
    HWND hwnd() const { return window_; }
    // WM_COMMANDs that arrived by SendMessage since the last call (cleared).
    std::vector<WPARAM> takeSentCommands();
    // WM_COMMANDs waiting in the queue for the host (removed from it).
    std::vector<WPARAM> takePostedCommands();
    HWND createButton(int id, const char* text, DWORD style, int width, int height);

private:
    HWND window_;
    HFONT font_;
};

} // namespace skintest
