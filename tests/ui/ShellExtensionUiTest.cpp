// The shell extension end to end: the Explorer stand-in invokes the command, the program
// starts from its installation folder and shows the handed-over files; the program's
// registration at start-up and its "Unable to load " message.

#include "driver/UiDriver.h"

#include "../win32/ShellTestSupport.h"
#include "app/resource.h"

#include "tests/support/HostVolume.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <set>

namespace {

using namespace shelltest;

struct WindowSearch {
    DWORD processId;            // 0: any process
    std::string title;
    std::set<HWND> exclude;
    HWND found;
};

BOOL CALLBACK findDialog(HWND window, LPARAM data)
{
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((search.processId && owner != search.processId) || !IsWindowVisible(window) ||
        search.exclude.count(window) || ui::className(window) != "#32770" || ui::windowText(window) != search.title)
        return TRUE;
    search.found = window;
    return FALSE;
}

HWND findDialogWindow(DWORD processId, const std::string& title, const std::set<HWND>& exclude = {})
{
    WindowSearch search{processId, title, exclude, nullptr};
    EnumWindows(findDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<std::string> listLines(HWND list)
{
    std::vector<std::string> lines;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring text(static_cast<std::size_t>(length < 0 ? 0 : length) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<std::size_t>(length < 0 ? 0 : length));
        const int bytes = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
        std::string narrow(static_cast<std::size_t>(bytes), '\0');
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &narrow[0], bytes, nullptr, nullptr);
        narrow.resize(narrow.size() ? narrow.size() - 1 : 0);
        lines.push_back(narrow);
    }
    return lines;
}

// One running program that the test did not necessarily start itself.
class RunningProgram {
public:
    ~RunningProgram() { close(); }

    bool start(const std::string& exe)
    {
        std::string commandLine = "\"" + exe + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info = {};
        if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &info))
            return false;
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        processId_ = info.dwProcessId;
        return true;
    }

    // Takes over the program that owns this main window.
    bool adopt(HWND main)
    {
        main_ = main;
        GetWindowThreadProcessId(main, &processId_);
        process_ = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId_);
        return process_ != nullptr;
    }

    DWORD processId() const { return processId_; }

    HWND waitForMainWindow()
    {
        ui::waitFor([&] {
            main_ = findDialogWindow(processId_, "Tesselwork 2");
            return main_ != nullptr || !running();
        });
        DWORD_PTR result = 0;
        if (main_)
            SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result);
        return main_;
    }

    bool running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

    void close()
    {
        if (!process_)
            return;
        if (main_ && running()) {
            PostMessageA(main_, WM_CLOSE, 0, 0);
            ui::waitFor(
                [&] {
                    HWND question = findDialogWindow(processId_, "Please select");
                    if (question)
                        ui::ModalWindow(question).clickButton("&Yes");
                    return !running();
                },
                10000);
        }
        if (running()) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
        process_ = nullptr;
    }

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND main_ = nullptr;
};

bool copyBeside(const std::string& name, const std::string& folder)
{
    return CopyFileA((binDirectory() + name).c_str(), (folder + name).c_str(), FALSE) != FALSE;
}

class ShellExtensionUi : public ::testing::Test {
protected:
    void TearDown() override
    {
        // Programs started from scratch folders registered the copies there: point the
        // registration back at bin/.
        InstallPathScope::set(binDirectory());
        registerWithHost(dllPath());
    }
    InstallPathScope keep_;
};

TEST_F(ShellExtensionUi, InvokedCommandStartsTheProgramWithTheFiles)
{
    ScratchFolder install("Tessel Ui Install");
    ASSERT_TRUE(copyBeside("Tessel2.exe", install.path()));
    ASSERT_TRUE(copyBeside("Tessel.dll", install.path()));
    ScratchFolder files("Tessel Ui Files");
    const std::vector<std::string> paths = {files.path() + "b photo.jpg", files.path() + "a.txt",
                                            files.path() + "b photo.jpg"};
    for (const std::string& p : paths)
        writeFile(p, "x");

    // Explorer loads the library from bin/; it reads the installation folder from
    // InstallPath. The program started there registers its own copy.
    ASSERT_TRUE(InstallPathScope::set(install.path()));
    ASSERT_EQ(registerWithHost(dllPath()), S_OK);
    const std::set<HWND> before = ui::programMainWindows();

    std::vector<std::string> args = {"explore", "--invoke"};
    args.insert(args.end(), paths.begin(), paths.end());
    HostReport r = runHost(args);
    ASSERT_EQ(r["invoke"], "0x00000000");

    // The program was started from the folder with a blank in its name.
    HWND main = ui::waitForNewMainWindow(before);
    ASSERT_NE(main, nullptr) << "no program window appeared";
    RunningProgram program;
    ASSERT_TRUE(program.adopt(main));
    DWORD_PTR idle = 0;
    SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &idle);

    EXPECT_EQ(listLines(GetDlgItem(main, IDC_FILE_LIST)), paths);
    EXPECT_TRUE(ui::waitFor([&] { return !fileExists(install.path() + "Tessel2.ts2"); }, 5000))
        << "the handoff file was taken in and deleted";
    // The new program wrote its own folder and registered the library beside it.
    EXPECT_EQ(classesDefaultValue(std::string("CLSID\\") + clsidText + "\\InprocServer32"),
              install.path() + "Tessel.dll");
    program.close();
}

// A copy of the program whose library beside it is missing or cannot register says so
// before it opens, and opens once the message is answered.
struct StartMessageRow {
    const char* what;
    const char* folder;
    const char* library;  // copied in as Tessel.dll; null: none
    const char* message;  // "" for "Unable to load " and the library's path
    bool boxBeforeWindow;
};

class ShellExtensionStartMessageUi : public ShellExtensionUi, public ::testing::WithParamInterface<StartMessageRow> {};

TEST_P(ShellExtensionStartMessageUi, IsShownAndTheProgramOpens)
{
    const StartMessageRow& row = GetParam();
    ScratchFolder install(row.folder);
    ASSERT_TRUE(copyBeside("Tessel2.exe", install.path()));
    if (row.library) {
        ASSERT_TRUE(CopyFileA((binDirectory() + row.library).c_str(), (install.path() + "Tessel.dll").c_str(), FALSE));
    }
    RunningProgram program;
    ASSERT_TRUE(program.start(install.path() + "Tessel2.exe"));
    HWND box = nullptr;
    ASSERT_TRUE(ui::waitFor([&] {
        box = findDialogWindow(program.processId(), "Message");
        return box != nullptr || !program.running();
    }, 20000));
    ASSERT_NE(box, nullptr) << "no message at start";
    ui::ModalWindow message(box);
    EXPECT_EQ(message.staticText(),
              *row.message ? std::string(row.message) : "Unable to load " + install.path() + "Tessel.dll");
    if (row.boxBeforeWindow) {
        EXPECT_EQ(findDialogWindow(program.processId(), "Tesselwork 2"), nullptr);
    }
    ASSERT_TRUE(message.clickButton("&OK"));
    EXPECT_NE(program.waitForMainWindow(), nullptr) << "the program opens after the message";
    program.close();
}

INSTANTIATE_TEST_SUITE_P(
    Libraries, ShellExtensionStartMessageUi,
    ::testing::Values(StartMessageRow{"MissingLibrary", "Tessel Ui NoDll", nullptr, "", true},
                      StartMessageRow{"LibraryWithoutRegistrationExport", "Tessel Ui Foreign Dll",
                                      "tessel_noregister.dll", "Dll register error!", false}),
    [](const ::testing::TestParamInfo<StartMessageRow>& info) { return std::string(info.param.what); });

// An installation the user may not write to, as Program Files is for an ordinary user,
// and a user who never started the program, so that no InstallPath names it: Explorer's
// command hands the files over through the user's own folder of the program, the program
// beside the library takes them in, and its result log goes there too.
TEST_F(ShellExtensionUi, AReadOnlyInstallationWorksThroughTheUsersFolder)
{
    const std::size_t programBytes = readFile(binDirectory() + "Tessel2.exe").size() + readFile(dllPath()).size();
    testsupport::HostVolume volume(static_cast<int>(programBytes / 1024) + 1024);
    if (!volume.mounted())
        GTEST_SKIP() << "no small volume for this test: " << volume.refusal();
    ASSERT_TRUE(copyBeside("Tessel2.exe", volume.path()));
    ASSERT_TRUE(copyBeside("Tessel.dll", volume.path()));
    if (!volume.makeReadOnly())
        GTEST_SKIP() << volume.refusal();
    char local[MAX_PATH] = {0};
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, local),
              S_OK);
    const std::string userFolder = std::string(local) + "\\Tesselwork 2\\";
    ScratchFolder files("Tessel Ui Files");
    const std::string file = files.path() + "a.txt";
    writeFile(file, "x");

    ASSERT_EQ(registerWithHost(volume / "Tessel.dll"), S_OK);
    InstallPathScope::erase();
    const std::set<HWND> before = ui::programMainWindows();
    HostReport r = runHost({"explore", "--invoke", file});
    ASSERT_EQ(r["invoke"], "0x00000000");
    HWND main = ui::waitForNewMainWindow(before);
    ASSERT_NE(main, nullptr) << "no program window appeared";
    ui::Program app;
    ASSERT_TRUE(app.adopt(main));
    EXPECT_EQ(app.lines(IDC_FILE_LIST), (std::vector<std::string>{file}));
    EXPECT_FALSE(fileExists(userFolder + "Tessel2.ts2")) << "the handoff was not taken in";

    const std::vector<std::string> logsBefore = testsupport::folderNames(userFolder);
    app.selectComboItem(IDC_RULE_ACTION, 0);
    app.type(IDC_RULE_ARG1, "p");
    app.click(IDC_ADD_RULE);
    app.click(IDC_PREVIEW);
    const std::string result = app.text(IDC_RESULT_LIST);
    app.click(IDC_SAVE_LOG);
    std::vector<std::string> logs;
    for (const std::string& name : testsupport::folderNames(userFolder)) {
        if (std::find(logsBefore.begin(), logsBefore.end(), name) == logsBefore.end())
            logs.push_back(name);
    }
    ASSERT_EQ(logs.size(), 1u);
    const std::string log = readFile(userFolder + logs[0]);
    EXPECT_EQ(log.substr(log.size() - std::min(log.size(), result.size())), result) << logs[0];
    DeleteFileA((userFolder + logs[0]).c_str());
    EXPECT_TRUE(app.close());
}

TEST_F(ShellExtensionUi, UnwritableInstallPathStillRegistersTheLibraryBesideTheProgram)
{
    // A key may only be created below a volatile key if it is volatile itself, so with the
    // company key volatile the program cannot store InstallPath; the library, finding none,
    // serves the program beside it, and registers.
    ScratchFolder install("Tessel Ui NoInstallPath");
    ASSERT_TRUE(copyBeside("Tessel2.exe", install.path()));
    ASSERT_TRUE(copyBeside("Tessel.dll", install.path()));
    RegDeleteKeyA(HKEY_CURRENT_USER, "SOFTWARE\\Corvanta\\Tesselwork 2");
    ASSERT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "SOFTWARE\\Corvanta"), ERROR_SUCCESS)
        << "the company key holds more than the installation key";
    HKEY company = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Corvanta", 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &company, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(company);

    RunningProgram program;
    ASSERT_TRUE(program.start(install.path() + "Tessel2.exe"));
    const bool opened = program.waitForMainWindow() != nullptr;
    const HWND box = findDialogWindow(program.processId(), "Message");
    const std::string text = box ? ui::ModalWindow(box).staticText() : "";
    program.close();
    RegDeleteKeyA(HKEY_CURRENT_USER, "SOFTWARE\\Corvanta");

    EXPECT_TRUE(opened);
    EXPECT_EQ(text, "") << "a message at start-up";
    EXPECT_EQ(classesDefaultValue(std::string("CLSID\\") + clsidText + "\\InprocServer32"),
              install.path() + "Tessel.dll");
}

TEST_F(ShellExtensionUi, QuotedProgramPathIsNotMistakenForAShorterOne)
{
    // For "...\Ren Tools\Tessel2.exe" unquoted, the system would first try "...\Ren.exe".
    const std::string base = testsupport::tempDirectory() + "TesselTrap" + std::to_string(GetCurrentProcessId()) + "\\";
    ScratchFolder::remove(base);
    ASSERT_TRUE(CreateDirectoryA(base.c_str(), nullptr));
    const std::string install = base + "Ren Tools\\";
    ASSERT_TRUE(CreateDirectoryA(install.c_str(), nullptr));
    ASSERT_TRUE(CopyFileA((binDirectory() + "tessel_trap.exe").c_str(), (base + "Ren.exe").c_str(), FALSE));
    ASSERT_TRUE(copyBeside("Tessel2.exe", install));
    ASSERT_TRUE(copyBeside("Tessel.dll", install));

    ASSERT_TRUE(InstallPathScope::set(install));
    ASSERT_EQ(registerWithHost(dllPath()), S_OK);
    const std::set<HWND> before = ui::programMainWindows();
    HostReport r = runHost({"explore", "--invoke", "C:\\picked.txt"});
    EXPECT_EQ(r["invoke"], "0x00000000");
    HWND main = nullptr;
    const bool started = ui::waitFor([&] {
        main = findDialogWindow(0, "Tesselwork 2", before);
        return main != nullptr || fileExists(base + "Ren.exe.ran");
    }, 20000);
    RunningProgram program;
    if (main)
        program.adopt(main);
    EXPECT_TRUE(started);
    EXPECT_NE(main, nullptr) << "the program in the folder with a blank started";
    EXPECT_FALSE(fileExists(base + "Ren.exe.ran")) << "the shorter path's program was started";
    if (main) {
        EXPECT_EQ(listLines(GetDlgItem(main, IDC_FILE_LIST)), std::vector<std::string>{"C:\\picked.txt"});
    }
    program.close();
    ScratchFolder::remove(base);
}

TEST_F(ShellExtensionUi, ShellContextBoxIsHiddenAndInert)
{
    ui::Program program;
    ASSERT_TRUE(program.start()) << program.lastError();
    HWND box = program.control(IDC_SHELL_CONTEXT);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ui::windowText(box), "Shell Context");
    EXPECT_FALSE(program.isVisible(IDC_SHELL_CONTEXT));
    const std::vector<std::string> filesBefore = program.lines(IDC_FILE_LIST);
    SendMessageA(program.mainWindow(), WM_COMMAND, MAKEWPARAM(IDC_SHELL_CONTEXT, BN_CLICKED),
                 reinterpret_cast<LPARAM>(box));
    EXPECT_TRUE(program.waitIdle());
    EXPECT_FALSE(program.findModal()) << "a click opens nothing";
    EXPECT_EQ(program.lines(IDC_FILE_LIST), filesBefore);
    EXPECT_TRUE(program.close());
}

}  // namespace
