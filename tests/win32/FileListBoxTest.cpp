// Filling a real owner-drawn list box with the file list's lines, and its horizontal
// scroll extent.

#include "controls/ListBoxes_win.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

int measureRequests = 0;
int deleteNotices = 0;

LRESULT CALLBACK ownerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MEASUREITEM) {
        ++measureRequests;
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 17;
        return TRUE;
    }
    if (message == WM_DELETEITEM)
        ++deleteNotices;
    return DefWindowProcA(window, message, wParam, lParam);
}

// A hidden owner window with a list box of the file list's styles.
class ListFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        owner = testsupport::createHostWindow("TesselListTestOwner", ownerProc, 400, 300);
        list = testsupport::createListBox(owner, 1000,
                                          WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | LBS_EXTENDEDSEL |
                                              LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                                          0, 0, 300, 200);
        measureRequests = 0;
        deleteNotices = 0;
    }
    void TearDown() override
    {
        DestroyWindow(owner);
        if (font)
            DeleteObject(font);
    }

    void refill(const std::vector<std::string>& texts)
    {
        std::vector<std::string_view> lines;
        for (const std::string& t : texts)
            lines.push_back(t);
        refillListBox(list, lines);
    }

    std::vector<std::string> lines() const
    {
        std::vector<std::string> out;
        const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::string text(static_cast<std::size_t>(SendMessageA(list, LB_GETTEXTLEN, i, 0)) + 1, '\0');
            text.resize(static_cast<std::size_t>(SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]))));
            out.push_back(text);
        }
        return out;
    }

    // The width of the text in the list box's font, measured directly by GDI.
    int textWidth(const std::string& text) const
    {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
        SIZE size = {0, 0};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        return size.cx;
    }

    int extent() const { return static_cast<int>(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0)); }

    void useFont(int height)
    {
        font = CreateFontA(-height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
        SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }

    HWND owner = nullptr;
    HWND list = nullptr;
    HFONT font = nullptr;
};

TEST_F(ListFixture, RefillReplacesTheLinesInOrder)
{
    refill({"old 1", "old 2", "old 3"});
    const std::vector<std::string> texts = {"C:\\b.txt", "C:\\a.txt", "", "C:\\b.txt",
                                            testsupport::ansiText(std::wstring(L"D:\\") + testsupport::sampleLetters + L".doc")};
    refill(texts);
    EXPECT_EQ(lines(), texts);
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 0);
    refill({});
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(extent(), 0);
}

TEST_F(ListFixture, EveryLineGetsTheOwnersHeightWhichIsAskedOnce)
{
    std::vector<std::string> texts;
    for (int i = 0; i < 5000; ++i)
        texts.push_back("C:\\folder\\file " + std::to_string(i));
    const LONG_PTR ownerProcBefore = GetWindowLongPtrA(owner, GWLP_WNDPROC);
    refill(texts);
    EXPECT_EQ(GetWindowLongPtrA(owner, GWLP_WNDPROC), ownerProcBefore);
    EXPECT_EQ(lines(), texts);
    EXPECT_EQ(measureRequests, 1);
    for (int i : {0, 1, 1023, 1024, 1025, 4999})
        EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, i, 0), 17) << i;
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 0);
    // Lines added or deleted later, outside a refill, reach the owner as usual.
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("later"));
    EXPECT_EQ(measureRequests, 2);
    SendMessageA(list, LB_DELETESTRING, 0, 0);
    EXPECT_EQ(deleteNotices, 1);
    // A second refill empties the box without a notice per old line.
    refill(texts);
    EXPECT_EQ(deleteNotices, 1);
    EXPECT_EQ(measureRequests, 3);
    EXPECT_EQ(lines(), texts);
}

TEST_F(ListFixture, RefillLeavesTheVisibleBitAndTheFocusAsTheyWere)
{
    std::vector<std::string> texts;
    for (int i = 0; i < 300; ++i)
        texts.push_back("C:\\folder\\file " + std::to_string(i));
    ShowWindow(owner, SW_SHOW);
    for (bool shown : {true, false, true}) {
        ShowWindow(list, shown ? SW_SHOWNA : SW_HIDE);
        if (shown)
            SetFocus(list);
        const HWND focus = GetFocus();
        refill(texts);
        EXPECT_EQ(GetFocus(), focus);
        EXPECT_EQ((GetWindowLongPtrA(list, GWL_STYLE) & WS_VISIBLE) != 0, shown);
        EXPECT_EQ(IsWindowVisible(list) != FALSE, shown);
        EXPECT_EQ(lines(), texts);
        EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 0);
    }
}

struct ExtentRow {
    std::vector<std::string> texts;
    int fontHeight;   // 0: the list box's default font
};

class ExtentTable : public ListFixture, public ::testing::WithParamInterface<ExtentRow> {};

TEST_P(ExtentTable, WidestLinePlusTen)
{
    const ExtentRow& row = GetParam();
    if (row.fontHeight)
        useFont(row.fontHeight);
    refill(row.texts);
    int widest = 0;
    for (const std::string& t : row.texts)
        widest = std::max(widest, textWidth(t));
    EXPECT_EQ(extent(), widest + 10);
    // Measured again from the lines held, as other commands do after changing them.
    SendMessageA(list, LB_SETHORIZONTALEXTENT, 0, 0);
    updateHorizontalExtent(list);
    EXPECT_EQ(extent(), widest + 10);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExtentTable,
    ::testing::Values(ExtentRow{{"a", "C:\\a much longer line of text.txt", "mid line"}, 0},
                      ExtentRow{{"WWWWWWWW", "iiiiiiiiiiiiiiiiiiiiiiii"}, 0},
                      ExtentRow{{"WWWWWWWW", "iiiiiiiiiiiiiiiiiiiiiiii"}, 30},
                      ExtentRow{{"\xC9\xC9\xC9\xC9 accents", "plain"}, 12},
                      ExtentRow{{""}, 0}));

TEST_F(ListFixture, ExtentFollowsTheFontAndShrinksWithTheWidestLine)
{
    const std::vector<std::string> texts = {"short", "a very much longer line than the others", "middle one"};
    refill(texts);
    const int small = extent();
    useFont(40);
    updateHorizontalExtent(list);
    EXPECT_GT(extent(), small);
    SendMessageA(list, LB_DELETESTRING, 1, 0);
    updateHorizontalExtent(list);
    EXPECT_EQ(extent(), textWidth("middle one") + 10);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    updateHorizontalExtent(list);
    EXPECT_EQ(extent(), 0);
}

} // namespace
