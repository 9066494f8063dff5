// The quick view panel: creating the panes, showing the current file, the switch.

#include "quickview/QuickViewPanel_win.h"

#include "base/CodePage.h"
#include "quickview/QuickViewTypes.h"
#include "win/WaitCursor.h"

const CommandBinding<QuickViewPanel> QuickViewPanel::commands[] = {
    {IDC_QUICKVIEW, BN_CLICKED, &QuickViewPanel::onSwitch},
    {0, 0, nullptr},
};

namespace {

constexpr int paneId = 0xFFFF;

// A child's window rectangle in the parent's client coordinates.
RECT childRect(HWND parent, HWND child)
{
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void moveChild(HWND child, int left, int top, int width, int height)
{
    MoveWindow(child, left, top, width, height, TRUE);
}

} // namespace

void QuickViewPanel::onAttach()
{
    skin_.takeCheckBoxes(dialog(), {IDC_QUICKVIEW}, scheme_);
    CheckDlgButton(dialog(), IDC_QUICKVIEW, BST_CHECKED);
    afterKeys_.attach(dialog(), [this] { showCurrentFile(); });

    // The three panes on one rectangle inside the "QuickView" frame.
    RECT pane = childRect(dialog(), item(IDC_QUICKVIEW_GROUP));
    pane.left += 4;
    pane.top += 16;
    pane.right -= 4;
    pane.bottom -= 4;
    if (flashPane_.create(dialog(), pane, paneId, std::string()))
        flashPane_.show(false);
    picturePane_.create(dialog(), pane);
    if (mediaPane_.create(dialog(), pane, paneId)) {
        mediaPane_.applyStartupProperties();
        mediaPane_.show(false);
    }
}

bool QuickViewPanel::onCommand(int id, int code)
{
    return dispatchCommand(*this, commands, id, code);
}

// The Flash pane filters messages on their way to its control.
bool QuickViewPanel::preTranslateMessage(MSG& msg)
{
    return flashPane_.exists() && flashPane_.filterMessage(msg);
}

void QuickViewPanel::onDestroy()
{
    afterKeys_.cancel();
    flashPane_.destroy();
    mediaPane_.destroy();
    picturePane_.destroy();
}

void QuickViewPanel::hidePanes()
{
    if (mediaPane_.exists()) {
        mediaPane_.show(false);
        mediaPane_.halt();
    }
    if (flashPane_.exists()) {
        flashPane_.show(false);
        flashPane_.stop();
    }
    if (picturePane_.hwnd())
        ShowWindow(picturePane_.hwnd(), SW_HIDE);
}

void QuickViewPanel::onCurrentFileChanged()
{
    // A held key leaves no backlog of pictures that would only be replaced.
    if (keyInputWaiting()) {
        afterKeys_.arm();
        return;
    }
    afterKeys_.cancel();
    showCurrentFile();
}

void QuickViewPanel::showCurrentFile()
{
    if (IsDlgButtonChecked(dialog(), IDC_QUICKVIEW) != BST_CHECKED)
        return;
    std::string path;
    if (!files_.currentLine || !files_.currentLine(path))
        return;
    const std::string key = extensionKey(path, systemCodePage());

    WaitCursor wait;
    hidePanes();
    switch (paneForKey(key, mediaPane_.exists(), flashPane_.exists())) {
    case QuickViewPane::picture: {
        picturePane_.load(path);
        ShowWindow(picturePane_.hwnd(), SW_SHOW);
        const RECT frame = childRect(dialog(), item(IDC_QUICKVIEW_GROUP));
        InvalidateRect(dialog(), &frame, TRUE);
        break;
    }
    case QuickViewPane::media:
        mediaPane_.setFileName(path);
        mediaPane_.play();
        mediaPane_.show(true);
        break;
    case QuickViewPane::flash:
        flashPane_.loadMovie(path);
        flashPane_.play();
        flashPane_.show(true);
        break;
    case QuickViewPane::none:
        break;
    }
}

void QuickViewPanel::onSwitch()
{
    HWND frame = item(IDC_QUICKVIEW_GROUP);
    HWND group = item(files_.groupId);
    HWND list = item(files_.listBoxId);
    if (IsDlgButtonChecked(dialog(), IDC_QUICKVIEW) == BST_CHECKED) {
        const RECT q = childRect(dialog(), frame);
        const RECT g = childRect(dialog(), group);
        moveChild(group, g.left, g.top, (q.left - 3) - g.left, g.bottom - g.top);
        const RECT l = childRect(dialog(), list);
        moveChild(list, l.left, l.top, (q.left - 8) - l.left, l.bottom - l.top);
        ShowWindow(frame, SW_SHOW);
        onCurrentFileChanged();
        return;
    }
    ShowWindow(frame, SW_HIDE);
    hidePanes();
    RECT client;
    GetClientRect(dialog(), &client);
    const RECT g = childRect(dialog(), group);
    const RECT l = childRect(dialog(), list);
    moveChild(group, g.left, g.top, (client.right - 12) - g.left, g.bottom - g.top);
    moveChild(list, l.left, l.top, (client.right - 17) - l.left, l.bottom - l.top);
}
