#pragma once
// Helpers of the shell-extension tests: InstallPath kept and restored, scratch folders, the
// Explorer stand-in host, registry dumps.

#include "tests/support/TestFiles.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace shelltest {

inline const char installKey[] = "SOFTWARE\\Corvanta\\Tesselwork 2";
inline const char clsidText[] = "{B2D2B1ED-EC81-4009-9B4C-E4ACFF4C5C4B}";
inline const char libidText[] = "{65B51E58-F393-40D0-BD9B-C0199023D1A0}";
inline const char iidTessel2Text[] = "{41412A39-3D9A-4864-8C6C-CF92F395F479}";
inline const CLSID clsidTessel2 = {0xB2D2B1ED, 0xEC81, 0x4009, {0x9B, 0x4C, 0xE4, 0xAC, 0xFF, 0x4C, 0x5C, 0x4B}};
inline const IID iidTessel2 = {0x41412A39, 0x3D9A, 0x4864, {0x8C, 0x6C, 0xCF, 0x92, 0xF3, 0x95, 0xF4, 0x79}};

inline std::string binDirectory() { return testsupport::programDirectory(); }

inline std::string dllPath() { return binDirectory() + "Tessel.dll"; }

inline bool fileExists(const std::string& path) { return testsupport::pathExists(path); }
using testsupport::readFile;
using testsupport::runProcess;
using testsupport::writeFile;

// A folder "<name> <process>" under the temporary directory, with a trailing backslash and
// blanks in its name as installation folders have; emptied first, removed with everything
// in it when the object goes.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name)
        : path_(testsupport::tempDirectory() + name + " " + std::to_string(GetCurrentProcessId()) + "\\")
    {
        remove(path_);
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { remove(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }

    static void remove(const std::string& dir) { testsupport::removeTree(dir); }

private:
    std::string path_;
};

// Keeps InstallPath as it was before a test and puts it back afterwards.
class InstallPathScope {
public:
    InstallPathScope()
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, installKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            char data[4096];
            DWORD size = sizeof data;
            if (RegQueryValueExA(key, "InstallPath", nullptr, &type_, reinterpret_cast<BYTE*>(data), &size) ==
                ERROR_SUCCESS) {
                existed_ = true;
                bytes_.assign(data, size);
            }
            RegCloseKey(key);
        }
    }
    ~InstallPathScope()
    {
        if (existed_)
            set(bytes_, type_);
        else
            erase();
    }
    InstallPathScope(const InstallPathScope&) = delete;
    InstallPathScope& operator=(const InstallPathScope&) = delete;

    static bool set(const std::string& bytes, DWORD type = REG_BINARY)
    {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, installKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return false;
        const LONG status = RegSetValueExA(key, "InstallPath", 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                           static_cast<DWORD>(bytes.size()));
        RegCloseKey(key);
        return status == ERROR_SUCCESS;
    }
    static void erase()
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, installKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "InstallPath");
            RegCloseKey(key);
        }
    }

private:
    bool existed_ = false;
    DWORD type_ = REG_BINARY;
    std::string bytes_;
};

// What the Explorer stand-in reported, key by key (the last line of a key wins).
struct HostReport {
    bool ran = false;
    std::map<std::string, std::string> values;
    std::string operator[](const std::string& key) const
    {
        auto found = values.find(key);
        return found == values.end() ? std::string("<missing>") : found->second;
    }
};

inline HostReport runHost(const std::vector<std::string>& commandAndArgs)
{
    HostReport report;
    const std::string reportPath = testsupport::tempDirectory() + "shellhost-report-" + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(reportPath.c_str());
    std::vector<std::string> args;
    args.push_back(commandAndArgs.at(0));
    if (commandAndArgs[0] == "explore") {
        args.push_back(reportPath);
        args.insert(args.end(), commandAndArgs.begin() + 1, commandAndArgs.end());
    } else {
        args.insert(args.end(), commandAndArgs.begin() + 1, commandAndArgs.end());
        args.push_back(reportPath);
    }
    DWORD exitCode = 0;
    report.ran = runProcess(binDirectory() + "tessel_shellhost.exe", args, 60000, &exitCode);
    const std::string text = readFile(reportPath);
    DeleteFileA(reportPath.c_str());
    // Only a handler that could be created runs to the last line; a host that ended before
    // it is a failure of its own, shown with what it wrote.
    if (commandAndArgs[0] == "explore" && text.find("create=0x00000000") != std::string::npos
        && text.find("\ndone=") == std::string::npos)
        std::printf("the shell host ended early (ran %d, exit code 0x%08lX):\n%s\n", report.ran ? 1 : 0,
                    static_cast<unsigned long>(exitCode), text.c_str());
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos)
            report.values[line.substr(0, eq)] = line.substr(eq + 1);
        start = end + 1;
    }
    return report;
}

inline HRESULT registerWithHost(const std::string& dll, bool registering = true)
{
    HostReport r = runHost({registering ? "register" : "unregister", dll});
    const std::string value = r[registering ? "register" : "unregister"];
    return value.rfind("0x", 0) == 0 ? static_cast<HRESULT>(std::stoul(value.substr(2), nullptr, 16)) : E_UNEXPECTED;
}

// A key and everything below it as text, subkeys and values sorted by name, so that two
// dumps of the same state compare equal. Empty when the key does not exist.
inline void dumpKey(HKEY parent, const std::string& path, const std::string& shownAs, std::string& out)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    out += "[" + shownAs + "]\n";
    std::vector<std::pair<std::string, std::string>> values;
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD nameLength = sizeof name;
        BYTE data[8192];
        DWORD size = sizeof data;
        DWORD type = 0;
        if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        std::string line = "  \"" + std::string(name, nameLength) + "\" type " + std::to_string(type) + ":";
        for (DWORD b = 0; b < size; ++b) {
            char hex[4];
            std::snprintf(hex, sizeof hex, " %02X", data[b]);
            line += hex;
        }
        values.emplace_back(std::string(name, nameLength), line + "\n");
    }
    std::sort(values.begin(), values.end());
    for (const auto& v : values)
        out += v.second;
    std::vector<std::string> subkeys;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameLength = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        subkeys.emplace_back(name, nameLength);
    }
    RegCloseKey(key);
    std::sort(subkeys.begin(), subkeys.end());
    for (const std::string& s : subkeys)
        dumpKey(parent, path + "\\" + s, shownAs + "\\" + s, out);
}

inline std::string dumpClassesKey(const std::string& path)
{
    std::string out;
    dumpKey(HKEY_CLASSES_ROOT, path, path, out);
    return out;
}

inline bool classesKeyExists(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

inline std::string classesDefaultValue(const std::string& path, DWORD* typeOut = nullptr, DWORD* sizeOut = nullptr)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "<no key>";
    char data[4096] = {};
    DWORD size = sizeof data;
    DWORD type = 0;
    const LONG status = RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return "<no value>";
    if (typeOut)
        *typeOut = type;
    if (sizeOut)
        *sizeOut = size;
    return std::string(data, size && data[size - 1] == '\0' ? size - 1 : size);
}

}  // namespace shelltest
