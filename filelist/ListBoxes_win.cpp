// Filling the program's list boxes fast and keeping their horizontal scroll extent right.

#include "filelist/ListBoxes_win.h"

#include <algorithm>

namespace {

// Measures texts in the list box's font on a screen DC for the life of the object.
class LineMeasure {
public:
    explicit LineMeasure(HWND listBox) : listBox_(listBox), dc_(GetDC(listBox))
    {
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(listBox, WM_GETFONT, 0, 0));
        old_ = dc_ && font ? SelectObject(dc_, font) : nullptr;
    }
    ~LineMeasure()
    {
        if (old_)
            SelectObject(dc_, old_);
        if (dc_)
            ReleaseDC(listBox_, dc_);
    }
    LineMeasure(const LineMeasure&) = delete;
    LineMeasure& operator=(const LineMeasure&) = delete;

    int width(const char* text, std::size_t length) const
    {
        SIZE size = {0, 0};
        if (dc_ && length)
            GetTextExtentPoint32A(dc_, text, static_cast<int>(length), &size);
        return size.cx;
    }

private:
    HWND listBox_;
    HDC dc_;
    HGDIOBJ old_;
};

void setExtent(HWND listBox, bool empty, int widest)
{
    SendMessageA(listBox, LB_SETHORIZONTALEXTENT, empty ? 0 : widest + 10, 0);
}

} // namespace

void refillListBox(HWND listBox, const std::vector<const std::string*>& lines)
{
    SendMessageA(listBox, WM_SETREDRAW, FALSE, 0);
    SendMessageA(listBox, LB_RESETCONTENT, 0, 0);
    std::size_t bytes = 0;
    for (const std::string* line : lines)
        bytes += line->size() + 1;
    SendMessageA(listBox, LB_INITSTORAGE, lines.size(), bytes);
    const LineMeasure measure(listBox);
    int widest = 0;
    for (const std::string* line : lines) {
        SendMessageA(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line->c_str()));
        widest = std::max(widest, measure.width(line->data(), line->size()));
    }
    setExtent(listBox, lines.empty(), widest);
    SendMessageA(listBox, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listBox, nullptr, TRUE);
}

void updateHorizontalExtent(HWND listBox)
{
    const LRESULT count = SendMessageA(listBox, LB_GETCOUNT, 0, 0);
    const LineMeasure measure(listBox);
    std::string text;
    int widest = 0;
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageA(listBox, LB_GETTEXTLEN, i, 0);
        if (length <= 0)
            continue;
        text.assign(static_cast<std::size_t>(length) + 1, '\0');
        SendMessageA(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        widest = std::max(widest, measure.width(text.data(), static_cast<std::size_t>(length)));
    }
    setExtent(listBox, count <= 0, widest);
}
