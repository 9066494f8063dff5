// The main window's own commands (the exit question, help, About, minimize), its tooltips
// and the keyboard routing that runs before the dialog manager sees a key.

#include "app/MainDialog.h"

#include "app/AboutBox_win.h"
#include "base/Identity.h"
#include "controls/Messages.h"
#include "base/Program.h"

#include <shellapi.h>

#include <string>

namespace {

bool keyHeld(int virtualKey)
{
    return GetKeyState(virtualKey) < 0;
}

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

void MainDialog::confirmExit()
{
    const std::string question = std::string("Do you want to exit \"") + displayName + "\"?";
    if (askYesNo(question, scheme) == 1)
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
    box.setScheme(scheme);
    box.run();
}

void MainDialog::minimizeWindow()
{
    ShowWindow(hwnd(), SW_MINIMIZE);
}

bool MainDialog::translateKey(MSG& msg)
{
    if (msg.message != WM_KEYDOWN || !hwnd())
        return false;
    // Only keys meant for this window and its controls; a window of another dialog that
    // runs inside our loop keeps its keys.
    if (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd))
        return false;

    const WPARAM key = msg.wParam;
    // AltGr arrives as Control and Alt together: AltGr+A, +C or +M types a letter on many
    // keyboards (Polish, Czech...) and must reach the edit boxes.
    if (keyHeld(VK_CONTROL) && !keyHeld(VK_MENU)) {
        switch (key) {
        case 'A': selectAll(); return true;
        case 'I': invertSelection(); return true;
        case 'C': copySelectedTo(); return true;
        case 'M': moveSelectedTo(); return true;
        default: break;
        }
    }
    if (key == VK_DELETE) {
        if (msg.hwnd == item(IDC_FILE_LIST)) {
            removeSelected();
            return true;
        }
        if (msg.hwnd == item(IDC_RULE_LIST)) {
            deleteSelectedRules();
            return true;
        }
        return false;
    }
    // F1 is the help request; with Shift, Control or Alt it is not.
    if (key == VK_F1) {
        if (!keyHeld(VK_SHIFT) && !keyHeld(VK_CONTROL) && !keyHeld(VK_MENU))
            openHelpFile();
        return true;
    }
    // Enter on a focused button would click it; Enter does nothing anywhere in the window.
    if (key == VK_RETURN && isButton(msg.hwnd))
        return true;
    return false;
}
