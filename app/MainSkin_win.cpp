// The main window's frame and skin: every button and check box of the template taken over by
// the skinned classes in the window's scheme, with icons and tooltips, and the lists' colours.

#include "app/MainDialog.h"

namespace {

struct SkinnedButton {
    int controlId;
    int iconId;
    const char* tooltip; // null: none
};

// Preview, Rename and Undo have icons but no tooltip.
const SkinnedButton skinnedButtons[] = {
    {IDC_ADD_FILES, IDI_ADD_FILES, "Add file(s)"},
    {IDC_ADD_DIR, IDI_ADD_DIR, "Add dir"},
    {IDC_SELECT_ALL, IDI_SELECT_ALL, "Select all (CTRL+A)"},
    {IDC_INVERT, IDI_INVERT, "Invert select (CTRL+I)"},
    {IDC_REMOVE_SELECTED, IDI_REMOVE_SELECTED, "Remove select"},
    {IDC_REMOVE_ALL, IDI_REMOVE_ALL, "Remove All"},
    {IDC_COPY_TO, IDI_COPY_TO, "Copy selected files to... (CTRL+C)"},
    {IDC_MOVE_TO, IDI_MOVE_TO, "Move selected files to... (CTRL+M)"},
    {IDC_LOAD_BATCH, IDI_LOAD_BATCH, "Load batch"},
    {IDC_SAVE_BATCH, IDI_SAVE_BATCH, "Save batch"},
    {IDC_ADD_RULE, IDI_ADD_RULE, "Add rule"},
    {IDC_DELETE_RULE, IDI_DELETE_RULE, "Delete rule"},
    {IDC_RULE_UP, IDI_RULE_UP, "Move up"},
    {IDC_RULE_DOWN, IDI_RULE_DOWN, "Move down"},
    {IDC_PREVIEW, IDI_PREVIEW, nullptr},
    {IDC_RENAME, IDI_RENAME, nullptr},
    {IDC_UNDO, IDI_UNDO, nullptr},
    {IDC_SAVE_LOG, IDI_SAVE_LOG, "Save result log"},
    {IDC_UPDATE, IDI_UPDATE, "Online Update"},
    {IDC_WEB, IDI_WEB, "Visit our web page"},
    {IDC_MAIL, IDI_MAIL, "Send email to us"},
    {IDC_ABOUT, IDI_ABOUT, "About..."},
    {IDC_HELP_BUTTON, IDI_HELP_BUTTON, "Help (F1)"},
};

const int skinnedCheckBoxes[] = {IDC_SUBDIR, IDC_CASE, IDC_EXCLUDE, IDC_QUICKVIEW, IDC_SHELL_CONTEXT};

} // namespace

void MainDialog::setUpSkin()
{
    setMinimizedIcon(bigIcon_.get());
    setUpFrame(scheme, reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0)), smallIcon_.get());

    const std::vector<COLORREF> colours = frameColours();
    fileListBox_.attachList(item(IDC_FILE_LIST));
    ruleListBox_.attachList(item(IDC_RULE_LIST));
    for (SkinListBox* list : {&fileListBox_, &ruleListBox_}) {
        list->setSelectedBackground(colours[5]);
        list->setSelectedText(colours[7]);
        list->setFocusFrame(colours[4]);
    }

    for (int id : skinnedCheckBoxes) {
        skinCheckBoxes_.push_back(std::make_unique<CMacCheckBox>());
        skinCheckBoxes_.back()->subclass(item(id));
        skinCheckBoxes_.back()->setScheme(scheme);
    }
    for (const SkinnedButton& b : skinnedButtons) {
        skinButtons_.push_back(std::make_unique<CMacButton>());
        skinButtons_.back()->subclass(item(b.controlId));
        skinButtons_.back()->setScheme(scheme);
    }

    CheckDlgButton(hwnd(), IDC_QUICKVIEW, BST_CHECKED);

    for (std::size_t i = 0; i < skinButtons_.size(); ++i) {
        skinButtons_[i]->setIcon(skinnedButtons[i].iconId);
        if (skinnedButtons[i].tooltip)
            skinButtons_[i]->setTooltip(skinnedButtons[i].tooltip);
    }
}
