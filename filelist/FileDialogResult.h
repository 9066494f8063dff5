#pragma once
// Reading the names that the multi-select file-open dialog returns.

#include "base/PathText.h"

#include <string>
#include <vector>

// The dialog's buffer holds either one full path, or the folder followed by the chosen
// names, each ended by a NUL, with a second NUL after the last. Fills paths with the full
// paths in the dialog's order: folder, a backslash unless the folder ends with one, and
// the name. Returns false when the list does not end within the capacity: some dialogs
// (Wine's among them) cut a selection that does not fit instead of reporting it, and a
// cut list must not be taken, its last name may be cut short.
bool fileDialogPaths(const char* buffer, std::size_t capacity, std::vector<std::string>& paths,
                     const PathText& pathText = systemPathText());
