#pragma once
// Byte-wise searches in ANSI text that never take a trail byte of a double-byte character
// for the start of what they look for, and the widths of characters (UTF-8 included).

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
    // True when some character takes more than one byte (double-byte or UTF-8).
    bool hasWideChars() const { return anyWide_; }
    // True when rule counts are characters (UTF-8), not bytes.
    bool countsCharacters() const { return countsChars_; }

    // Width in bytes of the character starting at `at` (2 for a lead byte followed by
    // another byte, up to 4 in UTF-8; 1 where the text ends too early).
    std::size_t charWidth(const std::string& text, std::size_t at) const
    {
        const std::size_t w = width_[static_cast<unsigned char>(text[at])];
        return at + w <= text.size() ? w : 1;
    }
    // Whether the character of `width` bytes at `at` is a letter.
    bool isLetterAt(const std::string& text, std::size_t at, std::size_t width) const;

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
    // character in two would leave a stray byte that may read as a backslash, and half a
    // UTF-8 character is no character at all. A no-op in single-byte code pages.
    void widenToChars(const std::string& text, std::size_t base, std::size_t& begin,
                      std::size_t& end) const;

private:
    const CodePage& codePage_;
    bool lead_[256];
    bool letter_[256];
    unsigned char width_[256];
    bool anyLead_ = false;
    bool anyWide_ = false;
    bool countsChars_ = false;
};
