#pragma once
// Filling the program's list boxes fast and keeping their horizontal scroll extent right.

#include "base/LineRuns.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

// Replaces every line of the list box by the given lines (each followed by a NUL in memory,
// as std::string and the file list's entries keep them), with redraw off while filling (a
// visible list box repaints after every added line otherwise), then sets the horizontal
// extent for them.
void refillListBox(HWND listBox, const std::vector<std::string_view>& lines);
void refillListBox(HWND listBox, const std::vector<std::string>& lines);

class SkinListBox;

// Beyond this share of the lines changed (in thousandths of the longer of the two views),
// a refill is cheaper than deleting and inserting line by line.
constexpr std::size_t changeRefillAbovePerMille = 100;

// Brings the owner-drawn list box from the lines it shows to `lines` by the runs between
// them (selectionChanges()), and leaves it as a refill with `lines` would: nothing
// selected, the caret on the first line, the first line at the top, the extent of the
// widest line. Where the runs change so many lines that a refill is cheaper, refills.
void changeListBox(SkinListBox& listBox, const std::vector<LineRun>& runs, const std::vector<std::string_view>& lines,
                   std::size_t refillAbovePerMille = changeRefillAbovePerMille);

// The horizontal scroll extent becomes the width in pixels of the widest line in the list
// box's own font plus 10, or 0 when the box is empty.
void updateHorizontalExtent(HWND listBox);
// The same for the lines the caller knows the list box holds, as it stored them.
void updateHorizontalExtent(HWND listBox, const std::vector<std::string>& lines);

// Moves the caret line of a multiple-selection list box by one (-1 up, +1 down) when some
// line is selected; `lines` are the list box's lines as the program gave them (a
// SkinListBox's copy). The line moves as those bytes: read back through UTF-16, a line
// that does not convert both ways would come back as another line.
void moveCaretLine(HWND listBox, const std::vector<std::string>& lines, int step);
