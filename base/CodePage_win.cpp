// The system's ANSI code page through the real Win32 functions.

#include "base/CodePage.h"

#include <windows.h>

#include <array>
#include <memory>
#include <vector>

namespace {

class SystemCodePage final : public CodePage {
public:
    bool isLeadByte(unsigned char byte) const override
    {
        return IsDBCSLeadByteEx(CP_ACP, byte) != FALSE;
    }

    bool isLetter(unsigned char byte) const override
    {
        return IsCharAlphaA(static_cast<CHAR>(byte)) != FALSE;
    }

    void toUpper(std::string& text) const override
    {
        if (!text.empty())
            CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    }

    void toLower(std::string& text) const override
    {
        if (!text.empty())
            CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    }

    std::string fromUtf16(const std::u16string& units) const override
    {
        if (units.empty())
            return std::string();
        const wchar_t* wide = reinterpret_cast<const wchar_t*>(units.data());
        int count = static_cast<int>(units.size());
        int size = WideCharToMultiByte(CP_ACP, 0, wide, count, nullptr, 0, nullptr, nullptr);
        if (size <= 0)
            return CodePage::fromUtf16(units);
        std::string out(static_cast<std::size_t>(size), '\0');
        WideCharToMultiByte(CP_ACP, 0, wide, count, &out[0], size, nullptr, nullptr);
        return out;
    }
};

// The program's code page when Windows honours the manifest's UTF-8 entry. The system's
// mapping of a character is asked once per block of 256 and kept: a name of non-Latin
// letters would otherwise cost a system call per character.
class SystemUtf8CodePage final : public Utf8CodePage {
public:
    bool isLetterChar(char32_t c) const override
    {
        if (c < 0x80)
            return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        return c < 0x10000 && IsCharAlphaW(static_cast<WCHAR>(c)) != FALSE;
    }

    char32_t upperChar(char32_t c) const override { return mapped(c, upper_, true); }
    char32_t lowerChar(char32_t c) const override { return mapped(c, lower_, false); }

private:
    using Block = std::array<WCHAR, 256>;
    using Blocks = std::array<std::unique_ptr<Block>, 256>;

    // Characters above U+FFFF are left as they are: none of the scripts there that have
    // letter case is one the system's mapping functions cover.
    static char32_t mapped(char32_t c, Blocks& blocks, bool toUpperCase)
    {
        if (c >= 0x10000 || (c >= 0xD800 && c <= 0xDFFF))
            return c;
        std::unique_ptr<Block>& block = blocks[c >> 8];
        if (!block) {
            block.reset(new Block);
            for (unsigned i = 0; i < 256; ++i)
                (*block)[i] = static_cast<WCHAR>((c & 0xFF00) | i);
            // Surrogate halves are not characters and map to themselves.
            if ((c & 0xF800) != 0xD800) {
                if (toUpperCase)
                    CharUpperBuffW(block->data(), 256);
                else
                    CharLowerBuffW(block->data(), 256);
            }
        }
        return (*block)[c & 0xFF];
    }

    mutable Blocks upper_;
    mutable Blocks lower_;
};

const SystemCodePage systemPage;
const SystemUtf8CodePage utf8Page;

} // namespace

const CodePage& systemCodePage()
{
    // Asked once: the process's code page is fixed when it starts.
    static const CodePage& page = GetACP() == CP_UTF8 ? static_cast<const CodePage&>(utf8Page)
                                                      : static_cast<const CodePage&>(systemPage);
    return page;
}
