// Host windows with real controls for the Win32 tests and benchmarks.

#include "tests/support/TestWindows.h"

namespace testsupport {

HWND createHostWindow(const char* className, WNDPROC procedure, int width, int height)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    return CreateWindowA(className, "", WS_OVERLAPPEDWINDOW, 0, 0, width, height, nullptr, nullptr, wc.hInstance,
                         nullptr);
}

HWND createListBox(HWND host, int id, DWORD styles, int x, int y, int width, int height)
{
    return CreateWindowA("LISTBOX", "", styles, x, y, width, height, host,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

HFONT createDialogFont()
{
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontA(-MulDiv(9, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                             DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
    ReleaseDC(nullptr, dc);
    return font;
}

void pumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

} // namespace testsupport
