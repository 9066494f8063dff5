// The context-menu handler as Explorer uses it: the stand-in host creates it through the
// real COM runtime after DllRegisterServer, hands it a CF_HDROP selection, builds a menu,
// asks for the command strings and invokes the command.

#include "ShellTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace shelltest;

const char* const help = "Rename selected files with Tesselwork2.";

// What a caller's buffer prefilled with '#' holds after a help-text request of this size,
// as the host prints it: the text up to size - 1 characters, NULs up to size, the caller's
// own characters after.
std::string expectedBuffer(unsigned size)
{
    std::string out;
    const unsigned length = static_cast<unsigned>(std::strlen(help));
    for (unsigned i = 0; i < size + 2; ++i) {
        if (i >= size)
            out += "#";
        else if (i + 1 < size && i < length)
            out += help[i];
        else
            out += "\\x00";
    }
    return out;
}

class ContextMenuHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(InstallPathScope::set(install_.path()));
        ASSERT_EQ(registerWithHost(dllPath()), S_OK);
    }
    std::string handoffPath() const { return install_.path() + "Tessel2.ts2"; }

    InstallPathScope keep_;
    // An installation folder with a blank in its name and no program in it: the handoff
    // file stays where the handler wrote it.
    ScratchFolder install_{"Tessel Host Install"};
};

TEST_F(ContextMenuHost, ExplorerSequence)
{
    HostReport r = runHost({"explore", "--twice", "C:\\a.txt", "D:\\Photos\\b c.jpg", "C:\\dir\\"});
    ASSERT_TRUE(r.ran);
    EXPECT_EQ(r["create"], "0x00000000");
    EXPECT_EQ(r["qi.unknown"], "0x00000000");
    EXPECT_EQ(r["qi.contextmenu"], "0x00000000");
    EXPECT_EQ(r["qi.dispatch"], "0x80004002");
    EXPECT_EQ(r["identity"], "same");
    EXPECT_EQ(r["init.null"], "0x80004005");
    EXPECT_EQ(r["init.nodrop"], "0x80004005");
    EXPECT_EQ(r["init"], "0x00000000");
    EXPECT_EQ(r["init.second"], "0x00000000");

    // Inserted by position among the menu's own items, with the first command id.
    EXPECT_EQ(r["query"], "0x00000001");
    EXPECT_EQ(r["menu.count"], "3");
    EXPECT_EQ(r["menu.0"], "1 First");
    EXPECT_EQ(r["menu.1"], "100 &Tesselwork files");
    EXPECT_EQ(r["menu.2"], "2 Second");
    EXPECT_EQ(r["query.default"], "0x00000001");
    EXPECT_EQ(r["menu.default.count"], "1");
    EXPECT_EQ(r["menu.default.0"], "7 &Tesselwork files");

    // Offsets other than 0 are answered and ignored; a verb string is refused, so that
    // the handler that owns it gets it. No handoff file yet.
    EXPECT_EQ(r["invoke.offset1"], "0x00000000");
    EXPECT_EQ(r["invoke.verb"], "0x80004005");
    EXPECT_EQ(r["invoke.null"], "0x80070057");
    EXPECT_FALSE(fileExists(handoffPath()));
    EXPECT_EQ(r["release"], "0");
    EXPECT_EQ(r["done"], "1");
}

TEST_F(ContextMenuHost, CommandStrings)
{
    HostReport r = runHost({"explore", "C:\\a.txt"});
    ASSERT_TRUE(r.ran);
    const unsigned sizes[] = {0, 1, 5, 38, 39, 40, 64};
    for (int offset = 0; offset < 2; ++offset) {
        for (unsigned type : {0u, 1u, 2u, 4u, 5u, 6u, 7u}) {
            for (unsigned size : sizes) {
                const std::string key =
                    "gcs." + std::to_string(offset) + "." + std::to_string(type) + "." + std::to_string(size);
                const std::string untouched = std::string(size + 2 > 0 ? size + 2 : 0, '#');
                std::string expected;
                if ((type == 1 || type == 5) && offset == 0)
                    expected = "0x00000000 " + expectedBuffer(size);
                else if (type == 2)
                    expected = "0x00000000 " + untouched;
                else
                    expected = "0x80070057 " + untouched;
                EXPECT_EQ(r[key], expected) << key;
            }
        }
    }
}

TEST_F(ContextMenuHost, HandoffFileIsByteExact)
{
    struct Row {
        const char* what;
        std::vector<std::string> flags;
        std::vector<std::string> paths;
        std::string expected;
        std::string earlier = std::string(); // an unread handoff already there
    };
    const std::string longPath = "C:\\" + std::string(150, 'a') + "\\" + std::string(150, 'b') + ".txt";
    const std::vector<Row> rows = {
        {"several files, shell order", {}, {"C:\\z.txt", "C:\\a.txt", "D:\\Photos\\b c.jpg"},
         "C:\\z.txt\r\nC:\\a.txt\r\nD:\\Photos\\b c.jpg\r\n"},
        {"one file", {}, {"C:\\one.txt"}, "C:\\one.txt\r\n"},
        {"initialised twice", {"--twice"}, {"C:\\a.txt", "C:\\b.txt"},
         "C:\\a.txt\r\nC:\\b.txt\r\nC:\\a.txt\r\nC:\\b.txt\r\n"},
        {"path longer than 259 characters, whole", {}, {longPath, "C:\\x"}, longPath + "\r\nC:\\x\r\n"},
        {"ANSI drop list", {"--ansi-drop"}, {"C:\\a b\\c.txt", longPath}, "C:\\a b\\c.txt\r\n" + longPath + "\r\n"},
        {"empty selection", {}, {}, ""},
        {"appended to an unread handoff", {}, {"C:\\new.txt"}, "C:\\old.txt\r\nC:\\new.txt\r\n", "C:\\old.txt\r\n"},
        {"after the last whole record of a cut one", {}, {"C:\\new.txt"}, "C:\\old.txt\r\nC:\\new.txt\r\n",
         "C:\\old.txt\r\nC:\\cu"},
    };
    for (const Row& row : rows) {
        DeleteFileA(handoffPath().c_str());
        if (!row.earlier.empty()) {
            ASSERT_TRUE(writeFile(handoffPath(), row.earlier)) << row.what;
        }
        std::vector<std::string> args = {"explore", "--invoke"};
        args.insert(args.end(), row.flags.begin(), row.flags.end());
        args.insert(args.end(), row.paths.begin(), row.paths.end());
        HostReport r = runHost(args);
        EXPECT_EQ(r["invoke"], "0x00000000") << row.what;
        ASSERT_TRUE(fileExists(handoffPath())) << row.what;
        EXPECT_EQ(readFile(handoffPath()), row.expected) << row.what;
    }
}

TEST_F(ContextMenuHost, InstallPathTypedInAsStringWithItsNul)
{
    // Stored by hand as REG_SZ, the value carries a NUL that must not end up in the paths.
    ASSERT_TRUE(InstallPathScope::set(install_.path() + std::string(1, '\0'), REG_SZ));
    DeleteFileA(handoffPath().c_str());
    HostReport r = runHost({"explore", "--invoke", "C:\\a.txt"});
    EXPECT_EQ(r["invoke"], "0x00000000");
    EXPECT_EQ(readFile(handoffPath()), "C:\\a.txt\r\n");
}

TEST_F(ContextMenuHost, SelectionFromTheShellsOwnDataObject)
{
    ScratchFolder files("Tessel Host Files");
    const std::vector<std::string> paths = {files.path() + "one.txt", files.path() + "two words.jpg"};
    for (const std::string& p : paths)
        ASSERT_TRUE(writeFile(p, "x"));
    DeleteFileA(handoffPath().c_str());
    HostReport r = runHost({"explore", "--shell-data", "--invoke", paths[0], paths[1]});
    ASSERT_EQ(r["shelldata"], "ok");
    EXPECT_EQ(r["init"], "0x00000000");
    EXPECT_EQ(r["invoke"], "0x00000000");
    EXPECT_EQ(readFile(handoffPath()), paths[0] + "\r\n" + paths[1] + "\r\n");
}

// The selection arrives in UTF-16 and is handed over in UTF-8, whatever Explorer's code
// page can spell.
TEST_F(ContextMenuHost, HandoffRecordsAreUtf8)
{
    struct Row {
        const char* what;
        std::string path; // in the host's code page, or UTF-8 through a list file
        bool utf8List;
        std::string expected;
    };
    const std::vector<Row> rows = {
        {"Latin-1 letters from a 1252 host", "C:\\Caf\xE9\\\xC9t\xE9.jpg", false,
         "C:\\Caf\xC3\xA9\\\xC3\x89t\xC3\xA9.jpg\r\n"},
        {"Cyrillic, Han and a four-byte character", u8"C:\\Фото\\写真-📷.jpg", true,
         u8"C:\\Фото\\写真-📷.jpg\r\n"},
    };
    const std::string list = install_.path() + "selection.txt";
    for (const Row& row : rows) {
        if (!row.utf8List && GetACP() != 1252)
            continue; // the sample text is in code page 1252
        DeleteFileA(handoffPath().c_str());
        std::vector<std::string> args = {"explore", "--invoke"};
        if (row.utf8List) {
            ASSERT_TRUE(writeFile(list, row.path + "\r\n"));
            args.insert(args.end(), {"--utf8-list", list});
        } else {
            args.push_back(row.path);
        }
        HostReport r = runHost(args);
        EXPECT_EQ(r["invoke"], "0x00000000") << row.what;
        EXPECT_EQ(readFile(handoffPath()), row.expected) << row.what;
    }
}

TEST_F(ContextMenuHost, UnwritableHandoffDoesNothingVisible)
{
    // A program stands in the installation folder, so that starting it would be seen.
    ASSERT_TRUE(CopyFileA((binDirectory() + "tessel_trap.exe").c_str(), (install_.path() + "Tessel2.exe").c_str(),
                          FALSE));
    // A handoff file held open without sharing elsewhere cannot be replaced: S_OK, the file
    // unchanged, and no program started.
    ASSERT_TRUE(writeFile(handoffPath(), "old\r\n"));
    HANDLE held = CreateFileA(handoffPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    HostReport r = runHost({"explore", "--invoke", "C:\\new.txt"});
    CloseHandle(held);
    ASSERT_EQ(r["job"], "ok");
    EXPECT_EQ(r["invoke"], "0x00000000");
    EXPECT_EQ(r["started"], "0");
    EXPECT_EQ(readFile(handoffPath()), "old\r\n");
    // Once the file is free the same command adds to it and starts the program.
    r = runHost({"explore", "--invoke", "C:\\new.txt"});
    EXPECT_EQ(r["started"], "1");
    EXPECT_EQ(readFile(handoffPath()), "old\r\nC:\\new.txt\r\n");
    DeleteFileA(handoffPath().c_str());

    // An installation folder that does not exist.
    ASSERT_TRUE(InstallPathScope::set(install_.path() + "missing\\"));
    r = runHost({"explore", "--invoke", "C:\\new.txt"});
    EXPECT_EQ(r["create"], "0x00000000");
    EXPECT_EQ(r["invoke"], "0x00000000");
    EXPECT_FALSE(fileExists(install_.path() + "missing\\Tessel2.ts2"));
}

}  // namespace
