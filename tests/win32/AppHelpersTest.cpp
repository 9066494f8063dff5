// Registry key, program directory and file helpers on the real system under Wine.

#include "base/Identity.h"
#include "base/Program.h"
#include "app/RegistryKey.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

const char testKey[] = "SOFTWARE\\Corvanta\\Tesselwork 2 tests";

class RegistryKeyTest : public ::testing::Test {
protected:
    void TearDown() override { RegDeleteKeyA(HKEY_CURRENT_USER, testKey); }
};

TEST_F(RegistryKeyTest, CreatesWritesReadsAndDeletesBinaryValues)
{
    RegistryKey key(HKEY_CURRENT_USER, testKey);
    ASSERT_TRUE(key.isOpen());

    const std::string directory = "C:\\Tools\\Ren\\";
    ASSERT_TRUE(key.writeValue("InstallPath", directory.data(), static_cast<unsigned long>(directory.size())));

    // Exactly the bytes, REG_BINARY, no terminator.
    BYTE raw[64] = {};
    DWORD size = sizeof raw;
    DWORD type = 0;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, testKey, "InstallPath", RRF_RT_ANY, &type, raw, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(size, 13u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(raw), size), directory);

    std::string text;
    unsigned long count = 0;
    ASSERT_TRUE(key.readValue("InstallPath", text, count));
    EXPECT_EQ(text, directory);
    EXPECT_EQ(count, 13u);

    // A longer value written later: the read buffer follows the key's largest value.
    const std::string longer(300, 'x');
    ASSERT_TRUE(key.writeValue("Other", longer.data(), static_cast<unsigned long>(longer.size())));
    ASSERT_TRUE(key.readValue("Other", text, count));
    EXPECT_EQ(text, longer);

    EXPECT_TRUE(key.deleteValue("InstallPath"));
    EXPECT_FALSE(key.deleteValue("InstallPath"));
    EXPECT_FALSE(key.readValue("InstallPath", text, count));
    EXPECT_TRUE(key.deleteValue("Other"));
}

TEST_F(RegistryKeyTest, ReadsValuesOfAnyTypeAndFailsWithoutAKey)
{
    RegistryKey key(HKEY_CURRENT_USER, testKey);
    ASSERT_TRUE(key.isOpen());
    const char sz[] = "abc";
    HKEY raw = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, testKey, 0, KEY_SET_VALUE, &raw), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(raw, "Text", 0, REG_SZ, reinterpret_cast<const BYTE*>(sz), sizeof sz), ERROR_SUCCESS);
    RegCloseKey(raw);
    std::string text;
    unsigned long count = 0;
    ASSERT_TRUE(key.readValue("Text", text, count));
    EXPECT_EQ(count, 4u);
    EXPECT_EQ(text, std::string("abc\0", 4));

    key.close();
    key.close();
    EXPECT_FALSE(key.isOpen());
    EXPECT_FALSE(key.writeValue("X", "a", 1));
    EXPECT_FALSE(key.readValue("Text", text, count));
    EXPECT_FALSE(key.deleteValue("Text"));

    // A key that cannot be created (a value path under a missing root) holds nothing.
    RegistryKey bad(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x12345678)), "x");
    EXPECT_FALSE(bad.isOpen());
    EXPECT_FALSE(bad.writeValue("X", "a", 1));
}

TEST(ProgramDirectory, IsTheExecutablesFolderWithATrailingBackslash)
{
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    const std::string path = module;
    const std::string directory = programDirectory();
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ(directory.back(), '\\');
    EXPECT_EQ(path.compare(0, directory.size(), directory), 0);
    EXPECT_EQ(path.find('\\', directory.size()), std::string::npos);
}

class TempFolder : public ::testing::Test {
protected:
    std::string write(const std::string& name, const std::string& content, DWORD attributes = FILE_ATTRIBUTE_NORMAL)
    {
        return scratch_.file(name, content, attributes);
    }
    testsupport::TempFolder scratch_{"helpers"};
    const std::string folder_ = scratch_.path();
};

TEST_F(TempFolder, ForceDeleteRemovesReadOnlyHiddenAndSystemFiles)
{
    const DWORD kinds[] = {FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_READONLY,
                           FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM};
    int n = 0;
    for (DWORD attributes : kinds) {
        const std::string path = write("f" + std::to_string(n++), "x", attributes);
        EXPECT_TRUE(forceDeleteFile(path)) << attributes;
        EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << attributes;
    }
    EXPECT_FALSE(forceDeleteFile(folder_ + "missing"));
}

TEST_F(TempFolder, TakeOverReadsTheWholeFileAndDeletesItUnlessLocked)
{
    std::string big(200000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7);
    std::string text;
    for (DWORD attributes : {DWORD(FILE_ATTRIBUTE_NORMAL), DWORD(FILE_ATTRIBUTE_READONLY)}) {
        const std::string path = write("whole", big, attributes);
        ASSERT_TRUE(takeWholeFile(path, text)) << attributes;
        EXPECT_EQ(text, big);
        EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << attributes;
    }

    const std::string path = write("held", "held");
    HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(takeWholeFile(path, text));
    EXPECT_TRUE(text.empty());
    CloseHandle(holder);
    EXPECT_EQ(testsupport::readFile(path), "held");

    EXPECT_FALSE(takeWholeFile(folder_ + "missing", text));
}

} // namespace
