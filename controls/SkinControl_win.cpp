// What the skinned button and check box share: scheme, take-over and mouse position.

#include "controls/SkinControl_win.h"

#include <windowsx.h>

SkinControl::SkinControl()
{
    recomputeColours();
}

void SkinControl::setScheme(int scheme)
{
    if (!skin::isScheme(scheme))
        return;
    scheme_ = scheme;
    recomputeColours();
    if (hwnd())
        InvalidateRect(hwnd(), nullptr, TRUE);
}

void SkinControl::getSchemeColours(std::vector<COLORREF>& colours) const
{
    for (int i = 0; i < skin::coloursPerScheme; ++i)
        colours.push_back(toColorRef(skin::schemeColour(scheme_, i)));
}

void SkinControl::recomputeColours()
{
    colours_ = skin::schemeColours(scheme_);
}

void SkinControl::takeOver(HWND button)
{
    const LONG_PTR style = GetWindowLongPtrA(button, GWL_STYLE);
    SetWindowLongPtrA(button, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
    attach(button, true);
    recomputeColours();
    InvalidateRect(button, nullptr, TRUE);
}

bool SkinControl::pointInside(LPARAM lParam) const
{
    RECT client;
    GetClientRect(hwnd(), &client);
    const POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return PtInRect(&client, point) != FALSE;
}

LRESULT SkinControl::windowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SYSCOLORCHANGE) {
        const LRESULT result = defaultProc(message, wParam, lParam);
        recomputeColours();
        return result;
    }
    return defaultProc(message, wParam, lParam);
}
