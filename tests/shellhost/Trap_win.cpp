// Stands where an unquoted program path would start the wrong program; leaves a marker
// file "<its own path>.ran" so that a test can tell it was started.

#include <windows.h>

#include <string>

int main()
{
    char self[MAX_PATH * 4] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    const std::string marker = std::string(self) + ".ran";
    HANDLE file = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return 0;
}
