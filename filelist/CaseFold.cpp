// Lower-casing of paths and filter texts for the file list.

#include "filelist/CaseFold.h"

CaseFold::CaseFold(const CodePage& codePage)
    : codePage_(codePage), singleByte_(true)
{
    for (int b = 0; b < 256; ++b) {
        const unsigned char byte = static_cast<unsigned char>(b);
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

void CaseFold::foldInPlace(std::string& text) const
{
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
