// The file list's dialogs on the real system: creating typed folders level by level with
// its failure box, the folder dialog's handling of typed folders, and the file dialog's
// retry when the chosen names do not fit.

#include "base/Identity.h"
#include "filelist/FileDialog_win.h"
#include "filelist/FolderBrowser_win.h"
#include "filelist/FolderChain_win.h"
#include "tests/win32/FileListTestFolders.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

// Finds a dialog box of this process with the given title on another thread, records
// its static text and answers it.
struct DialogSearch {
    const char* title;
    HWND found;
};

BOOL CALLBACK matchOwnDialog(HWND window, LPARAM data)
{
    DialogSearch& s = *reinterpret_cast<DialogSearch*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[32] = "", text[256] = "";
    GetClassNameA(window, cls, sizeof cls);
    GetWindowTextA(window, text, sizeof text);
    if (pid == GetCurrentProcessId() && IsWindowVisible(window) && std::string(cls) == "#32770" &&
        std::string(text) == s.title) {
        s.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND findOwnDialog(const char* title)
{
    DialogSearch search = {title, nullptr};
    EnumWindows(matchOwnDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK keepStaticText(HWND child, LPARAM data)
{
    char cls[32] = "";
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") == 0) {
        char text[1024] = "";
        GetWindowTextA(child, text, sizeof text);
        if (text[0])
            *reinterpret_cast<std::string*>(data) = text;
    }
    return TRUE;
}

class BoxAnswerer {
public:
    explicit BoxAnswerer(const char* title) : title_(title), thread_([this] { run(); }) {}
    ~BoxAnswerer()
    {
        stop_ = true;
        thread_.join();
    }
    int boxesSeen() const { return seen_; }
    const std::string& text() const { return text_; }

private:
    void run()
    {
        while (!stop_) {
            HWND box = findOwnDialog(title_);
            if (box) {
                EnumChildWindows(box, keepStaticText, reinterpret_cast<LPARAM>(&text_));
                ++seen_;
                SendMessageA(box, WM_COMMAND, IDOK, 0);
                Sleep(50);
            }
            Sleep(10);
        }
    }
    const char* title_;
    std::atomic<bool> stop_{false};
    std::atomic<int> seen_{0};
    std::string text_;
    std::thread thread_;
};

void waitUntilSeen(const BoxAnswerer& answerer)
{
    for (int i = 0; i < 300 && answerer.boxesSeen() == 0; ++i)
        Sleep(10);
}

std::string currentDirectory()
{
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, current);
    return current;
}

bool isFolder(const std::string& path)
{
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

struct ChainRow {
    const char* typed;           // below the scratch folder
    std::vector<const char*> existing;   // created before
    std::vector<const char*> afterwards; // must be folders afterwards
};

class FolderChainCreation : public ::testing::TestWithParam<ChainRow> {};

TEST_P(FolderChainCreation, CreatesEveryMissingLevel)
{
    const ChainRow& row = GetParam();
    ScratchFolder root;
    for (const char* e : row.existing)
        root.folder(e);
    BoxAnswerer answerer(displayName);
    EXPECT_TRUE(createFolderChain(root.path() + row.typed)) << row.typed;
    for (const char* a : row.afterwards)
        EXPECT_TRUE(isFolder(root.path() + a)) << a;
    EXPECT_EQ(answerer.boxesSeen(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FolderChainCreation,
    ::testing::Values(
        ChainRow{"New\\Sub", {}, {"New", "New\\Sub"}},
        ChainRow{"New\\Sub\\", {}, {"New", "New\\Sub"}},
        ChainRow{"a\\b\\c\\d\\e", {"a"}, {"a\\b", "a\\b\\c", "a\\b\\c\\d", "a\\b\\c\\d\\e"}},
        ChainRow{"there", {"there"}, {"there"}},
        ChainRow{"with blank\\and.dot", {}, {"with blank", "with blank\\and.dot"}}));

TEST(FolderChainCreationFailure, ShowsThePlainBoxAndStops)
{
    ScratchFolder root;
    const std::string blocker = root.file("blocker");
    std::string text;
    {
        BoxAnswerer answerer(displayName);
        EXPECT_FALSE(createFolderChain(blocker + "\\sub\\deeper"));
        waitUntilSeen(answerer);
        EXPECT_EQ(answerer.boxesSeen(), 1);
        text = answerer.text();
    }
    // The box shows the stored bytes as the system's code page reads them; read back, they
    // come out as that reading gives them (the same bytes where the code page takes them all).
    const std::string shown = blocker + "\\" + folderCreationFailedText;
    const int units = MultiByteToWideChar(CP_ACP, 0, shown.data(), static_cast<int>(shown.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, shown.data(), static_cast<int>(shown.size()), &wide[0], units);
    EXPECT_EQ(text, testsupport::ansiText(wide));
    EXPECT_FALSE(ScratchFolder::exists(blocker + "\\sub"));
}

TEST(FolderChainCreationFailure, MessageIsTheChineseTextInCodePage936)
{
    const wchar_t expected[] = L"\u76ee\u5f55\u5efa\u7acb\u9519\u8bef! \u8bf7\u68c0\u67e5\u60a8\u662f\u5426"
                               L"\u62e5\u6709\u5bf9\u6b64\u76ee\u5f55\u7684\u53ef\u5199\u6743\u9650.";
    wchar_t decoded[128] = {};
    const int chars = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, folderCreationFailedText, -1, decoded, 128);
    ASSERT_GT(chars, 0);
    EXPECT_EQ(std::wstring(decoded), std::wstring(expected));
}

class FolderBrowserTyped : public ::testing::Test {
protected:
    ScratchFolder root;
    FolderBrowser browser;
};

TEST_F(FolderBrowserTyped, ANewTypedFolderIsCreatedAndClosesTheDialog)
{
    browser.dialogFolder = "C:\\before";
    const std::string typed = root.path() + "New\\Sub";
    EXPECT_EQ(browser.onEvent(nullptr, BFFM_VALIDATEFAILEDA, reinterpret_cast<LPARAM>(typed.c_str())), 0);
    EXPECT_TRUE(browser.folderCreated);
    EXPECT_EQ(browser.dialogFolder, typed);
    EXPECT_TRUE(isFolder(root.path() + "New"));
    EXPECT_TRUE(isFolder(typed));
}

TEST_F(FolderBrowserTyped, WideNotificationIsTakenToo)
{
    const std::string typed = root.path() + "Wide";
    const std::wstring wideTyped(typed.begin(), typed.end());
    EXPECT_EQ(browser.onEvent(nullptr, BFFM_VALIDATEFAILEDW, reinterpret_cast<LPARAM>(wideTyped.c_str())), 0);
    EXPECT_TRUE(browser.folderCreated);
    EXPECT_EQ(browser.dialogFolder, typed);
    EXPECT_TRUE(isFolder(typed));
}

TEST_F(FolderBrowserTyped, AFailedCreationKeepsTheDialogOpen)
{
    const std::string blocker = root.file("blocker");
    browser.dialogFolder = "C:\\before";
    const std::string typed = blocker + "\\x";
    {
        BoxAnswerer answerer(displayName);
        EXPECT_EQ(browser.onEvent(nullptr, BFFM_VALIDATEFAILEDA, reinterpret_cast<LPARAM>(typed.c_str())), 1);
    }
    EXPECT_FALSE(browser.folderCreated);
    EXPECT_EQ(browser.dialogFolder, "C:\\before");
}

// Answers the open dialog: opens the folder, then chooses the names.
class FileDialogAnswerer {
public:
    FileDialogAnswerer(std::string folder, std::vector<std::string> names)
        : folder_(std::move(folder)), names_(std::move(names)), thread_([this] { run(); })
    {
    }
    ~FileDialogAnswerer()
    {
        stop_ = true;
        thread_.join();
    }
    int dialogsAnswered() const { return answered_; }

private:
    static HWND nameEdit(HWND dialog)
    {
        HWND box = GetDlgItem(dialog, 0x47C);
        char cls[32] = "";
        GetClassNameA(box, cls, sizeof cls);
        if (std::string(cls) == "ComboBoxEx32")
            box = FindWindowExA(box, nullptr, "ComboBox", nullptr);
        GetClassNameA(box, cls, sizeof cls);
        if (std::string(cls) == "ComboBox")
            box = FindWindowExA(box, nullptr, "Edit", nullptr);
        return box;
    }

    void run()
    {
        HWND last = nullptr;
        while (!stop_) {
            HWND dialog = findOwnDialog("Open");
            if (dialog && dialog != last) {
                Sleep(200);
                HWND edit = nameEdit(dialog);
                SetWindowTextA(edit, folder_.c_str());
                SendMessageA(dialog, WM_COMMAND, IDOK, 0);
                Sleep(200);
                std::string list;
                for (const std::string& n : names_)
                    list += "\"" + n + "\" ";
                SetWindowTextA(edit, list.c_str());
                PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                ++answered_;
                last = dialog;
            }
            Sleep(20);
        }
    }
    std::string folder_;
    std::vector<std::string> names_;
    std::atomic<bool> stop_{false};
    std::atomic<int> answered_{0};
    std::thread thread_;
};

TEST(FileDialogChoice, NamesThatDoNotFitAreAskedForAgainWithTheSizeNeeded)
{
    ScratchFolder root;
    std::vector<std::string> names;
    std::vector<std::string> expected;
    for (int i = 0; i < 40; ++i) {
        names.push_back("a rather long file name number " + std::to_string(i) + ".txt");
        expected.push_back(root.file(names.back()));
    }
    std::vector<std::string> chosen;
    int answered = 0;
    const std::string before = currentDirectory();
    {
        FileDialogAnswerer answerer(root.path(), names);
        EXPECT_TRUE(chooseFiles(nullptr, chosen, 256));
        answered = answerer.dialogsAnswered();
    }
    std::sort(chosen.begin(), chosen.end());
    std::sort(expected.begin(), expected.end());
    // The dialog's browsing does not leave the process in the chosen folder.
    EXPECT_EQ(currentDirectory(), before);
    EXPECT_EQ(chosen, expected);
    // Shown again (until the names fit) instead of failing or cutting the list.
    EXPECT_GE(answered, 2);
}

TEST(FileDialogChoice, ThousandsOfNamesFitTheFirstTime)
{
    ScratchFolder root;
    std::vector<std::string> names;
    for (int i = 0; i < 3000; ++i) {
        names.push_back("photo " + std::to_string(100000 + i) + ".jpg");
        root.file(names.back());
    }
    std::vector<std::string> chosen;
    int answered = 0;
    {
        FileDialogAnswerer answerer(root.path(), names);
        EXPECT_TRUE(chooseFiles(nullptr, chosen));
        answered = answerer.dialogsAnswered();
    }
    EXPECT_EQ(chosen.size(), names.size());
    EXPECT_EQ(answered, 1);
}

} // namespace
