// The main window's own commands: the exit question and the keyboard routing.

#include "app/MainDialog.h"

#include "app/Identity.h"
#include "app/Messages.h"

#include <string>

void MainDialog::confirmExit()
{
    const std::string question = std::string("Do you want to exit \"") + displayName + "\"?";
    if (askYesNo(question, scheme) == 1)
        endModal(IDCANCEL);
}

bool MainDialog::translateKey(MSG&)
{
    return false;
}
