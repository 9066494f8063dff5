// Character-aware byte searches for the rule reader and the new-name computation.

#include "base/CharScan.h"

#include "base/CodePage.h"
#include "base/Utf8.h"

#include <algorithm>
#include <cstring>

CharScan::CharScan(const CodePage& codePage)
    : codePage_(codePage), countsChars_(codePage.countsCharacters())
{
    for (int c = 0; c < 256; ++c) {
        lead_[c] = codePage.isLeadByte(static_cast<unsigned char>(c));
        letter_[c] = codePage.isLetter(static_cast<unsigned char>(c));
        width_[c] = static_cast<unsigned char>(codePage.charLength(static_cast<unsigned char>(c)));
        anyLead_ = anyLead_ || lead_[c];
        anyWide_ = anyWide_ || width_[c] > 1;
    }
}

bool CharScan::isLetterAt(const std::string& text, std::size_t at, std::size_t width) const
{
    if (width == 1)
        return letter_[static_cast<unsigned char>(text[at])];
    // A double-byte character is not a letter; a UTF-8 one is when the code page says so.
    if (!countsChars_)
        return false;
    std::size_t length = 0;
    const char32_t c = utf8::decode(text, at, length);
    return length == width && codePage_.isLetterChar(c);
}

std::size_t CharScan::find(const std::string& text, char ch, std::size_t from, std::size_t to) const
{
    to = std::min(to, text.size());
    if (!anyLead_) {
        if (from >= to)
            return std::string::npos;
        const void* hit = std::memchr(text.data() + from, ch, to - from);
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data())
                   : std::string::npos;
    }
    for (std::size_t i = from; i < to; i += charWidth(text, i)) {
        if (text[i] == ch)
            return i;
    }
    return std::string::npos;
}

std::size_t CharScan::find(const std::string& text, const std::string& what, std::size_t from,
                           std::size_t to) const
{
    to = std::min(to, text.size());
    const std::size_t n = what.size();
    if (n == 0 || from > to || to - from < n)
        return std::string::npos;
    if (!anyLead_) {
        const std::size_t at = text.find(what, from);
        return (at != std::string::npos && at + n <= to) ? at : std::string::npos;
    }
    for (std::size_t i = from; i + n <= to; i += charWidth(text, i)) {
        if (std::memcmp(text.data() + i, what.data(), n) != 0)
            continue;
        // A match must also end where a character ends, or it would take half of one.
        std::size_t end = i;
        while (end < i + n)
            end += charWidth(text, end);
        if (end == i + n)
            return i;
    }
    return std::string::npos;
}

std::size_t CharScan::findLast(const std::string& text, char ch, std::size_t from) const
{
    if (!anyLead_) {
        const std::size_t at = text.rfind(ch);
        return (at != std::string::npos && at >= from) ? at : std::string::npos;
    }
    std::size_t found = std::string::npos;
    for (std::size_t i = from; i < text.size(); i += charWidth(text, i)) {
        if (text[i] == ch)
            found = i;
    }
    return found;
}

void CharScan::widenToChars(const std::string& text, std::size_t base, std::size_t& begin,
                            std::size_t& end) const
{
    if (!anyWide_ || begin >= end)
        return;
    std::size_t i = base;
    std::size_t newBegin = begin;
    while (i < text.size()) {
        const std::size_t w = charWidth(text, i);
        if (i + w > begin) {
            newBegin = i;
            break;
        }
        i += w;
    }
    while (i < end && i < text.size())
        i += charWidth(text, i);
    begin = newBegin;
    end = i;
}
