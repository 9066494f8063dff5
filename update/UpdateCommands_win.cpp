// The main window's three links to the maker: the update check, the home page and the
// support mail.

#include "app/MainDialog.h"

#include "base/Identity.h"
#include "controls/Messages.h"
#include "update/MakerSite.h"
#include "update/UpdateCheck.h"
#include "update/VersionFetch_win.h"
#include "win/WaitCursor.h"

#include <shellapi.h>

void MainDialog::onOnlineUpdate()
{
    std::string published;
    {
        WaitCursor wait;
        published = fetchPublishedVersion(programName);
    }
    switch (judgePublishedVersion(published, versionText)) {
    case UpdateOutcome::NoAnswer:
        showMessage(cannotConnectText(makerWebHost()), scheme);
        break;
    case UpdateOutcome::Newest:
        showMessage(newestVersionText(displayName), scheme);
        break;
    case UpdateOutcome::NewVersion:
        if (askYesNo(newVersionQuestion(published, displayName), scheme) == 1) {
            // The browser fetches the installer; this copy closes so that it can be
            // replaced, without asking once more.
            ShellExecuteA(nullptr, "open", downloadUrl().c_str(), nullptr, nullptr, SW_SHOW);
            endModal(IDCANCEL);
        }
        break;
    }
}

void MainDialog::onSendMail()
{
    // A missing mail program is the shell's to report.
    ShellExecuteA(nullptr, "open", mailUrl().c_str(), nullptr, nullptr, SW_SHOW);
}

void MainDialog::onVisitWebPage()
{
    ShellExecuteA(nullptr, "open", homePageUrl().c_str(), nullptr, nullptr, SW_SHOW);
}
