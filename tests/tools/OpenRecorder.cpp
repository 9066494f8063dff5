// Stand-in for the program the shell would open a file with: the UI tests register it for
// the file types they open and read back what it was asked to open.
//
//   OpenRecorder.exe RECORD-FILE PATH...   appends each PATH and CR LF to RECORD-FILE

#include <windows.h>

#include <cstdlib>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (__argc < 3)
        return 2;
    std::string lines;
    for (int i = 2; i < __argc; ++i)
        lines += std::string(__argv[i]) + "\r\n";
    // Several openings may come at once: append with the file shared, retrying a moment
    // while another recorder holds it.
    for (int attempt = 0; attempt < 100; ++attempt) {
        HANDLE file = CreateFileA(__argv[1], FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            Sleep(20);
            continue;
        }
        DWORD written = 0;
        const BOOL ok = WriteFile(file, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
        CloseHandle(file);
        return ok ? 0 : 1;
    }
    return 1;
}
