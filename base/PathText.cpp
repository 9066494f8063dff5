// Code-page-aware splitting and joining of paths.

#include "base/PathText.h"

PathText::PathText(const CodePage& codePage)
{
    for (int c = 0; c < 256; ++c) {
        lead_[c] = codePage.isLeadByte(static_cast<unsigned char>(c));
        anyLead_ = anyLead_ || lead_[c];
    }
}

std::size_t PathText::nameStart(std::string_view path) const
{
    if (!anyLead_) {
        const std::size_t slash = path.rfind('\\');
        return slash == std::string_view::npos ? 0 : slash + 1;
    }
    // Whether a byte is a trail byte depends on everything before it: walk from the start.
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (lead_[static_cast<unsigned char>(path[i])] && i + 1 < path.size())
            ++i;
        else if (path[i] == '\\')
            start = i + 1;
    }
    return start;
}

bool PathText::endsWithSeparator(std::string_view path) const
{
    return !path.empty() && nameStart(path) == path.size();
}

std::string PathText::asFolder(std::string_view folder) const
{
    std::string out(folder);
    if (!endsWithSeparator(folder))
        out += '\\';
    return out;
}

std::string PathText::join(std::string_view folder, std::string_view name) const
{
    std::string out;
    out.reserve(folder.size() + 1 + name.size());
    out.append(folder);
    if (!endsWithSeparator(folder))
        out += '\\';
    out.append(name);
    return out;
}

const PathText& systemPathText()
{
    static const PathText text(systemCodePage());
    return text;
}
