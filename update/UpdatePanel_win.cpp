// The update panel: the update check, the home page and the support mail.

#include "update/UpdatePanel_win.h"

#include "base/Identity.h"
#include "controls/Messages.h"
#include "update/MakerSite.h"
#include "update/UpdateCheck.h"
#include "update/VersionFetch_win.h"
#include "win/WaitCursor.h"

#include <shellapi.h>

const CommandBinding<UpdatePanel> UpdatePanel::commands[] = {
    {IDC_UPDATE, BN_CLICKED, &UpdatePanel::onOnlineUpdate},
    {IDC_WEB, BN_CLICKED, &UpdatePanel::onVisitWebPage},
    {IDC_MAIL, BN_CLICKED, &UpdatePanel::onSendMail},
    {0, 0, nullptr},
};

namespace {

const SkinnedButton skinnedButtons[] = {
    {IDC_UPDATE, IDI_UPDATE, "Online Update"},
    {IDC_WEB, IDI_WEB, "Visit our web page"},
    {IDC_MAIL, IDI_MAIL, "Send email to us"},
};

} // namespace

void UpdatePanel::onAttach()
{
    skin_.takeButtons(dialog(), skinnedButtons, scheme_);
}

bool UpdatePanel::onCommand(int id, int code)
{
    return dispatchCommand(*this, commands, id, code);
}

void UpdatePanel::onOnlineUpdate()
{
    std::string published;
    {
        WaitCursor wait;
        published = fetchPublishedVersion(programName);
    }
    switch (judgePublishedVersion(published, versionText)) {
    case UpdateOutcome::NoAnswer:
        showMessage(cannotConnectText(makerWebHost()), scheme_);
        break;
    case UpdateOutcome::Newest:
        showMessage(newestVersionText(displayName), scheme_);
        break;
    case UpdateOutcome::NewVersion:
        if (askYesNo(newVersionQuestion(published, displayName), scheme_) == 1) {
            // The browser fetches the installer; this copy closes so that it can be
            // replaced, without asking once more.
            ShellExecuteA(nullptr, "open", downloadUrl().c_str(), nullptr, nullptr, SW_SHOW);
            if (closeWindow_)
                closeWindow_();
        }
        break;
    }
}

void UpdatePanel::onSendMail()
{
    // A missing mail program is the shell's to report.
    ShellExecuteA(nullptr, "open", mailUrl().c_str(), nullptr, nullptr, SW_SHOW);
}

void UpdatePanel::onVisitWebPage()
{
    ShellExecuteA(nullptr, "open", homePageUrl().c_str(), nullptr, nullptr, SW_SHOW);
}
