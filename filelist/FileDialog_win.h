#pragma once
// The multi-select file-open dialog of "Add file(s)".

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// Room for the names of several thousand files at once.
constexpr std::size_t fileDialogBufferChars = 1 << 20;

// Shows the Explorer-style open dialog with multiple selection, owned by owner, all files
// listed. Fills paths with the chosen full paths in the dialog's order and returns true;
// false when the user cancels or the dialog fails. When the names do not fit the buffer
// (reported, or cut short by the dialog), the dialog is shown again with a buffer of the
// size it asked for or four times larger, so a large selection is never dropped or cut
// silently.
bool chooseFiles(HWND owner, std::vector<std::string>& paths,
                 std::size_t bufferChars = fileDialogBufferChars);
