#pragma once
// The levels of a folder path that the folder dialog creates one after the other.

#include "base/CodePage.h"

#include <string>
#include <vector>

// Each prefix of the path up to and including a backslash (searching from the second
// character, so a leading backslash makes no level of its own), then the whole path with
// a backslash appended unless it already ends with one. The levels of a UNC path start
// after its share ("\\server\share\"), which cannot be created as a folder. Trail bytes of
// double-byte characters are not taken for backslashes.
std::vector<std::string> folderChainLevels(const std::string& path,
                                           const CodePage& codePage = systemCodePage());
