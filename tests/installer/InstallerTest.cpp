// The setup and its uninstaller on a fresh system: what they put in place, that the installed
// program starts, and that uninstalling leaves the system as it was before.
//
// Run alone in a prefix of its own (scripts/installer.sh --test): it installs into the real
// Program Files and registers the extension for the whole system. The setup to test is
// TESSEL_SETUP, or else the 64-bit build of the setup beside this tree's bin/. Built in both
// trees: the 64-bit test plays 64-bit Windows, the 32-bit one (in a 32-bit prefix) 32-bit
// Windows.

#include "base/Identity.h"
#include "tests/support/HostVolume.h"
#include "tests/support/TestFiles.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char clsidKey[] = "CLSID\\{B2D2B1ED-EC81-4009-9B4C-E4ACFF4C5C4B}";
const char handlerKey[] = "*\\shellex\\ContextMenuHandlers\\Tesselwork2";
const char uninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tesselwork 2";

std::string setupPath()
{
    if (const char* given = std::getenv("TESSEL_SETUP"))
        return given;
    return testsupport::programDirectory() + "..\\installer\\tessel2-x64.exe";
}

// The folder of the setup, where the build keeps the pairs it carries (x64\, x86\); the
// help file it carries is the one in the bin\ beside that folder.
std::string setupFolder()
{
    const std::string setup = setupPath();
    return setup.substr(0, setup.find_last_of('\\') + 1);
}

std::string knownFolder(int csidl)
{
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return std::string();
    return std::string(path) + "\\";
}

std::string installDir() { return knownFolder(CSIDL_PROGRAM_FILES) + "Tesselwork 2\\"; }
std::string startMenuDir() { return knownFolder(CSIDL_COMMON_PROGRAMS) + "Tesselwork 2\\"; }

// Runs a command line as it stands, as the list of installed programs runs an uninstall
// command, and waits for it; the exit code, or -1 when it did not start or end in time.
long runCommandLine(std::string commandLine, DWORD timeoutMs = 120000)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    long result = -1;
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        result = static_cast<long>(code);
    } else {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

template <typename Condition>
bool waitFor(Condition condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(50);
    }
    return true;
}

// One value as text: strings as they stand (without the NUL that ends them), numbers in
// decimal, anything else as its bytes. "<none>" when the key or the value is missing.
std::string readValue(HKEY root, const std::string& key, const char* name, REGSAM view = KEY_WOW64_64KEY,
                      DWORD* typeOut = nullptr)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS)
        return "<none>";
    DWORD type = 0, size = 0;
    std::string result = "<none>";
    if (RegQueryValueExA(opened, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::string data(size, '\0');
        if (RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size) ==
            ERROR_SUCCESS) {
            data.resize(size);
            if (type == REG_DWORD && size == 4)
                result = std::to_string(*reinterpret_cast<const DWORD*>(data.data()));
            else if (type == REG_SZ || type == REG_EXPAND_SZ)
                result = data.substr(0, data.find('\0'));
            else
                result = data;
            if (typeOut)
                *typeOut = type;
        }
    }
    RegCloseKey(opened);
    return result;
}

// Every key and value below a key, one line each, in a stable order; the key skipped and
// what lies below it are left out.
void dumpKey(HKEY root, const std::string& path, REGSAM view, std::vector<std::string>& out,
             const std::string& skipped = std::string())
{
    if (!skipped.empty() && path == skipped)
        return;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return;
    out.push_back("[" + path + "]");
    std::vector<std::string> values;
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD nameLength = sizeof name, type = 0, size = 0;
        if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        std::string data(size, '\0');
        nameLength = sizeof name;
        if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type,
                          reinterpret_cast<BYTE*>(data.empty() ? nullptr : &data[0]), &size) == ERROR_SUCCESS)
            values.push_back(std::string(name) + "=" + std::to_string(type) + ":" + data.substr(0, size));
    }
    std::sort(values.begin(), values.end());
    out.insert(out.end(), values.begin(), values.end());
    std::vector<std::string> subkeys;
    for (DWORD i = 0;; ++i) {
        char name[1024];
        DWORD nameLength = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        subkeys.push_back(name);
    }
    RegCloseKey(key);
    std::sort(subkeys.begin(), subkeys.end());
    for (const std::string& sub : subkeys)
        dumpKey(root, path.empty() ? sub : path + "\\" + sub, view, out, skipped);
}

// The parts of the system a setup can reach: the machine's and the user's software keys in
// both registry views (the classes are part of them), and the folders it installs into.
struct SystemState {
    std::vector<std::string> registry;
    std::vector<std::string> files;
};

void listTree(const std::string& folder, std::vector<std::string>& out)
{
    if (folder.empty()) // a folder this system does not have
        return;
    for (const testsupport::FolderEntry& entry : testsupport::listFolder(folder)) {
        out.push_back(folder + entry.name);
        if (entry.isFolder())
            listTree(folder + entry.name + "\\", out);
    }
}

SystemState captureState()
{
    SystemState state;
    dumpKey(HKEY_LOCAL_MACHINE, "Software", KEY_WOW64_64KEY, state.registry);
    dumpKey(HKEY_LOCAL_MACHINE, "Software", KEY_WOW64_32KEY, state.registry);
    // Wine keeps its own state of the session under the user's Software\Wine (system
    // parameters of a running program, for one); no setup writes there.
    dumpKey(HKEY_CURRENT_USER, "Software", KEY_WOW64_64KEY, state.registry, "Software\\Wine");
    listTree(knownFolder(CSIDL_PROGRAM_FILES), state.files);
    listTree(knownFolder(CSIDL_PROGRAM_FILESX86), state.files);
    listTree(knownFolder(CSIDL_COMMON_PROGRAMS), state.files);
    listTree(knownFolder(CSIDL_PROGRAMS), state.files);
    std::sort(state.files.begin(), state.files.end());
    return state;
}

// Lines of after that are not in before and the other way round, for the failure message.
std::string difference(const std::vector<std::string>& before, const std::vector<std::string>& after)
{
    std::vector<std::string> a(before), b(after), gone, added;
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(gone));
    std::set_difference(b.begin(), b.end(), a.begin(), a.end(), std::back_inserter(added));
    std::ostringstream text;
    for (const std::string& line : gone)
        text << "- " << line.substr(0, 200) << "\n";
    for (const std::string& line : added)
        text << "+ " << line.substr(0, 200) << "\n";
    return text.str();
}

struct ValueRow {
    HKEY root;
    std::string key;
    const char* name;
    std::string expected;
};

class Setup : public ::testing::Test {
protected:
    void install(const std::string& arguments = std::string())
    {
        const std::string setup = setupPath();
        ASSERT_TRUE(testsupport::pathExists(setup)) << setup << " (build the target installer)";
        ASSERT_EQ(runCommandLine("\"" + setup + "\" /S" + arguments), 0) << setup;
    }

    // The uninstaller as the list of installed programs starts it: it copies itself away,
    // starts the copy and ends; the copy removes the folder.
    void uninstall(const std::string& folder)
    {
        const std::string command = readValue(HKEY_LOCAL_MACHINE, uninstallKey, "QuietUninstallString");
        ASSERT_EQ(command, "\"" + folder + "Uninstall.exe\" /S");
        ASSERT_EQ(runCommandLine(command), 0);
        // Its last step removes the entry of the installed programs.
        EXPECT_TRUE(waitFor(
            [&] {
                return !testsupport::pathExists(folder + "Uninstall.exe") &&
                       readValue(HKEY_LOCAL_MACHINE, uninstallKey, "DisplayName") == "<none>";
            },
            60000))
            << "the uninstaller did not finish";
    }
};

TEST_F(Setup, InstallsRegistersStartsAndUninstallsWithoutTrace)
{
    const SystemState before = captureState();
    const std::string dir = installDir();
    ASSERT_FALSE(testsupport::pathExists(dir)) << "the prefix is not fresh";

    install();

    // The pair of this Windows as the setup carries it, the help file and the uninstaller.
#ifdef _WIN64
    const std::string carried = setupFolder() + "x64\\";
#else
    const std::string carried = setupFolder() + "x86\\";
#endif
    const struct {
        const char* file;
        std::string source;
    } files[] = {
        {"Tessel2.exe", carried + "Tessel2.exe"},
        {"Tessel.dll", carried + "Tessel.dll"},
        {"tessel2.chm", setupFolder() + "..\\bin\\tessel2.chm"},
    };
    for (const auto& row : files) {
        SCOPED_TRACE(row.file);
        ASSERT_TRUE(testsupport::pathExists(dir + row.file));
        const std::string source = testsupport::readFile(row.source, "<unreadable>");
        EXPECT_TRUE(testsupport::readFile(dir + row.file) == source) << "not the file of this build";
    }
    EXPECT_TRUE(testsupport::pathExists(dir + "Uninstall.exe"));
    for (const char* link : {"Tesselwork 2.lnk", "Tesselwork 2 Help.lnk", "Uninstall Tesselwork 2.lnk"})
        EXPECT_TRUE(testsupport::pathExists(startMenuDir() + link)) << link;

    const ValueRow installed[] = {
        {HKEY_CLASSES_ROOT, std::string(clsidKey) + "\\InprocServer32", nullptr, dir + "Tessel.dll"},
        {HKEY_CLASSES_ROOT, std::string(clsidKey) + "\\InprocServer32", "ThreadingModel", "Apartment"},
        {HKEY_CLASSES_ROOT, handlerKey, nullptr, "{B2D2B1ED-EC81-4009-9B4C-E4ACFF4C5C4B}"},
        {HKEY_CLASSES_ROOT, "Tessel.Tessel2\\CurVer", nullptr, "Tessel.Tessel2.1"},
        {HKEY_CURRENT_USER, installKeyPath, installPathValue, dir},
        {HKEY_LOCAL_MACHINE, uninstallKey, "DisplayName", "Tesselwork 2"},
        {HKEY_LOCAL_MACHINE, uninstallKey, "DisplayVersion", versionText},
        {HKEY_LOCAL_MACHINE, uninstallKey, "Publisher", "Corvanta"},
        {HKEY_LOCAL_MACHINE, uninstallKey, "InstallLocation", dir.substr(0, dir.size() - 1)},
        {HKEY_LOCAL_MACHINE, uninstallKey, "UninstallString", "\"" + dir + "Uninstall.exe\""},
        {HKEY_LOCAL_MACHINE, uninstallKey, "DisplayIcon", dir + "Tessel2.exe"},
    };
    for (const ValueRow& row : installed)
        EXPECT_EQ(readValue(row.root, row.key, row.name), row.expected) << row.key << " " << (row.name ? row.name : "(default)");
#ifdef _WIN64
    // Registered for the 64-bit Explorer only.
    EXPECT_EQ(readValue(HKEY_CLASSES_ROOT, std::string(clsidKey) + "\\InprocServer32", nullptr, KEY_WOW64_32KEY), "<none>");
#endif

    // The installed program starts, finds its extension (no "Unable to load" box keeps it
    // from its window) and takes InstallPath over in its own form.
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + dir + "Tessel2.exe\"";
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &startup,
                               &process));
    HWND window = nullptr;
    EXPECT_TRUE(waitFor(
        [&] {
            window = FindWindowA(nullptr, displayName);
            return window && IsWindowVisible(window);
        },
        30000))
        << "the installed program shows no window";
    DWORD type = 0;
    EXPECT_EQ(readValue(HKEY_CURRENT_USER, installKeyPath, installPathValue, KEY_WOW64_64KEY, &type), dir);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY)) << "the program did not write InstallPath";
    // A command of this user's that no program picked up, in the user's own folder of the
    // program; the program is left running: the uninstaller closes it.
    const std::string userFolder = knownFolder(CSIDL_LOCAL_APPDATA) + "Tesselwork 2\\";
    ASSERT_TRUE(CreateDirectoryA(userFolder.c_str(), nullptr));
    ASSERT_TRUE(testsupport::writeFile(userFolder + "Tessel2.ts2", "C:\\unread.txt\r\n"));

    uninstall(dir);

    EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0) << "the program still runs";
    TerminateProcess(process.hProcess, 0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    EXPECT_FALSE(testsupport::pathExists(dir)) << "the installation folder stays";
    EXPECT_FALSE(testsupport::pathExists(userFolder)) << "the unread handoff of this user stays";
    EXPECT_FALSE(testsupport::pathExists(startMenuDir())) << "the Start-menu folder stays";
    const SystemState after = captureState();
    EXPECT_TRUE(after.registry == before.registry) << difference(before.registry, after.registry);
    EXPECT_TRUE(after.files == before.files) << difference(before.files, after.files);
}

// What the uninstaller must leave: files it did not install, and the Explorer command of a
// copy of the program elsewhere that registered its own library after the setup.
TEST_F(Setup, UninstallKeepsWhatIsNotItsOwn)
{
    const std::string dir = knownFolder(CSIDL_PROGRAM_FILES) + "Tessel Other Place\\";
    install(" /D=" + dir.substr(0, dir.size() - 1));
    ASSERT_TRUE(testsupport::pathExists(dir + "Tessel2.exe"));
    ASSERT_EQ(readValue(HKEY_LOCAL_MACHINE, uninstallKey, "InstallLocation"), dir.substr(0, dir.size() - 1));

    // A saved result log, and this tree's program registered from bin/ as a second copy.
    ASSERT_TRUE(testsupport::writeFile(dir + "Log1000000000.txt", "Tesselwork 2 Log on: \r\n\r\n"));
    const std::string bin = testsupport::programDirectory();
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, installKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, installPathValue, 0, REG_BINARY, reinterpret_cast<const BYTE*>(bin.data()),
                   static_cast<DWORD>(bin.size()));
    RegCloseKey(key);
    ASSERT_EQ(runCommandLine("regsvr32 /s \"" + bin + "Tessel.dll\""), 0);
    ASSERT_EQ(readValue(HKEY_CLASSES_ROOT, std::string(clsidKey) + "\\InprocServer32", nullptr), bin + "Tessel.dll");

    uninstall(dir);

    EXPECT_EQ(testsupport::folderNames(dir), std::vector<std::string>{"Log1000000000.txt"});
    EXPECT_EQ(readValue(HKEY_CLASSES_ROOT, std::string(clsidKey) + "\\InprocServer32", nullptr), bin + "Tessel.dll");
    EXPECT_EQ(readValue(HKEY_CLASSES_ROOT, handlerKey, nullptr), "{B2D2B1ED-EC81-4009-9B4C-E4ACFF4C5C4B}");
    EXPECT_EQ(readValue(HKEY_CURRENT_USER, installKeyPath, installPathValue), bin);
    EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, uninstallKey, "DisplayName"), "<none>");

    // Leave the prefix as the other test expects to find it.
    runCommandLine("regsvr32 /u /s \"" + bin + "Tessel.dll\"");
    RegDeleteKeyA(HKEY_CURRENT_USER, installKeyPath);
    RegDeleteKeyA(HKEY_CURRENT_USER, "SOFTWARE\\Corvanta");
    testsupport::removeTree(dir);
}

// Installed the default way into a folder this user may not write to (Program Files for an
// ordinary user), by someone else, so that no InstallPath names it: Explorer's command
// still starts the program with the files, handed over through the user's own folder of
// the program.
TEST_F(Setup, AnInstallationThatCannotBeWrittenStillTakesExplorersCommand)
{
    const std::string dir = installDir();
    install();
    const std::string host = testsupport::programDirectory() + "tessel_shellhost.exe";
    ASSERT_TRUE(testsupport::pathExists(host)) << host << " (build the whole tree)";
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, installKeyPath, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, installPathValue);
        RegCloseKey(key);
    }
    const std::string userFolder = knownFolder(CSIDL_LOCAL_APPDATA) + "Tesselwork 2\\";
    testsupport::TempFolder files("setup");
    const std::string file = files / "a.txt";
    ASSERT_TRUE(testsupport::writeFile(file, "a"));
    {
        testsupport::ReadOnlyFolder readOnly(dir);
        if (!readOnly.held()) {
            uninstall(dir);
            GTEST_SKIP() << readOnly.refusal();
        }
        const std::string report = files / "report.txt";
        ASSERT_TRUE(testsupport::runProcess(host, {"explore", report, "--invoke", file}));
        EXPECT_NE(testsupport::readFile(report).find("invoke=0x00000000"), std::string::npos)
            << testsupport::readFile(report);
        HWND window = nullptr;
        ASSERT_TRUE(waitFor(
            [&] {
                window = FindWindowA(nullptr, displayName);
                return window && IsWindowVisible(window);
            },
            30000))
            << "the command started no program";
        HWND list = GetDlgItem(window, 1000);
        std::vector<std::string> lines;
        for (LRESULT i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
            WCHAR text[1024] = {};
            SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            lines.push_back(testsupport::ansiText(text));
        }
        EXPECT_EQ(lines, std::vector<std::string>{file});
        EXPECT_FALSE(testsupport::pathExists(userFolder + "Tessel2.ts2")) << "the handoff was not taken in";
        EXPECT_FALSE(testsupport::pathExists(dir + "Tessel2.ts2"));
        // Save result log (1025) with text typed into the result list (1013): the log goes
        // into the user's own folder of the program.
        SetWindowTextA(GetDlgItem(window, 1013), "typed\r\n");
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(1025, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, 1025)));
        std::vector<std::string> logs;
        for (const std::string& name : testsupport::folderNames(userFolder)) {
            if (name.compare(0, 3, "Log") == 0)
                logs.push_back(name);
        }
        ASSERT_EQ(logs.size(), 1u);
        const std::string log = testsupport::readFile(userFolder + logs[0]);
        EXPECT_EQ(log.substr(log.size() - std::min<std::size_t>(log.size(), 7)), "typed\r\n");
        DeleteFileA((userFolder + logs[0]).c_str());
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
        ASSERT_NE(process, nullptr);
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
    }
    uninstall(dir);
    RemoveDirectoryA(userFolder.c_str());
}

} // namespace
