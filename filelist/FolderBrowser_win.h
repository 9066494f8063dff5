#pragma once
// The shell's folder dialog as "Add dir", "Copy to" and "Move to" use it.

#include <windows.h>

#include <string>

// The dialog's state for the run: the folder it opens on, and whether it was last closed
// by creating a folder the user typed.
class FolderBrowser {
public:
    // Shows the folder dialog (no owner, rooted at the desktop, file-system folders only,
    // status line, edit box with validation) with the title above the tree, opening on
    // folder. True when a folder was chosen or created; folder then holds its path.
    // Cancelled: false, folder unchanged.
    bool browse(std::string& folder, const std::string& title);

    // The dialog's notification routine, callable on its own for tests: what happens on
    // initialisation, on a change of selection and when typed text is not a folder.
    int onEvent(HWND dialog, UINT message, LPARAM data);

    std::string dialogFolder;
    bool folderCreated = false;

private:
    static int CALLBACK callback(HWND dialog, UINT message, LPARAM data, LPARAM self);
};
