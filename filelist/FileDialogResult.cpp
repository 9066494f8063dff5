// Reading the names that the multi-select file-open dialog returns.

#include "filelist/FileDialogResult.h"

#include <cstring>

bool fileDialogPaths(const char* buffer, std::size_t capacity, std::vector<std::string>& paths,
                     const PathText& pathText)
{
    paths.clear();
    // Texts one after the other, each ended by a NUL; an empty text ends the list.
    std::vector<std::string> texts;
    std::size_t at = 0;
    while (at < capacity && buffer[at] != '\0') {
        const void* end = std::memchr(buffer + at, '\0', capacity - at);
        if (!end)
            return false;
        const std::size_t length = static_cast<std::size_t>(static_cast<const char*>(end) - (buffer + at));
        texts.emplace_back(buffer + at, length);
        at += length + 1;
    }
    if (at >= capacity)
        return false;
    if (texts.empty())
        return true;
    if (texts.size() == 1) {
        paths.push_back(texts.front());
        return true;
    }
    const std::string folder = pathText.asFolder(texts.front());
    for (std::size_t i = 1; i < texts.size(); ++i)
        paths.push_back(folder + texts[i]);
    return true;
}
