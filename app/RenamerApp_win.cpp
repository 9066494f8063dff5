// Program start: common controls, control hosting, the main window's modal run.

#include "app/RenamerApp.h"

#include "app/MainDialog.h"
#include "controls/CMacButton_win.h"

#include <commctrl.h>
#include <ole2.h>

bool RenamerApp::start()
{
    // The standard controls with their current look, and OLE for the hosted media and
    // Flash controls of the quick view.
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    registerSkinControlClasses();
    const bool oleReady = SUCCEEDED(OleInitialize(nullptr));

    {
        // No parent, no command line, no check for another running copy.
        MainDialog mainWindow;
        mainWindow.runModal(nullptr);
    }

    if (oleReady)
        OleUninitialize();
    return false;
}
