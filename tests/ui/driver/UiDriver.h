#pragma once
// Drives the real Tessel2.exe through its windows, as a user would, for the UI tests.

#include <windows.h>

#include <set>
#include <string>
#include <vector>

namespace ui {

// Texts cross the process boundary through the wide messages (the ANSI forms can write past
// the caller's buffer across processes under Wine) and are handed out as ANSI bytes.
// Bytes in the test's own code page unless a test chooses another (CP_UTF8, for names its
// code page cannot spell); returns the one before.
UINT setTextCodePage(UINT codePage);
// The same conversions for texts the tests read or write themselves.
std::wstring toWide(const std::string& text);
std::string fromWide(const std::wstring& text);
std::string windowText(HWND window);
void setWindowText(HWND window, const std::string& text);
std::string className(HWND window);

// The visible main windows of every running copy of the program, and the first one not
// among `before` to appear within the time (null when none does): a program the Explorer
// command started.
std::set<HWND> programMainWindows();
HWND waitForNewMainWindow(const std::set<HWND>& before, DWORD timeoutMs = 20000);

// The folder of the running test program (bin/, where Tessel2.exe is built too), with a
// trailing backslash.
std::string testBinDirectory();

// Polls until the condition holds or the time runs out; true when it held.
template <typename Condition>
bool waitFor(Condition condition, DWORD timeoutMs = 10000)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(10);
    }
}

// A top-level dialog box ("#32770") of a modal window the program opened: message boxes,
// the file dialog, the folder dialog.
class ModalWindow {
public:
    ModalWindow() = default;
    explicit ModalWindow(HWND window) : window_(window) {}

    HWND hwnd() const { return window_; }
    explicit operator bool() const { return window_ != nullptr && IsWindow(window_); }
    std::string title() const { return windowText(window_); }

    // Every static text that is a child of the box itself, joined by newlines (a message box
    // has one; a caption title on a caption strip is not among them).
    std::string staticText() const;
    // Clicks the child button whose text equals the given one ("&OK", "&Yes"); posted so
    // that a handler that opens another window does not block the driver.
    bool clickButton(const std::string& text) const;
    // Sends the command of a button id (IDOK, IDCANCEL) by posting WM_COMMAND.
    void command(int id) const;
    // Waits until the window is gone.
    bool waitClosed(DWORD timeoutMs = 10000) const;

    // The file-open dialog: opens the folder (typed into the name box and confirmed, as a
    // user does), then chooses the names in it.
    bool chooseFiles(const std::string& folder, const std::vector<std::string>& names) const;
    // The folder dialog: walks its tree to the folder (a full path such as C:\a\b) by
    // expanding and selecting items, as a user does with the mouse. True when every level
    // was found and selected. Does not press OK.
    bool selectFolder(const std::string& folder) const;
    // The text of the selected tree item of the folder dialog.
    std::string selectedTreeItemText() const;
    // The first edit box of the dialog (the folder dialog's path box).
    HWND editBox() const;

private:
    HWND window_ = nullptr;
};

struct StartOptions {
    // Written as the handoff file "Tessel2.ts2" beside the exe before the start, each
    // record ended by CR LF; handoffRaw (when set) is written as it stands instead.
    std::vector<std::string> handoffPaths;
    std::string handoffRaw;
    bool writeHandoff = false;
    // Start the copy of the program in this folder (with a trailing backslash) instead of
    // bin/: an installation elsewhere. The handoff file then goes beside that copy.
    std::string installDirectory;
};

// One running instance of the program.
class Program {
public:
    Program() = default;
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    static std::string exePath();
    static std::string handoffPath();
    // The folder the instance runs from (bin/ unless the options named another).
    const std::string& directory() const { return directory_; }

    // Takes over the program whose main window this is (one the shell extension started).
    bool adopt(HWND main);
    // Starts bin/Tessel2.exe and waits for its main window ("Tesselwork 2"). False (with
    // the reason in lastError()) when it does not appear.
    bool start(const StartOptions& options = StartOptions());
    const std::string& lastError() const { return error_; }

    HWND mainWindow() const { return main_; }
    HWND control(int id) const { return GetDlgItem(main_, id); }
    DWORD processId() const { return processId_; }
    bool running() const;

    // Waits until the program's thread is back in its message loop (a command finished).
    bool waitIdle(DWORD timeoutMs = 30000) const;

    // List boxes.
    int lineCount(int listId) const;
    std::vector<std::string> lines(int listId) const;
    std::vector<int> selectedLines(int listId) const;

    // Edits and combo boxes' edit fields.
    std::string text(int id) const { return windowText(control(id)); }
    // WM_SETTEXT: an edit tells its owner (EN_CHANGE) once for the whole text.
    void setText(int id, const std::string& text) const;
    // Characters one by one with WM_CHAR, as typing does (one change per character).
    void type(int id, const std::string& characters) const;
    // The characters posted all at once, as fast typing leaves them waiting in the
    // program's queue; returns without waiting for them.
    void typeQueued(int id, const std::string& characters) const;

    // Buttons and check boxes. click() waits for the command; clickAsync() posts the click
    // for commands that open a modal window.
    void click(int id) const;
    void clickAsync(int id) const;
    bool isEnabled(int id) const;
    bool isVisible(int id) const;
    bool isChecked(int id) const;
    // Clicks the check box when its state differs from the wanted one.
    void setChecked(int id, bool checked) const;

    // Combo boxes: the items, and choosing one as a user does (the owner hears of it).
    std::vector<std::string> comboItems(int id) const;
    void selectComboItem(int id, int index) const;

    // Waits for a visible top-level dialog box of the program with this title.
    ModalWindow waitForModal(const std::string& title, DWORD timeoutMs = 10000) const;
    // Any visible top-level dialog box of the program other than the main window.
    ModalWindow findModal() const;

    // Closes the program as a user does: WM_CLOSE, "&Yes" to the exit question; ends
    // the process by its handle if it is still there after that. True when it exited on
    // its own.
    bool close(DWORD timeoutMs = 10000);

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    std::string directory_;
    HWND main_ = nullptr;
    std::string error_;
};

} // namespace ui
