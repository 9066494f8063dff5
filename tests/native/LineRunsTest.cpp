// The runs of deletions and insertions between two filtered views of one list.

#include "base/LineRuns.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

struct RunsCase {
    const char* name;
    std::vector<std::string> all;
    std::vector<std::string> before; // texts, as the list box's copy holds them
    std::vector<std::size_t> after;  // positions in `all`
    bool aSelection;
    std::vector<LineRun> runs;
};

// Applies the runs last to first, as the list box update does.
std::vector<std::string> applied(std::vector<std::string> lines, const std::vector<LineRun>& runs,
                                 const std::vector<std::string_view>& after)
{
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        lines.erase(lines.begin() + run->at, lines.begin() + run->at + run->removed);
        for (std::size_t i = 0; i < run->inserted; ++i)
            lines.insert(lines.begin() + run->at + i, std::string(after[run->from + i]));
    }
    return lines;
}

class LineRunsTable : public ::testing::TestWithParam<RunsCase> {};

TEST_P(LineRunsTable, RunsTurnTheOldViewIntoTheNew)
{
    const RunsCase& c = GetParam();
    const std::vector<std::string_view> all(c.all.begin(), c.all.end());
    std::vector<std::string_view> after;
    for (std::size_t at : c.after)
        after.push_back(all[at]);
    std::vector<LineRun> runs{{9, 9, 9, 9}};
    ASSERT_EQ(selectionChanges(c.before, all, after, runs), c.aSelection);
    EXPECT_EQ(runs, c.runs);
    if (c.aSelection) {
        std::vector<std::string> expected(after.begin(), after.end());
        EXPECT_EQ(applied(c.before, runs, after), expected);
    }
}

const std::vector<std::string> abcde = {"a", "b", "c", "d", "e"};

INSTANTIATE_TEST_SUITE_P(
    Views, LineRunsTable,
    ::testing::Values(
        RunsCase{"Unchanged", abcde, {"a", "c", "e"}, {0, 2, 4}, true, {}},
        RunsCase{"FromNothing", abcde, {}, {1, 3}, true, {{0, 0, 0, 2}}},
        // Lines neither view shows do not split a run.
        RunsCase{"OneRunAcrossHiddenLines", abcde, {"a", "b", "d"}, {0, 2, 4}, true, {{1, 2, 1, 2}}},
        RunsCase{"RunsAtBothEnds", abcde, {"b", "c", "d"}, {0, 2, 4}, true, {{0, 1, 0, 1}, {2, 1, 2, 1}}},
        // Entries added twice unchecked: equal texts stand for each other.
        RunsCase{"Duplicates", {"x", "y", "x"}, {"y", "x"}, {0}, true, {{0, 2, 0, 1}}},
        // Lines a loaded batch showed, or an order that changed under the view.
        RunsCase{"NotInTheList", abcde, {"a", "z"}, {0}, false, {}},
        RunsCase{"OrderChanged", abcde, {"c", "a"}, {0, 2}, false, {}},
        RunsCase{"CaseCounts", abcde, {"A"}, {0}, false, {}}),
    [](const ::testing::TestParamInfo<RunsCase>& info) { return std::string(info.param.name); });

} // namespace
