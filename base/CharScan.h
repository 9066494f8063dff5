#pragma once
// Byte-wise searches in ANSI text that never take a trail byte of a double-byte character
// for the start of what they look for.

#include <cstddef>
#include <string>

class CodePage;

// The code page's lead bytes and single-byte letters, asked once and kept in a table so
// that scanning a name costs no call per byte.
class CharScan {
public:
    explicit CharScan(const CodePage& codePage);

    bool isLead(unsigned char byte) const { return lead_[byte]; }
    bool isLetter(unsigned char byte) const { return letter_[byte]; }
    bool hasLeadBytes() const { return anyLead_; }

    // Width in bytes of the character starting at `at` (2 for a lead byte followed by
    // another byte, else 1).
    std::size_t charWidth(const std::string& text, std::size_t at) const
    {
        return (lead_[static_cast<unsigned char>(text[at])] && at + 1 < text.size()) ? 2 : 1;
    }

    // First occurrence that starts at or after `from` (a character start) and ends at or
    // before `to`, or npos.
    std::size_t find(const std::string& text, char ch, std::size_t from = 0,
                     std::size_t to = std::string::npos) const;
    std::size_t find(const std::string& text, const std::string& what, std::size_t from = 0,
                     std::size_t to = std::string::npos) const;
    // Last occurrence of a single-byte character at or after `from` (a character start).
    std::size_t findLast(const std::string& text, char ch, std::size_t from = 0) const;

    // Widens the byte range [begin, end) so that it covers every character it touches, the
    // characters being counted from `base` (a character start); cutting a double-byte
    // character in two would leave a stray byte that may read as a backslash. A no-op in
    // single-byte code pages.
    void widenToChars(const std::string& text, std::size_t base, std::size_t& begin,
                      std::size_t& end) const;

private:
    bool lead_[256];
    bool letter_[256];
    bool anyLead_ = false;
};
