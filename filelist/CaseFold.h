#pragma once
// Lower-casing of paths and filter texts for the file list, fast enough for 100,000 paths.

#include "base/CodePage.h"

#include <cstddef>
#include <string>

// Folds text the way the code page lower-cases it. Texts without a double-byte character
// (nearly all paths) go through a byte table taken from the code page once; the others are
// handed to the code page whole, because only it knows how its double-byte letters map.
// In UTF-8 the characters beyond ASCII are folded one by one through the code page.
// Folding never changes a text's byte count, so positions found in a path hold in its
// folded form.
class CaseFold {
public:
    explicit CaseFold(const CodePage& codePage);

    void foldInPlace(std::string& text) const;
    void foldInPlace(char* text, std::size_t length) const;
    std::string folded(const std::string& text) const;

    bool isLeadByte(unsigned char byte) const { return lead_[byte]; }
    // True when the code page has no double-byte characters at all.
    bool singleByte() const { return singleByte_; }
    const CodePage& codePage() const { return codePage_; }

private:
    void foldUtf8(char* text, std::size_t length, std::size_t from) const;

    const CodePage& codePage_;
    unsigned char lower_[256];
    bool lead_[256];
    bool singleByte_;
    bool utf8_;
};
