// The rules panel's editor: composing one rule in the combo boxes, and adding, deleting and
// reordering the lines of the rules list (1006).

#include "engine/RunsPanel_win.h"

#include "base/CodePage.h"
#include "controls/ListBoxes_win.h"
#include "controls/Messages.h"
#include "engine/RuleEditorText.h"
#include "win/ControlText.h"

#include <algorithm>
#include <string>
#include <vector>

const CommandBinding<RunsPanel> RunsPanel::ruleEditorCommands[] = {
    {IDC_RULE_ACTION, CBN_SELCHANGE, &RunsPanel::onActionChanged},
    {IDC_RULE_ARG1, CBN_SELCHANGE, &RunsPanel::onFirstArgumentChanged},
    {IDC_RULE_ARG1, CBN_EDITCHANGE, &RunsPanel::onFirstArgumentEdited},
    {IDC_ADD_RULE, BN_CLICKED, &RunsPanel::addRule},
    {IDC_DELETE_RULE, BN_CLICKED, &RunsPanel::deleteSelectedRules},
    {IDC_RULE_UP, BN_CLICKED, &RunsPanel::moveRuleUp},
    {IDC_RULE_DOWN, BN_CLICKED, &RunsPanel::moveRuleDown},
    {0, 0, nullptr},
};

namespace {

std::string selectedItemText(HWND combo)
{
    const LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return std::string();
    const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR || length <= 0)
        return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied = SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

// Empties both the drop-down list and the edit field of a combo box.
void emptyCombo(HWND combo)
{
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    SetWindowTextA(combo, "");
}

void addItems(HWND combo, const std::vector<const char*>& items)
{
    for (const char* text : items)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

// Positions of the action box's items.
enum ActionPosition { actionPrefix, actionSuffix, actionRemove, actionReplace, actionUpper, actionLower };

} // namespace

void RunsPanel::initRuleEditor()
{
    addItems(item(IDC_RULE_TARGET), {"FILENAME", "FILEEXT"});
    addItems(item(IDC_RULE_ACTION), {"PREFIX", "SUFFIX", "REMOVE", "REPLACE", "UPPERCASE", "LOWERCASE"});
    // The target box starts on FILENAME.
    SendDlgItemMessageA(dialog(), IDC_RULE_TARGET, CB_SETCURSEL, 0, 0);
    SendDlgItemMessageA(dialog(), IDC_RULE_ACTION, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    emptyCombo(item(IDC_RULE_ARG1));
    emptyCombo(item(IDC_RULE_ARG2));
    EnableWindow(item(IDC_RULE_ARG2), FALSE);
    SetDlgItemTextA(dialog(), IDC_RULE_ARG_LABEL, "");
}

void RunsPanel::onActionChanged()
{
    HWND first = item(IDC_RULE_ARG1);
    HWND second = item(IDC_RULE_ARG2);
    emptyCombo(first);
    emptyCombo(second);
    SetDlgItemTextA(dialog(), IDC_RULE_ARG_LABEL, "");

    switch (SendDlgItemMessageA(dialog(), IDC_RULE_ACTION, CB_GETCURSEL, 0, 0)) {
    case actionPrefix:
    case actionSuffix:
        addItems(first, {"digit", "date"});
        SendMessageA(first, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        EnableWindow(second, FALSE);
        break;
    case actionRemove:
        addItems(first, {"all", "left", "right", "date", "(*)", "(*", "*)"});
        SendMessageA(first, CB_SETCURSEL, 0, 0);
        EnableWindow(second, FALSE);
        break;
    case actionReplace:
        SetDlgItemTextA(dialog(), IDC_RULE_ARG_LABEL, "with");
        EnableWindow(second, TRUE);
        break;
    case actionUpper:
    case actionLower:
        addItems(first, {"all", "left", "right"});
        SendMessageA(first, CB_SETCURSEL, 0, 0);
        EnableWindow(second, FALSE);
        break;
    default:
        break;
    }
}

void RunsPanel::onFirstArgumentChanged()
{
    HWND second = item(IDC_RULE_ARG2);
    emptyCombo(second);

    const std::string picked = selectedItemText(item(IDC_RULE_ARG1));
    if (picked == "left" || picked == "right" || picked == "digit") {
        SetDlgItemTextA(dialog(), IDC_RULE_ARG_LABEL, "length");
        SetWindowTextA(second, "1");
    } else if (picked == "date") {
        SetDlgItemTextA(dialog(), IDC_RULE_ARG_LABEL, "format");
        addItems(second, {"mm-dd-yy", "mm-dd-yyyy", "dd-mm-yy", "dd-mm-yyyy"});
        SendMessageA(second, CB_SETCURSEL, 0, 0);
    }
    bool enable = picked != "all";
    const bool remove = SendDlgItemMessageA(dialog(), IDC_RULE_ACTION, CB_GETCURSEL, 0, 0) == actionRemove;
    if (remove && picked != "left" && picked != "right" && picked != "date")
        enable = false;
    EnableWindow(second, enable ? TRUE : FALSE);
}

void RunsPanel::onFirstArgumentEdited()
{
    switch (SendDlgItemMessageA(dialog(), IDC_RULE_ACTION, CB_GETCURSEL, 0, 0)) {
    case actionPrefix:
    case actionSuffix:
    case actionRemove:
        SetDlgItemTextA(dialog(), IDC_RULE_ARG_LABEL, "");
        EnableWindow(item(IDC_RULE_ARG2), FALSE);
        break;
    default:
        break;
    }
}

void RunsPanel::addRule()
{
    RuleEditorState state;
    state.target = windowText(item(IDC_RULE_TARGET));
    state.action = windowText(item(IDC_RULE_ACTION));
    HWND first = item(IDC_RULE_ARG1);
    state.firstArgument = windowText(first);
    state.firstArgumentPicked = SendMessageA(first, CB_GETCURSEL, 0, 0) != CB_ERR;
    state.secondEnabled = IsWindowEnabled(item(IDC_RULE_ARG2)) != FALSE;
    if (state.secondEnabled) {
        state.secondArgument = windowText(item(IDC_RULE_ARG2));
        state.label = windowText(item(IDC_RULE_ARG_LABEL));
    }

    std::string rule;
    std::string message;
    if (!composeRuleText(state, systemCodePage(), rule, message)) {
        showMessage(message, scheme_);
        return;
    }

    HWND rules = item(IDC_RULE_LIST);
    // LB_FINDSTRINGEXACT ignores letter case; equal here means the same bytes, compared
    // with the bytes the list was given (reading them back goes through UTF-16).
    const std::vector<std::string>& lines = ruleListBox_.lines();
    const bool listed = std::find(lines.begin(), lines.end(), rule) != lines.end();
    if (!listed)
        SendMessageA(rules, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(rule.c_str()));
    updateHorizontalExtent(rules);
}

void RunsPanel::deleteSelectedRules()
{
    HWND rules = item(IDC_RULE_LIST);
    const LRESULT selected = SendMessageA(rules, LB_GETSELCOUNT, 0, 0);
    if (selected == LB_ERR || selected <= 0)
        return;
    for (LRESULT i = SendMessageA(rules, LB_GETCOUNT, 0, 0) - 1; i >= 0; --i) {
        if (SendMessageA(rules, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0)
            SendMessageA(rules, LB_DELETESTRING, static_cast<WPARAM>(i), 0);
    }
    updateHorizontalExtent(rules);
}

void RunsPanel::moveRuleUp()
{
    moveCaretLine(item(IDC_RULE_LIST), ruleListBox_.lines(), -1);
}

void RunsPanel::moveRuleDown()
{
    moveCaretLine(item(IDC_RULE_LIST), ruleListBox_.lines(), +1);
}
