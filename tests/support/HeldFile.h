#pragma once
// A file another process holds open, so that a move, replacement or deletion of it fails.

#include "win/Handles.h"

#include <windows.h>

#include <string>

namespace testsupport {

// A second process (the running test program again, in its test HeldFileHelper.HoldFile)
// that opens the file for reading with the given sharing and holds it until the object
// goes. Only programs that link GoogleTest can use it.
class HeldFile {
public:
    HeldFile(const std::string& path, DWORD share);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    // The other process opened the file; false when it could not or did not start.
    bool held() const { return held_; }

private:
    UniqueHandle ready_;
    UniqueHandle release_;
    UniqueHandle process_;
    bool held_ = false;
};

} // namespace testsupport
