// The multi-select file-open dialog of "Add file(s)".

#include "filelist/FileDialog_win.h"

#include "filelist/FileDialogResult.h"

#include <commdlg.h>
#include <cderr.h>

namespace {

// The open dialog makes the folder the user browsed to the process's current directory,
// and a process's current directory cannot be removed or renamed by anyone. The program
// names every file it keeps by full path, so it goes back to where it was.
class CurrentDirectoryKept {
public:
    CurrentDirectoryKept()
    {
        const DWORD size = GetCurrentDirectoryA(0, nullptr);
        if (size == 0)
            return;
        std::vector<char> buffer(size + 1, '\0');
        const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length > 0 && length < buffer.size())
            directory_.assign(buffer.data(), length);
    }
    ~CurrentDirectoryKept()
    {
        if (!directory_.empty())
            SetCurrentDirectoryA(directory_.c_str());
    }
    CurrentDirectoryKept(const CurrentDirectoryKept&) = delete;
    CurrentDirectoryKept& operator=(const CurrentDirectoryKept&) = delete;

private:
    std::string directory_;
};

} // namespace

bool chooseFiles(HWND owner, std::vector<std::string>& paths, std::size_t bufferChars)
{
    const CurrentDirectoryKept keep;
    // A buffer that is too small makes the dialog fail after the user has chosen; the
    // first two bytes then tell the size it needed, which cannot say more than 65535, so
    // a buffer that was already larger grows fourfold instead. Either way the user is
    // asked again rather than losing the selection silently.
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::vector<char> buffer(bufferChars + 2, '\0');
        OPENFILENAMEA ofn = {};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = owner;
        ofn.lpstrFile = buffer.data();
        ofn.nMaxFile = static_cast<DWORD>(bufferChars);
        ofn.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_LONGNAMES;
        if (GetOpenFileNameA(&ofn)) {
            if (fileDialogPaths(buffer.data(), bufferChars, paths))
                return !paths.empty();
            // The dialog cut the list to the buffer without saying so.
            bufferChars *= 4;
            continue;
        }
        if (CommDlgExtendedError() != FNERR_BUFFERTOOSMALL)
            return false;
        const std::size_t asked = static_cast<unsigned char>(buffer[0]) |
                                  (static_cast<std::size_t>(static_cast<unsigned char>(buffer[1])) << 8);
        bufferChars = asked > bufferChars ? asked + 2 : bufferChars * 4;
    }
    return false;
}
