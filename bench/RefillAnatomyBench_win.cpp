// Where the time of refilling the owner-drawn file list goes under Wine: the same 100,000
// lines into list boxes that differ in one thing each, against the plain list box floor.

#include "bench/Bench.h"
#include "bench/Floors_win.h"

#include "controls/SkinListBox_win.h"
#include "controls/ListBoxes_win.h"

#include "tests/support/TestWindows.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

UINT lineHeight = 16;

LRESULT CALLBACK answeringProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MEASUREITEM) {
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = lineHeight;
        return TRUE;
    }
    if (message == WM_DELETEITEM)
        return TRUE;
    if (message == WM_DRAWITEM) {
        if (Control* c = Control::fromWindow(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem))
            c->drawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A host whose owner-draw answers are given right in its procedure, with no look-up.
HWND answeringHost()
{
    return testsupport::createHostWindow("TesselBenchAnatomyHost", answeringProcA, 500, 300);
}

double medianOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Milliseconds of a refill from `lines` to `lines`, median of three, by the given filler.
template <typename Fill>
double timed(HWND list, const std::vector<std::string_view>& lines, Fill fill)
{
    std::vector<double> times;
    for (int r = 0; r < 3; ++r) {
        fill(list, lines);
        testsupport::pumpMessages();
        const double t0 = benchSeconds();
        fill(list, lines);
        times.push_back((benchSeconds() - t0) * 1e3);
        testsupport::pumpMessages();
    }
    return medianOf(times);
}

// Reset and add only, redraw off, optionally moving the top line along every `topStep` lines.
void bareFill(HWND list, const std::vector<std::string_view>& lines, std::size_t topStep)
{
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (topStep && i != 0 && i % topStep == 0)
            SendMessageA(list, LB_SETTOPINDEX, i - 1, 0);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lines[i].data()));
    }
    if (topStep)
        SendMessageA(list, LB_SETTOPINDEX, 0, 0);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
}

// The same with the list box hidden meanwhile (its visible bit taken away, nothing redrawn).
void hiddenFill(HWND list, const std::vector<std::string_view>& lines, std::size_t topStep)
{
    const LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
    SetWindowLongPtrA(list, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
    bareFill(list, lines, topStep);
    SetWindowLongPtrA(list, GWL_STYLE, style);
    InvalidateRect(list, nullptr, TRUE);
}

} // namespace

TESSEL_BENCH(RefillAnatomyWin32)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 100000; ++i)
        paths.push_back("C:\\Users\\Someone\\Pictures\\Holiday " + std::to_string(2000 + i % 25) + "\\IMG_" +
                        std::to_string(100000 + i) + (i % 3 ? ".jpg" : ".JPG"));
    const std::vector<std::string_view> lines = viewsOf(paths);
    HWND host = answeringHost();
    HFONT font = testsupport::createDialogFont();
    ShowWindow(host, SW_SHOW);
    auto makeList = [&](DWORD styles) {
        HWND list = testsupport::createListBox(host, 1000, styles, 10, 10, 460, 250);
        SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return list;
    };
    const DWORD ownerDrawn = testsupport::fileListStyles;
    const DWORD plainStyles = ownerDrawn & ~static_cast<DWORD>(LBS_OWNERDRAWVARIABLE);
    const DWORD fixedStyles = plainStyles | LBS_OWNERDRAWFIXED;

    std::printf("  100,000 lines into a list box of as many; medians of 3\n");
    HWND plain = makeList(plainStyles);
    const double floor = timed(plain, lines, [](HWND l, const auto& x) { bareFill(l, x, 0); });
    benchFigure("plain list box: reset and add (the floor)", floor, "ms");
    benchAgainstFloor("plain list box: the program's refill (extent measured)",
                      timed(plain, lines, [](HWND l, const auto& x) { refillListBox(l, x); }), floor, "ms");
    DestroyWindow(plain);

    HWND fixed = makeList(fixedStyles);
    benchAgainstFloor("owner-drawn, fixed height: reset and add",
                      timed(fixed, lines, [](HWND l, const auto& x) { bareFill(l, x, 0); }), floor, "ms");
    DestroyWindow(fixed);

    HWND variable = makeList(ownerDrawn);
    for (std::size_t step : {64u, 256u, 1024u})
        benchAgainstFloor("owner-drawn, variable height: reset and add, top line every " + std::to_string(step),
                          timed(variable, lines, [step](HWND l, const auto& x) { bareFill(l, x, step); }), floor, "ms");
    for (std::size_t step : {16u, 64u, 256u})
        benchAgainstFloor("  the same, hidden meanwhile, top line every " + std::to_string(step),
                          timed(variable, lines, [step](HWND l, const auto& x) { hiddenFill(l, x, step); }), floor, "ms");
    benchAgainstFloor("owner-drawn, variable height: the program's refill",
                      timed(variable, lines, [](HWND l, const auto& x) { refillListBox(l, x); }), floor, "ms");
    {
        SkinListBox skin;
        skin.attachList(variable);
        benchAgainstFloor("  the same with the list's copy kept (the program's file list)",
                          timed(variable, lines, [](HWND l, const auto& x) { refillListBox(l, x); }), floor, "ms");
        benchAgainstFloor("  the same, reset and add only",
                          timed(variable, lines, [](HWND l, const auto& x) { bareFill(l, x, 1024); }), floor, "ms");
        skin.detach();
    }
    DestroyWindow(variable);
    DestroyWindow(host);
    DeleteObject(font);
}
