// Copy and move of single files for the selection commands.

#include "filelist/FileTransfer_win.h"

#include "base/Program.h"
#include "win/Handles.h"

#include <windows.h>

namespace {

bool exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// True when both paths name one file (however spelled): moving a file onto itself.
bool sameFile(const std::string& a, const std::string& b)
{
    BY_HANDLE_FILE_INFORMATION infoA;
    BY_HANDLE_FILE_INFORMATION infoB;
    auto identify = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
        const UniqueHandle file(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!file)
            return false;
        return GetFileInformationByHandle(file.get(), &info) != FALSE;
    };
    return identify(a, infoA) && identify(b, infoB) && infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber
        && infoA.nFileIndexHigh == infoB.nFileIndexHigh && infoA.nFileIndexLow == infoB.nFileIndexLow;
}

} // namespace

bool copyFileReplacing(const std::string& from, const std::string& to, const std::string& toFolder)
{
    const DWORD target = GetFileAttributesA(to.c_str());
    if (target == INVALID_FILE_ATTRIBUTES) {
        if (CopyFileA(from.c_str(), to.c_str(), TRUE))
            return true;
        // Wine leaves the file it began (empty or cut short) behind; Windows removes it.
        if (GetLastError() != ERROR_FILE_EXISTS && exists(to))
            DeleteFileA(to.c_str());
        return false;
    }
    // Copied onto itself (its own folder, or the same folder reached through a link): the
    // file already is what the copy would make, and replacing it would only cost it its
    // identity, creation time, owner and security.
    if (sameFile(from, to))
        return true;
    // A target the copy may not overwrite (read-only; hidden or system, which Windows
    // refuses to a plain copy) is refused before any byte of it is touched.
    if (target & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY))
        return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;

    // Copying straight over the target empties it first: on a full disk the earlier file
    // would be lost and the new one not there. The whole copy is made beside it and then
    // takes its place.
    char temporary[MAX_PATH + 16] = {0};
    if (toFolder.size() > MAX_PATH - 14 || !GetTempFileNameA(toFolder.c_str(), "tcp", 0, temporary))
        return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE; // the folder takes no new name
    if (!CopyFileA(from.c_str(), temporary, FALSE)) {
        DeleteFileA(temporary);
        return false;
    }
    unsigned long code = 0;
    if (replaceableFile(to) && replaceFileKeepingIdentity(to, temporary, code))
        return true;
    if (!exists(to)) {
        // The earlier file went and the copy did not take its name: give it the name.
        if (MoveFileExA(temporary, to.c_str(), MOVEFILE_REPLACE_EXISTING))
            return true;
        DeleteFileA(temporary);
        return false;
    }
    DeleteFileA(temporary);
    // Replacing refused (another process holds the target without delete sharing): the
    // complete copy just made shows there is room to copy over it in place.
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

bool moveFileKeeping(const std::string& from, const std::string& to)
{
    const bool targetExisted = exists(to);
    const bool moved = MoveFileA(from.c_str(), to.c_str()) != FALSE;
    // A move to another volume copies, then deletes the source. Wine leaves the copy it
    // began when the copy fails, and reports success when the source cannot be deleted (a
    // read-only volume): either way the source is still there, and a target that was not
    // there before is that copy, which goes again.
    if (!exists(from) || (moved && sameFile(from, to)))
        return moved;
    if (!targetExisted && exists(to))
        DeleteFileA(to.c_str());
    return false;
}
