#pragma once
// The standard file-error message box: the stop icon, the program's name as caption.

#include "engine/FileError.h"

#include <windows.h>

#include <string>

// The box for a cause; an empty name reads "an unnamed file".
void showFileErrorBox(HWND owner, FileErrorCause cause, const std::string& fileName);
// The box for a Win32 error code met while working on the file.
void showSystemFileErrorBox(HWND owner, DWORD systemCode, const std::string& fileName);
