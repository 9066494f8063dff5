// The picture pane's window: a subclassed static control that draws only its picture.

#include "quickview/PicturePane_win.h"

bool PicturePane::create(HWND parent, const RECT& rect)
{
    HWND window = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(0xFFFF)),
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window)
        return false;
    attach(window, true);
    return true;
}

void PicturePane::destroy()
{
    HWND window = hwnd();
    detach();
    if (window && IsWindow(window))
        DestroyWindow(window);
    picture_.clear();
}

int PicturePane::load(const std::string& path)
{
    return picture_.loadFromFile(path) ? 1 : 0;
}

LRESULT PicturePane::windowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        paint();
        return 0;
    }
    return defaultProc(message, wParam, lParam);
}

void PicturePane::paint()
{
    const PaintDc dc(hwnd());
    if (dc.get() && !picture_.empty()) {
        RECT client;
        GetClientRect(hwnd(), &client);
        picture_.render(dc.get(), client.left, client.top, client.right, client.bottom, nullptr);
    }
}
