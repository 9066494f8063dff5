#pragma once
// Reading the lines of a list box with strings as ANSI text, safely at any length.

#include <windows.h>

#include <string>
#include <vector>

// Line i of a list box with strings; empty when there is none.
std::string listBoxLine(HWND list, int index);
// Every line, first to last.
std::vector<std::string> listBoxLines(HWND list);
