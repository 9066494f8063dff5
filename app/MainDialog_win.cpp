// The main window's start-up, its command table and message routing.

#include "app/MainDialog.h"

#include "base/Identity.h"
#include "controls/Messages.h"
#include "base/Program.h"
#include "app/RegistryKey.h"
#include "app/ShellRegistration.h"

#include <commctrl.h>

// Control notification -> command. Each subsystem keeps its rows in its own section.
const CommandBinding<MainDialog> MainDialog::commandTable[] = {
    // ---- file list ----
    {IDC_ADD_FILES, BN_CLICKED, &MainDialog::addFiles},
    {IDC_ADD_DIR, BN_CLICKED, &MainDialog::addFolder},
    {IDC_FILTER, EN_CHANGE, &MainDialog::onFilterEdited},
    {IDC_CASE, BN_CLICKED, &MainDialog::rebuildFileListView},
    {IDC_EXCLUDE, BN_CLICKED, &MainDialog::rebuildFileListView},

    // ---- selection commands ----
    {IDC_FILE_LIST, LBN_DBLCLK, &MainDialog::openCurrentFile},
    {IDC_REMOVE_SELECTED, BN_CLICKED, &MainDialog::removeSelected},
    {IDC_REMOVE_ALL, BN_CLICKED, &MainDialog::removeAll},
    {IDC_SELECT_ALL, BN_CLICKED, &MainDialog::selectAll},
    {IDC_INVERT, BN_CLICKED, &MainDialog::invertSelection},
    {IDC_COPY_TO, BN_CLICKED, &MainDialog::copySelectedTo},
    {IDC_MOVE_TO, BN_CLICKED, &MainDialog::moveSelectedTo},

    // ---- rule editor and runs ----
    {IDC_RULE_ACTION, CBN_SELCHANGE, &MainDialog::onActionChanged},
    {IDC_RULE_ARG1, CBN_SELCHANGE, &MainDialog::onFirstArgumentChanged},
    {IDC_RULE_ARG1, CBN_EDITCHANGE, &MainDialog::onFirstArgumentEdited},
    {IDC_ADD_RULE, BN_CLICKED, &MainDialog::addRule},
    {IDC_DELETE_RULE, BN_CLICKED, &MainDialog::deleteSelectedRules},
    {IDC_RULE_UP, BN_CLICKED, &MainDialog::moveRuleUp},
    {IDC_RULE_DOWN, BN_CLICKED, &MainDialog::moveRuleDown},
    {IDC_PREVIEW, BN_CLICKED, &MainDialog::previewCommand},
    {IDC_RENAME, BN_CLICKED, &MainDialog::renameCommand},
    {IDC_UNDO, BN_CLICKED, &MainDialog::undoCommand},

    // ---- batch files and logs ----
    {IDC_LOAD_BATCH, BN_CLICKED, &MainDialog::loadBatch},
    {IDC_SAVE_BATCH, BN_CLICKED, &MainDialog::saveBatch},
    {IDC_SAVE_LOG, BN_CLICKED, &MainDialog::saveResultLog},

    // ---- window commands ----
    {IDC_HELP_BUTTON, BN_CLICKED, &MainDialog::openHelpFile},
    {IDC_ABOUT, BN_CLICKED, &MainDialog::showAbout},
    {IDC_MINIMIZE_BUTTON, BN_CLICKED, &MainDialog::minimizeWindow},

    // ---- update check and web links ----
    {IDC_UPDATE, BN_CLICKED, &MainDialog::onOnlineUpdate},
    {IDC_WEB, BN_CLICKED, &MainDialog::onVisitWebPage},
    {IDC_MAIL, BN_CLICKED, &MainDialog::onSendMail},

    // ---- quick view ----
    {IDC_FILE_LIST, LBN_SELCHANGE, &MainDialog::onFileListSelectionChange},
    {IDC_QUICKVIEW, BN_CLICKED, &MainDialog::onQuickViewSwitch},

    // ---- shell context ----
    {0, 0, nullptr},
};

namespace {

// Items the template gives the two drop-down lists of the rule editor.
const char* const ruleTargets[] = {"FILENAME", "FILEEXT"};
const char* const ruleActions[] = {"PREFIX", "SUFFIX", "REMOVE", "REPLACE", "UPPERCASE", "LOWERCASE"};

void fillComboBox(HWND combo, const char* const* items, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i]));
}

} // namespace


MainDialog::MainDialog() : SkinDialog(IDD_MAIN, mainWindowFrame) {}

MainDialog::~MainDialog() = default;

bool MainDialog::onInitDialog()
{
    // Messages are owned by this window from now on; the two drop-down lists of the rule
    // editor get their fixed items.
    setMessageOwner(hwnd());
    fillComboBox(item(IDC_RULE_TARGET), ruleTargets, sizeof ruleTargets / sizeof *ruleTargets);
    fillComboBox(item(IDC_RULE_ACTION), ruleActions, sizeof ruleActions / sizeof *ruleActions);

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

    // Frame, skin, buttons, tooltips, list colours and quick-view panes.
    setUpSkin();
    filterTyping_.attach(hwnd(), item(IDC_FILTER), [this] { rebuildFileListView(); });
    createQuickViewPanes();

    // The rule target box starts on FILENAME; the rest of the rule editor as it starts.
    SendDlgItemMessageA(hwnd(), IDC_RULE_TARGET, CB_SETCURSEL, 0, 0);
    initRuleEditor();

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
    filterTyping_.beforeDispatch(msg);
    return filterQuickViewMessage(msg) || translateKey(msg);
}

bool MainDialog::onCommand(int id, int code, HWND)
{
    // A command sent from outside in the middle of a typing burst works on the view of
    // the text typed so far, as every command does.
    if (id != IDC_FILTER)
        filterTyping_.settle();
    return dispatch(this, commandTable, id, code);
}

INT_PTR MainDialog::onMessage(UINT message, WPARAM wParam, LPARAM, bool& handled)
{
    handled = onQuickViewMessage(message, wParam);
    return 0;
}

void MainDialog::onDestroy()
{
    destroyQuickViewPanes();
    setMessageOwner(nullptr);
}
