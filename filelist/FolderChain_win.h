#pragma once
// Creating a typed folder path level by level for the folder dialog.

#include <string>

// Creates every missing level of the path (see folderChainLevels). When a level cannot be
// created, shows the plain message box (no owner, caption displayName, icon 128, OK) with
// the level's path and the message in code page 936, and returns false. True when every
// level exists afterwards.
bool createFolderChain(const std::string& path);

// The text of that message, as GB2312 bytes.
extern const char folderCreationFailedText[];
