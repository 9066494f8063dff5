// A file held open by a second process for the disk-fault tests.

#include "tests/win32/DiskFaults.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

HeldFile::HeldFile(const std::string& path, DWORD share)
{
    const std::string tag = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
    ready_ = CreateEventA(nullptr, TRUE, FALSE, ("tessel-disk-held-" + tag).c_str());
    release_ = CreateEventA(nullptr, TRUE, FALSE, ("tessel-disk-release-" + tag).c_str());
    SetEnvironmentVariableA("TESSEL_HELD_FILE", path.c_str());
    SetEnvironmentVariableA("TESSEL_HELD_SHARE", std::to_string(share).c_str());
    SetEnvironmentVariableA("TESSEL_HELD_TAG", tag.c_str());
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string command = std::string("\"") + exe + "\" --gtest_filter=DiskFaultHelper.HoldFile";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    started_ = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &process_) != FALSE;
    SetEnvironmentVariableA("TESSEL_HELD_FILE", nullptr);
    SetEnvironmentVariableA("TESSEL_HELD_SHARE", nullptr);
    SetEnvironmentVariableA("TESSEL_HELD_TAG", nullptr);
    if (started_) {
        const HANDLE waits[2] = {ready_, process_.hProcess};
        held_ = WaitForMultipleObjects(2, waits, FALSE, 20000) == WAIT_OBJECT_0;
    }
}

HeldFile::~HeldFile()
{
    SetEvent(release_);
    if (started_) {
        WaitForSingleObject(process_.hProcess, 20000);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    CloseHandle(ready_);
    CloseHandle(release_);
}

// The holding side of HeldFile; does nothing in a normal test run.
TEST(DiskFaultHelper, HoldFile)
{
    const char* path = std::getenv("TESSEL_HELD_FILE");
    const char* share = std::getenv("TESSEL_HELD_SHARE");
    const char* tag = std::getenv("TESSEL_HELD_TAG");
    if (!path || !share || !tag)
        GTEST_SKIP() << "only runs as the file-holding process of the disk-fault tests";
    HANDLE file = CreateFileA(path, GENERIC_READ, static_cast<DWORD>(std::atoi(share)), nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, (std::string("tessel-disk-held-") + tag).c_str());
    HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, (std::string("tessel-disk-release-") + tag).c_str());
    ASSERT_TRUE(ready && release);
    SetEvent(ready);
    WaitForSingleObject(release, 60000);
    CloseHandle(file);
    CloseHandle(ready);
    CloseHandle(release);
}
