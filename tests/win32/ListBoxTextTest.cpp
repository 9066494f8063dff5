// Reading list box lines back as ANSI text, whatever their length.

#include "tests/support/TestFiles.h"
#include "win/ControlText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ListBoxText, ReadsLinesOfAnyLengthExactly)
{
    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_POPUP | LBS_HASSTRINGS, 0, 0, 100, 100, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(list, nullptr);
    std::string longLine = "C:\\";
    while (longLine.size() < 40000)
        longLine += "deep folder\\";
    const std::vector<std::string> lines = {"C:\\a.txt", "", testsupport::ansiText(L"D:\\Caf\u00e9 \u00a9 \u00ff.jpg"),
                                            testsupport::ansiText(std::wstring(L"D:\\") + testsupport::sampleLetters),
                                            longLine, std::string(3000, 'x')};
    for (const std::string& line : lines)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));

    EXPECT_EQ(listBoxLines(list), lines);
    for (int i = 0; i < static_cast<int>(lines.size()); ++i)
        EXPECT_EQ(listBoxLine(list, i), lines[static_cast<std::size_t>(i)]) << i;
    EXPECT_EQ(listBoxLine(list, 99), "");
    DestroyWindow(list);
    EXPECT_TRUE(listBoxLines(nullptr).empty());
}

} // namespace
