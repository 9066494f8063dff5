// The handler's portable rules: GetCommandString's answers and buffer filling, handoff
// records, the installation directory taken from the registry bytes, the program command line.

#include "shellext/HandlerText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

TEST(ShellHandlerText, CommandStringAnswers)
{
    struct Row { std::uintptr_t offset; unsigned type; CommandStringAnswer answer; } rows[] = {
        {0, 1, CommandStringAnswer::HelpAnsi},  {0, 5, CommandStringAnswer::HelpWide},
        {1, 1, CommandStringAnswer::Invalid},   {1, 5, CommandStringAnswer::Invalid},
        {0, 2, CommandStringAnswer::Validate},  {7, 2, CommandStringAnswer::Validate},
        {0, 0, CommandStringAnswer::Invalid},   {0, 4, CommandStringAnswer::Invalid},
        {0, 6, CommandStringAnswer::Invalid},   {0, 3, CommandStringAnswer::Invalid},
        {0, 7, CommandStringAnswer::Invalid},   {0, 0x15, CommandStringAnswer::Invalid},
        {0, 0xFFFFFFFFu, CommandStringAnswer::Invalid},
    };
    for (const Row& row : rows)
        EXPECT_EQ(classifyCommandString(row.offset, row.type), row.answer) << row.offset << "/" << row.type;
}

template <class Char>
std::vector<Char> filled(std::size_t bufferSize, std::size_t size)
{
    std::vector<Char> buffer(bufferSize, Char('#'));
    copyCommandText(buffer.data(), size, helpText);
    return buffer;
}

template <class Char>
std::vector<Char> expected(std::size_t bufferSize, std::size_t size)
{
    // Text up to size - 1 characters, NULs up to size, the caller's bytes untouched after.
    std::vector<Char> out(bufferSize, Char('#'));
    const std::size_t len = std::strlen(helpText);
    for (std::size_t i = 0; i < size; ++i)
        out[i] = (i + 1 < size && i < len) ? Char(static_cast<unsigned char>(helpText[i])) : Char(0);
    return out;
}

TEST(ShellHandlerText, HelpTextBufferSizes)
{
    const std::size_t len = std::strlen(helpText);
    ASSERT_EQ(len, 39u);
    for (std::size_t size : {std::size_t(0), std::size_t(1), std::size_t(2), std::size_t(10), len - 1, len,
                             len + 1, len + 2, std::size_t(260)}) {
        EXPECT_EQ(filled<char>(300, size), expected<char>(300, size)) << size;
        EXPECT_EQ(filled<char16_t>(300, size), expected<char16_t>(300, size)) << size;
    }
    // A buffer exactly one longer than the text holds it whole.
    std::vector<char> whole = filled<char>(len + 1, len + 1);
    EXPECT_STREQ(whole.data(), helpText);
    // A null buffer is never written, whatever the size.
    copyCommandText(static_cast<char*>(nullptr), 10, helpText);
}

TEST(ShellHandlerText, HandoffRecords)
{
    std::string files;
    appendHandoffRecord(files, "C:\\a.txt");
    EXPECT_EQ(files, "C:\\a.txt\r\n");
    appendHandoffRecord(files, "D:\\Photos\\b c.jpg");
    appendHandoffRecord(files, "C:\\a.txt");
    EXPECT_EQ(files, "C:\\a.txt\r\nD:\\Photos\\b c.jpg\r\nC:\\a.txt\r\n");
    const std::string longPath = "C:\\" + std::string(400, 'x') + ".txt";
    std::string one;
    appendHandoffRecord(one, longPath);
    EXPECT_EQ(one, longPath + "\r\n");
}

TEST(ShellHandlerText, InstallDirFromRegistryBytes)
{
    struct Row { std::string bytes; std::string dir; } rows[] = {
        {"C:\\Tools\\Ren\\", "C:\\Tools\\Ren\\"},
        {std::string("C:\\Tools\\Ren\\\0", 14), "C:\\Tools\\Ren\\"},
        {std::string("C:\\A\\\0junk", 10), "C:\\A\\"},
        {std::string("\0C:\\A\\", 6), ""},
        {"", ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(installDirFromValue(row.bytes), row.dir) << row.bytes;
}

TEST(ShellHandlerText, ProgramCommandLineIsQuoted)
{
    EXPECT_EQ(programCommandLine("C:\\Program Files\\Tessel\\"), "\"C:\\Program Files\\Tessel\\Tessel2.exe\"");
    EXPECT_EQ(programCommandLine("C:\\T\\"), "\"C:\\T\\Tessel2.exe\"");
}

}  // namespace
