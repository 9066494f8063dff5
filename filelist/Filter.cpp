// The name filter of the file list.

#include "filelist/Filter.h"

#include <cstring>

bool filterMatches(const std::string& name, const std::string& filter, bool caseMatters,
                   const CodePage& codePage)
{
    const CaseFold fold(codePage);
    const NameFilter rule(filter, caseMatters, false, fold);
    if (caseMatters)
        return rule.matches(name);
    return rule.matches(fold.folded(name));
}

NameFilter::NameFilter(const std::string& filter, bool caseMatters, bool exclude,
                       const CaseFold& fold)
    : fold_(fold), filter_(filter), caseMatters_(caseMatters), exclude_(exclude)
{
    if (!caseMatters_)
        fold_.foldInPlace(filter_);
    const std::string_view text(filter_);
    // The first "*" as a character: a trail byte is never taken for one.
    std::size_t star = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (fold_.isLeadByte(c) && i + 1 < text.size()) {
            ++i;
        } else if (c == '*') {
            star = i;
            break;
        }
    }
    tailStart_ = text.size();
    if (text.empty()) {
        kind_ = Kind::everything;
    } else if (star == std::string_view::npos) {
        kind_ = Kind::contains;
        headLength_ = text.size();
    } else {
        headLength_ = star;
        tailStart_ = star + 1;
        kind_ = star == 0 ? Kind::suffix : star + 1 == text.size() ? Kind::prefix : Kind::both;
    }
}

bool NameFilter::shows(const AddedPaths::Entry& entry) const
{
    if (kind_ == Kind::everything)
        return true;
    const bool match = matches(caseMatters_ ? entry.name() : entry.foldedName());
    return match != exclude_;
}

bool NameFilter::matches(std::string_view name) const
{
    switch (kind_) {
    case Kind::everything:
        return true;
    case Kind::contains:
        return contains(name, head());
    case Kind::suffix:
        return endsWith(name, tail());
    case Kind::prefix:
        return name.substr(0, headLength_) == head();
    case Kind::both:
        return name.substr(0, headLength_) == head() && endsWith(name, tail());
    }
    return false;
}

bool NameFilter::onBoundary(std::string_view name, std::size_t offset) const
{
    if (fold_.singleByte())
        return true;
    std::size_t i = 0;
    while (i < offset) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        i += (fold_.isLeadByte(c) && i + 1 < name.size()) ? 2 : 1;
    }
    return i == offset;
}

bool NameFilter::contains(std::string_view name, std::string_view part) const
{
    if (part.size() > name.size())
        return false;
    if (fold_.singleByte())
        return name.find(part) != std::string_view::npos;
    std::size_t i = 0;
    while (i + part.size() <= name.size()) {
        if (std::memcmp(name.data() + i, part.data(), part.size()) == 0)
            return true;
        const unsigned char c = static_cast<unsigned char>(name[i]);
        i += (fold_.isLeadByte(c) && i + 1 < name.size()) ? 2 : 1;
    }
    return false;
}

bool NameFilter::endsWith(std::string_view name, std::string_view part) const
{
    if (part.size() > name.size())
        return false;
    const std::size_t offset = name.size() - part.size();
    return name.substr(offset) == part && onBoundary(name, offset);
}

std::vector<std::string_view> fileListView(const AddedPaths& paths, const std::string& filter,
                                           bool caseMatters, bool exclude)
{
    const NameFilter rule(filter, caseMatters, exclude, paths.caseFold());
    std::vector<std::string_view> lines;
    lines.reserve(paths.size());
    for (const AddedPaths::Entry& e : paths) {
        if (rule.shows(e))
            lines.push_back(e.path());
    }
    return lines;
}
