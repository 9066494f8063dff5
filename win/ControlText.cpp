// Reading the texts of controls.

#include "win/ControlText.h"

#include <algorithm>

namespace {

// Line i through the wide messages: the list box keeps its lines as UTF-16, so these hand
// them out without a conversion each; and under Wine the ANSI LB_GETTEXT of a long line
// (tens of thousands of characters) overruns a buffer of its own on the stack.
void readLine(HWND list, int index, std::wstring& wide, std::string& narrow, std::string& line)
{
    line.clear();
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR || length <= 0)
        return;
    wide.resize(static_cast<std::size_t>(length) + 1);
    const LRESULT copied = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&wide[0]));
    if (copied == LB_ERR || copied <= 0)
        return;
    const int units = static_cast<int>(std::min(copied, length));
    // A double-byte code page takes at most two bytes for each unit.
    narrow.resize(static_cast<std::size_t>(units) * 2 + 1);
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), units, &narrow[0], static_cast<int>(narrow.size()),
                                          nullptr, nullptr);
    if (bytes > 0)
        line.assign(narrow.data(), static_cast<std::size_t>(bytes));
}

} // namespace

std::string listBoxLine(HWND list, int index)
{
    std::wstring wide;
    std::string narrow;
    std::string line;
    readLine(list, index, wide, narrow, line);
    return line;
}

std::vector<std::string> listBoxLines(HWND list)
{
    std::vector<std::string> lines;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    if (count == LB_ERR || count <= 0)
        return lines;
    lines.resize(static_cast<std::size_t>(count));
    std::wstring wide;
    std::string narrow;
    for (LRESULT i = 0; i < count; ++i)
        readLine(list, static_cast<int>(i), wide, narrow, lines[static_cast<std::size_t>(i)]);
    return lines;
}


std::string windowText(HWND window)
{
    const int length = GetWindowTextLengthA(window);
    if (length <= 0)
        return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(window, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

void setLongEditText(HWND edit, const std::string& text)
{
    SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
    // A visible edit repaints and scrolls as it takes a long text in; with redraw off it
    // only lays the lines out, as a bare edit does.
    SendMessageA(edit, WM_SETREDRAW, FALSE, 0);
    SetWindowTextA(edit, text.c_str());
    SendMessageA(edit, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(edit, nullptr, TRUE);
}

bool isChecked(HWND checkBox)
{
    return SendMessageA(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}
