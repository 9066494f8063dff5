// Host volumes for the tests under Wine.

#include "tests/support/HostVolume.h"

#include "tests/support/TestFiles.h"

#include <windows.h>

#include <string>

namespace testsupport {

namespace {

int volumeCount = 0;
int markerCount = 0;

} // namespace

std::string hostFolderOf(const std::string& windowsFolder)
{
    std::string host = hostPath(windowsFolder);
    while (host.size() > 1 && host.back() == '/')
        host.pop_back();
    return host;
}

HostVolume::HostVolume(int kilobytes)
{
    const std::string temp = tempDirectory();
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

ReadOnlyFolder::ReadOnlyFolder(const std::string& windowsFolder) : hostFolder_(hostFolderOf(windowsFolder))
{
    if (hostFolder_.empty()) {
        refusal_ = "no host file system (not running under Wine)";
        return;
    }
    const std::string folder = "'" + hostFolder_ + "'";
    if (!runHostShell("mount --bind " + folder + " " + folder)) {
        refusal_ = "this machine refuses to bind a folder (mount needs root with CAP_SYS_ADMIN)";
        return;
    }
    if (!runHostShell("mount -o remount,ro,bind " + folder)) {
        runHostShell("umount -l " + folder);
        refusal_ = "this machine refuses to make a bound folder read-only";
        return;
    }
    held_ = true;
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (held_)
        runHostShell("umount -l '" + hostFolder_ + "'");
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
    const std::string temp = tempDirectory();
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
    const bool ended = runHostUntil("Z:\\bin\\sh -c \"" + quoted + "\"", [&] {
        return pathExists(done) || pathExists(failed);
    }, 20000);
    const bool ok = ended && pathExists(done);
    DeleteFileA(done.c_str());
    DeleteFileA(failed.c_str());
    return ok;
}

} // namespace testsupport
