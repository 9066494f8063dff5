#pragma once
// The About box: the program's name, version and maker on a skinned box.

#include "controls/SkinDialog_win.h"

#include <string>

class AboutBox : public SkinBox {
public:
    explicit AboutBox(HWND parent) : SkinBox(parent) {}

    // Three lines: name and version, an empty line, the maker's line.
    static std::string aboutText();

protected:
    bool onInitDialog() override;

private:
    UniqueIcon programIcon_;
    CMacButton closeCommand_;
};
