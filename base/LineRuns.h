#pragma once
// The change from one ordered selection of a sequence of lines to another, as runs of lines
// to delete and insert.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// One place where the old lines change: old lines [at, at + removed) give way to new lines
// [from, from + inserted). Runs are in ascending order of `at` and do not overlap; applied
// from the last to the first, each run's `at` still names the place it was computed for.
struct LineRun {
    std::size_t at = 0;
    std::size_t removed = 0;
    std::size_t from = 0;
    std::size_t inserted = 0;

    bool operator==(const LineRun& other) const
    {
        return at == other.at && removed == other.removed && from == other.from && inserted == other.inserted;
    }
};

// The runs that turn `before` into `after`, where both pick lines out of `all` keeping its
// order, and `after`'s views point into the same texts as `all`'s (as a filtered view of it
// does). One walk over `all`. False when `before` is not such a selection of `all` (its
// lines were put there some other way, or `all` changed order since): only a full
// replacement is right then, and `runs` is left empty.
bool selectionChanges(const std::vector<std::string>& before, const std::vector<std::string_view>& all,
                      const std::vector<std::string_view>& after, std::vector<LineRun>& runs);

// How many lines the runs delete and insert together.
std::size_t changedLines(const std::vector<LineRun>& runs);
