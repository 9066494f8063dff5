// UTF-8 checking, decoding and encoding.

#include "base/Utf8.h"

namespace utf8 {

namespace {

bool continuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// Length of the well-formed character at `at`, 0 when none starts there.
std::size_t wellFormedLength(std::string_view text, std::size_t at)
{
    const unsigned char c = static_cast<unsigned char>(text[at]);
    if (c < 0x80)
        return 1;
    const std::size_t n = sequenceLength(c);
    if (n == 1 || at + n > text.size())
        return 0;
    const unsigned char second = static_cast<unsigned char>(text[at + 1]);
    // The second byte's range rules out overlong forms, surrogates and values past U+10FFFF.
    if ((c == 0xE0 && second < 0xA0) || (c == 0xED && second > 0x9F) ||
        (c == 0xF0 && second < 0x90) || (c == 0xF4 && second > 0x8F))
        return 0;
    for (std::size_t i = 1; i < n; ++i) {
        if (!continuation(static_cast<unsigned char>(text[at + i])))
            return 0;
    }
    return n;
}

} // namespace

bool isValid(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t n = wellFormedLength(text, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

char32_t decode(std::string_view text, std::size_t at, std::size_t& length)
{
    const unsigned char c = static_cast<unsigned char>(text[at]);
    length = c < 0x80 ? 1 : wellFormedLength(text, at);
    if (length <= 1) {
        length = 1;
        return c;
    }
    char32_t value = c & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i)
        value = (value << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3F);
    return value;
}

void append(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string fromUtf16(const std::u16string& units)
{
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        append(out, c);
    }
    return out;
}

std::u16string toUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = 0;
        char32_t c = decode(text, i, n);
        if (n == 1 && c >= 0x80)
            c = 0xFFFD;
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        i += n;
    }
    return out;
}

} // namespace utf8
