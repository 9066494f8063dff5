// MainDialog's quick view: creating the panes, showing the current file, the switch.

#include "app/MainDialog.h"

#include "base/CodePage.h"
#include "quickview/QuickViewTypes.h"
#include "win/ControlText.h"
#include "win/WaitCursor.h"

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

void MainDialog::createQuickViewPanes()
{
    RECT pane = childRect(hwnd(), item(IDC_QUICKVIEW_GROUP));
    pane.left += 4;
    pane.top += 16;
    pane.right -= 4;
    pane.bottom -= 4;

    if (flashPane_.create(hwnd(), pane, paneId, std::string()))
        flashPane_.show(false);
    picturePane_.create(hwnd(), pane);
    if (mediaPane_.create(hwnd(), pane, paneId)) {
        mediaPane_.applyStartupProperties();
        mediaPane_.show(false);
    }
}

void MainDialog::hideQuickViewPanes()
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

namespace {

// Keys waiting in this thread's queue.
bool keysWaiting()
{
    MSG waiting;
    return PeekMessageA(&waiting, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE) != FALSE;
}

} // namespace

void MainDialog::onFileListSelectionChange()
{
    // Decoding a photo takes longer than the arrow key's repeat: while more keys wait in
    // the queue, the current file is shown once they are through (a timer comes only when
    // the queue is empty), so that a held key leaves no backlog of pictures that would
    // only be replaced.
    if (keysWaiting()) {
        if (!quickViewPending_) {
            quickViewPending_ = true;
            SetTimer(hwnd(), quickViewTimer, USER_TIMER_MINIMUM, nullptr);
        }
        return;
    }
    if (quickViewPending_) {
        quickViewPending_ = false;
        KillTimer(hwnd(), quickViewTimer);
    }
    showCurrentFileInQuickView();
}

bool MainDialog::onQuickViewMessage(UINT message, WPARAM wParam)
{
    if (message != WM_TIMER || wParam != quickViewTimer)
        return false;
    if (!keysWaiting())
        onFileListSelectionChange();
    return true;
}

void MainDialog::showCurrentFileInQuickView()
{
    if (IsDlgButtonChecked(hwnd(), IDC_QUICKVIEW) != BST_CHECKED)
        return;
    HWND list = item(IDC_FILE_LIST);
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (count == LB_ERR || count <= 0)
        return;
    // In this multiple-selection list the current item is the one with the focus.
    const LRESULT current = SendMessageA(list, LB_GETCARETINDEX, 0, 0);
    if (current == LB_ERR || current < 0 || current >= count)
        return;
    const std::vector<std::string>& lines = fileListBox_.lines();
    const std::string path = static_cast<std::size_t>(current) < lines.size()
                                 ? lines[static_cast<std::size_t>(current)]
                                 : listBoxLine(list, static_cast<int>(current));
    const std::string key = extensionKey(path, systemCodePage());

    WaitCursor wait;
    hideQuickViewPanes();
    switch (paneForKey(key, mediaPane_.exists(), flashPane_.exists())) {
    case QuickViewPane::picture: {
        picturePane_.load(path);
        ShowWindow(picturePane_.hwnd(), SW_SHOW);
        const RECT frame = childRect(hwnd(), item(IDC_QUICKVIEW_GROUP));
        InvalidateRect(hwnd(), &frame, TRUE);
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

void MainDialog::onQuickViewSwitch()
{
    HWND frame = item(IDC_QUICKVIEW_GROUP);
    HWND group = item(IDC_FILE_LIST_GROUP);
    HWND list = item(IDC_FILE_LIST);
    if (IsDlgButtonChecked(hwnd(), IDC_QUICKVIEW) == BST_CHECKED) {
        const RECT q = childRect(hwnd(), frame);
        const RECT g = childRect(hwnd(), group);
        moveChild(group, g.left, g.top, (q.left - 3) - g.left, g.bottom - g.top);
        const RECT l = childRect(hwnd(), list);
        moveChild(list, l.left, l.top, (q.left - 8) - l.left, l.bottom - l.top);
        ShowWindow(frame, SW_SHOW);
        onFileListSelectionChange();
        return;
    }
    ShowWindow(frame, SW_HIDE);
    hideQuickViewPanes();
    RECT client;
    GetClientRect(hwnd(), &client);
    const RECT g = childRect(hwnd(), group);
    const RECT l = childRect(hwnd(), list);
    moveChild(group, g.left, g.top, (client.right - 12) - g.left, g.bottom - g.top);
    moveChild(list, l.left, l.top, (client.right - 17) - l.left, l.bottom - l.top);
}

bool MainDialog::filterQuickViewMessage(const MSG& msg)
{
    return flashPane_.exists() && flashPane_.filterMessage(msg);
}

void MainDialog::destroyQuickViewPanes()
{
    flashPane_.destroy();
    mediaPane_.destroy();
    picturePane_.destroy();
}
