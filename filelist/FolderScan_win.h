#pragma once
// The folder scan of "Add dir": every file of a folder, optionally of all its subfolders.

#include "filelist/AddedPaths.h"

#include <string>

// Adds every file of the folder (a path ending with a backslash) to the list with the
// duplicate rule, in the order the file system returns them; hidden, system and read-only
// files included. With subfolders, each subfolder is scanned where it is met, before the
// folder's remaining entries. Folder links are followed, except into a folder that is
// already being scanned further up (folders are told apart by volume and file index), so
// a link that leads back to an ancestor cannot make the scan run without end. A folder
// that cannot be searched adds nothing.
void scanFolder(const std::string& folder, bool subfolders, AddedPaths& into);
