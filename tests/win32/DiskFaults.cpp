// Disk faults for the Win32 tests: held files and host volumes.

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

namespace {

int volumeCount = 0;
int markerCount = 0;

} // namespace

std::string hostFolderOf(const std::string& windowsFolder)
{
    std::string host = testsupport::hostPath(windowsFolder);
    while (host.size() > 1 && host.back() == '/')
        host.pop_back();
    return host;
}

HostVolume::HostVolume(int kilobytes)
{
    const std::string temp = testsupport::tempDirectory();
    const std::string name = "tessel-volume-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++volumeCount);
    path_ = temp + name + "\\";
    if (!CreateDirectoryA(path_.c_str(), nullptr)) {
        refusal_ = "cannot create " + path_;
        return;
    }
    hostFolder_ = hostFolderOf(path_);
    if (hostFolder_.empty()) {
        refusal_ = "no host file system (not running under Wine)";
        return;
    }
    if (!runHostShell("mount -t tmpfs -o size=" + std::to_string(kilobytes) + "k tessel-test '" + hostFolder_ + "'")) {
        refusal_ = "this machine refuses to mount a tmpfs here (mount needs root with CAP_SYS_ADMIN)";
        return;
    }
    mounted_ = true;
}

HostVolume::~HostVolume()
{
    if (mounted_)
        runHostShell("umount -l '" + hostFolder_ + "'");
    RemoveDirectoryA(path_.c_str());
}

bool HostVolume::makeReadOnly()
{
    if (runHostShell("mount -o remount,ro '" + hostFolder_ + "'"))
        return true;
    refusal_ = "this machine refuses to remount the volume read-only";
    return false;
}

bool HostVolume::fill(const std::string& name)
{
    // dd stops at the first short write: the volume is then full to the last block.
    runHostShell("dd if=/dev/zero of='" + hostFolder_ + "/" + name + "' bs=4096 2>/dev/null; true");
    ULARGE_INTEGER available;
    return GetDiskFreeSpaceExA(path_.c_str(), &available, nullptr, nullptr) && available.QuadPart == 0;
}

bool runHostShell(const std::string& command)
{
    // The process handle Wine gives for a host program does not follow it: the command
    // leaves a marker beside the volume, one for success and one for failure.
    const std::string temp = testsupport::tempDirectory();
    const std::string marker = "tessel-volume-" + std::to_string(GetCurrentProcessId()) + "-mark" + std::to_string(++markerCount);
    const std::string hostTemp = hostFolderOf(temp);
    if (hostTemp.empty())
        return false;
    const std::string hostMarker = hostTemp + "/" + marker;
    const std::string done = temp + marker + ".ok";
    const std::string failed = temp + marker + ".failed";
    std::string script = command + " >/dev/null 2>&1 && touch '" + hostMarker + ".ok' || touch '" + hostMarker + ".failed'";
    std::string quoted;
    for (char c : script)
        quoted += c == '"' ? std::string("\\\"") : std::string(1, c);
    const bool ended = testsupport::runHostUntil("Z:\\bin\\sh -c \"" + quoted + "\"", [&] {
        return testsupport::pathExists(done) || testsupport::pathExists(failed);
    }, 20000);
    const bool ok = ended && testsupport::pathExists(done);
    DeleteFileA(done.c_str());
    DeleteFileA(failed.c_str());
    return ok;
}
