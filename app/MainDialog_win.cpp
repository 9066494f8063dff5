// The main window's start-up, its command table and message routing.

#include "app/MainDialog.h"

#include "app/Identity.h"
#include "app/Messages.h"
#include "app/Program.h"
#include "app/RegistryKey.h"
#include "app/ShellRegistration.h"

#include <commctrl.h>

// Control notification -> command. Each subsystem keeps its rows in its own section.
const CommandBinding<MainDialog> MainDialog::commandTable[] = {
    // ---- file list ----
    {IDC_ADD_FILES, BN_CLICKED, &MainDialog::addFiles},
    {IDC_ADD_DIR, BN_CLICKED, &MainDialog::addFolder},
    {IDC_FILTER, EN_CHANGE, &MainDialog::rebuildFileListView},
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

    // ---- quick view, update, shell context ----
    {0, 0, nullptr},
};

namespace {

// The buttons' 16 x 16 icons, set on them at set-up.
struct ButtonIcon {
    int controlId;
    int iconId;
};

const ButtonIcon buttonIcons[] = {
    {IDC_ADD_FILES, IDI_ADD_FILES},      {IDC_ADD_DIR, IDI_ADD_DIR},
    {IDC_SELECT_ALL, IDI_SELECT_ALL},    {IDC_INVERT, IDI_INVERT},
    {IDC_REMOVE_SELECTED, IDI_REMOVE_SELECTED}, {IDC_REMOVE_ALL, IDI_REMOVE_ALL},
    {IDC_COPY_TO, IDI_COPY_TO},          {IDC_MOVE_TO, IDI_MOVE_TO},
    {IDC_LOAD_BATCH, IDI_LOAD_BATCH},    {IDC_SAVE_BATCH, IDI_SAVE_BATCH},
    {IDC_ADD_RULE, IDI_ADD_RULE},        {IDC_DELETE_RULE, IDI_DELETE_RULE},
    {IDC_RULE_UP, IDI_RULE_UP},          {IDC_RULE_DOWN, IDI_RULE_DOWN},
    {IDC_PREVIEW, IDI_PREVIEW},          {IDC_RENAME, IDI_RENAME},
    {IDC_UNDO, IDI_UNDO},                {IDC_SAVE_LOG, IDI_SAVE_LOG},
    {IDC_UPDATE, IDI_UPDATE},            {IDC_WEB, IDI_WEB},
    {IDC_MAIL, IDI_MAIL},                {IDC_ABOUT, IDI_ABOUT},
    {IDC_HELP_BUTTON, IDI_HELP_BUTTON},
};

// Items the template gives the two drop-down lists of the rule editor.
const char* const ruleTargets[] = {"FILENAME", "FILEEXT"};
const char* const ruleActions[] = {"PREFIX", "SUFFIX", "REMOVE", "REPLACE", "UPPERCASE", "LOWERCASE"};

void fillComboBox(HWND combo, const char* const* items, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i]));
}

} // namespace


MainDialog::MainDialog() : Dialog(IDD_MAIN) {}

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

    // Button icons, the two owner-drawn lists and their colours, tooltips.
    for (const ButtonIcon& b : buttonIcons) {
        HICON icon = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(b.iconId), IMAGE_ICON, 16, 16, LR_SHARED));
        SendDlgItemMessageA(hwnd(), b.controlId, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    }
    fileListBox_.attachList(item(IDC_FILE_LIST));
    ruleListBox_.attachList(item(IDC_RULE_LIST));
    for (SkinListBox* list : {&fileListBox_, &ruleListBox_}) {
        list->setSelectedBackground(RGB(189, 198, 221));
        list->setSelectedText(RGB(30, 60, 104));
        list->setFocusFrame(RGB(122, 131, 171));
    }
    CheckDlgButton(hwnd(), IDC_QUICKVIEW, BST_CHECKED);
    setUpTooltips();

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
    return translateKey(msg);
}

bool MainDialog::onCommand(int id, int code, HWND)
{
    return dispatch(this, commandTable, id, code);
}

INT_PTR MainDialog::onMessage(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}

void MainDialog::onDestroy()
{
    setMessageOwner(nullptr);
}
