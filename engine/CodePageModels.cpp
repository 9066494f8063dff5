// Portable models of code pages 1252 and 936, and the native build's system code page.

#include "engine/CodePage.h"

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

const Model1252 model1252;
const Model936 model936;

} // namespace

const CodePage& modelCodePage(int number)
{
    if (number == 936)
        return model936;
    return model1252;
}

#ifndef _WIN32
const CodePage& systemCodePage()
{
    return model1252;
}
#endif
