// The owner-drawn list's own copy of its lines follows every change made through the list
// box's messages.

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

} // namespace
