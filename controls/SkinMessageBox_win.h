#pragma once
// The program's information box ("&OK") and question box ("&Yes", "&No"): a skinned box
// sized to its text.

#include "controls/SkinDialog_win.h"
#include "controls/MessageBoxLayout.h"

#include <string>

class SkinMessageBox : public SkinBox {
public:
    enum Kind { information = 0, question = 1 };

    SkinMessageBox(HWND parent, const std::string& text, Kind kind);

    // After set-up: where the text and the buttons went.
    const MessageBoxLayout& layout() const { return layout_; }
    HWND textLabel() const { return label_.hwnd(); }

protected:
    bool onInitDialog() override;

private:
    std::string text_;
    Kind kind_;
    MessageBoxLayout layout_ = {};
    SkinLabel label_;
    CMacButton first_;
    CMacButton second_;
};
