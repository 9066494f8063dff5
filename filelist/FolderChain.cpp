// The levels of a folder path that the folder dialog creates one after the other.

#include "filelist/FolderChain.h"

std::vector<std::string> folderChainLevels(const std::string& path, const CodePage& codePage)
{
    std::vector<std::string> levels;
    if (path.empty())
        return levels;
    const bool unc = path.size() > 2 && path[0] == '\\' && path[1] == '\\';
    int uncPartsLeft = unc ? 2 : 0;   // server and share end with the 2nd and 3rd backslash
    bool endsWithBackslash = false;
    for (std::size_t i = 1; i < path.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (codePage.isLeadByte(c) && i + 1 < path.size()) {
            ++i;
            endsWithBackslash = false;
            continue;
        }
        endsWithBackslash = c == '\\';
        if (c != '\\')
            continue;
        if (unc && i == 1)
            continue;
        if (uncPartsLeft > 0) {
            --uncPartsLeft;
            continue;
        }
        levels.push_back(path.substr(0, i + 1));
    }
    if (!endsWithBackslash)
        levels.push_back(path + "\\");
    return levels;
}
