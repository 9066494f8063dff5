// The shell's folder dialog as "Add dir", "Copy to" and "Move to" use it.

#include "filelist/FolderBrowser_win.h"

#include "filelist/FolderChain_win.h"

#include <objbase.h>
#include <shlobj.h>

#include <vector>

namespace {

struct EditSearch {
    HWND found = nullptr;
};

BOOL CALLBACK findEditChild(HWND child, LPARAM data)
{
    char className[32];
    if (GetClassNameA(child, className, sizeof className) && lstrcmpiA(className, "Edit") == 0) {
        reinterpret_cast<EditSearch*>(data)->found = child;
        return FALSE;
    }
    return TRUE;
}

std::string narrowed(const wchar_t* text)
{
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1)
        return std::string();
    std::vector<char> buffer(bytes);
    WideCharToMultiByte(CP_ACP, 0, text, -1, buffer.data(), bytes, nullptr, nullptr);
    return std::string(buffer.data());
}

} // namespace

int CALLBACK FolderBrowser::callback(HWND dialog, UINT message, LPARAM data, LPARAM self)
{
    // Called from inside the shell's dialog: no exception may unwind through it. Typed text
    // that could not be dealt with keeps the dialog open, as a failed creation does.
    try {
        return reinterpret_cast<FolderBrowser*>(self)->onEvent(dialog, message, data);
    } catch (...) {
        return message == BFFM_VALIDATEFAILEDA || message == BFFM_VALIDATEFAILEDW ? 1 : 0;
    }
}

int FolderBrowser::onEvent(HWND dialog, UINT message, LPARAM data)
{
    switch (message) {
    case BFFM_INITIALIZED:
        if (!dialogFolder.empty())
            SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(dialogFolder.c_str()));
        return 0;
    case BFFM_SELCHANGED: {
        char path[MAX_PATH] = "";
        if (!data || !SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(data), path))
            return 0;
        SendMessageA(dialog, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
        EditSearch search;
        EnumChildWindows(dialog, findEditChild, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            SetWindowTextA(search.found, path);
        return 0;
    }
    case BFFM_VALIDATEFAILEDA:
    case BFFM_VALIDATEFAILEDW: {
        const std::string typed = message == BFFM_VALIDATEFAILEDA
                                      ? std::string(data ? reinterpret_cast<const char*>(data) : "")
                                      : narrowed(data ? reinterpret_cast<const wchar_t*>(data) : L"");
        if (typed.empty() || !createFolderChain(typed))
            return 1;   // keep the dialog open
        folderCreated = true;
        dialogFolder = typed;
        return 0;
    }
    default:
        return 0;
    }
}

bool FolderBrowser::browse(std::string& folder, const std::string& title)
{
    dialogFolder = folder;
    folderCreated = false;

    const HRESULT com = CoInitialize(nullptr);
    BROWSEINFOA info = {};
    info.hwndOwner = nullptr;
    info.pidlRoot = nullptr;
    char displayed[MAX_PATH] = "";
    info.pszDisplayName = displayed;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT | BIF_EDITBOX | BIF_VALIDATE;
    info.lpfn = callback;
    info.lParam = reinterpret_cast<LPARAM>(this);
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);

    bool result = false;
    // A created folder wins over whatever the tree had selected when the dialog closed:
    // the user typed it and pressed OK.
    if (folderCreated) {
        folder = dialogFolder;
        result = true;
    } else if (chosen) {
        char path[MAX_PATH + 1] = "";
        if (SHGetPathFromIDListA(chosen, path)) {
            folder = path;
            result = true;
        }
    }
    if (chosen)
        CoTaskMemFree(chosen);
    if (SUCCEEDED(com))
        CoUninitialize();
    return result;
}
