#pragma once
// Filling the program's list boxes fast and keeping their horizontal scroll extent right.

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

// The horizontal scroll extent becomes the width in pixels of the widest line in the list
// box's own font plus 10, or 0 when the box is empty.
void updateHorizontalExtent(HWND listBox);
