// Memory canvases and a host window for the skinned controls' tests.

#include "SkinTestSupport.h"

#include "tests/support/TestWindows.h"

namespace skintest {

namespace {

std::vector<WPARAM> sentCommands;

LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        sentCommands.push_back(wParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

Canvas::Canvas(int width, int height) : width_(width), height_(height)
{
    dc_ = CreateCompatibleDC(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    clear();
}

Canvas::~Canvas()
{
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

void Canvas::clear(COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    RECT all = {0, 0, width_, height_};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
}

int Canvas::firstRowWith(COLORREF colour, int left, int right) const
{
    for (int y = 0; y < height_; ++y)
        for (int x = left; x < right; ++x)
            if (at(x, y) == colour)
                return y;
    return -1;
}

bool Canvas::contains(COLORREF colour) const
{
    return firstRowWith(colour, 0, width_) >= 0;
}

std::string rgb(COLORREF c)
{
    return std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," + std::to_string(GetBValue(c));
}

Host::Host()
{
    window_ = testsupport::createHostWindow("TesselSkinTestHost", hostProc, 400, 300);
    font_ = testsupport::createDialogFont();
}

Host::~Host()
{
    DestroyWindow(window_);
    DeleteObject(font_);
}

std::vector<WPARAM> Host::takeSentCommands()
{
    std::vector<WPARAM> taken;
    taken.swap(sentCommands);
    return taken;
}

std::vector<WPARAM> Host::takePostedCommands()
{
    std::vector<WPARAM> taken;
    MSG msg;
    while (PeekMessageA(&msg, window_, WM_COMMAND, WM_COMMAND, PM_REMOVE))
        taken.push_back(msg.wParam);
    return taken;
}

HWND Host::createButton(int id, const char* text, DWORD style, int width, int height)
{
    HWND button = CreateWindowExA(0, "BUTTON", text, WS_CHILD | WS_VISIBLE | style, 10, 10, width, height, window_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return button;
}

} // namespace skintest
