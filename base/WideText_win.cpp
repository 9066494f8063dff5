// Conversions between the program's code page, UTF-8 and UTF-16.

#include "base/WideText_win.h"

#include "base/Utf8.h"

namespace {

bool isAscii(std::string_view text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// The same text from one code page in another; text that is all ASCII reads alike in all
// of them.
std::string recode(const std::string& text, UINT from, UINT to)
{
    if (from == to || isAscii(text))
        return text;
    return narrow(widen(text, from), to);
}

} // namespace

UINT machineAnsiCodePage()
{
    static const UINT codePage = [] {
        WCHAR digits[8] = {};
        if (GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, digits, 8) > 0) {
            UINT number = 0;
            for (const WCHAR* d = digits; *d >= L'0' && *d <= L'9'; ++d)
                number = number * 10 + static_cast<UINT>(*d - L'0');
            // A locale without an ANSI code page of its own says 0: such a machine writes UTF-8.
            if (number != 0)
                return number;
        }
        return static_cast<UINT>(GetACP());
    }();
    return codePage;
}

std::wstring widen(std::string_view text, UINT codePage)
{
    if (text.empty())
        return std::wstring();
    const int length = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    if (units <= 0)
        return std::wstring();
    std::wstring out(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), length, &out[0], units);
    return out;
}

std::string narrow(std::wstring_view text, UINT codePage)
{
    if (text.empty())
        return std::string();
    const int length = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return std::string();
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), length, &out[0], bytes, nullptr, nullptr);
    return out;
}

std::string programTextFromFile(const std::string& bytes, bool isUtf8)
{
    return recode(bytes, isUtf8 ? CP_UTF8 : machineAnsiCodePage(), GetACP());
}

std::string programTextFromFile(const std::string& bytes)
{
    return programTextFromFile(bytes, utf8::isValid(bytes));
}

std::string fileTextFromProgram(const std::string& text)
{
    return recode(text, GetACP(), CP_UTF8);
}
