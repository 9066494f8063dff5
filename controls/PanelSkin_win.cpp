// The skin a panel puts on its own controls.

#include "controls/PanelSkin_win.h"

#include "controls/SkinScheme.h"

void PanelSkin::takeButtons(HWND dialog, const SkinnedButton* rows, std::size_t count, int scheme)
{
    for (std::size_t i = 0; i < count; ++i) {
        buttons_.push_back(std::make_unique<CMacButton>());
        CMacButton& button = *buttons_.back();
        button.subclass(GetDlgItem(dialog, rows[i].controlId));
        button.setScheme(scheme);
        button.setIcon(rows[i].iconId);
        if (rows[i].tooltip)
            button.setTooltip(rows[i].tooltip);
    }
}

void PanelSkin::takeCheckBoxes(HWND dialog, std::initializer_list<int> ids, int scheme)
{
    for (int id : ids) {
        checkBoxes_.push_back(std::make_unique<CMacCheckBox>());
        checkBoxes_.back()->subclass(GetDlgItem(dialog, id));
        checkBoxes_.back()->setScheme(scheme);
    }
}

void PanelSkin::takeList(SkinListBox& list, HWND listBox, int scheme)
{
    list.attachList(listBox);
    list.setSelectedBackground(toColorRef(skin::schemeColour(scheme, 5)));
    list.setSelectedText(toColorRef(skin::schemeColour(scheme, 7)));
    list.setFocusFrame(toColorRef(skin::schemeColour(scheme, 4)));
}
