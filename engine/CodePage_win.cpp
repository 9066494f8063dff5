// The system's ANSI code page through the real Win32 functions.

#include "engine/CodePage.h"

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
};

const SystemCodePage systemPage;

} // namespace

const CodePage& systemCodePage()
{
    return systemPage;
}
