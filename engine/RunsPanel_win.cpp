// The rules and runs panel: its skin, its first state, and where its notifications and keys go.

#include "engine/RunsPanel_win.h"

const KeyBinding<RunsPanel> RunsPanel::keys[] = {
    {VK_DELETE, false, IDC_RULE_LIST, &RunsPanel::deleteSelectedRules},
    {0, false, 0, nullptr},
};

namespace {

// Preview, Rename and Undo have icons but no tooltip.
const SkinnedButton skinnedButtons[] = {
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
};

} // namespace

void RunsPanel::onAttach()
{
    PanelSkin::takeList(ruleListBox_, item(IDC_RULE_LIST), scheme_);
    skin_.takeButtons(dialog(), skinnedButtons, scheme_);
    initRuleEditor();
}

bool RunsPanel::onCommand(int id, int code)
{
    return dispatchCommand(*this, ruleEditorCommands, id, code) || dispatchCommand(*this, runCommands, id, code) ||
           dispatchCommand(*this, batchCommands, id, code);
}

bool RunsPanel::translateKey(const MSG& msg)
{
    return dispatchKey(*this, dialog(), keys, msg);
}
