// Names that no single ANSI code page holds, the whole way through the program in a 1252
// prefix: Explorer's handoff through the real extension, the adds, the filter, the runs,
// batch files, copy and move, the log and opening a file. And files of earlier versions,
// written in the machine's own code page, loading as before.

#include "CommandsUiSupport.h"

#include "../win32/ShellTestSupport.h"
#include "engine/BatchFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

using Lines = std::vector<std::string>;

// The driver's texts are UTF-8 for the life of the object.
class Utf8Texts {
public:
    Utf8Texts() : earlier_(ui::setTextCodePage(CP_UTF8)) {}
    ~Utf8Texts() { ui::setTextCodePage(earlier_); }
    Utf8Texts(const Utf8Texts&) = delete;
    Utf8Texts& operator=(const Utf8Texts&) = delete;

private:
    UINT earlier_;
};

// Files and folders by UTF-8 names, through the wide functions: the test's own code page
// cannot spell them.
std::wstring w(const std::string& utf8) { return ui::toWide(utf8); }

bool makeFile(const std::string& path, const std::string& content)
{
    HANDLE file = CreateFileW(w(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == content.size();
}

std::string readBytes(const std::string& path)
{
    HANDLE file = CreateFileW(w(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

Lines namesIn(const std::string& folder)
{
    Lines names;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(w(folder + "*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(ui::fromWide(name));
    } while (FindNextFileW(search, &data));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void removeTree(const std::string& folder)
{
    for (const std::string& name : namesIn(folder)) {
        const std::wstring path = w(folder + name);
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            removeTree(folder + name + "\\");
        else
            DeleteFileW(path.c_str());
    }
    RemoveDirectoryW(w(folder).c_str());
}

// A folder under the temporary folder, made of UTF-8 names below it, removed whole.
class Utf8Folder {
public:
    explicit Utf8Folder(const std::string& tag)
        : path_(testsupport::tempDirectory() + tag + " " + std::to_string(GetCurrentProcessId()) + "\\")
    {
        removeTree(path_);
        CreateDirectoryW(w(path_).c_str(), nullptr);
    }
    ~Utf8Folder() { removeTree(path_); }
    Utf8Folder(const Utf8Folder&) = delete;
    Utf8Folder& operator=(const Utf8Folder&) = delete;

    const std::string& path() const { return path_; }
    // Makes the folders of the relative path; its full path with a trailing backslash.
    std::string folder(const std::string& relative) const
    {
        std::string at = path_;
        std::size_t from = 0;
        for (;;) {
            const std::size_t slash = relative.find('\\', from);
            at += relative.substr(from, slash - from) + "\\";
            CreateDirectoryW(w(at).c_str(), nullptr);
            if (slash == std::string::npos)
                return at;
            from = slash + 1;
        }
    }

private:
    std::string path_;
};

Lines sorted(Lines lines)
{
    std::sort(lines.begin(), lines.end());
    return lines;
}

Lines joined(const std::string& folder, const Lines& names)
{
    Lines paths;
    for (const std::string& name : names)
        paths.push_back(folder + name);
    return paths;
}


using commandsui::chooseBatch;
using commandsui::selectFolderAndConfirm;

enum { uppercase = 4 };

const Lines names = {u8"Főtanúsítvány.pem", u8"写真.jpg", u8"Фото.png", u8"emoji-📷.txt", "plain.txt"};
const Lines upperNames = {u8"FŐTANÚSÍTVÁNY.pem", u8"写真.jpg", u8"ФОТО.png", u8"EMOJI-📷.txt", "PLAIN.txt"};

class Utf8NamesUi : public ::testing::Test {
protected:
    void TearDown() override
    {
        // The program started by the extension registered its own copy: back to bin/.
        shelltest::InstallPathScope::set(shelltest::binDirectory());
        shelltest::registerWithHost(shelltest::dllPath());
    }
    shelltest::InstallPathScope keep_;
};

TEST_F(Utf8NamesUi, EveryNameExactThroughTheWholeWork)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "walked in a code page 1252 prefix; this one uses " << GetACP();
    Utf8Texts texts;
    Utf8Folder root("Tessel Utf8");
    const std::string source = root.folder(u8"Папка");
    for (const std::string& name : names)
        ASSERT_TRUE(makeFile(source + name, name));
    const Lines originals = joined(source, names);

    // Explorer hands the files over through the real extension, to a program installed in
    // a folder with a Cyrillic name.
    const std::string install = root.folder(u8"Дмитрий\\Tesselwork 2");
    for (const char* file : {"Tessel2.exe", "Tessel.dll"})
        ASSERT_TRUE(CopyFileW(w(ui::testBinDirectory() + file).c_str(), w(install + file).c_str(), FALSE));
    ASSERT_TRUE(shelltest::InstallPathScope::set(install));
    ASSERT_EQ(shelltest::registerWithHost(shelltest::dllPath()), S_OK);
    const std::string selection = root.path() + "selection.txt";
    std::string listed;
    for (const std::string& path : originals)
        listed += path + "\r\n";
    ASSERT_TRUE(makeFile(selection, listed));
    const std::set<HWND> before = ui::programMainWindows();
    const shelltest::HostReport report = shelltest::runHost({"explore", "--invoke", "--utf8-list", selection});
    ASSERT_EQ(report["invoke"], "0x00000000");
    HWND started = ui::waitForNewMainWindow(before);
    ASSERT_NE(started, nullptr) << "the extension started no program";
    {
        ui::Program handedTo;
        ASSERT_TRUE(handedTo.adopt(started));
        EXPECT_EQ(handedTo.lines(IDC_FILE_LIST), originals);
        EXPECT_TRUE(handedTo.close());
    }
    EXPECT_EQ(namesIn(install), sorted({"Tessel.dll", "Tessel2.exe"})) << "the handoff file was taken in";

    commandsui::OpenRecorder recorder({".png"});
    ui::Program app;
    ASSERT_TRUE(app.start()) << app.lastError();

    // Add dir and Add file(s).
    ASSERT_TRUE(selectFolderAndConfirm(app, IDC_ADD_DIR, source)) << "folder dialog";
    EXPECT_EQ(sorted(app.lines(IDC_FILE_LIST)), sorted(originals));
    app.click(IDC_REMOVE_ALL);
    app.clickAsync(IDC_ADD_FILES);
    ui::ModalWindow files;
    ASSERT_TRUE(ui::waitFor([&] { return static_cast<bool>(files = app.findModal()); })) << "no file dialog";
    ASSERT_TRUE(files.chooseFiles(source, names));
    ASSERT_TRUE(files.waitClosed() && app.waitIdle());
    EXPECT_EQ(sorted(app.lines(IDC_FILE_LIST)), sorted(originals));

    // The filter, typed as a user types it, with and without Case.
    struct FilterRow {
        const char* filter;
        bool caseMatters;
        Lines shown;
    };
    const std::vector<FilterRow> filters = {
        {u8"фото", false, {u8"Фото.png"}},
        {u8"фото", true, {}},
        {u8"ŐT", false, {u8"Főtanúsítvány.pem"}},
        {u8"📷", true, {u8"emoji-📷.txt"}},
        {"", false, names},
    };
    for (const FilterRow& row : filters) {
        app.setChecked(IDC_CASE, row.caseMatters);
        app.setText(IDC_FILTER, "");
        app.type(IDC_FILTER, row.filter);
        app.waitIdle();
        EXPECT_EQ(sorted(app.lines(IDC_FILE_LIST)), sorted(joined(source, row.shown))) << row.filter;
    }
    app.setChecked(IDC_CASE, false);
    const Lines shown = app.lines(IDC_FILE_LIST);

    // A double click opens the file with the program registered for it.
    HWND list = app.control(IDC_FILE_LIST);
    const int photo = static_cast<int>(std::find(shown.begin(), shown.end(), source + u8"Фото.png") - shown.begin());
    SendMessageW(list, LB_SETCARETINDEX, static_cast<WPARAM>(photo), FALSE);
    SendMessageW(app.mainWindow(), WM_COMMAND, MAKEWPARAM(IDC_FILE_LIST, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(recorder.opened(1), (Lines{source + u8"Фото.png"}));

    // Preview, rename and undo with upper case for every script.
    app.selectComboItem(IDC_RULE_TARGET, 0);
    app.selectComboItem(IDC_RULE_ACTION, uppercase);
    app.click(IDC_ADD_RULE);
    ASSERT_EQ(app.lines(IDC_RULE_LIST), (Lines{"FILENAME UPPERCASE all"}));
    app.click(IDC_PREVIEW);
    EXPECT_NE(app.text(IDC_RESULT_LIST).find(source + u8"ФОТО.png"), std::string::npos) << app.text(IDC_RESULT_LIST);
    EXPECT_EQ(namesIn(source), sorted(names));
    app.click(IDC_RENAME);
    EXPECT_EQ(namesIn(source), sorted(upperNames)) << app.text(IDC_RESULT_LIST);
    app.click(IDC_UNDO);
    EXPECT_EQ(namesIn(source), sorted(names)) << app.text(IDC_RESULT_LIST);

    // The result log is UTF-8, every name in it exact.
    app.click(IDC_RENAME);
    ASSERT_EQ(namesIn(source), sorted(upperNames));
    const Lines logsBefore = namesIn(ui::testBinDirectory());
    app.click(IDC_SAVE_LOG);
    std::string log;
    for (const std::string& name : namesIn(ui::testBinDirectory())) {
        if (name.rfind("Log", 0) == 0 && !std::binary_search(logsBefore.begin(), logsBefore.end(), name)) {
            log = readBytes(ui::testBinDirectory() + name);
            DeleteFileW(w(ui::testBinDirectory() + name).c_str());
        }
    }
    ASSERT_NE(log.find("\r\n\r\n"), std::string::npos) << "no new log";
    EXPECT_EQ(log.substr(log.find("\r\n\r\n") + 4), app.text(IDC_RESULT_LIST));
    EXPECT_NE(log.find(source + u8"EMOJI-📷.txt"), std::string::npos) << log;

    // Saved as a batch, loaded in a new instance, undone from the file.
    const std::string batch = root.path() + u8"Работа.tlx";
    ASSERT_TRUE(chooseBatch(app, IDC_SAVE_BATCH, batch)) << "save dialog";
    EXPECT_NE(readBytes(batch).find(source + u8"Фото.png"), std::string::npos) << "written in UTF-8";
    EXPECT_TRUE(app.close());
    ui::Program again;
    ASSERT_TRUE(again.start()) << again.lastError();
    ASSERT_TRUE(chooseBatch(again, IDC_LOAD_BATCH, batch)) << "open dialog";
    EXPECT_EQ(again.lines(IDC_FILE_LIST), shown);
    ASSERT_TRUE(again.isEnabled(IDC_UNDO));
    again.click(IDC_UNDO);
    EXPECT_EQ(namesIn(source), sorted(names)) << again.text(IDC_RESULT_LIST);

    // Copy to and move to folders named Фото.
    const std::string copies = root.folder(u8"A\\Фото");
    const std::string moved = root.folder(u8"B\\Фото");
    again.click(IDC_SELECT_ALL);
    ASSERT_TRUE(selectFolderAndConfirm(again, IDC_COPY_TO, copies)) << "folder dialog";
    EXPECT_EQ(namesIn(copies), sorted(names));
    again.click(IDC_SELECT_ALL);
    ASSERT_TRUE(selectFolderAndConfirm(again, IDC_MOVE_TO, moved)) << "folder dialog";
    EXPECT_EQ(namesIn(moved), sorted(names));
    for (const std::string& name : names)
        EXPECT_EQ(readBytes(moved + name), name) << name;
    EXPECT_EQ(namesIn(source), Lines{});
    EXPECT_EQ(again.lineCount(IDC_FILE_LIST), 0);
    EXPECT_EQ(namesIn(root.path()), sorted({"A", "B", u8"Дмитрий", u8"Папка", u8"Работа.tlx", "selection.txt"}));
}

// A handoff file and a batch file of an earlier version, in the machine's own code page,
// load with every name as it was meant. Each row runs where the prefix has its code page.
TEST(LegacyFilesUi, HandoffAndBatchInTheMachinesCodePage)
{
    struct Row {
        UINT codePage;
        std::string legacyName;
        std::string name; // UTF-8
    };
    const std::vector<Row> rows = {
        {1252, "Caf\xE9 \x80.txt", u8"Café €.txt"},
        {932, "\x95\x5C\x83\x5C.txt", u8"表ソ.txt"},
    };
    Utf8Texts texts;
    Utf8Folder root("Tessel Legacy");
    // The test run in code page 932 puts the UTF-8 program into utf8/ beside its own.
    ui::StartOptions options;
    const std::string utf8Program = ui::testBinDirectory() + "utf8\\";
    if (GetFileAttributesW(w(utf8Program + "Tessel2.exe").c_str()) != INVALID_FILE_ATTRIBUTES)
        options.installDirectory = utf8Program;
    int ran = 0;
    for (const Row& row : rows) {
        if (GetACP() != row.codePage)
            continue;
        ++ran;
        const std::string path = root.path() + row.name;
        ASSERT_TRUE(makeFile(path, "x"));
        options.handoffRaw = root.path() + row.legacyName + "\r\n";
        ui::Program app;
        ASSERT_TRUE(app.start(options)) << app.lastError();
        EXPECT_EQ(app.lines(IDC_FILE_LIST), (Lines{path})) << row.codePage;

        BatchFile legacy;
        legacy.addedPaths = {root.path() + row.legacyName};
        legacy.fileListLines = legacy.addedPaths;
        legacy.ruleLines = {"FILENAME PREFIX \"" + row.legacyName + "\""};
        const std::string batch = root.path() + "legacy.tlx";
        ASSERT_TRUE(makeFile(batch, encodeBatchFile(legacy)));
        ASSERT_TRUE(chooseBatch(app, IDC_LOAD_BATCH, batch)) << "open dialog";
        EXPECT_EQ(app.lines(IDC_FILE_LIST), (Lines{path})) << row.codePage;
        EXPECT_EQ(app.lines(IDC_RULE_LIST), (Lines{"FILENAME PREFIX \"" + row.name + "\""})) << row.codePage;
        EXPECT_TRUE(app.close());
    }
    if (ran == 0)
        GTEST_SKIP() << "no sample for code page " << GetACP();
}

} // namespace
