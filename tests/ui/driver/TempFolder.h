#pragma once
// Scratch folders and files on the real file system for the UI tests.

#include <windows.h>

#include <string>
#include <vector>

namespace ui {

// A fresh folder under the temporary directory (ending with a backslash), removed with
// everything in it when the object goes. The program under test sees the same folder.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // Creates a folder (relative path) below this one and returns its full path with a
    // trailing backslash.
    std::string folder(const std::string& relative) const;
    // Creates a file with the given content and attributes; returns its full path.
    std::string file(const std::string& relative, const std::string& content = std::string(),
                     DWORD attributes = FILE_ATTRIBUTE_NORMAL) const;

private:
    std::string path_;
};

bool fileExists(const std::string& path);

} // namespace ui
