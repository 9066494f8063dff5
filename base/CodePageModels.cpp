// Portable models of code pages 1252, 936 and 932, and the native build's system code page.

#include "base/CodePage.h"

#include "base/Utf8.h"

namespace {

// Walks UTF-16 units as characters: a valid surrogate pair is one character (above U+FFFF),
// an unpaired surrogate stands for itself and so cannot be shown by any ANSI code page.
template <typename Emit>
void forEachCharacter(const std::u16string& units, Emit emit)
{
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00
            && units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        }
        emit(c);
    }
}

} // namespace

std::string CodePage::fromUtf16(const std::u16string& units) const
{
    std::string out;
    out.reserve(units.size());
    forEachCharacter(units, [&](char32_t c) { out += c < 0x80 ? static_cast<char>(c) : '?'; });
    return out;
}

bool Utf8CodePage::isLetter(unsigned char byte) const
{
    // A byte above 0x7F is part of a character, never one by itself.
    return byte < 0x80 && isLetterChar(byte);
}

std::size_t Utf8CodePage::charLength(unsigned char byte) const
{
    return utf8::sequenceLength(byte);
}

std::string Utf8CodePage::fromUtf16(const std::u16string& units) const
{
    return utf8::fromUtf16(units);
}

void Utf8CodePage::map(std::string& text, bool toUpperCase) const
{
    std::size_t i = 0;
    // Names are mostly ASCII: those bytes map in place, and only a text that holds other
    // characters is rebuilt.
    for (; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80)
            break;
        if (toUpperCase && c >= 'a' && c <= 'z')
            text[i] = static_cast<char>(c - 0x20);
        else if (!toUpperCase && c >= 'A' && c <= 'Z')
            text[i] = static_cast<char>(c + 0x20);
    }
    if (i == text.size())
        return;
    std::string out(text, 0, i);
    out.reserve(text.size() + 4);
    while (i < text.size()) {
        std::size_t n = 0;
        const char32_t c = utf8::decode(text, i, n);
        if (n == 1 && c >= 0x80)
            out += text[i]; // not a character: kept as it is
        else
            utf8::append(out, toUpperCase ? upperChar(c) : lowerChar(c));
        i += n;
    }
    text.swap(out);
}

namespace {

class Model1252 final : public CodePage {
public:
    bool isLeadByte(unsigned char) const override { return false; }

    bool isLetter(unsigned char c) const override
    {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
            return true;
        switch (c) {
        case 0x83: case 0x8A: case 0x8C: case 0x8E: case 0x9A: case 0x9C: case 0x9E: case 0x9F:
        case 0xAA: case 0xB5: case 0xBA:
            return true;
        default:
            return c >= 0xC0 && c != 0xD7 && c != 0xF7;
        }
    }

    void toUpper(std::string& text) const override
    {
        for (char& ch : text)
            ch = static_cast<char>(upper(static_cast<unsigned char>(ch)));
    }

    void toLower(std::string& text) const override
    {
        for (char& ch : text)
            ch = static_cast<char>(lower(static_cast<unsigned char>(ch)));
    }

    std::string fromUtf16(const std::u16string& units) const override
    {
        // 0x80..0x9F are the only bytes of 1252 that are not the Latin-1 code point itself;
        // the system's table maps the five unassigned ones (0x81, 0x8D, 0x8F, 0x90, 0x9D) to
        // the control characters of the same number. Best-fit substitutes are not modelled.
        static const char16_t high[32] = {
            0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
        std::string out;
        out.reserve(units.size());
        forEachCharacter(units, [&](char32_t c) {
            if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
                out += static_cast<char>(c);
                return;
            }
            for (int i = 0; i < 32; ++i) {
                if (high[i] == c) {
                    out += static_cast<char>(0x80 + i);
                    return;
                }
            }
            out += '?';
        });
        return out;
    }

private:
    static unsigned char upper(unsigned char c)
    {
        if (c >= 'a' && c <= 'z')
            return static_cast<unsigned char>(c - 0x20);
        switch (c) {
        case 0x9A: return 0x8A;
        case 0x9C: return 0x8C;
        case 0x9E: return 0x8E;
        case 0xFF: return 0x9F;
        default: break;
        }
        if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
            return static_cast<unsigned char>(c - 0x20);
        return c;
    }

    static unsigned char lower(unsigned char c)
    {
        if (c >= 'A' && c <= 'Z')
            return static_cast<unsigned char>(c + 0x20);
        switch (c) {
        case 0x8A: return 0x9A;
        case 0x8C: return 0x9C;
        case 0x8E: return 0x9E;
        case 0x9F: return 0xFF;
        default: break;
        }
        if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
            return static_cast<unsigned char>(c + 0x20);
        return c;
    }
};

// GBK: lead bytes 0x81..0xFE, trail bytes 0x40..0xFE (0x5C, the backslash, among them).
// Single-byte letters are ASCII only; the cased double-byte characters modelled are the
// full-width Latin letters (A3 C1..DA upper, A3 E1..FA lower).
class Model936 final : public CodePage {
public:
    bool isLeadByte(unsigned char c) const override { return c >= 0x81 && c <= 0xFE; }

    bool isLetter(unsigned char c) const override
    {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    }

    void toUpper(std::string& text) const override { map(text, true); }
    void toLower(std::string& text) const override { map(text, false); }

    // The model knows ASCII, the ideographic space and the full-width Latin letters; every
    // other character comes out as "?", as an unmappable one does from the real code page.
    std::string fromUtf16(const std::u16string& units) const override
    {
        std::string out;
        out.reserve(units.size());
        forEachCharacter(units, [&](char32_t c) {
            if (c < 0x80) {
                out += static_cast<char>(c);
            } else if (c == 0x3000) {
                out += "\xA1\xA1";
            } else if ((c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A)) {
                out += '\xA3';
                out += static_cast<char>(0xC1 + (c >= 0xFF41 ? c - 0xFF41 + 0x20 : c - 0xFF21));
            } else {
                out += '?';
            }
        });
        return out;
    }

private:
    void map(std::string& text, bool toUpperCase) const
    {
        for (std::size_t i = 0; i < text.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(text[i]);
            if (isLeadByte(c) && i + 1 < text.size()) {
                unsigned char t = static_cast<unsigned char>(text[i + 1]);
                if (c == 0xA3) {
                    if (toUpperCase && t >= 0xE1 && t <= 0xFA)
                        text[i + 1] = static_cast<char>(t - 0x20);
                    else if (!toUpperCase && t >= 0xC1 && t <= 0xDA)
                        text[i + 1] = static_cast<char>(t + 0x20);
                }
                ++i;
                continue;
            }
            if (toUpperCase && c >= 'a' && c <= 'z')
                text[i] = static_cast<char>(c - 0x20);
            else if (!toUpperCase && c >= 'A' && c <= 'Z')
                text[i] = static_cast<char>(c + 0x20);
        }
    }
};

// Shift-JIS: lead bytes 0x81..0x9F and 0xE0..0xFC, trail bytes 0x40..0xFC (0x5C among
// them: the kanji "table" is 95 5C, the katakana "so" 83 5C); 0xA1..0xDF are single-byte
// half-width katakana. Letters and case as the 936 model, with the full-width Latin
// letters at 82 60..79 (upper) and 82 81..9A (lower).
class Model932 final : public CodePage {
public:
    bool isLeadByte(unsigned char c) const override
    {
        return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    }

    bool isLetter(unsigned char c) const override
    {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    }

    void toUpper(std::string& text) const override { map(text, true); }
    void toLower(std::string& text) const override { map(text, false); }

private:
    void map(std::string& text, bool toUpperCase) const
    {
        for (std::size_t i = 0; i < text.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(text[i]);
            if (isLeadByte(c) && i + 1 < text.size()) {
                unsigned char t = static_cast<unsigned char>(text[i + 1]);
                if (c == 0x82) {
                    if (toUpperCase && t >= 0x81 && t <= 0x9A)
                        text[i + 1] = static_cast<char>(t - 0x21);
                    else if (!toUpperCase && t >= 0x60 && t <= 0x79)
                        text[i + 1] = static_cast<char>(t + 0x21);
                }
                ++i;
                continue;
            }
            if (toUpperCase && c >= 'a' && c <= 'z')
                text[i] = static_cast<char>(c - 0x20);
            else if (!toUpperCase && c >= 'A' && c <= 'Z')
                text[i] = static_cast<char>(c + 0x20);
        }
    }
};

// Case pairs of Latin-1, Latin Extended-A, Greek and Cyrillic, and letters of those and
// of the common CJK blocks: enough to model every kind of character a name holds.
class Model65001 final : public Utf8CodePage {
public:
    bool isLetterChar(char32_t c) const override
    {
        if (c < 0x80)
            return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        return upperChar(c) != c || lowerChar(c) != c || c == 0xDF ||
               (c >= 0x3041 && c <= 0x30FF) || (c >= 0x4E00 && c <= 0x9FFF) ||
               (c >= 0xAC00 && c <= 0xD7A3);
    }

    char32_t upperChar(char32_t c) const override
    {
        if (c >= 'a' && c <= 'z')
            return c - 0x20;
        if (c < 0xE0)
            return c;
        if (c <= 0xFE)
            return c == 0xF7 ? c : c - 0x20;
        if (c == 0xFF)
            return 0x178;
        if (c >= 0x100 && c <= 0x17F) {
            const char32_t lowerBit = pairedLowerIsOdd(c) ? 1 : 0;
            return isPaired(c) && (c & 1) == lowerBit ? c - 1 : c;
        }
        if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2)
            return c - 0x20;
        if (c >= 0x430 && c <= 0x44F)
            return c - 0x20;
        if (c >= 0x450 && c <= 0x45F)
            return c - 0x50;
        return c;
    }

    char32_t lowerChar(char32_t c) const override
    {
        if (c >= 'A' && c <= 'Z')
            return c + 0x20;
        if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
            return c + 0x20;
        if (c == 0x178)
            return 0xFF;
        if (c >= 0x100 && c <= 0x17F) {
            const char32_t lowerBit = pairedLowerIsOdd(c) ? 1 : 0;
            return isPaired(c) && (c & 1) != lowerBit ? c + 1 : c;
        }
        if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2)
            return c + 0x20;
        if (c >= 0x410 && c <= 0x42F)
            return c + 0x20;
        if (c >= 0x400 && c <= 0x40F)
            return c + 0x50;
        return c;
    }

private:
    // Latin Extended-A pairs its letters upper then lower, starting on an even code point
    // in 0100..0137 and 014A..0177 and on an odd one in 0139..0148 and 0179..017E.
    static bool pairedLowerIsOdd(char32_t c)
    {
        return !((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E));
    }
    static bool isPaired(char32_t c)
    {
        return (c >= 0x100 && c <= 0x137 && c != 0x130 && c != 0x131) ||
               (c >= 0x139 && c <= 0x148) || (c >= 0x14A && c <= 0x177) ||
               (c >= 0x179 && c <= 0x17E);
    }
};

const Model1252 model1252;
const Model65001 model65001;
const Model936 model936;
const Model932 model932;

} // namespace

const CodePage& modelCodePage(int number)
{
    if (number == 936)
        return model936;
    if (number == 932)
        return model932;
    if (number == 65001)
        return model65001;
    return model1252;
}

#ifndef _WIN32
const CodePage& systemCodePage()
{
    return model1252;
}
#endif
