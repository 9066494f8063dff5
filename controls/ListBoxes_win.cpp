// Filling the program's list boxes fast and keeping their horizontal scroll extent right.

#include "controls/ListBoxes_win.h"

#include "controls/SkinListBox_win.h"
#include "win/ControlText.h"
#include "win/Handles.h"

#include <algorithm>

namespace {

// Measures texts in the list box's font on its DC for the life of the object. Lines
// without double-byte characters are summed from the font's character widths, taken once:
// for text drawn without kerning that is exactly what GetTextExtentPoint32 says, at a
// fraction of the cost of asking it for each of 100,000 lines.
class LineMeasure {
public:
    explicit LineMeasure(HWND listBox)
        : dc_(listBox), font_(dc_.get(), reinterpret_cast<HFONT>(SendMessageA(listBox, WM_GETFONT, 0, 0)))
    {
        haveWidths_ = dc_ && GetCharWidth32A(dc_.get(), 0, 255, widths_);
        // In UTF-8 every byte above 0x7F belongs to a character of several bytes, which the
        // table of single bytes does not know.
        const bool utf8 = GetACP() == CP_UTF8;
        for (int b = 0; b < 256; ++b)
            lead_[b] = IsDBCSLeadByte(static_cast<BYTE>(b)) != FALSE || (utf8 && b >= 0x80);
    }

    int width(const char* text, std::size_t length) const
    {
        if (!dc_ || length == 0)
            return 0;
        if (haveWidths_) {
            int sum = 0;
            std::size_t i = 0;
            for (; i < length; ++i) {
                const unsigned char c = static_cast<unsigned char>(text[i]);
                if (lead_[c])
                    break;
                sum += widths_[c];
            }
            if (i == length)
                return sum;
        }
        SIZE size = {0, 0};
        GetTextExtentPoint32A(dc_.get(), text, static_cast<int>(length), &size);
        return size.cx;
    }

private:
    WindowDc dc_;
    SelectedObject font_;
    bool haveWidths_ = false;
    INT widths_[256] = {};
    bool lead_[256] = {};
};

// While an owner-drawn list box is emptied and filled again, it tells its owner of every
// line it deletes and asks the height of every line it adds. The program's owner-drawn
// list boxes hold only strings, which need no clean-up, and give every line the same
// height, while every request that reaches the owner's dialog procedure costs a trip
// through the dialog manager (about a third of the refill's time at 100,000 lines under
// Wine). So for the length of a refill the deletions are acknowledged here, and the
// owner is asked the height once and its answer given for every further line of that
// list box. The answering procedure is a wide one: the list box sends its requests wide,
// and they reach it without passing through Wine's conversion to the ANSI form.
class RefillOwnerAnswers {
public:
    RefillOwnerAnswers(HWND listBox, bool active)
        : owner_(active ? GetParent(listBox) : nullptr), listId_(static_cast<UINT>(GetDlgCtrlID(listBox)))
    {
        if (!owner_ || current_)
            return;
        current_ = this;
        previous_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(owner_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RefillOwnerAnswers::ownerProc)));
        if (!previous_)
            current_ = nullptr;
    }
    ~RefillOwnerAnswers()
    {
        if (current_ != this)
            return;
        SetWindowLongPtrW(owner_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        current_ = nullptr;
    }
    RefillOwnerAnswers(const RefillOwnerAnswers&) = delete;
    RefillOwnerAnswers& operator=(const RefillOwnerAnswers&) = delete;

private:
    static LRESULT CALLBACK ownerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        RefillOwnerAnswers* self = current_;
        if (message == WM_DELETEITEM && self && window == self->owner_ &&
            reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->CtlID == self->listId_)
            return TRUE;
        if (message == WM_MEASUREITEM && self && window == self->owner_) {
            auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (measure->CtlType == ODT_LISTBOX && measure->CtlID == self->listId_) {
                if (self->known_) {
                    measure->itemHeight = self->height_;
                    return TRUE;
                }
                const LRESULT result = CallWindowProcW(self->previous_, window, message, wParam, lParam);
                self->height_ = measure->itemHeight;
                self->known_ = true;
                return result;
            }
        }
        WNDPROC previous = self ? self->previous_ : nullptr;
        return previous ? CallWindowProcW(previous, window, message, wParam, lParam)
                        : DefWindowProcW(window, message, wParam, lParam);
    }

    static RefillOwnerAnswers* current_;
    HWND owner_;
    UINT listId_;
    WNDPROC previous_ = nullptr;
    UINT height_ = 0;
    bool known_ = false;
};

RefillOwnerAnswers* RefillOwnerAnswers::current_ = nullptr;

// Takes the visible bit away for the length of a refill and gives it back. A list box of
// variable-height lines that is visible scrolls its window each time its top line moves
// (under Wine about 0.2 ms a time, even with redraw off); hidden, moving the top line is a
// sum of a few line heights. Nothing is drawn meanwhile: the bit is changed directly, not
// by showing or hiding the window, so neither the focus nor the parent is touched.
class HiddenMeanwhile {
public:
    HiddenMeanwhile(HWND listBox, bool active)
        : listBox_(listBox), style_(GetWindowLongPtrA(listBox, GWL_STYLE)),
          hidden_(active && (style_ & WS_VISIBLE) != 0)
    {
        if (hidden_)
            SetWindowLongPtrA(listBox_, GWL_STYLE, style_ & ~static_cast<LONG_PTR>(WS_VISIBLE));
    }
    ~HiddenMeanwhile()
    {
        if (hidden_)
            SetWindowLongPtrA(listBox_, GWL_STYLE, GetWindowLongPtrA(listBox_, GWL_STYLE) | WS_VISIBLE);
    }
    HiddenMeanwhile(const HiddenMeanwhile&) = delete;
    HiddenMeanwhile& operator=(const HiddenMeanwhile&) = delete;

private:
    HWND listBox_;
    LONG_PTR style_;
    bool hidden_;
};

void setExtent(HWND listBox, bool empty, int widest)
{
    SendMessageA(listBox, LB_SETHORIZONTALEXTENT, empty ? 0 : widest + 10, 0);
}

} // namespace

namespace {

// Empties the list box and adds the lines; returns the width of the widest in pixels.
int replaceLines(HWND listBox, const std::vector<std::string_view>& lines, bool variableHeight)
{
    const HiddenMeanwhile hidden(listBox, variableHeight);
    SendMessageA(listBox, LB_RESETCONTENT, 0, 0);
    std::size_t bytes = 0;
    for (std::string_view line : lines)
        bytes += line.size() + 1;
    SendMessageA(listBox, LB_INITSTORAGE, lines.size(), bytes);
    // A list box of variable-height lines may find the place of a new line by adding up
    // the heights of every line from its top line on (Wine's does), which makes filling
    // it quadratic; moving the top line along every few lines keeps that sum short.
    constexpr std::size_t topStep = 32;
    const LineMeasure measure(listBox);
    int widest = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (variableHeight && i != 0 && i % topStep == 0)
            SendMessageA(listBox, LB_SETTOPINDEX, i - 1, 0);
        const std::string_view line = lines[i];
        SendMessageA(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.data()));
        widest = std::max(widest, measure.width(line.data(), line.size()));
    }
    if (variableHeight)
        SendMessageA(listBox, LB_SETTOPINDEX, 0, 0);
    return widest;
}

} // namespace

void refillListBox(HWND listBox, const std::vector<std::string_view>& lines)
{
    SendMessageA(listBox, WM_SETREDRAW, FALSE, 0);
    const bool variableHeight = (GetWindowLongA(listBox, GWL_STYLE) & LBS_OWNERDRAWVARIABLE) != 0;
    int widest = 0;
    {
        const RefillOwnerAnswers heights(listBox, variableHeight);
        widest = replaceLines(listBox, lines, variableHeight);
    }
    setExtent(listBox, lines.empty(), widest);
    SendMessageA(listBox, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listBox, nullptr, TRUE);
}

void refillListBox(HWND listBox, const std::vector<std::string>& lines)
{
    refillListBox(listBox, std::vector<std::string_view>(lines.begin(), lines.end()));
}

void updateHorizontalExtent(HWND listBox)
{
    updateHorizontalExtent(listBox, listBoxLines(listBox));
}

void updateHorizontalExtent(HWND listBox, const std::vector<std::string>& lines)
{
    const LineMeasure measure(listBox);
    int widest = 0;
    for (const std::string& line : lines)
        widest = std::max(widest, measure.width(line.data(), line.size()));
    setExtent(listBox, lines.empty(), widest);
}

namespace {

// Under Wine each line deleted or inserted moves every line after it in the list box's
// own array, so a run of single-line messages costs in proportion to the lines it changes
// times the lines the box holds, while a refill costs in proportion to the lines it adds.
// Measured under Wine (64-bit, 100,000 lines, FileListFilterChanges in the bench, two runs
// on a loaded machine): every 20th or every 10th line going by runs took 0.35-0.49 and
// 0.75-0.84 of a refill with the rest, so the runs stop paying at about an eighth; a tenth
// leaves room for the noise.
bool refillIsCheaper(std::size_t changed, std::size_t before, std::size_t after, std::size_t refillAbovePerMille)
{
    return changed * 1000 > refillAbovePerMille * std::max(before, after);
}

// What a refill leaves behind besides the lines.
void asAfterRefill(HWND listBox, std::size_t count)
{
    if (SendMessageA(listBox, LB_GETSELCOUNT, 0, 0) > 0)
        SendMessageA(listBox, LB_SETSEL, FALSE, -1);
    if (count != 0)
        SendMessageA(listBox, LB_SETCARETINDEX, 0, FALSE);
    SendMessageA(listBox, LB_SETTOPINDEX, 0, 0);
}

} // namespace

void changeListBox(SkinListBox& skin, const std::vector<LineRun>& runs, const std::vector<std::string_view>& lines,
                   std::size_t refillAbovePerMille)
{
    HWND listBox = skin.hwnd();
    const std::vector<std::string>& shown = skin.lines();
    const std::size_t changed = changedLines(runs);
    if (refillIsCheaper(changed, shown.size(), lines.size(), refillAbovePerMille)) {
        refillListBox(listBox, lines);
        return;
    }
    if (changed == 0) {
        // The lines stay; so does the extent of the widest.
        asAfterRefill(listBox, lines.size());
        return;
    }
    SendMessageA(listBox, WM_SETREDRAW, FALSE, 0);
    const bool variableHeight = (GetWindowLongA(listBox, GWL_STYLE) & LBS_OWNERDRAWVARIABLE) != 0;
    {
        const LineMeasure measure(listBox);
        // The extent stays that of the widest line unless a line as wide goes; then every
        // line left is measured again.
        const LRESULT extent = SendMessageA(listBox, LB_GETHORIZONTALEXTENT, 0, 0);
        int widest = shown.empty() ? 0 : static_cast<int>(extent) - 10;
        bool widestGoes = false;
        for (const LineRun& run : runs)
            for (std::size_t i = run.at; i < run.at + run.removed && !widestGoes; ++i)
                widestGoes = measure.width(shown[i].data(), shown[i].size()) >= widest;
        for (const LineRun& run : runs)
            for (std::size_t i = run.from; i < run.from + run.inserted; ++i)
                widest = std::max(widest, measure.width(lines[i].data(), lines[i].size()));
        if (widestGoes) {
            widest = 0;
            for (std::string_view line : lines)
                widest = std::max(widest, measure.width(line.data(), line.size()));
        }

        const RefillOwnerAnswers heights(listBox, variableHeight);
        const HiddenMeanwhile hidden(listBox, variableHeight);
        skin.pauseFollowing();
        // Last run first, so that each run's place still counts the old lines before it;
        // the top line follows the runs up, which keeps the list box's sums of line
        // heights from the top line short.
        for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
            if (variableHeight)
                SendMessageA(listBox, LB_SETTOPINDEX, run->at, 0);
            for (std::size_t i = run->removed; i-- > 0;)
                SendMessageA(listBox, LB_DELETESTRING, run->at + i, 0);
            for (std::size_t i = 0; i < run->inserted; ++i)
                SendMessageA(listBox, LB_INSERTSTRING, run->at + i,
                             reinterpret_cast<LPARAM>(lines[run->from + i].data()));
        }
        skin.takeRuns(runs, lines);
        asAfterRefill(listBox, lines.size());
        setExtent(listBox, lines.empty(), widest);
    }
    SendMessageA(listBox, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listBox, nullptr, TRUE);
}

void moveCaretLine(HWND listBox, const std::vector<std::string>& lines, int step)
{
    const LRESULT selected = SendMessageA(listBox, LB_GETSELCOUNT, 0, 0);
    if (selected == LB_ERR || selected <= 0)
        return;
    const LRESULT count = SendMessageA(listBox, LB_GETCOUNT, 0, 0);
    const LRESULT caret = SendMessageA(listBox, LB_GETCARETINDEX, 0, 0);
    if (caret == LB_ERR || caret < 0 || caret >= count)
        return;
    const LRESULT target = caret + step;
    if (target < 0 || target >= count || static_cast<std::size_t>(count) != lines.size())
        return;
    const std::string text = lines[static_cast<std::size_t>(caret)];
    SendMessageA(listBox, LB_DELETESTRING, static_cast<WPARAM>(caret), 0);
    SendMessageA(listBox, LB_INSERTSTRING, static_cast<WPARAM>(target), reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(listBox, LB_SETSEL, TRUE, target);
    // The caret goes with the line, so that a second click moves the same line further.
    SendMessageA(listBox, LB_SETCARETINDEX, static_cast<WPARAM>(target), FALSE);
}
