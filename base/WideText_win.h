#pragma once
// Converting text between the program's code page, UTF-8 on disk and UTF-16 for the system.

#include <windows.h>

#include <string>
#include <string_view>

// The ANSI code page of the machine (its system locale's), which a program whose manifest
// chose UTF-8 no longer gets from GetACP(): files of earlier versions are in this one.
UINT machineAnsiCodePage();

std::wstring widen(std::string_view text, UINT codePage);
std::string narrow(std::wstring_view text, UINT codePage);

// What the program reads from a file, as the program's own text: UTF-8 when the bytes are
// well-formed UTF-8, else the machine's ANSI code page (files of earlier versions and of
// other tools). `isUtf8` is that decision, taken by the caller when one file holds many
// texts that must be read alike.
std::string programTextFromFile(const std::string& bytes, bool isUtf8);
std::string programTextFromFile(const std::string& bytes);
// What the program writes to a file: its own text as UTF-8, without a byte-order mark.
std::string fileTextFromProgram(const std::string& text);
