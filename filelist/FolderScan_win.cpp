// The folder scan of "Add dir".

#include "filelist/FolderScan_win.h"

#include "win/Handles.h"

#include <windows.h>

#include <cstdint>
#include <set>
#include <utility>

namespace {

using FolderIdentity = std::pair<std::uint32_t, std::uint64_t>;

// The folder's volume serial number and file index, which a link shares with its target.
bool folderIdentity(const std::string& folder, FolderIdentity& identity)
{
    UniqueHandle dir(CreateFileA(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!dir)
        return false;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(dir.get(), &info))
        return false;
    identity.first = info.dwVolumeSerialNumber;
    identity.second = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

class Scan {
public:
    Scan(bool subfolders, AddedPaths& into) : subfolders_(subfolders), into_(into) {}

    void folder(const std::string& folder, bool isLink)
    {
        if (subfolders_) {
            FolderIdentity id;
            if (folderIdentity(folder, id)) {
                if (!entered_.insert(id).second)
                    return;
            } else if (isLink) {
                // A link whose target cannot be identified could lead anywhere, ancestors
                // included: leave it out rather than risk a scan without end.
                return;
            }
        }
        WIN32_FIND_DATAA found;
        UniqueFindHandle search(FindFirstFileA((folder + "*.*").c_str(), &found));
        if (!search)
            return;
        do {
            const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            if (isFolder) {
                if (subfolders_ && !isDotEntry(found.cFileName)) {
                    const bool link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
                    this->folder(folder + found.cFileName + "\\", link);
                }
                continue;
            }
            into_.add(folder + found.cFileName);
        } while (FindNextFileA(search.get(), &found));
    }

private:
    static bool isDotEntry(const char* name)
    {
        return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
    }

    bool subfolders_;
    AddedPaths& into_;
    std::set<FolderIdentity> entered_;
};

} // namespace

void scanFolder(const std::string& folder, bool subfolders, AddedPaths& into)
{
    Scan scan(subfolders, into);
    scan.folder(folder, false);
}
