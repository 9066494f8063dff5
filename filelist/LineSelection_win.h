#pragma once
// The list-box side of the selection commands, shared by the file list panel and the benchmark.

#include "win/ControlText.h"

#include <windows.h>

#include <string>
#include <vector>

// The selected line numbers, ascending.
std::vector<int> selectedListBoxIndexes(HWND list);
// Selects every line / flips the selection of every line, with redraw off meanwhile; the
// list box sends no selection-change notification for either.
void selectAllLines(HWND list);
void invertLineSelection(HWND list);
// Deletes the selected lines, last to first; returns their texts in that order.
std::vector<std::string> deleteSelectedLines(HWND list);
