// Start-up as a user meets it: the installation's registry value and the handoff intake.

#include "driver/UiDriver.h"

#include "app/resource.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

const char installKey[] = "SOFTWARE\\Corvanta\\Tesselwork 2";

struct RegistryValue {
    bool present = false;
    DWORD type = 0;
    std::string bytes;
};

RegistryValue readInstallPath()
{
    RegistryValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, installKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return value;
    BYTE data[2048];
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, "InstallPath", nullptr, &value.type, data, &size) == ERROR_SUCCESS) {
        value.present = true;
        value.bytes.assign(reinterpret_cast<char*>(data), size);
    }
    RegCloseKey(key);
    return value;
}

void deleteInstallPath()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, installKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "InstallPath");
        RegCloseKey(key);
    }
}

std::wstring wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

// Wide: the ANSI calls cannot reach the deep folders below.
bool fileExists(const std::string& path)
{
    return GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

class StartupUiTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        program_.close();
        const std::string handoff = ui::Program::handoffPath();
        SetFileAttributesA(handoff.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(handoff.c_str());
    }
    ui::Program program_;
};

TEST_F(StartupUiTest, WritesTheProgramDirectoryAsBinaryWithoutTerminator)
{
    deleteInstallPath();
    DeleteFileA(ui::Program::handoffPath().c_str());
    ASSERT_TRUE(program_.start()) << program_.lastError();
    EXPECT_EQ(ui::windowText(program_.mainWindow()), "Tesselwork 2");
    EXPECT_EQ(program_.lineCount(IDC_FILE_LIST), 0);

    const RegistryValue value = readInstallPath();
    ASSERT_TRUE(value.present);
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(value.bytes, ui::testBinDirectory());
    EXPECT_EQ(value.bytes.find('\0'), std::string::npos);
}

struct HandoffRow {
    const char* what;
    std::string content;
    std::vector<std::string> lines;
};

class HandoffIntakeUiTest : public StartupUiTest, public ::testing::WithParamInterface<HandoffRow> {};

TEST_P(HandoffIntakeUiTest, ShowsTheRecordsAndDeletesTheFile)
{
    const HandoffRow& row = GetParam();
    ui::StartOptions options;
    options.writeHandoff = true;
    options.handoffRaw = row.content;
    ASSERT_TRUE(program_.start(options)) << program_.lastError();
    EXPECT_EQ(program_.lines(IDC_FILE_LIST), row.lines) << row.what;
    EXPECT_FALSE(fileExists(ui::Program::handoffPath())) << row.what;
}

INSTANTIATE_TEST_SUITE_P(
    Records, HandoffIntakeUiTest,
    ::testing::Values(
        HandoffRow{"two records", "C:\\a.txt\r\nC:\\b.txt\r\n", {"C:\\a.txt", "C:\\b.txt"}},
        HandoffRow{"unterminated last record", "C:\\a.txt\r\nC:\\b.txt", {"C:\\a.txt"}},
        HandoffRow{"empty file", "", {}},
        HandoffRow{"same path twice", "C:\\a.txt\r\nc:\\A.TXT\r\nC:\\a.txt\r\n",
                   {"C:\\a.txt", "c:\\A.TXT", "C:\\a.txt"}}));

TEST_F(StartupUiTest, ReadOnlyHandoffFileIsTakenInAndDeleted)
{
    // Written here, not by the driver, so that it can be made read-only and hidden first.
    const std::string handoff = ui::Program::handoffPath();
    ASSERT_TRUE(testsupport::writeFile(handoff, "D:\\Photos\\b.jpg\r\n"));
    ASSERT_TRUE(SetFileAttributesA(handoff.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(program_.start()) << program_.lastError();
    EXPECT_EQ(program_.lines(IDC_FILE_LIST), std::vector<std::string>{"D:\\Photos\\b.jpg"});
    EXPECT_FALSE(fileExists(handoff));
}

TEST_F(StartupUiTest, LockedHandoffFileIsLeftAloneAndTakenInByTheNextStart)
{
    const std::string handoff = ui::Program::handoffPath();
    HANDLE file = CreateFileA(handoff.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "C:\\kept.txt\r\n", 13, &written, nullptr);
    ASSERT_TRUE(program_.start()) << program_.lastError();
    EXPECT_EQ(program_.lineCount(IDC_FILE_LIST), 0);
    CloseHandle(file);
    EXPECT_TRUE(fileExists(handoff));
    program_.close();

    ASSERT_TRUE(program_.start()) << program_.lastError();
    EXPECT_EQ(program_.lines(IDC_FILE_LIST), std::vector<std::string>{"C:\\kept.txt"});
    EXPECT_FALSE(fileExists(handoff));
}

// An installation deep in folders with blanks: the registry value names the folder whole,
// and the handoff file is read from there. (Wine starts no program whose path is longer
// than MAX_PATH, so the program's path stays just below that.)
TEST_F(StartupUiTest, InstallationInALongFolderWithBlanks)
{
    std::string folder = testsupport::tempDirectory() + "Tessel Install " + std::to_string(GetTickCount()) + "\\";
    // Folders this deep are made with the wide calls (the test's folder names are ASCII,
    // so widening byte by byte is exact).
    std::vector<std::wstring> created;
    auto makeFolder = [&](const std::string& path) {
        CreateDirectoryW(wide(path).c_str(), nullptr);
        created.push_back(wide(path));
    };
    makeFolder(folder);
    while (folder.size() + 18 < 238) {
        folder += "Program Files Sub\\";
        makeFolder(folder);
    }
    folder += std::string(240 - folder.size() - 1, 'x') + "\\";
    makeFolder(folder);
    ASSERT_EQ(folder.size(), 240u);
    const std::wstring exe = wide(folder + "Tessel2.exe");
    ASSERT_TRUE(CopyFileW(wide(ui::Program::exePath()).c_str(), exe.c_str(), FALSE)) << GetLastError();
    // The extension goes along, as an installation has it beside the program.
    const std::wstring library = wide(folder + "Tessel.dll");
    ASSERT_TRUE(CopyFileW(wide(ui::testBinDirectory() + "Tessel.dll").c_str(), library.c_str(), FALSE));

    ui::StartOptions options;
    options.installDirectory = folder;
    options.handoffPaths = {"C:\\from long.txt"};
    ASSERT_TRUE(program_.start(options)) << program_.lastError();
    EXPECT_EQ(program_.lines(IDC_FILE_LIST), std::vector<std::string>{"C:\\from long.txt"});
    EXPECT_FALSE(fileExists(folder + "Tessel2.ts2"));
    const RegistryValue value = readInstallPath();
    EXPECT_EQ(value.bytes, folder);
    program_.close();

    // Starting from bin/ again puts that directory back.
    ASSERT_TRUE(program_.start()) << program_.lastError();
    EXPECT_EQ(readInstallPath().bytes, ui::testBinDirectory());

    DeleteFileW(exe.c_str());
    DeleteFileW(library.c_str());
    for (auto it = created.rbegin(); it != created.rend(); ++it)
        RemoveDirectoryW(it->c_str());
}

} // namespace
