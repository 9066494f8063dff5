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
    RECT client = {0, 0, 0, 0};
    const bool sized = hwnd() && GetClientRect(hwnd(), &client);
    return picture_.loadFromFile(path, sized ? &client : nullptr) ? 1 : 0;
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
    if (!dc.get())
        return;
    RECT client;
    GetClientRect(hwnd(), &client);
    // The static control's own background, as its own painting would draw it: some static
    // controls leave erasing to their paint, so without it a pane that went empty keeps
    // showing its last picture, and a picture with transparency would be blended over its
    // own last drawing.
    auto brush = reinterpret_cast<HBRUSH>(SendMessageA(GetParent(hwnd()), WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc.get()),
                                                       reinterpret_cast<LPARAM>(hwnd())));
    FillRect(dc.get(), &client, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
    if (!picture_.empty()) {
        picture_.render(dc.get(), client.left, client.top, client.right, client.bottom, nullptr);
    }
}
