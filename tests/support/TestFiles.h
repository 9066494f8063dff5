#pragma once
// Files, folders and host programs on the real system for the Win32 tests and benchmarks.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// The system's temporary folder, with a trailing backslash.
std::string tempDirectory();
// The folder of the running executable (bin/), with a trailing backslash.
std::string programDirectory();

bool pathExists(const std::string& path);

// The whole file; whenUnreadable when it cannot be opened (others may hold it open for
// reading and writing meanwhile).
std::string readFile(const std::string& path, const std::string& whenUnreadable = std::string());
// Creates (CREATE_ALWAYS replaces, CREATE_NEW refuses an existing file) and writes the
// bytes; true when all of them were written.
bool writeFile(const std::string& path, const std::string& bytes, DWORD disposition = CREATE_ALWAYS);

// The text in the system's ANSI code page, characters it cannot show as "?". Sample texts
// built from Latin and Japanese characters keep some non-ASCII bytes in code page 1252 as
// in 932 (where several end in the byte 0x5C).
std::string ansiText(const std::wstring& text);
// Bytes that UTF-16 cannot give back in the process's code page (a lead byte without a
// trail byte in a double-byte code page); empty where every byte survives.
std::string bytesLostInUtf16();
// Non-ASCII letters for sample names: "\u00e9" and the katakana "so" (83 5C in 932).
inline const wchar_t sampleLetters[] = L"\u00e9\u30bd";

// FNV-1a of the bytes: tells contents apart in listings.
std::uint64_t contentHash(const std::string& bytes);

struct FolderEntry {
    std::string name;
    DWORD attributes;
    bool isFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};
// The entries of a folder (given with a trailing backslash) in the file system's own
// order, "." and ".." left out.
std::vector<FolderEntry> listFolder(const std::string& folder);
// The names of listFolder, sorted.
std::vector<std::string> folderNames(const std::string& folder);

// The host path of a Windows path under Wine; empty elsewhere.
std::string hostPath(const std::string& windowsPath);

// Starts a host program under Wine (which execs host binaries) and waits until done()
// holds: the process handle Wine gives for a host program does not follow the program.
bool startDetached(std::string commandLine);
template <typename Done>
bool runHostUntil(const std::string& commandLine, Done done, DWORD timeoutMs = 5000)
{
    if (!startDetached(commandLine))
        return false;
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < timeoutMs)
        Sleep(10);
    return done();
}

// A folder link as the system allows: a symbolic link where it makes real ones, otherwise
// (under Wine, whose CreateSymbolicLink does nothing) a host symbolic link made by ln.
bool makeFolderLink(const std::string& link, const std::string& target);
// Removes a link itself, never what it leads to.
void removeLink(const std::string& link);
// Removes a folder (with a trailing backslash) and all it holds, read-only files too;
// links are removed, never followed.
void removeTree(const std::string& folder);

// Runs a program (arguments quoted) and waits for it; false when it could not start or
// did not end in time (it is then ended).
bool runProcess(const std::string& exe, const std::vector<std::string>& args, DWORD timeoutMs = 60000,
                DWORD* exitCode = nullptr);

// A fresh folder "tessel-<tag>-<process>-<n>" under the temporary folder, with a trailing
// backslash; removed with everything in it when the object goes.
class TempFolder {
public:
    explicit TempFolder(const std::string& tag);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

    // Creates the folder (relative, without a trailing backslash) below this one; returns
    // its full path with a trailing backslash.
    std::string folder(const std::string& relative) const;
    // Creates the file with the content, then gives it the attributes; returns its path.
    std::string file(const std::string& relative, const std::string& content = std::string(),
                     DWORD attributes = FILE_ATTRIBUTE_NORMAL) const;
    std::string file(const std::string& relative, DWORD attributes) const
    {
        return file(relative, std::string(), attributes);
    }
    // Sorted names in the folder or in a subfolder of it.
    std::vector<std::string> names(const std::string& sub = std::string()) const;

private:
    std::string path_;
};

} // namespace testsupport
