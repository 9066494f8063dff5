// Stand-in for the program the shell would open a file with: the UI tests register it for
// the file types they open and read back what it was asked to open.
//
//   OpenRecorder.exe RECORD-FILE PATH...   appends each PATH (in UTF-8) and CR LF to RECORD-FILE

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // The arguments are taken wide: a path the code page cannot spell must be recorded as
    // it was opened.
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (args == nullptr || count < 3)
        return 2;
    std::string lines;
    for (int i = 2; i < count; ++i) {
        const int bytes = WideCharToMultiByte(CP_UTF8, 0, args[i], -1, nullptr, 0, nullptr, nullptr);
        std::string path(static_cast<std::size_t>(bytes > 0 ? bytes : 1), '\0');
        WideCharToMultiByte(CP_UTF8, 0, args[i], -1, &path[0], bytes, nullptr, nullptr);
        path.resize(path.size() - 1);
        lines += path + "\r\n";
    }
    // Several openings may come at once: append with the file shared, retrying a moment
    // while another recorder holds it.
    for (int attempt = 0; attempt < 100; ++attempt) {
        HANDLE file = CreateFileW(args[1], FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            Sleep(20);
            continue;
        }
        DWORD written = 0;
        const BOOL ok = WriteFile(file, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
        CloseHandle(file);
        LocalFree(args);
        return ok ? 0 : 1;
    }
    return 1;
}
