// The list-box side of the selection commands on a real owner-drawn list box of more lines
// than one block of the top-line mover, and the system code page's wide-string conversion.

#include "filelist/LineSelection_win.h"

#include "base/CodePage.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>
#include <vector>

namespace {

LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MEASUREITEM) {
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 14;
        return TRUE;
    }
    if (message == WM_DRAWITEM)
        return TRUE;
    return DefWindowProcA(window, message, wParam, lParam);
}

class SelectionListBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        host_ = testsupport::createHostWindow("SelectionListBoxTestHostWindow", hostProc, 400, 300);
        list_ = testsupport::createListBox(host_, 1000,
                                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_EXTENDEDSEL | LBS_OWNERDRAWVARIABLE |
                                               LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                                           0, 0, 380, 200);
        ShowWindow(host_, SW_SHOW);
    }
    void TearDown() override { DestroyWindow(host_); }

    void fill(int count)
    {
        SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
        for (int i = 0; i < count; ++i)
            SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("line " + std::to_string(i)).c_str()));
        SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    }
    void select(const std::vector<int>& lines)
    {
        for (int line : lines)
            SendMessageA(list_, LB_SETSEL, TRUE, line);
    }
    std::vector<int> selected() const
    {
        std::vector<int> out;
        const int count = static_cast<int>(SendMessageA(list_, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            if (SendMessageA(list_, LB_GETSEL, i, 0) > 0)
                out.push_back(i);
        }
        return out;
    }

    HWND host_ = nullptr;
    HWND list_ = nullptr;
};

// Lines chosen to sit on and beside the 2048-line block edges.
const std::vector<int> edgeLines = {0, 1, 2046, 2047, 2048, 2049, 4095, 4096, 5000, 5199};
const int lineCount = 5200;

std::vector<int> complement(const std::vector<int>& lines, int count)
{
    std::set<int> chosen(lines.begin(), lines.end());
    std::vector<int> out;
    for (int i = 0; i < count; ++i) {
        if (!chosen.count(i))
            out.push_back(i);
    }
    return out;
}

TEST_F(SelectionListBox, SelectAllAndInvertAcrossBlocksKeepTheTopLine)
{
    fill(lineCount);
    // Selecting a line with LB_SETSEL may scroll it into view: the top is taken after.
    select(edgeLines);
    SendMessageA(list_, LB_SETTOPINDEX, 3000, 0);
    const LRESULT top = SendMessageA(list_, LB_GETTOPINDEX, 0, 0);
    ASSERT_EQ(top, 3000);

    invertLineSelection(list_);
    EXPECT_EQ(selected(), complement(edgeLines, lineCount));
    invertLineSelection(list_);
    EXPECT_EQ(selected(), edgeLines);
    selectAllLines(list_);
    EXPECT_EQ(selected().size(), static_cast<std::size_t>(lineCount));
    invertLineSelection(list_);
    EXPECT_TRUE(selected().empty());
    invertLineSelection(list_);
    EXPECT_EQ(selected().size(), static_cast<std::size_t>(lineCount));
    EXPECT_EQ(SendMessageA(list_, LB_GETTOPINDEX, 0, 0), top) << "the view moved";
}

TEST_F(SelectionListBox, EmptyListAndLongLines)
{
    // Long lines once overran a buffer on the stack through the ANSI messages.
    selectAllLines(list_);
    invertLineSelection(list_);
    EXPECT_TRUE(deleteSelectedLines(list_, listBoxLines(list_)).empty());
    EXPECT_TRUE(listBoxLines(list_).empty());
    const std::string longLine(40000, 'x');
    SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(longLine.c_str()));
    SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
    EXPECT_EQ(listBoxLines(list_), (std::vector<std::string>{longLine, ""}));
    EXPECT_EQ(listBoxLine(list_, 0), longLine);
    EXPECT_EQ(listBoxLine(list_, 7), "");
}

struct RemovalRow {
    const char* name;
    std::size_t refillAbovePerMille; // 1000: always one by one; 0: always by a refill
    bool oddBytes;                   // line 2048 holds bytes that do not survive UTF-16
};

class SelectionRemovalTable : public SelectionListBox, public ::testing::WithParamInterface<RemovalRow> {};

TEST_P(SelectionRemovalTable, RemovesTheLinesAsStoredAndKeepsTheView)
{
    const RemovalRow& row = GetParam();
    std::vector<std::string> stored;
    for (int i = 0; i < lineCount; ++i)
        stored.push_back("line " + std::to_string(i));
    if (row.oddBytes) {
        const std::string odd = testsupport::bytesLostInUtf16();
        if (odd.empty())
            GTEST_SKIP() << "every byte survives UTF-16 in code page " << GetACP();
        stored[2048] = "C:\\odd" + odd + ".txt";
    }
    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    for (const std::string& line : stored)
        SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    select(edgeLines);
    // Six selected lines lie above the caret and the top line (the caret first: moving it
    // may scroll).
    SendMessageA(list_, LB_SETCARETINDEX, 3100, FALSE);
    SendMessageA(list_, LB_SETTOPINDEX, 3000, 0);
    const LRESULT top = SendMessageA(list_, LB_GETTOPINDEX, 0, 0);
    ASSERT_EQ(top, 3000);

    const std::vector<std::string> removed = deleteSelectedLines(list_, stored, row.refillAbovePerMille);
    EXPECT_TRUE(deleteSelectedLines(list_, listBoxLines(list_)).empty()) << "nothing is selected any more";

    std::vector<std::string> expectedRemoved;
    for (auto it = edgeLines.rbegin(); it != edgeLines.rend(); ++it)
        expectedRemoved.push_back(stored[static_cast<std::size_t>(*it)]);
    EXPECT_EQ(removed, expectedRemoved);
    std::vector<std::string> left;
    for (int i : complement(edgeLines, lineCount))
        left.push_back(stored[static_cast<std::size_t>(i)]);
    EXPECT_EQ(listBoxLines(list_), left);
    EXPECT_TRUE(selected().empty());
    EXPECT_EQ(SendMessageA(list_, LB_GETTOPINDEX, 0, 0), top - 6) << "six selected lines lay above the top";
    EXPECT_EQ(SendMessageA(list_, LB_GETCARETINDEX, 0, 0), 3100 - 6);
}

INSTANTIATE_TEST_SUITE_P(Removals, SelectionRemovalTable,
                         ::testing::Values(RemovalRow{"OneByOne", 1000, false}, RemovalRow{"ByARefill", 0, false},
                                           RemovalRow{"OneByOneOddBytes", 1000, true},
                                           RemovalRow{"ByARefillOddBytes", 0, true}),
                         [](const ::testing::TestParamInfo<RemovalRow>& info) { return std::string(info.param.name); });

TEST(BatchSystemCodePage, WideStringsConvertLikeTheModelOfTheSameCodePage)
{
    const std::u16string text = u"C:\\\u00e9t\u00e9\\\u20ac \u0152uvre\\x.txt";
    if (GetACP() != 1252)
        GTEST_SKIP() << "the system code page is " << GetACP();
    EXPECT_EQ(systemCodePage().fromUtf16(text), modelCodePage(1252).fromUtf16(text));
    EXPECT_EQ(systemCodePage().fromUtf16(text), "C:\\\xE9t\xE9\\\x80 \x8Cuvre\\x.txt");
    EXPECT_EQ(systemCodePage().fromUtf16(std::u16string(u"a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(systemCodePage().fromUtf16(u""), "");
}

} // namespace
