// The file-error message box.

#include "engine/FileError_win.h"

#include "base/Identity.h"

void showFileErrorBox(HWND owner, FileErrorCause cause, const std::string& fileName)
{
    const std::string text = fileErrorText(cause, fileName);
    MessageBoxA(owner, text.c_str(), displayName, MB_OK | MB_ICONSTOP);
}

void showSystemFileErrorBox(HWND owner, DWORD systemCode, const std::string& fileName)
{
    showFileErrorBox(owner, fileErrorCauseOf(systemCode), fileName);
}
