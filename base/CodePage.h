#pragma once
// The one seam through which portable code learns the rules of the ANSI code page.

#include <string>

// What the rename engine and the file list need to know about the code page the program
// runs in: where double-byte characters start, which characters are letters, and how
// letter case maps. All operations work on bytes and never change a text's byte count.
class CodePage {
public:
    virtual ~CodePage() = default;

    // True when the byte starts a double-byte character (its next byte is a trail byte).
    virtual bool isLeadByte(unsigned char byte) const = 0;
    // True when the single-byte character is a letter of this code page.
    virtual bool isLetter(unsigned char byte) const = 0;
    // Case mapping in place, character by character, as the system maps it (double-byte
    // characters included where the code page has cased ones, such as full-width Latin).
    virtual void toUpper(std::string& text) const = 0;
    virtual void toLower(std::string& text) const = 0;
    // UTF-16 units converted to this code page, one character at a time; a character the
    // code page cannot show becomes "?". Embedded zero units are kept.
    virtual std::string fromUtf16(const std::u16string& units) const;
};

// The running system's ANSI code page: the real Win32 functions in the Windows build, the
// portable model of code page 1252 in the native build.
const CodePage& systemCodePage();

// Portable models of a single-byte (1252) and two double-byte (936, 932) code pages; they
// behave the same in both builds. Any other number yields the 1252 model.
const CodePage& modelCodePage(int number);
