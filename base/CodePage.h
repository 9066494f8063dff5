#pragma once
// The one seam through which portable code learns the rules of the ANSI code page.

#include <cstddef>
#include <string>

// What the rename engine and the file list need to know about the code page the program
// runs in: where double-byte characters start, which characters are letters, and how
// letter case maps. In the single- and double-byte code pages all operations work on bytes
// and never change a text's byte count; in UTF-8 (code page 65001) characters take one to
// four bytes, and a case change may change a character's byte count.
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
    // Bytes of the character that this byte starts: 2 for a lead byte, 1 to 4 in UTF-8.
    virtual std::size_t charLength(unsigned char byte) const { return isLeadByte(byte) ? 2 : 1; }
    // True when counts of a rule ("left", "right") are characters rather than bytes: in
    // UTF-8 a user counts what he sees, and only there does a character take up to 4 bytes.
    virtual bool countsCharacters() const { return false; }
    // Letters and case of characters beyond one byte, by code point; only UTF-8 asks.
    virtual bool isLetterChar(char32_t c) const { return c < 0x80 && isLetter(static_cast<unsigned char>(c)); }
    virtual char32_t upperChar(char32_t c) const { return c; }
    virtual char32_t lowerChar(char32_t c) const { return c; }
    // UTF-16 units converted to this code page, one character at a time; a character the
    // code page cannot show becomes "?". Embedded zero units are kept.
    virtual std::string fromUtf16(const std::u16string& units) const;
};

// The running system's ANSI code page: the real Win32 functions in the Windows build, the
// portable model of code page 1252 in the native build.
const CodePage& systemCodePage();

// UTF-8 with the case mapping of each character taken from `upperChar`/`lowerChar`; the
// system's and the portable model differ only in where those come from.
class Utf8CodePage : public CodePage {
public:
    bool isLeadByte(unsigned char) const override { return false; }
    bool isLetter(unsigned char byte) const override;
    std::size_t charLength(unsigned char byte) const override;
    bool countsCharacters() const override { return true; }
    void toUpper(std::string& text) const override { map(text, true); }
    void toLower(std::string& text) const override { map(text, false); }
    std::string fromUtf16(const std::u16string& units) const override;

private:
    void map(std::string& text, bool toUpperCase) const;
};

// Portable models of a single-byte (1252), two double-byte (936, 932) code pages and of
// UTF-8 (65001, with the case pairs of Latin, Greek and Cyrillic); they behave the same in
// both builds. Any other number yields the 1252 model.
const CodePage& modelCodePage(int number);
