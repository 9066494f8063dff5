// The main window's own commands (the exit question, help, About, minimize), its tooltips
// and the keyboard routing that runs before the dialog manager sees a key.

#include "app/MainDialog.h"

#include "app/Identity.h"
#include "app/Messages.h"
#include "app/Program.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>

namespace {

struct Tooltip {
    int controlId;
    const char* text;
};

// Preview, Rename and Undo have icons but no tooltip.
const Tooltip tooltips[] = {
    {IDC_ADD_FILES, "Add file(s)"},
    {IDC_ADD_DIR, "Add dir"},
    {IDC_REMOVE_SELECTED, "Remove select"},
    {IDC_REMOVE_ALL, "Remove All"},
    {IDC_SELECT_ALL, "Select all (CTRL+A)"},
    {IDC_INVERT, "Invert select (CTRL+I)"},
    {IDC_COPY_TO, "Copy selected files to... (CTRL+C)"},
    {IDC_MOVE_TO, "Move selected files to... (CTRL+M)"},
    {IDC_ADD_RULE, "Add rule"},
    {IDC_DELETE_RULE, "Delete rule"},
    {IDC_RULE_UP, "Move up"},
    {IDC_RULE_DOWN, "Move down"},
    {IDC_LOAD_BATCH, "Load batch"},
    {IDC_SAVE_BATCH, "Save batch"},
    {IDC_SAVE_LOG, "Save result log"},
    {IDC_UPDATE, "Online Update"},
    {IDC_WEB, "Visit our web page"},
    {IDC_MAIL, "Send email to us"},
    {IDC_HELP_BUTTON, "Help (F1)"},
    {IDC_ABOUT, "About..."},
    {IDC_CLOSE_BUTTON, "Close"},
    {IDC_MINIMIZE_BUTTON, "Minimize"},
};

bool keyHeld(int virtualKey)
{
    return GetKeyState(virtualKey) < 0;
}

bool isButton(HWND window)
{
    char name[16] = {0};
    return window && GetClassNameA(window, name, sizeof name) > 0 && lstrcmpiA(name, "Button") == 0;
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
    // The about text; the skinned About box will show the same three lines.
    const std::string text = std::string(displayName) + " Version " + versionText + "\r\n\r\n"
        + "Corvanta Software, 2003";
    showMessage(text, scheme);
}

void MainDialog::minimizeWindow()
{
    ShowWindow(hwnd(), SW_MINIMIZE);
}

void MainDialog::setUpTooltips()
{
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                               WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    if (!tooltip_)
        return;
    for (const Tooltip& t : tooltips) {
        if (HWND control = item(t.controlId))
            addTooltip(control, t.text);
    }
}

void MainDialog::addTooltip(HWND control, const char* text)
{
    if (!tooltip_ || !control)
        return;
    // The tool is the control itself, subclassed so that the tooltip sees the mouse over it
    // without the dialog relaying every mouse message.
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hwnd();
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = const_cast<char*>(text);
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
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
