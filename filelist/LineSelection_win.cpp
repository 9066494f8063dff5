// The list-box side of the selection commands: selecting, inverting and deleting many lines
// of a long list fast.

#include "filelist/LineSelection_win.h"

#include <algorithm>

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

std::vector<std::string> deleteSelectedLines(HWND list)
{
    std::vector<std::string> removed;
    const std::vector<int> selected = selectedListBoxIndexes(list);
    if (selected.empty())
        return removed;
    removed.reserve(selected.size());
    RedrawOff redraw(list);
    NearTop mover(list);
    // Last to first, so that the numbers of the lines still to go stay valid.
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
        mover.reach(*it);
        removed.push_back(listBoxLine(list, *it));
        SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(*it), 0);
    }
    return removed;
}
