// The user's own folder of the program.

#include "base/UserFolder_win.h"

#include "base/Identity.h"
#include "base/WideText_win.h"

#include <shlobj.h>

std::wstring userDataFolderWide(bool create)
{
    WCHAR local[MAX_PATH] = {0};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | (create ? CSIDL_FLAG_CREATE : 0), nullptr,
                                SHGFP_TYPE_CURRENT, local)))
        return std::wstring();
    const std::wstring folder = std::wstring(local) + L"\\" + widen(userDataFolderName, CP_UTF8);
    if (create && !CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return std::wstring();
    return folder + L"\\";
}
