// The information and question boxes behind showMessage and askYesNo.

#include "controls/Messages.h"

#include "controls/SkinMessageBox_win.h"

namespace {

HWND ownerWindow = nullptr;

int runBox(const std::string& text, int scheme, SkinMessageBox::Kind kind)
{
    HWND owner = ownerWindow && IsWindow(ownerWindow) ? ownerWindow : nullptr;
    SkinMessageBox box(owner, text, kind);
    box.setScheme(scheme);
    return box.run();
}

} // namespace

void setMessageOwner(HWND owner)
{
    ownerWindow = owner;
}

void showMessage(const std::string& text, int scheme)
{
    runBox(text, scheme, SkinMessageBox::information);
}

int askYesNo(const std::string& text, int scheme)
{
    return runBox(text, scheme, SkinMessageBox::question) == IDOK ? 1 : 0;
}
