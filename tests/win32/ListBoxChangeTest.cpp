// The file list box brought to a new view by runs of deletions and insertions ends in the
// state a full refill gives: the same lines, nothing selected, the same caret, top line and
// horizontal extent.

#include "base/LineRuns.h"
#include "controls/ListBoxes_win.h"
#include "controls/SkinListBox_win.h"
#include "tests/support/TestWindows.h"
#include "win/ControlText.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace {

LRESULT CALLBACK ownerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MEASUREITEM) {
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 15;
        return TRUE;
    }
    if (message == WM_DRAWITEM)
        return TRUE;
    return DefWindowProcA(window, message, wParam, lParam);
}

using Pick = std::function<bool(int)>;

struct ChangeRow {
    const char* name;
    int count;          // lines of the whole list
    Pick before;        // which of them the list box shows first
    Pick after;         // and which the new view shows
    int selectedBefore; // lines selected (from the top line on) before the change
};

// Line i of the whole list; widths vary so that the widest line can go or come.
std::string pathOf(int i)
{
    return "C:\\Photos\\" + std::string(static_cast<std::size_t>(i % 37), 'w') + "IMG_" + std::to_string(1000 + i) +
           ".jpg";
}

struct State {
    std::vector<std::string> lines;
    std::vector<std::string> copy;
    LRESULT selected;
    LRESULT caret;
    LRESULT top;
    LRESULT extent;
};

class ListBoxChangeTable : public ::testing::TestWithParam<ChangeRow> {
protected:
    void SetUp() override
    {
        owner_ = testsupport::createHostWindow("TesselListChangeOwner", ownerProc, 500, 400);
        changed_ = testsupport::createListBox(owner_, 1000, testsupport::fileListStyles, 0, 0, 240, 200);
        refilled_ = testsupport::createListBox(owner_, 1001, testsupport::fileListStyles, 250, 0, 240, 200);
        changedSkin_.attachList(changed_);
        refilledSkin_.attachList(refilled_);
        ShowWindow(owner_, SW_SHOW);
    }
    void TearDown() override
    {
        changedSkin_.detach();
        refilledSkin_.detach();
        DestroyWindow(owner_);
    }

    static State stateOf(HWND list, const SkinListBox& skin)
    {
        return {listBoxLines(list),
                skin.lines(),
                SendMessageA(list, LB_GETSELCOUNT, 0, 0),
                SendMessageA(list, LB_GETCARETINDEX, 0, 0),
                SendMessageA(list, LB_GETTOPINDEX, 0, 0),
                SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0)};
    }

    HWND owner_ = nullptr;
    HWND changed_ = nullptr;
    HWND refilled_ = nullptr;
    SkinListBox changedSkin_;
    SkinListBox refilledSkin_;
};

TEST_P(ListBoxChangeTable, EndsAsAFullRefill)
{
    const ChangeRow& row = GetParam();
    std::vector<std::string> paths;
    for (int i = 0; i < row.count; ++i)
        paths.push_back(pathOf(i));
    const std::vector<std::string_view> all(paths.begin(), paths.end());
    std::vector<std::string_view> before;
    std::vector<std::string_view> after;
    for (int i = 0; i < row.count; ++i) {
        if (row.before(i))
            before.push_back(all[static_cast<std::size_t>(i)]);
        if (row.after(i))
            after.push_back(all[static_cast<std::size_t>(i)]);
    }
    for (HWND list : {changed_, refilled_}) {
        refillListBox(list, before);
        // The user scrolled, moved the caret and selected lines since.
        const int middle = static_cast<int>(before.size() / 2);
        SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(middle), 0);
        SendMessageA(list, LB_SETCARETINDEX, static_cast<WPARAM>(middle), FALSE);
        if (row.selectedBefore > 0)
            SendMessageA(list, LB_SELITEMRANGEEX, static_cast<WPARAM>(middle), middle + row.selectedBefore - 1);
    }

    std::vector<LineRun> runs;
    ASSERT_TRUE(selectionChanges(changedSkin_.lines(), all, after, runs));
    changeListBox(changedSkin_, runs, after);
    refillListBox(refilled_, after);

    const State changed = stateOf(changed_, changedSkin_);
    const State refilled = stateOf(refilled_, refilledSkin_);
    const std::vector<std::string> expected(after.begin(), after.end());
    EXPECT_EQ(changed.lines, expected);
    EXPECT_EQ(changed.copy, expected);
    EXPECT_EQ(changed.selected, refilled.selected);
    EXPECT_EQ(changed.selected, 0);
    EXPECT_EQ(changed.caret, refilled.caret);
    EXPECT_EQ(changed.top, refilled.top);
    EXPECT_EQ(changed.extent, refilled.extent);
    EXPECT_EQ(refilled.lines, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Views, ListBoxChangeTable,
    ::testing::Values(
        ChangeRow{"Unchanged", 3000, [](int) { return true; }, [](int) { return true; }, 5},
        ChangeRow{"UnchangedNothingSelected", 3000, [](int i) { return i % 2 == 0; }, [](int i) { return i % 2 == 0; },
                  0},
        ChangeRow{"OneLineGoes", 3000, [](int) { return true; }, [](int i) { return i != 1500; }, 3},
        ChangeRow{"AFewScatteredLinesGo", 3000, [](int) { return true; }, [](int i) { return i % 500 != 7; }, 3},
        ChangeRow{"AFewScatteredLinesComeBack", 3000, [](int i) { return i % 500 != 7; }, [](int) { return true; },
                  3},
        // pathOf(36) and every 37th line after it are the widest.
        ChangeRow{"TheWidestLinesGo", 3000, [](int) { return true; }, [](int i) { return i % 37 != 36; }, 0},
        ChangeRow{"TheWidestLinesCome", 3000, [](int i) { return i % 37 != 36; }, [](int) { return true; }, 0},
        ChangeRow{"FirstAndLastGoOthersCome", 3000, [](int i) { return i != 1000; },
                  [](int i) { return i != 0 && i != 2999; }, 2},
        ChangeRow{"HalfGoes", 3000, [](int) { return true; }, [](int i) { return i % 2 == 0; }, 10},
        ChangeRow{"AllGo", 3000, [](int) { return true; }, [](int) { return false; }, 1},
        ChangeRow{"AllCome", 3000, [](int) { return false; }, [](int) { return true; }, 0}),
    [](const ::testing::TestParamInfo<ChangeRow>& info) { return std::string(info.param.name); });

} // namespace
