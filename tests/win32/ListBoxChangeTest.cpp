// The file list box brought to a new view by runs of deletions and insertions ends as a full
// refill leaves it: the same lines (also in its copy), nothing selected, the same caret, top
// line and horizontal extent.

#include "controls/ListBoxes_win.h"
#include "controls/SkinListBox_win.h"
#include "tests/support/TestWindows.h"
#include "win/ControlText.h"

#include <gtest/gtest.h>

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
    return message == WM_DRAWITEM ? TRUE : DefWindowProcA(window, message, wParam, lParam);
}

struct ChangeRow {
    const char* name;
    std::function<bool(int)> before; // which of 3,000 lines the list box shows first
    std::function<bool(int)> after;  // and which the new view shows
    int selected;                    // lines the user selected meanwhile
};

class ListBoxChangeTable : public ::testing::TestWithParam<ChangeRow> {
protected:
    void SetUp() override
    {
        owner_ = testsupport::createHostWindow("TesselListChangeOwner", ownerProc, 500, 400);
        for (int i = 0; i < 2; ++i) {
            lists_[i] = testsupport::createListBox(owner_, 1000 + i, testsupport::fileListStyles, 250 * i, 0, 240, 200);
            skins_[i].attachList(lists_[i]);
        }
        ShowWindow(owner_, SW_SHOW);
    }
    void TearDown() override
    {
        skins_[0].detach();
        skins_[1].detach();
        DestroyWindow(owner_);
    }

    HWND owner_ = nullptr;
    HWND lists_[2] = {};   // updated by runs, refilled
    SkinListBox skins_[2];
};

TEST_P(ListBoxChangeTable, EndsAsAFullRefill)
{
    const ChangeRow& row = GetParam();
    std::vector<std::string> paths;
    // Every 37th line is the widest, so that the widest lines can go or come.
    for (int i = 0; i < 3000; ++i)
        paths.push_back("C:\\Photos\\" + std::string(static_cast<std::size_t>(i % 37), 'w') + std::to_string(i));
    const std::vector<std::string_view> all(paths.begin(), paths.end());
    std::vector<std::string_view> before, after;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (row.before(static_cast<int>(i)))
            before.push_back(all[i]);
        if (row.after(static_cast<int>(i)))
            after.push_back(all[i]);
    }
    for (HWND list : lists_) {
        refillListBox(list, before);
        const WPARAM middle = before.size() / 2;
        SendMessageA(list, LB_SETCARETINDEX, middle, FALSE);
        SendMessageA(list, LB_SETTOPINDEX, middle, 0);
        if (row.selected > 0)
            SendMessageA(list, LB_SELITEMRANGEEX, middle, static_cast<LPARAM>(middle) + row.selected - 1);
    }
    std::vector<LineRun> runs;
    ASSERT_TRUE(selectionChanges(skins_[0].lines(), all, after, runs));
    changeListBox(skins_[0], runs, after);
    refillListBox(lists_[1], after);

    const std::vector<std::string> expected(after.begin(), after.end());
    EXPECT_EQ(listBoxLines(lists_[0]), expected);
    EXPECT_EQ(skins_[0].lines(), expected);
    EXPECT_EQ(SendMessageA(lists_[0], LB_GETSELCOUNT, 0, 0), 0);
    for (UINT message : {LB_GETCARETINDEX, LB_GETTOPINDEX, LB_GETHORIZONTALEXTENT})
        EXPECT_EQ(SendMessageA(lists_[0], message, 0, 0), SendMessageA(lists_[1], message, 0, 0)) << message;
}

INSTANTIATE_TEST_SUITE_P(
    Views, ListBoxChangeTable,
    ::testing::Values(ChangeRow{"Unchanged", [](int) { return true; }, [](int) { return true; }, 5},
                      ChangeRow{"AFewScatteredLinesGo", [](int) { return true; }, [](int i) { return i % 500 != 7; }, 3},
                      ChangeRow{"AFewScatteredLinesCome", [](int i) { return i % 500 != 7; }, [](int) { return true; }, 3},
                      ChangeRow{"TheWidestLinesGo", [](int) { return true; }, [](int i) { return i % 37 != 36; }, 0},
                      ChangeRow{"TheWidestLinesCome", [](int i) { return i % 37 != 36; }, [](int) { return true; }, 0},
                      ChangeRow{"FirstAndLastGoOneComes", [](int i) { return i != 1000; },
                                [](int i) { return i != 0 && i != 2999; }, 2},
                      // Past the crossover: the refill itself.
                      ChangeRow{"HalfGoes", [](int) { return true; }, [](int i) { return i % 2 == 0; }, 10},
                      ChangeRow{"AllGo", [](int) { return true; }, [](int) { return false; }, 1}),
    [](const ::testing::TestParamInfo<ChangeRow>& info) { return std::string(info.param.name); });

} // namespace
