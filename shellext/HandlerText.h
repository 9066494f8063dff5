#pragma once
// The context-menu handler's texts and the rules for handing them out, free of Win32.

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/Identity.h"

constexpr const char* menuItemText = "&Tesselwork files";
constexpr const char* helpText = "Rename selected files with Tesselwork2.";
constexpr const char* programFileName = "Tessel2.exe";

// What GetCommandString is being asked for. Only the help text of offset 0 and the ANSI
// validation exist; the command has no verb, so verb requests are refused.
enum class CommandStringAnswer { HelpAnsi, HelpWide, Validate, Invalid };

CommandStringAnswer classifyCommandString(std::uintptr_t commandOffset, unsigned type);

// Copies text into a caller's buffer of `size` characters the way the shell's callers
// expect: at most size characters, the rest NUL-padded, and the last slot always NUL, so a
// short buffer gets the first size - 1 characters. A size of 0 writes nothing. The text is
// plain ASCII, so widening is a character-by-character copy.
template <class Char>
void copyCommandText(Char* buffer, std::size_t size, const char* text)
{
    if (buffer == nullptr || size == 0)
        return;
    std::size_t i = 0;
    for (; i < size && text[i] != '\0'; ++i)
        buffer[i] = static_cast<Char>(static_cast<unsigned char>(text[i]));
    for (; i < size; ++i)
        buffer[i] = Char(0);
    buffer[size - 1] = Char(0);
}

// One record of the handoff file: the path followed by CR LF.
void appendHandoffRecord(std::string& selectedFiles, const std::string& path);

// The installation directory from the raw bytes of the InstallPath value. The program
// stores the characters without a NUL; a value typed in by hand as REG_SZ carries one, and
// everything from the first NUL on would make every path built from it point elsewhere.
std::string installDirFromValue(const std::string& bytes);

// The command line that starts the program. Quoted, because an unquoted path with blanks
// lets Windows try every prefix ("C:\Program.exe" for "C:\Program Files\...") first.
std::string programCommandLine(const std::string& installDir);
