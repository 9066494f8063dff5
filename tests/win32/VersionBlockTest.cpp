// The program, the extension and the installers carry the one release number of the build.

#include "base/Identity.h"
#include "tests/support/TestFiles.h"

#include "TesselVersion.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct VersionBlock {
    bool read = false;
    DWORD fileMS = 0, fileLS = 0, productMS = 0, productLS = 0;
    std::vector<char> data;
    std::string block; // "\StringFileInfo\<language and code page>\"

    std::string text(const char* name) const
    {
        char* value = nullptr;
        UINT length = 0;
        std::vector<char> copy(data); // VerQueryValueA may write into the block it is given
        if (!VerQueryValueA(copy.data(), (block + name).c_str(), reinterpret_cast<void**>(&value), &length) || !value)
            return "<missing>";
        return std::string(value);
    }
};

VersionBlock readVersionBlock(const std::string& path)
{
    VersionBlock result;
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0)
        return result;
    result.data.resize(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, result.data.data()))
        return result;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!VerQueryValueA(result.data.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) || !fixed)
        return result;
    result.fileMS = fixed->dwFileVersionMS;
    result.fileLS = fixed->dwFileVersionLS;
    result.productMS = fixed->dwProductVersionMS;
    result.productLS = fixed->dwProductVersionLS;
    // The strings sit under the block the translation table names first.
    WORD* translation = nullptr;
    UINT translationSize = 0;
    if (!VerQueryValueA(result.data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                        &translationSize) ||
        translationSize < 2 * sizeof(WORD))
        return result;
    char name[64];
    std::snprintf(name, sizeof name, "\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
    result.block = name;
    result.read = true;
    return result;
}

// TESSEL_VERSION_NUMBERS as the two halves of a fixed version.
void expectedNumbers(DWORD& ms, DWORD& ls)
{
    const unsigned n[4] = {TESSEL_VERSION_NUMBERS};
    ms = (n[0] << 16) | n[1];
    ls = (n[2] << 16) | n[3];
}

struct FileRow {
    const char* file; // relative to the program's folder
    bool installer;   // made by the installer target, not by every build
    const char* productName;
    const char* productVersion;
};

const FileRow fileRows[] = {
    {"Tessel2.exe", false, "Tesselwork 2", versionText},
    {"Tessel.dll", false, "Tessel Module", TESSEL_VERSION_SPACED},
#ifdef _WIN64
    // The setups are made in the 64-bit tree; they carry the 32-bit pair of the i686 tree.
    {"..\\installer\\x86\\Tessel2.exe", true, "Tesselwork 2", versionText},
    {"..\\installer\\x86\\Tessel.dll", true, "Tessel Module", TESSEL_VERSION_SPACED},
    {"..\\installer\\tessel2.exe", true, "Tesselwork 2", versionText},
    {"..\\installer\\tessel2-x64.exe", true, "Tesselwork 2", versionText},
#endif
};

class VersionBlocks : public ::testing::TestWithParam<FileRow> {};

TEST_P(VersionBlocks, CarryTheReleaseNumberOfTheBuild)
{
    const FileRow& row = GetParam();
    const std::string path = testsupport::programDirectory() + row.file;
    if (row.installer && !testsupport::pathExists(path)) {
        // The whole test run builds the setups first and says so; a 64-bit tree built
        // without them has nothing to check here.
        if (std::getenv("TESSEL_EXPECT_INSTALLER"))
            FAIL() << path << " was not built";
        GTEST_SKIP() << path << " not built (the installer target)";
    }
    const VersionBlock block = readVersionBlock(path);
    ASSERT_TRUE(block.read) << path;
    DWORD ms = 0, ls = 0;
    expectedNumbers(ms, ls);
    EXPECT_EQ(block.fileMS, ms) << row.file;
    EXPECT_EQ(block.fileLS, ls) << row.file;
    EXPECT_EQ(block.productMS, ms) << row.file;
    EXPECT_EQ(block.productLS, ls) << row.file;
    EXPECT_EQ(block.text("FileVersion"), TESSEL_VERSION_SPACED) << row.file;
    EXPECT_EQ(block.text("ProductVersion"), row.productVersion) << row.file;
    EXPECT_EQ(block.text("ProductName"), row.productName) << row.file;
}

std::string fileRowName(const ::testing::TestParamInfo<FileRow>& info)
{
    static const char* const names[] = {"Program", "Extension", "Program32", "Extension32", "Installer",
                                        "Installer64"};
    return names[info.index];
}

INSTANTIATE_TEST_SUITE_P(Files, VersionBlocks, ::testing::ValuesIn(fileRows), fileRowName);

} // namespace
