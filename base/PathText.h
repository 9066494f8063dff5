#pragma once
// Splitting and joining paths in ANSI text without taking the second byte of a double-byte
// character for a backslash (in code pages 932, 936, 949 and 950 it can be 0x5C).

#include "base/CodePage.h"

#include <cstddef>
#include <string>
#include <string_view>

// The one place where paths are cut at a backslash or given one. A backslash counts only
// where a character starts; in a single-byte code page that is every byte, and the
// operations come down to plain byte searches.
class PathText {
public:
    explicit PathText(const CodePage& codePage);

    // Where the name part begins: just after the last backslash, 0 when there is none.
    std::size_t nameStart(std::string_view path) const;
    // The text after the last backslash; the whole path when it has none.
    std::string_view namePart(std::string_view path) const { return path.substr(nameStart(path)); }
    // The path up to and including its last backslash; empty when it has none.
    std::string_view folderPart(std::string_view path) const { return path.substr(0, nameStart(path)); }
    // True when the last character is a backslash (a trail byte 0x5C is not one).
    bool endsWithSeparator(std::string_view path) const;
    // The folder with a backslash appended unless it already ends with one.
    std::string asFolder(std::string_view folder) const;
    // The folder, a backslash unless it already ends with one, and the name.
    std::string join(std::string_view folder, std::string_view name) const;

private:
    bool lead_[256];
    bool anyLead_ = false;
};

// The rules of the running system's ANSI code page, built once.
const PathText& systemPathText();
