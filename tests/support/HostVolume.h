#pragma once
// Small and read-only volumes for the tests under Wine: a tmpfs mounted through the host,
// where the machine allows it.

#include <string>

namespace testsupport {

// A tmpfs mounted by the host's mount(8) on a fresh host folder, reached through Wine's
// drive Z:. Mounting needs privileges that a machine may refuse: then mounted() is false
// and refusal() says why, for the test's skip message.
class HostVolume {
public:
    // A volume of `kilobytes`, empty.
    explicit HostVolume(int kilobytes);
    ~HostVolume();
    HostVolume(const HostVolume&) = delete;
    HostVolume& operator=(const HostVolume&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& refusal() const { return refusal_; }
    // The volume's root as a Windows path, with a trailing backslash.
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

    // Remounts the volume read-only; false (with refusal()) when the host refuses.
    bool makeReadOnly();
    // Fills the volume's free space with one file of that name; true when it is full.
    bool fill(const std::string& name);

private:
    std::string hostFolder_;
    std::string path_;
    std::string refusal_;
    bool mounted_ = false;
};

// An existing folder made read-only where it stands, for as long as the object lives: the
// host binds it over itself read-only, so that what is in it stays as it was and comes back
// writable afterwards. Needs the privileges a volume needs; held() is false otherwise and
// refusal() says why.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const std::string& windowsFolder);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool held() const { return held_; }
    const std::string& refusal() const { return refusal_; }

private:
    std::string hostFolder_;
    std::string refusal_;
    bool held_ = false;
};

// Runs a shell command on the host and waits for its end; false when it failed or could not
// start (not under Wine).
bool runHostShell(const std::string& command);

// The host path of a Windows folder, without a trailing slash; empty when not under Wine.
std::string hostFolderOf(const std::string& windowsFolder);

} // namespace testsupport
