#pragma once
// Host windows with real controls for the Win32 tests and benchmarks.

#include <windows.h>

namespace testsupport {

// The styles of the main window's file and rules lists, as a child shown.
constexpr DWORD fileListStyles = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL |
                                 LBS_EXTENDEDSEL | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | LBS_NOTIFY |
                                 LBS_NOINTEGRALHEIGHT;

// A top-level window of a class of its own (registered on first use) whose messages go to
// the procedure; not shown.
HWND createHostWindow(const char* className, WNDPROC procedure, int width, int height);
// A list box with the styles (WS_CHILD and the rest), child `id` of the host.
HWND createListBox(HWND host, int id, DWORD styles, int x, int y, int width, int height);
// The main window's font, Tahoma at 9 points; the caller deletes it.
HFONT createDialogFont();
// Dispatches every message waiting for this thread.
void pumpMessages();

} // namespace testsupport
