// The system's ANSI code page through the real Win32 functions.

#include "base/CodePage.h"

#include <windows.h>

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

const SystemCodePage systemPage;

} // namespace

const CodePage& systemCodePage()
{
    return systemPage;
}
