#pragma once
// A file another process holds open, for the disk-fault tests; the volumes are in
// tests/support/HostVolume.h.

#include "tests/support/HostVolume.h"

#include <windows.h>

#include <string>

// A second process (this test program again) that opens a file with the given sharing and
// holds it until the object goes.
class HeldFile {
public:
    HeldFile(const std::string& path, DWORD share);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    bool held() const { return held_; }

private:
    HANDLE ready_;
    HANDLE release_;
    PROCESS_INFORMATION process_{};
    bool started_ = false;
    bool held_ = false;
};
