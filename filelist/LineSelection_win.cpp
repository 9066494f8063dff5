// The list-box side of the selection commands: selecting, inverting and deleting many lines
// of a long list fast.

#include "filelist/LineSelection_win.h"

#include "controls/ListBoxes_win.h"

#include <algorithm>
#include <string_view>

namespace {

// Redraw off for the time of many selection changes: each one repaints its line otherwise.
class RedrawOff {
public:
    explicit RedrawOff(HWND window) : window_(window) { SendMessageA(window_, WM_SETREDRAW, FALSE, 0); }
    ~RedrawOff()
    {
        SendMessageA(window_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(window_, nullptr, TRUE);
    }
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;

private:
    HWND window_;
};

} // namespace

std::vector<int> selectedListBoxIndexes(HWND list)
{
    const LRESULT count = SendMessageA(list, LB_GETSELCOUNT, 0, 0);
    if (count == LB_ERR || count <= 0)
        return {};
    std::vector<int> indexes(static_cast<std::size_t>(count));
    const LRESULT got = SendMessageA(list, LB_GETSELITEMS, static_cast<WPARAM>(count),
                                     reinterpret_cast<LPARAM>(indexes.data()));
    indexes.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
    return indexes;
}

namespace {

// A list box of variable-height lines finds the place of line i by adding up the heights of
// the lines between its top line and i, and does so for every line whose selection changes
// (the Wine list box at least): changing many lines far from the top costs the square of
// their number. So the top line is moved along in blocks while lines change, and put back
// after; a block of 2048 lines balances the cost of a move against that of the sums.
class NearTop {
public:
    explicit NearTop(HWND list) : list_(list), top_(SendMessageA(list, LB_GETTOPINDEX, 0, 0)) {}
    ~NearTop()
    {
        if (moved_ && top_ != LB_ERR)
            SendMessageA(list_, LB_SETTOPINDEX, static_cast<WPARAM>(top_), 0);
    }
    NearTop(const NearTop&) = delete;
    NearTop& operator=(const NearTop&) = delete;

    static constexpr int block = 2048;

    // Makes the block holding the line the top.
    void reach(int line)
    {
        const int wanted = line / block;
        if (wanted != block_) {
            block_ = wanted;
            moved_ = true;
            SendMessageA(list_, LB_SETTOPINDEX, static_cast<WPARAM>(wanted * block), 0);
        }
    }

private:
    HWND list_;
    LRESULT top_;
    int block_ = -1;
    bool moved_ = false;
};

// Selects or clears lines first..last, block by block.
void setRange(HWND list, NearTop& mover, int first, int last, bool select)
{
    while (first <= last) {
        mover.reach(first);
        const int end = std::min(last, (first / NearTop::block + 1) * NearTop::block - 1);
        if (select)
            SendMessageA(list, LB_SELITEMRANGEEX, static_cast<WPARAM>(first), end);
        else if (end == first)
            SendMessageA(list, LB_SETSEL, FALSE, first);
        else
            SendMessageA(list, LB_SELITEMRANGEEX, static_cast<WPARAM>(end), first);
        first = end + 1;
    }
}

} // namespace

void selectAllLines(HWND list)
{
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (count == LB_ERR || count <= 0)
        return;
    RedrawOff redraw(list);
    NearTop mover(list);
    setRange(list, mover, 0, static_cast<int>(count) - 1, true);
}

void invertLineSelection(HWND list)
{
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (count == LB_ERR || count <= 0)
        return;
    const std::vector<int> selected = selectedListBoxIndexes(list);
    RedrawOff redraw(list);
    NearTop mover(list);
    // Clear everything, then select the runs between the lines that were selected: one
    // message per run instead of two per line.
    setRange(list, mover, 0, static_cast<int>(count) - 1, false);
    int runStart = 0;
    for (int index : selected) {
        if (index > runStart)
            setRange(list, mover, runStart, index - 1, true);
        runStart = index + 1;
    }
    if (runStart < count)
        setRange(list, mover, runStart, static_cast<int>(count) - 1, true);
}

namespace {

// Deleting a line moves every line after it in the list box's own array (Wine's, at
// least), so deleting many lines of a long list one by one costs their number times the
// length of the list; refilling with the lines that stay costs their number. Measured
// under Wine (64-bit, 100,000 lines, FileListFilterChanges in the bench, loaded machine):
// 5,000 and 10,000 selected lines took 0.25 and 0.60 of the refill one by one, 50,000 took
// 5.6 times as long; the crossover lies near an eighth, and a tenth is on the safe side.

// Where a line number lands once the selected lines before it are gone.
LRESULT afterRemoval(LRESULT line, const std::vector<int>& selected)
{
    if (line == LB_ERR || line < 0)
        return line;
    const auto before = std::lower_bound(selected.begin(), selected.end(), static_cast<int>(line));
    return line - (before - selected.begin());
}

} // namespace

std::vector<std::string> deleteSelectedLines(HWND list, const std::vector<std::string>& shown,
                                             std::size_t refillAbovePerMille)
{
    std::vector<std::string> removed;
    const std::vector<int> selected = selectedListBoxIndexes(list);
    if (selected.empty() || static_cast<std::size_t>(selected.back()) >= shown.size())
        return removed;
    removed.reserve(selected.size());
    for (auto it = selected.rbegin(); it != selected.rend(); ++it)
        removed.push_back(shown[static_cast<std::size_t>(*it)]);

    // The caret and the top line stay on the lines they were on: a refill would start them
    // from the first line, and deleting one by one leaves their numbers as they were.
    const LRESULT top = afterRemoval(SendMessageA(list, LB_GETTOPINDEX, 0, 0), selected);
    const LRESULT caret = afterRemoval(SendMessageA(list, LB_GETCARETINDEX, 0, 0), selected);
    const std::size_t left = shown.size() - selected.size();
    RedrawOff redraw(list);
    if (selected.size() * 1000 > refillAbovePerMille * shown.size()) {
        std::vector<std::string_view> kept;
        kept.reserve(left);
        std::size_t next = 0;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            if (next < selected.size() && static_cast<std::size_t>(selected[next]) == i)
                ++next;
            else
                kept.push_back(shown[i]);
        }
        // The refill empties the list box's copy that `shown` may be: the lines go in from
        // a copy of their own.
        refillListBox(list, std::vector<std::string>(kept.begin(), kept.end()));
    } else {
        NearTop mover(list);
        // Last to first, so that the numbers of the lines still to go stay valid.
        for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
            mover.reach(*it);
            SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(*it), 0);
        }
    }
    if (left != 0) {
        const LRESULT last = static_cast<LRESULT>(left) - 1;
        if (caret != LB_ERR && caret >= 0)
            SendMessageA(list, LB_SETCARETINDEX, static_cast<WPARAM>(std::min(caret, last)), FALSE);
        if (top != LB_ERR && top >= 0)
            SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(std::min(top, last)), 0);
    }
    return removed;
}
