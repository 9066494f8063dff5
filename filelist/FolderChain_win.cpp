// Creating a typed folder path level by level for the folder dialog.

#include "filelist/FolderChain_win.h"

#include "base/Identity.h"
#include "filelist/FolderChain.h"

#include <windows.h>

// "目录建立错误! 请检查您是否拥有对此目录的可写权限." in GB2312, whatever code page the
// program runs in: the one message of the program in that language.
const char folderCreationFailedText[] =
    "\xC4\xBF\xC2\xBC\xBD\xA8\xC1\xA2\xB4\xED\xCE\xF3! \xC7\xEB\xBC\xEC\xB2\xE9\xC4\xFA\xCA\xC7"
    "\xB7\xF1\xD3\xB5\xD3\xD0\xB6\xD4\xB4\xCB\xC4\xBF\xC2\xBC\xB5\xC4\xBF\xC9\xD0\xB4\xC8\xA8"
    "\xCF\xDE.";

namespace {

bool folderExists(const std::string& level)
{
    // The attributes, not a search for "*.*": the root of an empty drive holds no entry
    // at all, yet exists.
    const DWORD attributes = GetFileAttributesA(level.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void reportFailure(const std::string& level)
{
    const std::string text = level + folderCreationFailedText;
    MSGBOXPARAMSA box = {};
    box.cbSize = sizeof box;
    box.hwndOwner = nullptr;
    box.hInstance = GetModuleHandleA(nullptr);
    box.lpszText = text.c_str();
    box.lpszCaption = displayName;
    box.dwStyle = MB_OK | MB_USERICON;
    box.lpszIcon = MAKEINTRESOURCEA(IDI_PROGRAM);
    MessageBoxIndirectA(&box);
}

} // namespace

bool createFolderChain(const std::string& path)
{
    for (const std::string& level : folderChainLevels(path)) {
        if (folderExists(level))
            continue;
        if (!CreateDirectoryA(level.c_str(), nullptr)) {
            reportFailure(level);
            return false;
        }
    }
    return true;
}
