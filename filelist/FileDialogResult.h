#pragma once
// Reading the names that the multi-select file-open dialog returns.

#include <string>
#include <vector>

// The dialog's buffer holds either one full path, or the folder followed by the chosen
// names, each ended by a NUL, with a second NUL after the last. Returns the full paths in
// the dialog's order: folder, a backslash unless the folder ends with one, and the name.
std::vector<std::string> fileDialogPaths(const char* buffer, std::size_t capacity);
