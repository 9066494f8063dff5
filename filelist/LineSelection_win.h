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
// Deletes the selected lines and returns their texts, last to first, as the caller stored
// them in `shown` (the list box's lines, first to last): the list box's own copy is
// UTF-16, and bytes that do not survive the round trip would name no added path. Many
// lines go by one refill with the rest; the top line and the caret stay on the lines they
// were on, or the nearest left.
// Beyond this share of the lines (in thousandths), the refill is the cheaper way.
constexpr std::size_t removeRefillAbovePerMille = 100;
std::vector<std::string> deleteSelectedLines(HWND list, const std::vector<std::string>& shown,
                                             std::size_t refillAbovePerMille = removeRefillAbovePerMille);
