#pragma once
// Reading and setting the texts of controls as ANSI text: window texts, long edit texts,
// and list box lines safely at any length.

#include <windows.h>

#include <string>
#include <vector>

// Line i of a list box with strings; empty when there is none.
std::string listBoxLine(HWND list, int index);
// Every line, first to last.
std::vector<std::string> listBoxLines(HWND list);

// The whole window text of a control (an edit, a combo box's edit field, a button).
std::string windowText(HWND window);
// Replaces the whole text of a multi-line edit, however long: the edit's default limit
// (about 32 KB) is lifted first, and the edit draws nothing until the text is in.
void setLongEditText(HWND edit, const std::string& text);

// True when a check box is ticked.
bool isChecked(HWND checkBox);
