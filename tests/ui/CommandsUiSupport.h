#pragma once
// Helpers of the UI tests of the main window's commands: a folder of test files, real key
// strokes into the program, and the stand-in for programs the shell opens files with.

#include "driver/UiDriver.h"

#include "controls/Messages.h"
#include "app/resource.h"
#include "tests/support/TestFiles.h"

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace commandsui {

// A fresh folder under the temporary folder, removed with everything in it.
class TestFolder : public testsupport::TempFolder {
public:
    explicit TestFolder(const std::string& tag = "cmd") : TempFolder(tag) {}

    // A file whose content is its own name unless another is given.
    void create(const std::string& name, const std::string& content = std::string()) const;
    // Start options that hand the named files to the program.
    ui::StartOptions handoff(const std::vector<std::string>& names) const;
    // Creates the named files (each holding its name), then hands them to the program.
    ui::StartOptions createAndHandOff(const std::vector<std::string>& names) const;
};

inline bool fileExists(const std::string& path) { return testsupport::pathExists(path); }
using testsupport::readFile;
using testsupport::writeFile;

// Gives the control the keyboard focus inside the program's window.
bool focus(ui::Program& app, int controlId);
// Selects exactly these lines of a list box of the program.
void selectLines(ui::Program& app, int listId, std::initializer_list<int> lines);
// Presses the keys in order and lets them go in reverse order, as a hand does: {VK_CONTROL,
// 'C'} is Ctrl+C. Returns once the program has taken them from its queue.
void press(ui::Program& app, std::initializer_list<WORD> keys);

// Registers OpenRecorder.exe as what the shell opens files of the given extensions with
// (".chm", ".tst"), and URLs of the given protocols ("http", "mailto"); each opening
// appends the path or URL to a record file. The registration is taken back when the
// object goes.
class OpenRecorder {
public:
    explicit OpenRecorder(std::initializer_list<const char*> extensions,
                          std::initializer_list<const char*> protocols = {});
    ~OpenRecorder();
    OpenRecorder(const OpenRecorder&) = delete;
    OpenRecorder& operator=(const OpenRecorder&) = delete;

    // Every path opened so far, waiting up to timeoutMs for at least `atLeast` of them.
    std::vector<std::string> opened(std::size_t atLeast = 0, DWORD timeoutMs = 5000) const;

private:
    // The default value of a key of HKEY_CLASSES_ROOT as it was before the recorder took
    // its place; existed is false when there was none.
    struct Saved {
        std::string keyPath;
        bool existed;
        std::string value;
    };
    void replaceDefaultValue(const std::string& keyPath, const std::string& value);
    std::vector<Saved> saved_;
    std::string record_;
};

// The file name box of a file-open or file-save dialog: the full path typed and confirmed.
bool chooseFileName(const ui::ModalWindow& dialog, const std::string& path);
// Clicks a command that opens a file dialog (Save batch, Load batch) and answers it with
// the path.
bool chooseBatch(ui::Program& app, int commandId, const std::string& path);
// Clicks a command that opens the folder dialog (Add dir, Copy to, Move to), walks its
// tree to the folder (given with its trailing backslash) and confirms it.
bool selectFolderAndConfirm(ui::Program& app, int commandId, std::string folder);

// Tooltip texts of the program's main window by the control they belong to.
std::vector<std::pair<int, std::string>> tooltips(ui::Program& app);

// Answers the message box of the program that shows up next; returns its text or
// "<no message>".
std::string answerMessage(ui::Program& app, const std::string& title, const std::string& button,
                          DWORD timeoutMs = 5000);

} // namespace commandsui
