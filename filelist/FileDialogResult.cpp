// Reading the names that the multi-select file-open dialog returns.

#include "filelist/FileDialogResult.h"

#include <cstring>

std::vector<std::string> fileDialogPaths(const char* buffer, std::size_t capacity)
{
    std::vector<std::string> paths;
    // Texts one after the other, each ended by a NUL; an empty text ends the list. A
    // buffer without its final NULs (which a well-behaved dialog never returns) is read
    // only up to its capacity.
    std::vector<std::string> texts;
    std::size_t at = 0;
    while (at < capacity && buffer[at] != '\0') {
        const void* end = std::memchr(buffer + at, '\0', capacity - at);
        const std::size_t length = end ? static_cast<const char*>(end) - (buffer + at) : capacity - at;
        texts.emplace_back(buffer + at, length);
        at += length + 1;
    }
    if (texts.empty())
        return paths;
    if (texts.size() == 1) {
        paths.push_back(texts.front());
        return paths;
    }
    std::string folder = texts.front();
    if (folder.empty() || folder.back() != '\\')
        folder += '\\';
    for (std::size_t i = 1; i < texts.size(); ++i)
        paths.push_back(folder + texts[i]);
    return paths;
}
