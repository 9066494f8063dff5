// The folder scan of "Add dir".

#include "filelist/FolderScan_win.h"

#include "base/PathText.h"
#include "win/Handles.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

using FolderIdentity = std::pair<std::uint32_t, std::uint64_t>;

// The folder's volume serial number and file index, which a link shares with its target.
// False when there is none to be had: some network volumes report index 0 for every
// folder, which would make every folder look like every other.
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
    return identity.second != 0;
}

class Scan {
public:
    Scan(bool subfolders, AddedPaths& into) : subfolders_(subfolders), into_(into) {}

    // `folder` ends with a backslash.
    void folder(const std::string& folder, bool isLink)
    {
        bool known = false;
        if (subfolders_) {
            // Only a folder that is its own ancestor makes a loop; a folder reached twice
            // by other ways (two links to one target, a link to a sibling) is scanned under
            // each of its paths, as the user sees them.
            FolderIdentity id;
            if (folderIdentity(folder, id)) {
                if (std::find(ancestors_.begin(), ancestors_.end(), id) != ancestors_.end())
                    return;
                ancestors_.push_back(id);
                known = true;
            } else if (isLink) {
                // A link whose target cannot be identified could lead anywhere, ancestors
                // included: leave it out rather than risk a scan without end.
                return;
            }
        }
        scanEntries(folder);
        if (known)
            ancestors_.pop_back();
    }

private:
    void scanEntries(const std::string& folder)
    {
        const PathText& paths = systemPathText();
        WIN32_FIND_DATAA found;
        UniqueFindHandle search(FindFirstFileA((folder + "*.*").c_str(), &found));
        if (!search)
            return;
        do {
            const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            if (isFolder) {
                if (subfolders_ && !isDotEntry(found.cFileName)) {
                    const bool link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
                    this->folder(paths.asFolder(paths.join(folder, found.cFileName)), link);
                }
                continue;
            }
            into_.add(paths.join(folder, found.cFileName));
        } while (FindNextFileA(search.get(), &found));
    }

    static bool isDotEntry(const char* name)
    {
        return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
    }

    bool subfolders_;
    AddedPaths& into_;
    // The folders from the scanned one down to the one being scanned.
    std::vector<FolderIdentity> ancestors_;
};

} // namespace

void scanFolder(const std::string& folder, bool subfolders, AddedPaths& into)
{
    Scan scan(subfolders, into);
    scan.folder(folder, false);
}
