// Files, folders and host programs on the real system for the Win32 tests and benchmarks.

#include "tests/support/TestFiles.h"

#include <algorithm>

namespace testsupport {

std::string tempDirectory()
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return temp;
}

std::string programDirectory()
{
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) {
            std::string path(buffer.data(), length);
            return path.substr(0, path.rfind('\\') + 1);
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool pathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string readFile(const std::string& path, const std::string& whenUnreadable)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return whenUnreadable;
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool writeFile(const std::string& path, const std::string& bytes, DWORD disposition)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = bytes.empty() ||
                    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::string bytesLostInUtf16()
{
    for (const std::string candidate : {"\x81", "\x82\x20", "\xA0\xFF", "\xFF"}) {
        wchar_t wide[8] = {};
        const int units = MultiByteToWideChar(CP_ACP, 0, candidate.data(), static_cast<int>(candidate.size()), wide, 8);
        char back[16] = {};
        const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, units, back, sizeof back, nullptr, nullptr);
        if (std::string(back, static_cast<std::size_t>(bytes > 0 ? bytes : 0)) != candidate)
            return candidate;
    }
    return "";
}

std::string ansiText(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}

std::uint64_t contentHash(const std::string& bytes)
{
    std::uint64_t h = 1469598103934665603ULL;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 1099511628211ULL;
    }
    return h;
}

std::vector<FolderEntry> listFolder(const std::string& folder)
{
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return entries;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            entries.push_back({name, found.dwFileAttributes});
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return entries;
}

std::vector<std::string> folderNames(const std::string& folder)
{
    std::vector<std::string> names;
    for (const FolderEntry& e : listFolder(folder))
        names.push_back(e.name);
    std::sort(names.begin(), names.end());
    return names;
}

std::string hostPath(const std::string& windowsPath)
{
    using UnixName = char*(CDECL*)(LPCWSTR);
    auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
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

bool startDetached(std::string commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool makeFolderLink(const std::string& link, const std::string& target)
{
    using CreateLink = BOOLEAN(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    auto create = reinterpret_cast<CreateLink>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA")));
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

void removeLink(const std::string& link)
{
    const std::string host = hostPath(link);
    if (!host.empty()) {
        runHostUntil("Z:\\bin\\rm -f \"" + host + "\"", [&] { return !pathExists(link); });
        return;
    }
    if (!RemoveDirectoryA(link.c_str()))
        DeleteFileA(link.c_str());
}

void removeTree(const std::string& folder)
{
    for (const FolderEntry& e : listFolder(folder)) {
        const std::string full = folder + e.name;
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (e.attributes & FILE_ATTRIBUTE_REPARSE_POINT)
            removeLink(full);
        else if (e.isFolder())
            removeTree(full + "\\");
        else
            DeleteFileA(full.c_str());
    }
    RemoveDirectoryA(folder.c_str());
}

bool runProcess(const std::string& exe, const std::vector<std::string>& args, DWORD timeoutMs, DWORD* exitCode)
{
    std::string commandLine = "\"" + exe + "\"";
    for (const std::string& a : args)
        commandLine += " \"" + a + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    const bool ended = WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0;
    if (!ended)
        TerminateProcess(info.hProcess, 1);
    if (exitCode)
        GetExitCodeProcess(info.hProcess, exitCode);
    CloseHandle(info.hProcess);
    return ended;
}

TempFolder::TempFolder(const std::string& tag)
{
    // A process id comes round again under Wine: a folder left by an earlier run is passed
    // over, never reused.
    static int counter = 0;
    const std::string stem = tempDirectory() + "tessel-" + tag + "-" + std::to_string(GetCurrentProcessId()) + "-";
    do
        path_ = stem + std::to_string(++counter) + "\\";
    while (!CreateDirectoryA(path_.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
}

TempFolder::~TempFolder()
{
    removeTree(path_);
    // What the system would not remove (a dangling host link, say) goes by the host's rm,
    // which never follows links.
    if (!pathExists(path_))
        return;
    const std::string host = hostPath(path_);
    const std::string leaf = path_.substr(tempDirectory().size(), path_.size() - tempDirectory().size() - 1);
    if (!leaf.empty() && host.find(leaf) != std::string::npos)
        runHostUntil("Z:\\bin\\rm -rf \"" + host + "\"", [&] { return !pathExists(path_); });
}

std::string TempFolder::folder(const std::string& relative) const
{
    const std::string full = path_ + relative + "\\";
    CreateDirectoryA(full.c_str(), nullptr);
    return full;
}

std::string TempFolder::file(const std::string& relative, const std::string& content, DWORD attributes) const
{
    const std::string full = path_ + relative;
    writeFile(full, content);
    if (attributes != FILE_ATTRIBUTE_NORMAL)
        SetFileAttributesA(full.c_str(), attributes);
    return full;
}

std::vector<std::string> TempFolder::names(const std::string& sub) const
{
    return folderNames(sub.empty() ? path_ : path_ + sub + "\\");
}

} // namespace testsupport
