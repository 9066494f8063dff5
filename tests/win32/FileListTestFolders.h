#pragma once
// Scratch folders on the real file system for the file list's Win32 tests.

#include <windows.h>

#include <string>

// The host path of a Windows path under Wine; empty elsewhere.
inline std::string hostPath(const std::string& windowsPath)
{
    using UnixName = char*(CDECL*)(LPCWSTR);
    auto unixName = reinterpret_cast<UnixName>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
    if (!unixName)
        return std::string();
    const int chars = MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(chars), L'\0');
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, &wide[0], chars);
    char* name = unixName(wide.c_str());
    std::string result = name ? name : "";
    if (name)
        HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// Starts a host program under Wine (which execs host binaries) and waits until done()
// holds: the process handle Wine gives for a host program does not follow the program.
template <typename Done>
bool runHostUntil(std::string commandLine, Done done)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (int i = 0; i < 500 && !done(); ++i)
        Sleep(10);
    return done();
}

inline bool pathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A folder link as the test's system allows: a symbolic link where the system makes real
// ones, otherwise (under Wine, whose CreateSymbolicLink does nothing) a host symbolic
// link made by the host's ln.
inline bool makeFolderLink(const std::string& link, const std::string& target)
{
    using CreateLink = BOOLEAN(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    auto create = reinterpret_cast<CreateLink>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA"));
    if (create && create(link.c_str(), target.c_str(), 1) && pathExists(link))
        return true;
    const std::size_t slash = link.rfind('\\');
    const std::string hostFolder = hostPath(link.substr(0, slash + 1));
    const std::string hostTarget = hostPath(target);
    if (hostFolder.empty() || hostTarget.empty())
        return false;
    return runHostUntil("Z:\\bin\\ln -s \"" + hostTarget + "\" \"" + hostFolder + "/" + link.substr(slash + 1) + "\"",
                        [&] { return pathExists(link); });
}

// Removes a link itself, never what it leads to.
inline void removeLink(const std::string& link)
{
    const std::string host = hostPath(link);
    if (!host.empty()) {
        runHostUntil("Z:\\bin\\rm -f \"" + host + "\"", [&] { return !pathExists(link); });
        return;
    }
    RemoveDirectoryA(link.c_str());
}

// A fresh folder under the temporary directory, ending with a backslash, removed with all
// it holds (links removed, never followed) when the object goes.
class ScratchFolder {
public:
    ScratchFolder()
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        static int counter = 0;
        path_ = std::string(temp) + "tessel-filelist-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter) + "\\";
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder()
    {
        removeTree(path_);
        // What the system would not remove (a dangling host link, say) goes by the host's
        // rm, which never follows links.
        const std::string host = pathExists(path_) ? hostPath(path_) : std::string();
        if (host.find("tessel-filelist-") != std::string::npos)
            runHostUntil("Z:\\bin\\rm -rf \"" + host + "\"", [&] { return !pathExists(path_); });
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }

    // Creates the folder path (relative, ending without a backslash) below this one.
    std::string folder(const std::string& relative) const
    {
        const std::string full = path_ + relative + "\\";
        CreateDirectoryA(full.c_str(), nullptr);
        return full;
    }

    std::string file(const std::string& relative, DWORD attributes = FILE_ATTRIBUTE_NORMAL) const
    {
        const std::string full = path_ + relative;
        HANDLE h = CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
        if (attributes != FILE_ATTRIBUTE_NORMAL)
            SetFileAttributesA(full.c_str(), attributes);
        return full;
    }

    static bool exists(const std::string& path) { return pathExists(path); }

private:
    static void removeTree(const std::string& folder)
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "*.*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = found.cFileName;
                if (name == "." || name == "..")
                    continue;
                const std::string full = folder + name;
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                    removeLink(full);
                } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    removeTree(full + "\\");
                } else {
                    DeleteFileA(full.c_str());
                }
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(folder.c_str());
    }

    std::string path_;
};
