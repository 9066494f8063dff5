#pragma once
// The skin a panel of a skinned window puts on its own controls: buttons with their icons and
// tooltips, check boxes and owner-drawn lists, in the window's scheme.

#include "controls/CMacButton_win.h"
#include "controls/CMacCheckBox_win.h"
#include "controls/SkinListBox_win.h"

#include <windows.h>

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <vector>

// One button of a panel: its control, its icon and its tooltip (null: none).
struct SkinnedButton {
    int controlId;
    int iconId;
    const char* tooltip;
};

// Owns the skinned controls that one panel takes over from the window's template.
class PanelSkin {
public:
    template <std::size_t N>
    void takeButtons(HWND dialog, const SkinnedButton (&rows)[N], int scheme)
    {
        takeButtons(dialog, rows, N, scheme);
    }
    void takeButtons(HWND dialog, const SkinnedButton* rows, std::size_t count, int scheme);
    void takeCheckBoxes(HWND dialog, std::initializer_list<int> ids, int scheme);
    // The list box keeps its lines in the list object and draws its selection in the scheme.
    static void takeList(SkinListBox& list, HWND listBox, int scheme);

private:
    std::vector<std::unique_ptr<CMacButton>> buttons_;
    std::vector<std::unique_ptr<CMacCheckBox>> checkBoxes_;
};
