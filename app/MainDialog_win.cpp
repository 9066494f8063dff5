// The main window's start-up, the connections between its panels, and message routing.

#include "app/MainDialog.h"

#include "app/RegistryKey.h"
#include "app/ShellRegistration.h"
#include "base/Identity.h"
#include "base/Program.h"
#include "controls/Messages.h"

MainDialog::MainDialog()
    : SkinDialog(IDD_MAIN, mainWindowFrame),
      fileList_(programScheme),
      runs_(programScheme, {[this]() -> const std::vector<std::string>& { return fileList_.lines(); },
                            [this] {
                                std::vector<std::string_view> paths;
                                paths.reserve(fileList_.addedPaths().size());
                                for (const AddedPaths::Entry& entry : fileList_.addedPaths())
                                    paths.push_back(entry.path());
                                return paths;
                            },
                            [this](const std::vector<std::string>& added, const std::vector<std::string>& lines) {
                                fileList_.replace(added, lines);
                            }}),
      quickView_(programScheme, {IDC_FILE_LIST, IDC_FILE_LIST_GROUP,
                                 [this](std::string& path) { return fileList_.currentLine(path); }}),
      update_(programScheme, [this] { endModal(IDCANCEL); }),
      panels_({&fileList_, &runs_, &quickView_, &update_})
{
    fileList_.setEvents({[this] { runs_.forgetLastRun(); }, [this] { runs_.disableUndo(); },
                         [this] { quickView_.onCurrentFileChanged(); }});
}

MainDialog::~MainDialog() = default;

bool MainDialog::onInitDialog()
{
    // Messages are owned by this window from now on.
    setMessageOwner(hwnd());

    // Window icons from the program icon, large and 16 x 16.
    HINSTANCE module = GetModuleHandleA(nullptr);
    bigIcon_.reset(static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
    smallIcon_.reset(static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 16, 16, 0)));
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));

    // Tell the shell extension where the program lives. The key stays open until the
    // initialisation is over.
    RegistryKey installKey(HKEY_CURRENT_USER, installKeyPath);
    const std::string directory = programDirectory();
    installKey.writeValue(installPathValue, directory.data(), static_cast<unsigned long>(directory.size()));

    // Register the shell extension; it reads the value just written.
    registerShellExtension();

    SetWindowTextA(hwnd(), displayName);

    // The frame first, then each panel takes over its controls and gives them their first
    // state, then the window's own buttons.
    setUpSkin();

    // Files handed over by the Explorer command.
    intakeHandoffFile();

    installKey.close();
    return true;
}

// Enter gives the default-button command, which does nothing: the window has no default
// button and does not close.
void MainDialog::onOk() {}

// The close button, Escape, the system close and Alt+F4 all ask first.
void MainDialog::onCancel()
{
    confirmExit();
}

bool MainDialog::preTranslateMessage(MSG& msg)
{
    if (panels_.preTranslateMessage(msg))
        return true;
    if (msg.message != WM_KEYDOWN || !hwnd())
        return false;
    // Only keys meant for this window and its controls; a window of another dialog that
    // runs inside our loop keeps its keys.
    if (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd))
        return false;
    return panels_.translateKey(msg) || translateKey(msg);
}

bool MainDialog::onCommand(int id, int code, HWND)
{
    return panels_.onCommand(id, code) || dispatchCommand(*this, commandTable, id, code);
}

void MainDialog::onDestroy()
{
    panels_.onDestroy();
    setMessageOwner(nullptr);
}
