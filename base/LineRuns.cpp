// The change from one ordered selection of a sequence of lines to another.

#include "base/LineRuns.h"

bool selectionChanges(const std::vector<std::string>& before, const std::vector<std::string_view>& all,
                      const std::vector<std::string_view>& after, std::vector<LineRun>& runs)
{
    runs.clear();
    std::size_t oldAt = 0;
    std::size_t newAt = 0;
    bool open = false;
    LineRun run;
    for (std::string_view line : all) {
        // A later line of `all` with the same text may be the one `before` meant; taking the
        // first that fits is still a valid match, and equal texts are interchangeable.
        const bool wasShown = oldAt < before.size() && std::string_view(before[oldAt]) == line;
        // The new view is cut from the same entries, so sameness is a pointer comparison.
        const bool isShown = newAt < after.size() && after[newAt].data() == line.data() &&
                             after[newAt].size() == line.size();
        if (wasShown == isShown) {
            if (wasShown) {
                if (open) {
                    runs.push_back(run);
                    open = false;
                }
                ++oldAt;
                ++newAt;
            }
            continue;
        }
        if (!open) {
            run = LineRun{oldAt, 0, newAt, 0};
            open = true;
        }
        if (wasShown) {
            ++run.removed;
            ++oldAt;
        } else {
            ++run.inserted;
            ++newAt;
        }
    }
    if (open)
        runs.push_back(run);
    if (oldAt != before.size() || newAt != after.size()) {
        runs.clear();
        return false;
    }
    return true;
}

std::size_t changedLines(const std::vector<LineRun>& runs)
{
    std::size_t changed = 0;
    for (const LineRun& run : runs)
        changed += run.removed + run.inserted;
    return changed;
}
