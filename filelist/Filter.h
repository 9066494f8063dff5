#pragma once
// The name filter of the file list: the match rule and which added paths the view shows.

#include "filelist/AddedPaths.h"
#include "filelist/CaseFold.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The filter rule. Without caseMatters both texts are lower-cased first. Only the first
// "*" is special: none means "contains", first means "ends with", last means "begins
// with", inside means both (tested independently, so ab*bc matches abc). An empty filter
// matches everything. Matches start on character boundaries, so a filter never matches
// the second byte of a double-byte character.
bool filterMatches(const std::string& name, const std::string& filter, bool caseMatters,
                   const CodePage& codePage = systemCodePage());

// One filter setting, prepared once and applied to many entries. A copy stands on its own
// (the parts of the filter are kept as places in its own text); the case folding it is
// given must outlive it.
class NameFilter {
public:
    NameFilter(const std::string& filter, bool caseMatters, bool exclude, const CaseFold& fold);

    // Whether the view shows the entry: always with an empty filter, otherwise when the
    // match differs from "Exclude".
    bool shows(const AddedPaths::Entry& entry) const;
    // The bare rule on a name that is already folded when case does not matter.
    bool matches(std::string_view name) const;

private:
    bool onBoundary(std::string_view name, std::size_t offset) const;
    bool contains(std::string_view name, std::string_view part) const;
    bool endsWith(std::string_view name, std::string_view part) const;

    const CaseFold& fold_;
    std::string filter_;
    bool caseMatters_;
    bool exclude_;
    std::string_view head() const { return std::string_view(filter_).substr(0, headLength_); }
    std::string_view tail() const { return std::string_view(filter_).substr(tailStart_); }

    enum class Kind { everything, contains, suffix, prefix, both } kind_;
    // The text before and after the "*" (the whole filter as the head when it has none).
    std::size_t headLength_ = 0;
    std::size_t tailStart_ = 0;
};

// The lines of the file list view for the current filter: the shown entries' full paths in
// list order, each followed by a NUL in memory. Valid until the list is next changed.
std::vector<std::string_view> fileListView(const AddedPaths& paths, const std::string& filter,
                                           bool caseMatters, bool exclude);
