#pragma once
// The program's information box and question box; every message of the program goes
// through these two (the folder dialog's creation failure alone uses the plain box).

#include <windows.h>

#include <string>

// Information box: the text and one button "&OK"; modal, owned by the main window.
void showMessage(const std::string& text, int scheme);

// Question box: "&Yes" and "&No"; returns 1 for yes, 0 for no, Escape or close.
int askYesNo(const std::string& text, int scheme);

// The window that owns the boxes (the main window once it exists).
void setMessageOwner(HWND owner);

// Window titles of the two boxes, which the caption strip shows.
inline constexpr char messageBoxTitle[] = "Message";
inline constexpr char questionBoxTitle[] = "Please select";
