// Both sides of HeldFile: the test program starts itself again, filtered to the holding
// test, and hands it the file through the environment.

#include "tests/support/HeldFile.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace testsupport {

namespace {

const char* const pathVariable = "TESSEL_HELD_FILE";
const char* const shareVariable = "TESSEL_HELD_SHARE";
const char* const tagVariable = "TESSEL_HELD_TAG";

std::string readyEventName(const std::string& tag) { return "tessel-held-" + tag; }
std::string releaseEventName(const std::string& tag) { return "tessel-release-" + tag; }

} // namespace

HeldFile::HeldFile(const std::string& path, DWORD share)
{
    const std::string tag = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
    ready_.reset(CreateEventA(nullptr, TRUE, FALSE, readyEventName(tag).c_str()));
    release_.reset(CreateEventA(nullptr, TRUE, FALSE, releaseEventName(tag).c_str()));
    SetEnvironmentVariableA(pathVariable, path.c_str());
    SetEnvironmentVariableA(shareVariable, std::to_string(share).c_str());
    SetEnvironmentVariableA(tagVariable, tag.c_str());
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string command = std::string("\"") + exe + "\" --gtest_filter=HeldFileHelper.HoldFile";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const bool started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                        &startup, &process) != FALSE;
    SetEnvironmentVariableA(pathVariable, nullptr);
    SetEnvironmentVariableA(shareVariable, nullptr);
    SetEnvironmentVariableA(tagVariable, nullptr);
    if (!started)
        return;
    CloseHandle(process.hThread);
    process_.reset(process.hProcess);
    // A helper that fails to open the file ends instead of signalling: no need to wait it out.
    const HANDLE waits[2] = {ready_.get(), process_.get()};
    held_ = WaitForMultipleObjects(2, waits, FALSE, 20000) == WAIT_OBJECT_0;
}

HeldFile::~HeldFile()
{
    SetEvent(release_.get());
    if (process_)
        WaitForSingleObject(process_.get(), 20000);
}

// The holding side; does nothing in a normal test run.
TEST(HeldFileHelper, HoldFile)
{
    const char* path = std::getenv(pathVariable);
    const char* share = std::getenv(shareVariable);
    const char* tag = std::getenv(tagVariable);
    if (!path || !share || !tag)
        GTEST_SKIP() << "only runs as the process that holds a file open for another test";
    UniqueHandle file(CreateFileA(path, GENERIC_READ, static_cast<DWORD>(std::atoi(share)), nullptr, OPEN_EXISTING,
                                  0, nullptr));
    ASSERT_TRUE(file);
    UniqueHandle ready(OpenEventA(EVENT_MODIFY_STATE, FALSE, readyEventName(tag).c_str()));
    UniqueHandle release(OpenEventA(SYNCHRONIZE, FALSE, releaseEventName(tag).c_str()));
    ASSERT_TRUE(ready && release);
    SetEvent(ready.get());
    WaitForSingleObject(release.get(), 60000);
}

} // namespace testsupport
