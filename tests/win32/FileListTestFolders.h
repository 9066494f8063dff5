#pragma once
// Scratch folders on the real file system for the file list's Win32 tests.

#include "tests/support/TestFiles.h"

#include <string>

using testsupport::makeFolderLink;

// A fresh folder of its own, removed with all it holds (links removed, never followed).
class ScratchFolder : public testsupport::TempFolder {
public:
    ScratchFolder() : TempFolder("filelist") {}
    static bool exists(const std::string& path) { return testsupport::pathExists(path); }
};
