#pragma once
// UTF-8 as bytes: checking, walking and writing characters of one to four bytes.

#include <cstddef>
#include <string>
#include <string_view>

namespace utf8 {

// Bytes of the character that this byte starts (1 for ASCII and for bytes that start no
// well-formed character, which then stand for themselves).
inline std::size_t sequenceLength(unsigned char lead)
{
    if (lead < 0xC2)
        return 1;
    if (lead < 0xE0)
        return 2;
    if (lead < 0xF0)
        return 3;
    return lead < 0xF5 ? 4 : 1;
}

// True when the text is well-formed UTF-8: no stray continuation byte, no overlong form,
// no surrogate, nothing above U+10FFFF. Files of earlier versions in a single- or
// double-byte code page almost never pass, which is how they are told apart.
bool isValid(std::string_view text);

// The character starting at `at` and its length in bytes; a byte that starts no
// well-formed character is returned as itself with length 1.
char32_t decode(std::string_view text, std::size_t at, std::size_t& length);

// Appends the character's bytes.
void append(std::string& out, char32_t c);

// Bytes needed for the character.
inline std::size_t encodedLength(char32_t c)
{
    return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

// UTF-16 units as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string fromUtf16(const std::u16string& units);
// UTF-8 as UTF-16 units; a byte that starts no well-formed character becomes U+FFFD.
std::u16string toUtf16(std::string_view text);

} // namespace utf8
