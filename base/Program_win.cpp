// Program directory and file helpers.

#include "base/Program.h"

#include "base/PathText.h"
#include "base/UniqueResource.h"
#include "base/UserFolder_win.h"
#include "base/WideText_win.h"

#include <algorithm>
#include <vector>

std::string programDirectory()
{
    // Grow the buffer until the whole module path fits: install paths may be long.
    std::vector<char> buffer(MAX_PATH + 1);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::string();
        if (length < buffer.size() - 1 || buffer.size() >= 65536) {
            return std::string(systemPathText().folderPart(std::string_view(buffer.data(), length)));
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string userDataDirectory(bool create)
{
    return narrow(userDataFolderWide(create), CP_ACP);
}

bool forceDeleteFile(const std::string& path)
{
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return false;
    if (!SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL))
        return false;
    return DeleteFileA(path.c_str()) != FALSE;
}

bool takeWholeFile(const std::string& path, std::string& text)
{
    text.clear();
    // Held without sharing from the first byte read to the deletion: whoever opens the
    // name afterwards makes a new file, and nothing written to it is deleted unread.
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ | DELETE | FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFF0)
        return false;
    std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < content.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 1u << 20));
        if (!ReadFile(file.get(), &content[done], want, &got, nullptr) || got == 0)
            return false;
        done += got;
    }
    // A read-only file refuses deletion until its attributes are cleared.
    FILE_BASIC_INFO basic = {};
    basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    SetFileInformationByHandle(file.get(), FileBasicInfo, &basic, sizeof basic);
    FILE_DISPOSITION_INFO disposition = {TRUE};
    const bool deleting =
        SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
    file.reset();
    if (!deleting)
        forceDeleteFile(path);
    text = std::move(content);
    return true;
}

bool replaceableFile(const std::string& path)
{
    UniqueHandle file(CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    return static_cast<bool>(file);
}

namespace {

// Wine's ReplaceFileA keeps neither the attributes nor the creation time of the file it
// replaces (Windows keeps both, and the security too): give them back where they differ.
void restoreIdentity(const std::string& path, const WIN32_FILE_ATTRIBUTE_DATA& earlier)
{
    WIN32_FILE_ATTRIBUTE_DATA now;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &now))
        return;
    if (CompareFileTime(&now.ftCreationTime, &earlier.ftCreationTime) != 0) {
        UniqueHandle file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
        if (file)
            SetFileTime(file.get(), &earlier.ftCreationTime, nullptr, nullptr);
    }
    const DWORD settable = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
        | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_TEMPORARY;
    const DWORD wanted = earlier.dwFileAttributes & settable;
    if ((now.dwFileAttributes & settable) != wanted)
        SetFileAttributesA(path.c_str(), wanted != 0 ? wanted : FILE_ATTRIBUTE_NORMAL);
}

} // namespace

bool replaceFileKeepingIdentity(const std::string& target, const std::string& replacement,
                                unsigned long& errorCode)
{
    WIN32_FILE_ATTRIBUTE_DATA earlier = {};
    const bool known = GetFileAttributesExA(target.c_str(), GetFileExInfoStandard, &earlier) != FALSE;
    if (!ReplaceFileA(target.c_str(), replacement.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                      nullptr)) {
        errorCode = GetLastError();
        if (errorCode == 0)
            errorCode = ERROR_ACCESS_DENIED;
        return false;
    }
    if (known)
        restoreIdentity(target, earlier);
    return true;
}
