// Lower-casing of paths and filter texts for the file list.

#include "filelist/CaseFold.h"

#include "base/Utf8.h"

CaseFold::CaseFold(const CodePage& codePage)
    : codePage_(codePage), singleByte_(true), utf8_(codePage.countsCharacters())
{
    for (int b = 0; b < 256; ++b) {
        const unsigned char byte = static_cast<unsigned char>(b);
        if (utf8_ && b >= 0x80) {
            lead_[b] = false;
            lower_[b] = byte;
            continue;
        }
        lead_[b] = codePage.isLeadByte(byte);
        if (lead_[b]) {
            singleByte_ = false;
            lower_[b] = byte;
            continue;
        }
        std::string one(1, static_cast<char>(byte));
        if (b != 0)
            codePage.toLower(one);
        lower_[b] = static_cast<unsigned char>(one[0]);
    }
}

void CaseFold::foldUtf8(char* text, std::size_t length, std::size_t from) const
{
    const std::string_view view(text, length);
    for (std::size_t i = from; i < length;) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            text[i] = static_cast<char>(lower_[c]);
            ++i;
            continue;
        }
        std::size_t n = 0;
        const char32_t original = utf8::decode(view, i, n);
        const char32_t lower = n > 1 ? codePage_.lowerChar(original) : original;
        // Both sides of a comparison fold alike, so a character whose lower case takes
        // another number of bytes (a rare few, such as the Kelvin sign) may stay as it is.
        if (lower != original && utf8::encodedLength(lower) == n) {
            std::string bytes;
            utf8::append(bytes, lower);
            bytes.copy(text + i, n);
        }
        i += n;
    }
}

void CaseFold::foldInPlace(std::string& text) const
{
    if (utf8_) {
        if (!text.empty())
            foldInPlace(&text[0], text.size());
        return;
    }
    if (!singleByte_) {
        for (char ch : text) {
            if (lead_[static_cast<unsigned char>(ch)]) {
                codePage_.toLower(text);
                return;
            }
        }
    }
    for (char& ch : text)
        ch = static_cast<char>(lower_[static_cast<unsigned char>(ch)]);
}

void CaseFold::foldInPlace(char* text, std::size_t length) const
{
    if (utf8_) {
        for (std::size_t i = 0; i < length; ++i) {
            const unsigned char c = static_cast<unsigned char>(text[i]);
            if (c >= 0x80) {
                foldUtf8(text, length, i);
                return;
            }
            text[i] = static_cast<char>(lower_[c]);
        }
        return;
    }
    if (!singleByte_) {
        for (std::size_t i = 0; i < length; ++i) {
            if (lead_[static_cast<unsigned char>(text[i])]) {
                std::string copy(text, length);
                codePage_.toLower(copy);
                copy.copy(text, length);
                return;
            }
        }
    }
    for (std::size_t i = 0; i < length; ++i)
        text[i] = static_cast<char>(lower_[static_cast<unsigned char>(text[i])]);
}

std::string CaseFold::folded(const std::string& text) const
{
    std::string copy = text;
    foldInPlace(copy);
    return copy;
}
