// "Save batch", "Load batch" and "Save result log" in the real window: the state survives a
// restart of the program (Undo included), failures keep the state, and logs are exact.

#include "CommandsUiSupport.h"

#include "engine/BatchFile.h"
#include "base/CodePage.h"
#include "tests/support/HostVolume.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <ctime>
#include <set>

namespace {

using commandsui::TestFolder;
using commandsui::readFile;

using commandsui::chooseBatch;

void addRule(ui::Program& app, int action, const std::string& argument)
{
    app.selectComboItem(IDC_RULE_ACTION, action);
    app.setText(IDC_RULE_ARG1, "");
    app.type(IDC_RULE_ARG1, argument);
    app.click(IDC_ADD_RULE);
}

TEST(BatchUi, SavedAfterARenameRunLoadsAfterARestartAndUndoMovesTheFilesBack)
{
    TestFolder folder;
    folder.create("a.txt");
    folder.create("b.txt");
    const std::string batchPath = folder / "work.tlx";
    std::vector<std::string> rules;
    {
        ui::Program app;
        ASSERT_TRUE(app.start(folder.handoff({"a.txt", "b.txt"}))) << app.lastError();
        addRule(app, 0, "x"); // PREFIX x
        rules = app.lines(IDC_RULE_LIST);
        ASSERT_EQ(rules.size(), 1u);
        app.click(IDC_RENAME);
        ASSERT_TRUE(commandsui::fileExists(folder / "xa.txt")) << app.text(IDC_RESULT_LIST);
        ASSERT_TRUE(app.isEnabled(IDC_UNDO));
        ASSERT_TRUE(chooseBatch(app, IDC_SAVE_BATCH, batchPath));

        // The bytes are exactly the five items.
        BatchFile expected;
        expected.addedPaths = {folder / "a.txt", folder / "b.txt"};
        expected.fileListLines = expected.addedPaths;
        expected.journalPaths = {folder / "xa.txt", folder / "xb.txt"};
        expected.ruleLines = rules;
        expected.undoAvailable = true;
        EXPECT_EQ(readFile(batchPath), encodeBatchFile(expected));
        // Nothing is left beside it.
        EXPECT_EQ(folder.names(), (std::vector<std::string>{"work.tlx", "xa.txt", "xb.txt"}));
        EXPECT_TRUE(app.close());
    }
    ui::Program again;
    ASSERT_TRUE(again.start()) << again.lastError();
    EXPECT_FALSE(again.isEnabled(IDC_UNDO));
    ASSERT_TRUE(chooseBatch(again, IDC_LOAD_BATCH, batchPath));
    EXPECT_EQ(again.lines(IDC_FILE_LIST), (std::vector<std::string>{folder / "a.txt", folder / "b.txt"}));
    EXPECT_EQ(again.lines(IDC_RULE_LIST), rules);
    ASSERT_TRUE(again.isEnabled(IDC_UNDO));
    again.click(IDC_UNDO);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.txt", "b.txt", "work.tlx"}));
    EXPECT_EQ(again.text(IDC_RESULT_LIST),
              folder / "xa.txt" + "  roolback to " + folder / "a.txt" + "\r\n" + folder / "xb.txt" + "  roolback to "
                  + folder / "b.txt" + "\r\n");
    EXPECT_FALSE(again.isEnabled(IDC_UNDO));
}

TEST(BatchUi, AFilteredListIsRestoredAsSavedAndTheAddedPathsBehindIt)
{
    TestFolder folder;
    for (const char* name : {"a.txt", "b.jpg", "c.txt"})
        folder.create(name);
    const std::string batchPath = folder / "filtered.tlx";
    ui::Program app;
    ASSERT_TRUE(app.start(folder.handoff({"a.txt", "b.jpg", "c.txt"}))) << app.lastError();
    app.setText(IDC_FILTER, "jpg");
    ASSERT_EQ(app.lineCount(IDC_FILE_LIST), 1);
    ASSERT_TRUE(chooseBatch(app, IDC_SAVE_BATCH, batchPath));

    app.setText(IDC_FILTER, "");
    app.click(IDC_REMOVE_ALL);
    ASSERT_EQ(app.lineCount(IDC_FILE_LIST), 0);
    app.setText(IDC_FILTER, "zzz");
    ASSERT_TRUE(chooseBatch(app, IDC_LOAD_BATCH, batchPath));
    // The lines as saved, whatever the filter says now; the filter text stays.
    EXPECT_EQ(app.lines(IDC_FILE_LIST), (std::vector<std::string>{folder / "b.jpg"}));
    EXPECT_EQ(app.text(IDC_FILTER), "zzz");
    EXPECT_FALSE(app.isEnabled(IDC_UNDO));
    // The next rebuild derives the view from the loaded added paths.
    app.setText(IDC_FILTER, "");
    EXPECT_EQ(app.lines(IDC_FILE_LIST),
              (std::vector<std::string>{folder / "a.txt", folder / "b.jpg", folder / "c.txt"}));
}

TEST(BatchUi, ABatchThatEndsEarlyIsToldAndChangesNothing)
{
    TestFolder folder;
    folder.create("a.txt");
    BatchFile other;
    other.addedPaths = {"C:\\elsewhere\\z.txt"};
    other.fileListLines = other.addedPaths;
    other.ruleLines = {"FILENAME UPPERCASE"};
    other.undoAvailable = true;
    const std::string whole = encodeBatchFile(other);
    const std::string cutPath = folder / "cut.tlx";
    commandsui::writeFile(cutPath, whole.substr(0, whole.size() - 2));
    // Declares far more strings than the file holds.
    const std::string hostilePath = folder / "hostile.tlx";
    commandsui::writeFile(hostilePath, std::string("\xFF\xFF\xFF\xFF\xFF\x7F", 6) + std::string(40, '\0'));

    ui::Program app;
    ASSERT_TRUE(app.start(folder.handoff({"a.txt"}))) << app.lastError();
    addRule(app, 1, "s"); // SUFFIX s
    const std::vector<std::string> rules = app.lines(IDC_RULE_LIST);
    ASSERT_EQ(rules.size(), 1u);
    for (const std::string& path : {cutPath, hostilePath}) {
        app.clickAsync(IDC_LOAD_BATCH);
        ui::ModalWindow dialog;
        ASSERT_TRUE(ui::waitFor([&] { return static_cast<bool>(dialog = app.findModal()); }));
        ASSERT_TRUE(commandsui::chooseFileName(dialog, path));
        dialog.waitClosed();
        ui::ModalWindow box = app.waitForModal("Tesselwork 2", 5000);
        ASSERT_TRUE(box) << "no error box for " << path;
        EXPECT_EQ(box.staticText(), "An attempt was made to access an unnamed file past its end.");
        bool stopIcon = false;
        for (HWND child = GetWindow(box.hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (ui::className(child) == "Static" && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                stopIcon = true;
        }
        EXPECT_TRUE(stopIcon) << "the error box shows no icon";
        box.command(IDOK);
        box.waitClosed();
        app.waitIdle();
        EXPECT_EQ(app.lines(IDC_FILE_LIST), (std::vector<std::string>{folder / "a.txt"})) << path;
        EXPECT_EQ(app.lines(IDC_RULE_LIST), rules) << path;
        EXPECT_FALSE(app.isEnabled(IDC_UNDO)) << path;
    }
    // The journal was kept too: a rebuild-free Undo is still off, and the paths behind the
    // list are the old ones.
    app.setText(IDC_FILTER, "");
    EXPECT_EQ(app.lines(IDC_FILE_LIST), (std::vector<std::string>{folder / "a.txt"}));
}

std::set<std::string> logFiles()
{
    std::set<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((ui::testBinDirectory() + "Log*.txt").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        names.insert(data.cFileName);
    } while (FindNextFileA(search, &data));
    FindClose(search);
    return names;
}

// The long date of the C locale for a local time, formed independently of the program.
std::string expectedDate(long long seconds)
{
    static const char* const days[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    static const char* const months[] = {"January", "February", "March", "April", "May", "June", "July",
                                         "August", "September", "October", "November", "December"};
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm* local = std::localtime(&t);
    if (!local)
        return "<no local time>";
    char text[128];
    std::snprintf(text, sizeof text, "%s, %s %02d, %d %d:%02d:%02d", days[local->tm_wday], months[local->tm_mon],
                  local->tm_mday, local->tm_year + 1900, local->tm_hour, local->tm_min, local->tm_sec);
    return text;
}

TEST(BatchUi, SaveResultLogWritesTheHeaderAndTheTextAndNothingForAnEmptyList)
{
    TestFolder folder;
    ui::Program app;
    ASSERT_TRUE(app.start(folder.createAndHandOff({"a.txt"}))) << app.lastError();

    const std::set<std::string> before = logFiles();
    app.click(IDC_SAVE_LOG);
    EXPECT_EQ(logFiles(), before) << "an empty result list wrote a log";

    addRule(app, 0, "p");
    app.click(IDC_PREVIEW);
    // The user may type into the result list; the log takes the text as it stands.
    const std::string text = app.text(IDC_RESULT_LIST) + "typed by hand";
    app.setText(IDC_RESULT_LIST, text);
    const long long earliest = static_cast<long long>(std::time(nullptr));
    app.click(IDC_SAVE_LOG);
    const long long latest = static_cast<long long>(std::time(nullptr));

    std::vector<std::string> added;
    for (const std::string& name : logFiles()) {
        if (!before.count(name))
            added.push_back(name);
    }
    ASSERT_EQ(added.size(), 1u);
    const std::string& name = added[0];
    ASSERT_GT(name.size(), 7u);
    const long long seconds = std::atoll(name.substr(3, name.size() - 7).c_str());
    EXPECT_EQ(name, "Log" + std::to_string(seconds) + ".txt");
    EXPECT_GE(seconds, earliest);
    EXPECT_LE(seconds, latest);
    const std::string path = ui::testBinDirectory() + name;
    EXPECT_EQ(readFile(path), "Tesselwork 2 Log on: " + expectedDate(seconds) + "\r\n\r\n" + text);
    DeleteFileA(path.c_str());
}

} // namespace

namespace {

std::vector<std::string> dialogComboItems(HWND combo)
{
    std::vector<std::string> items;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
        std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        char narrow[512] = {0};
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, narrow, sizeof narrow - 1, nullptr, nullptr);
        items.push_back(narrow);
    }
    return items;
}

TEST(BatchUi, FileDialogsOfferTheBatchTypeAndSaveAddsItsExtension)
{
    TestFolder folder;
    ui::Program app;
    ASSERT_TRUE(app.start(folder.createAndHandOff({"a.txt"}))) << app.lastError();
    for (int command : {IDC_SAVE_BATCH, IDC_LOAD_BATCH}) {
        app.clickAsync(command);
        ui::ModalWindow dialog;
        ASSERT_TRUE(ui::waitFor([&] { return static_cast<bool>(dialog = app.findModal()); }));
        // cmb1, the file-type box.
        EXPECT_EQ(dialogComboItems(GetDlgItem(dialog.hwnd(), 0x470)),
                  (std::vector<std::string>{"Tesselwork File (*.tlx)"}))
            << command;
        if (command == IDC_SAVE_BATCH) {
            ASSERT_TRUE(commandsui::chooseFileName(dialog, folder / "named"));
        } else {
            dialog.command(IDCANCEL);
        }
        dialog.waitClosed();
        app.waitIdle();
    }
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.txt", "named.tlx"}));
    BatchFile saved;
    ASSERT_EQ(decodeBatchFile(readFile(folder / "named.tlx"), modelCodePage(1252), saved), BatchReadStatus::ok);
    EXPECT_EQ(saved.addedPaths, (std::vector<std::string>{folder / "a.txt"}));
}

// Answers the save dialog with the path of an existing file and confirms the replacement.
bool saveOver(ui::Program& app, const std::string& path)
{
    app.clickAsync(IDC_SAVE_BATCH);
    ui::ModalWindow dialog;
    if (!ui::waitFor([&] { return static_cast<bool>(dialog = app.findModal()); })
        || !commandsui::chooseFileName(dialog, path))
        return false;
    // The dialog asks before replacing an existing file.
    ui::ModalWindow confirm;
    if (!ui::waitFor([&] {
            confirm = app.findModal();
            return confirm && confirm.hwnd() != dialog.hwnd();
        }))
        return false;
    if (!confirm.clickButton("&Yes"))
        confirm.command(IDYES);
    return true;
}

TEST(BatchUi, ASaveOverAFileHeldWithoutDeleteSharingIsWrittenInPlace)
{
    TestFolder folder;
    folder.create("a.txt");
    const std::string path = folder / "held.tlx";
    commandsui::writeFile(path, "the earlier batch");
    // Another program holds the file open for reading and writing, but not for deletion:
    // nothing can take its place, but it can be written.
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ui::Program app;
    ASSERT_TRUE(app.start(folder.handoff({"a.txt"}))) << app.lastError();
    ASSERT_TRUE(saveOver(app, path));
    ASSERT_TRUE(ui::waitFor([&] { return !app.findModal(); }));
    app.waitIdle();
    CloseHandle(held);
    BatchFile saved;
    ASSERT_EQ(decodeBatchFile(readFile(path), modelCodePage(1252), saved), BatchReadStatus::ok);
    EXPECT_EQ(saved.addedPaths, (std::vector<std::string>{folder / "a.txt"}));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.txt", "held.tlx"}));
}

TEST(BatchUi, ASaveOnAFullDiskSaysDiskFullAndKeepsTheEarlierFile)
{
    testsupport::HostVolume volume(256);
    if (!volume.mounted())
        GTEST_SKIP() << "no small volume for this test: " << volume.refusal();
    const std::string path = volume / "earlier.tlx";
    commandsui::writeFile(path, "the earlier batch");
    ASSERT_TRUE(volume.fill("filler"));
    TestFolder folder;
    folder.create("a.txt");
    ui::Program app;
    ASSERT_TRUE(app.start(folder.handoff({"a.txt"}))) << app.lastError();
    ASSERT_TRUE(saveOver(app, path));
    ui::ModalWindow box = app.waitForModal("Tesselwork 2", 5000);
    ASSERT_TRUE(box) << "no error box";
    EXPECT_EQ(box.staticText(), "Disk full while accessing " + path + ".");
    box.command(IDOK);
    box.waitClosed();
    app.waitIdle();
    EXPECT_EQ(readFile(path), "the earlier batch");
    EXPECT_EQ(testsupport::folderNames(volume.path()), (std::vector<std::string>{"earlier.tlx", "filler"}));
}

TEST(BatchUi, SaveResultLogOnAFullDiskSaysDiskFullAndTouchesNoOtherFile)
{
    // The program runs from a small volume, where its logs go: room for the program and its
    // library as large as this build made them, and a megabyte more.
    const std::string dll = ui::testBinDirectory() + "Tessel.dll";
    const std::size_t programBytes = readFile(ui::Program::exePath()).size() + readFile(dll).size();
    testsupport::HostVolume volume(static_cast<int>(programBytes / 1024) + 1024);
    if (!volume.mounted())
        GTEST_SKIP() << "no small volume for this test: " << volume.refusal();
    ASSERT_TRUE(CopyFileA(ui::Program::exePath().c_str(), (volume / "Tessel2.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(dll.c_str(), (volume / "Tessel.dll").c_str(), FALSE));
    TestFolder folder;
    ui::StartOptions options = folder.createAndHandOff({"a.txt"});
    options.installDirectory = volume.path();
    {
        ui::Program app;
        ASSERT_TRUE(app.start(options)) << app.lastError();
        addRule(app, 0, "p");
        app.click(IDC_PREVIEW);
        ASSERT_TRUE(volume.fill("filler"));
        const std::vector<std::string> before = testsupport::folderNames(volume.path());
        const std::uint64_t exeHash = testsupport::contentHash(readFile(volume / "Tessel2.exe"));

        const long long earliest = static_cast<long long>(std::time(nullptr));
        app.clickAsync(IDC_SAVE_LOG);
        ui::ModalWindow box = app.waitForModal("Tesselwork 2", 5000);
        const long long latest = static_cast<long long>(std::time(nullptr));
        ASSERT_TRUE(box) << "no error box";
        const std::string text = box.staticText();
        box.command(IDOK);
        box.waitClosed();
        app.waitIdle();
        bool named = false;
        for (long long second = earliest; second <= latest; ++second)
            named = named || text == "Disk full while accessing " + volume / ("Log" + std::to_string(second) + ".txt.");
        EXPECT_TRUE(named) << text;
        // The log is left as far as it was written; every other file is as it was.
        std::vector<std::string> after;
        for (const std::string& name : testsupport::folderNames(volume.path())) {
            if (name.compare(0, 3, "Log") != 0)
                after.push_back(name);
        }
        EXPECT_EQ(after, before);
        EXPECT_EQ(testsupport::contentHash(readFile(volume / "Tessel2.exe")), exeHash);
        app.close();
    }
    // The installation path in the registry still names the volume: the next start from
    // bin/ writes its own again.
}

} // namespace
