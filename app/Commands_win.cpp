// The main window's own commands (the exit question, help, About, minimize), their skin, and
// the keys no panel takes.

#include "app/MainDialog.h"

#include "app/AboutBox_win.h"
#include "base/Identity.h"
#include "base/Program.h"
#include "controls/Messages.h"
#include "win/QueuedKeys.h"

#include <shellapi.h>

#include <string>

const CommandBinding<MainDialog> MainDialog::commandTable[] = {
    {IDC_HELP_BUTTON, BN_CLICKED, &MainDialog::openHelpFile},
    {IDC_ABOUT, BN_CLICKED, &MainDialog::showAbout},
    {IDC_MINIMIZE_BUTTON, BN_CLICKED, &MainDialog::minimizeWindow},
    {0, 0, nullptr},
};

namespace {

const SkinnedButton skinnedButtons[] = {
    {IDC_ABOUT, IDI_ABOUT, "About..."},
    {IDC_HELP_BUTTON, IDI_HELP_BUTTON, "Help (F1)"},
};

// Whatever its class, a control that tells the dialog manager it is a button: Enter on it
// would click it.
bool isButton(HWND window)
{
    if (!window)
        return false;
    const LRESULT code = SendMessageA(window, WM_GETDLGCODE, 0, 0);
    return (code & (DLGC_BUTTON | DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

} // namespace

void MainDialog::setUpSkin()
{
    setMinimizedIcon(bigIcon_.get());
    setUpFrame(programScheme, reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0)), smallIcon_.get());
    panels_.attach(hwnd());
    skin_.takeCheckBoxes(hwnd(), {IDC_SHELL_CONTEXT}, programScheme);
    skin_.takeButtons(hwnd(), skinnedButtons, programScheme);
}

void MainDialog::confirmExit()
{
    const std::string question = std::string("Do you want to exit \"") + displayName + "\"?";
    if (askYesNo(question, programScheme) == 1)
        endModal(IDCANCEL);
}

void MainDialog::openHelpFile()
{
    // Whether the shell found the file or a program for it is not examined: a missing help
    // file is the shell's to report.
    const std::string path = programDirectory() + helpFileName;
    ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOW);
}

void MainDialog::showAbout()
{
    AboutBox box(hwnd());
    box.setScheme(programScheme);
    box.run();
}

void MainDialog::minimizeWindow()
{
    ShowWindow(hwnd(), SW_MINIMIZE);
}

bool MainDialog::translateKey(const MSG& msg)
{
    // F1 is the help request; with Shift, Control or Alt it is not.
    if (msg.wParam == VK_F1) {
        if (!keyHeld(VK_SHIFT) && !keyHeld(VK_CONTROL) && !keyHeld(VK_MENU))
            openHelpFile();
        return true;
    }
    // Enter on a focused button would click it; Enter does nothing anywhere in the window.
    return msg.wParam == VK_RETURN && isButton(msg.hwnd);
}
