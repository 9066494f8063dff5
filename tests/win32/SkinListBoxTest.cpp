// The owner-drawn list's own copy of its lines follows every change made through the list
// box's messages.

#include "SkinTestSupport.h"

#include "controls/CMacButton_win.h"
#include "controls/ListBoxes_win.h"
#include "controls/SkinListBox_win.h"
#include "tests/support/TestFiles.h"
#include "win/ControlText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class SkinListBoxCopy : public ::testing::Test {
protected:
    void SetUp() override
    {
        list_ = CreateWindowExA(0, "LISTBOX", "", WS_POPUP | LBS_HASSTRINGS | LBS_OWNERDRAWVARIABLE, 0, 0,
                                200, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(list_, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(list_);
    }
    void add(const char* text) { SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)); }

    HWND list_ = nullptr;
    SkinListBox skin_;
};

TEST_F(SkinListBoxCopy, FollowsAddInsertDeleteAndReset)
{
    add("already there");
    skin_.attachList(list_);
    EXPECT_EQ(skin_.lines(), std::vector<std::string>{"already there"});

    add("C:\\a.txt");
    add("");
    SendMessageA(list_, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("first"));
    SendMessageA(list_, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("last"));
    const std::string middle = testsupport::ansiText(std::wstring(L"middle ") + testsupport::sampleLetters);
    SendMessageA(list_, LB_INSERTSTRING, 2, reinterpret_cast<LPARAM>(middle.c_str()));
    // Wide senders reach the copy too, converted to the ANSI code page.
    const std::wstring wide = std::wstring(L"wide ") + testsupport::sampleLetters;
    SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    EXPECT_EQ(skin_.lines(), listBoxLines(list_));
    EXPECT_EQ(skin_.lines().back(), testsupport::ansiText(wide));

    SendMessageA(list_, LB_DELETESTRING, 1, 0);
    SendMessageA(list_, LB_DELETESTRING, 99, 0); // no such line: nothing changes
    EXPECT_EQ(skin_.lines(), listBoxLines(list_));
    ASSERT_EQ(skin_.lines().size(), 6u);
    EXPECT_EQ(skin_.lines()[1], middle);

    SendMessageA(list_, LB_RESETCONTENT, 0, 0);
    EXPECT_TRUE(skin_.lines().empty());
    add("again");
    EXPECT_EQ(skin_.lines(), std::vector<std::string>{"again"});
}

// Removing a selection deletes from the last line to the first; other callers delete in
// any order, mixed with additions.
TEST_F(SkinListBoxCopy, FollowsDeletionsInAnyOrder)
{
    skin_.attachList(list_);
    for (int i = 0; i < 40; ++i)
        add(("line " + std::to_string(i)).c_str());
    for (int index : {39, 30, 29, 17, 3, 0})
        SendMessageA(list_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    EXPECT_EQ(skin_.lines(), listBoxLines(list_));
    for (int index : {2, 2, 5, 1, 20, 19})
        SendMessageA(list_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    add("added after deletions");
    SendMessageA(list_, LB_DELETESTRING, 0, 0);
    SendMessageA(list_, LB_INSERTSTRING, 3, reinterpret_cast<LPARAM>("inserted"));
    SendMessageA(list_, LB_DELETESTRING, 10, 0);
    SendMessageA(list_, LB_DELETESTRING, 4, 0);
    EXPECT_EQ(skin_.lines(), listBoxLines(list_));
    EXPECT_EQ(skin_.lines().size(), 27u);
}

TEST_F(SkinListBoxCopy, StopsFollowingOnceDetached)
{
    skin_.attachList(list_);
    add("one");
    skin_.detach();
    add("two");
    EXPECT_EQ(skin_.lines(), std::vector<std::string>{"one"});
    EXPECT_EQ(listBoxLines(list_), (std::vector<std::string>{"one", "two"}));
}

// Lines drawn in a scheme's colours as the main window sets them: selection c5 with text c7,
// the focus frame c4.
// The rules list moves its caret line as the bytes it was given, also where they do not
// survive the list box's UTF-16 copy.
TEST(SkinListBoxMove, TheCaretLineMovesAsItsOwnBytes)
{
    const std::string odd = testsupport::bytesLostInUtf16();
    if (odd.empty())
        GTEST_SKIP() << "every byte survives UTF-16 in code page " << GetACP();
    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_POPUP | LBS_HASSTRINGS | LBS_OWNERDRAWVARIABLE | LBS_EXTENDEDSEL,
                                0, 0, 200, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(list, nullptr);
    SkinListBox skin;
    skin.attachList(list);
    const std::vector<std::string> lines = {"FILENAME PREFIX \"x" + odd + "\"", "FILENAME SUFFIX \"y\""};
    for (const std::string& line : lines)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageA(list, LB_SETSEL, TRUE, 0);
    SendMessageA(list, LB_SETCARETINDEX, 0, FALSE);
    moveCaretLine(list, skin.lines(), +1);
    EXPECT_EQ(skin.lines(), (std::vector<std::string>{lines[1], lines[0]}));
    moveCaretLine(list, skin.lines(), -1);
    EXPECT_EQ(skin.lines(), lines);
    DestroyWindow(list);
}

class SkinListBoxDrawing : public ::testing::TestWithParam<int> {};

TEST_P(SkinListBoxDrawing, SelectionAndFocusFrameInTheSchemeColours)
{
    const int scheme = GetParam();
    const COLORREF c4 = toColorRef(skin::schemeColour(scheme, 4));
    const COLORREF c5 = toColorRef(skin::schemeColour(scheme, 5));
    const COLORREF c7 = toColorRef(skin::schemeColour(scheme, 7));
    const COLORREF white = RGB(255, 255, 255);
    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_POPUP | LBS_HASSTRINGS | LBS_OWNERDRAWVARIABLE, 0, 0, 200, 200,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(list);
    SkinListBox skin;
    skin.attachList(list);
    skin.setSelectedBackground(c5);
    skin.setSelectedText(c7);
    skin.setFocusFrame(c4);
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("WWWW"));
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));

    struct Row {
        const char* what;
        UINT item;
        UINT state;
        COLORREF fill;
        COLORREF frame;  // at the line's left edge
        COLORREF text;   // a colour the text shows in
    };
    const Row rows[] = {
        {"selected with focus", 0, ODS_SELECTED | ODS_FOCUS, c5, c4, c7},
        {"selected", 0, ODS_SELECTED, c5, c5, c7},
        {"focus only", 0, ODS_FOCUS, white, c4, RGB(0, 0, 0)},
        {"empty line with focus", 1, ODS_FOCUS, white, c4, white},
    };
    for (const Row& row : rows) {
        skintest::Canvas canvas(120, 16);
        DRAWITEMSTRUCT draw = {};
        draw.CtlType = ODT_LISTBOX;
        draw.itemID = row.item;
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = row.state;
        draw.hwndItem = list;
        draw.hDC = canvas.dc();
        draw.rcItem = RECT{0, 0, 120, 16};
        ASSERT_TRUE(skin.drawItem(draw));
        EXPECT_EQ(skintest::rgb(canvas.at(110, 8)), skintest::rgb(row.fill)) << row.what;
        EXPECT_EQ(skintest::rgb(canvas.at(0, 8)), skintest::rgb(row.frame)) << row.what;
        EXPECT_EQ(skintest::rgb(canvas.at(60, 15)), skintest::rgb(row.frame)) << row.what;
        if (row.item == 1) {
            // No text at all: the inside is all fill.
            for (int x = 1; x < 119; x += 3)
                for (int y = 1; y < 15; ++y)
                    ASSERT_EQ(skintest::rgb(canvas.at(x, y)), skintest::rgb(row.fill)) << row.what << " " << x << "," << y;
            continue;
        }
        // The text starts 4 pixels in.
        EXPECT_EQ(canvas.firstRowWith(row.text, 1, 4), -1) << row.what;
        EXPECT_GE(canvas.firstRowWith(row.text, 4, 60), 0) << row.what;
    }
    DestroyWindow(list);
}

INSTANTIATE_TEST_SUITE_P(MainAndGreenSchemes, SkinListBoxDrawing, ::testing::Values(1, 2));

} // namespace
