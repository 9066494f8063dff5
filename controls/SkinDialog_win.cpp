// The skinned frame of the main window and of the boxes.

#include "controls/SkinDialog_win.h"

#include "base/Identity.h"
#include "controls/SkinDrawing_win.h"
#include "win/ControlText.h"

#include <windowsx.h>

HFONT createTahoma(int height, int weight)
{
    return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Tahoma");
}

namespace {

constexpr int stripHeight = 25;
constexpr int stripId = 0xFFFF;

} // namespace

// ---- SkinDialog -------------------------------------------------------------------------

SkinDialog::SkinDialog(int templateId, const FrameLayout& layout) : Dialog(templateId), layout_(layout) {}

SkinDialog::~SkinDialog() = default;

std::vector<COLORREF> SkinDialog::frameColours() const
{
    std::vector<COLORREF> colours;
    closeButton_.getSchemeColours(colours);
    return colours;
}

void SkinDialog::paintBorder(HDC dc, int width, int height, const std::vector<COLORREF>& colours)
{
    RECT r = {0, 0, width, height};
    skindraw::frame(dc, r, colours[4]);
    InflateRect(&r, -1, -1);
    skindraw::frame(dc, r, colours[5]);
    InflateRect(&r, -1, -1);
    skindraw::frame(dc, r, colours[4]);
}

void SkinDialog::setUpFrame(int scheme, HFONT buttonFont, HICON captionIcon)
{
    HINSTANCE module = GetModuleHandleA(nullptr);
    closeButton_.setScheme(scheme);
    const std::vector<COLORREF> colours = frameColours();
    background_.reset(CreateSolidBrush(colours[1]));
    captionFont_.reset(createTahoma(13, FW_BOLD));

    RECT client;
    GetClientRect(hwnd(), &client);
    HWND strip = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_BITMAP, 0, 0,
                                 layout_.stripWidth, stripHeight, hwnd(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(stripId)), module, nullptr);
    strip_.attach(strip, true);
    if (this->scheme() != 0) {
        stripBitmap_.reset(LoadImageA(module, MAKEINTRESOURCEA(captionBitmapBase + this->scheme()), IMAGE_BITMAP,
                                      0, 0, LR_CREATEDIBSECTION));
        if (stripBitmap_)
            SendMessageA(strip, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(stripBitmap_.get()));
    }

    const RECT captionRect = {25, 4, client.right - layout_.captionRightMargin, 21};
    captionLabel_.setTransparent(true);
    captionLabel_.create(strip, windowText(hwnd()), captionRect);
    captionLabel_.setFont(static_cast<HFONT>(captionFont_.get()));

    const RECT closeRect = {client.right - 21, 3, client.right - 3, 21};
    closeButton_.create(hwnd(), frameCloseId, "", closeRect);
    SendMessageA(closeButton_.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont), FALSE);
    closeButton_.setIcon(IDI_CLOSE);
    if (layout_.buttonTooltips)
        closeButton_.setTooltip("Close");

    if (layout_.minimizeButton) {
        const RECT minimizeRect = {client.right - 42, 3, client.right - 24, 21};
        minimizeButton_.create(hwnd(), frameMinimizeId, "", minimizeRect);
        SendMessageA(minimizeButton_.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont), FALSE);
        minimizeButton_.setIcon(IDI_MINIMIZE);
        if (layout_.buttonTooltips)
            minimizeButton_.setTooltip("Minimize");
        minimizeButton_.setScheme(this->scheme());
    }

    const RECT iconRect = {4, 4, 20, 20};
    iconLabel_.create(strip, "", iconRect, SS_ICON);
    MoveWindow(iconLabel_.hwnd(), iconRect.left, iconRect.top, 16, 16, FALSE);
    iconLabel_.setIcon(captionIcon, 16, 16);

    // The strip lies under the frame's buttons and never paints over them.
    SetWindowPos(strip, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    frameReady_ = true;
    onActivate(GetActiveWindow() == hwnd());
}

void SkinDialog::refreshCaption()
{
    if (frameReady_)
        captionLabel_.setCaption(windowText(hwnd()));
}

void SkinDialog::placeFrameControls()
{
    if (!frameReady_)
        return;
    // Boxes are laid out to their content after the frame is built: the buttons and the
    // title keep to the right edge the box finally has.
    RECT client;
    GetClientRect(hwnd(), &client);
    MoveWindow(closeButton_.hwnd(), client.right - 21, 3, 18, 18, TRUE);
    if (minimizeButton_.hwnd())
        MoveWindow(minimizeButton_.hwnd(), client.right - 42, 3, 18, 18, TRUE);
    MoveWindow(captionLabel_.hwnd(), 25, 4, client.right - layout_.captionRightMargin - 25, 17, TRUE);
}

void SkinDialog::onActivate(bool active)
{
    if (!frameReady_)
        return;
    const std::vector<COLORREF> colours = frameColours();
    captionLabel_.setColours(active ? colours[7] : colours[8], colours[1]);
    captionLabel_.setCaption(windowText(hwnd()));
}

bool SkinDialog::inDragArea(LPARAM lParam) const
{
    const POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const RECT area = {0, 0, layout_.stripWidth, layout_.dragBottom};
    return PtInRect(&area, point) != FALSE;
}

bool SkinDialog::paintMinimized()
{
    if (!minimizedIcon_ || !IsIconic(hwnd()))
        return false;
    const PaintDc dc(hwnd());
    SendMessageA(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0);
    RECT client;
    GetClientRect(hwnd(), &client);
    const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc.get(), x, y, minimizedIcon_);
    return true;
}

INT_PTR SkinDialog::onFrameMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    handled = false;
    switch (message) {
    case WM_CTLCOLORDLG: case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN: case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR: {
        if (!background_)
            return 0;
        // Text on the scheme's background; edits and list boxes keep their white fields.
        DefWindowProcA(hwnd(), message, wParam, lParam);
        SetBkColor(reinterpret_cast<HDC>(wParam), frameColours()[1]);
        handled = true;
        return reinterpret_cast<INT_PTR>(background_.get());
    }
    case WM_NCPAINT: {
        if (!background_ || IsIconic(hwnd()))
            return 0;
        RECT window;
        GetWindowRect(hwnd(), &window);
        {
            const WindowDc dc(hwnd(), WindowDc::wholeWindow);
            paintBorder(dc.get(), window.right - window.left, window.bottom - window.top, frameColours());
        }
        handled = true;
        return 0;
    }
    case WM_NCACTIVATE: {
        if (!background_ || IsIconic(hwnd()))
            return 0;
        // The system would draw its own frame over ours: -1 asks it not to paint.
        const LRESULT result = DefWindowProcA(hwnd(), message, wParam, -1);
        SendMessageA(hwnd(), WM_NCPAINT, 1, 0);
        handled = true;
        return result;
    }
    case WM_ACTIVATE:
        onActivate(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED)
            placeFrameControls();
        return 0;
    case WM_LBUTTONDOWN:
        if (inDragArea(lParam))
            dragArmed_ = true;
        return 0;
    case WM_MOUSEMOVE:
        if (dragArmed_ && wParam == MK_LBUTTON && inDragArea(lParam) && !IsZoomed(hwnd())) {
            // The system moves the window from here, as if the caption had been pressed.
            POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(hwnd(), &point);
            PostMessageA(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
        } else {
            dragArmed_ = false;
        }
        return 0;
    case WM_LBUTTONUP:
        dragArmed_ = false;
        return 0;
    case WM_PAINT:
        handled = paintMinimized();
        return 0;
    case WM_QUERYDRAGICON:
        if (minimizedIcon_) {
            handled = true;
            return reinterpret_cast<INT_PTR>(minimizedIcon_);
        }
        return 0;
    default:
        return 0;
    }
}

LRESULT SkinDialog::CaptionStrip::windowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CTLCOLORSTATIC) {
        if (Control* label = Control::fromWindow(reinterpret_cast<HWND>(lParam))) {
            if (HBRUSH brush = label->controlColor(reinterpret_cast<HDC>(wParam), message))
                return reinterpret_cast<LRESULT>(brush);
        }
    }
    return defaultProc(message, wParam, lParam);
}

// ---- SkinBox ----------------------------------------------------------------------------

SkinBox::SkinBox(HWND parent) : SkinDialog(IDD_SKINBOX, skinBoxFrame), parent_(parent) {}

SkinBox::~SkinBox() = default;

void SkinBox::setScheme(int scheme)
{
    if (skin::isScheme(scheme))
        boxScheme_ = scheme;
}

bool SkinBox::onInitDialog()
{
    setUpBoxFrame();
    return true;
}

void SkinBox::setUpBoxFrame()
{
    icon_.reset(static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 16, 16, 0)));
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
    SetWindowLongPtrA(hwnd(), GWL_STYLE, GetWindowLongPtrA(hwnd(), GWL_STYLE) | WS_DLGFRAME);
    SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    bodyFont_.reset(createTahoma(12, FW_NORMAL));
    setWholeWindowRegion();
    setUpFrame(boxScheme_, bodyFont(), icon_.get());
}

void SkinBox::setTitle(const std::string& title)
{
    SetWindowTextA(hwnd(), title.c_str());
    refreshCaption();
}

void SkinBox::resizeCentred(int width, int height)
{
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT over = area;
    HWND owner = GetWindow(hwnd(), GW_OWNER);
    if (owner && IsWindowVisible(owner) && !IsIconic(owner))
        GetWindowRect(owner, &over);
    int x = over.left + (over.right - over.left - width) / 2;
    int y = over.top + (over.bottom - over.top - height) / 2;
    // Kept on the work area, so that a box over a window near the edge stays reachable.
    if (x + width > area.right)
        x = area.right - width;
    if (y + height > area.bottom)
        y = area.bottom - height;
    if (x < area.left)
        x = area.left;
    if (y < area.top)
        y = area.top;
    SetWindowPos(hwnd(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void SkinBox::setWholeWindowRegion()
{
    RECT window;
    GetWindowRect(hwnd(), &window);
    SetWindowRgn(hwnd(), CreateRectRgn(0, 0, window.right - window.left, window.bottom - window.top), TRUE);
}
