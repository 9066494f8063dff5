// Program directory and file helpers.

#include "base/Program.h"

#include "base/PathText.h"
#include "base/UniqueResource.h"

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

bool forceDeleteFile(const std::string& path)
{
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return false;
    if (!SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL))
        return false;
    return DeleteFileA(path.c_str()) != FALSE;
}

bool readWholeFileExclusive(const std::string& path, std::string& text)
{
    text.clear();
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
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
    text = std::move(content);
    return true;
}
