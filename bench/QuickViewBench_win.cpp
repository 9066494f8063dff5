// Win32 figures for the quick view: one selection change onto a typical 3000 x 2000 JPEG
// (open, decode, show and paint the picture pane), which the arrow key repeats through a
// folder of photos.

#include "bench/Bench.h"

#include "quickview/PicturePane_win.h"

#include "tests/support/TestFiles.h"
#include "tests/support/TestPictures.h"
#include "tests/support/TestWindows.h"

#include <ole2.h>
#include <windows.h>

#include <string>

namespace {

LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

// Something like a photograph for the encoder: smooth gradients with fine detail.
COLORREF photoPixel(int x, int y)
{
    const int detail = ((x * 7919) ^ (y * 104729)) & 31;
    return RGB((x / 12 + detail) & 0xFF, (y / 8 + detail) & 0xFF, ((x + y) / 20) & 0xFF);
}

} // namespace

TESSEL_BENCH(QuickViewSelectionWin32)
{
    if (FAILED(OleInitialize(nullptr)))
        return;
    {
        testsupport::TempFolder folder("bench-quickview");
        const std::string photos[] = {folder / "IMG_0001.jpg", folder / "IMG_0002.jpg"};
        for (const std::string& photo : photos) {
            if (!testsupport::writeJpegFile(photo, 3000, 2000, photoPixel)) {
                benchFigure("3000 x 2000 JPEG could not be written", 0, "");
                OleUninitialize();
                return;
            }
        }
        HWND host = testsupport::createHostWindow("TesselBenchQuickView", hostProc, 600, 400);
        ShowWindow(host, SW_SHOW);
        PicturePane pane;
        const RECT paneRect = {360, 60, 580, 190}; // the main window's pane, about
        pane.create(host, paneRect);
        testsupport::pumpMessages();

        const int rounds = 10;
        double load = 0;
        double paint = 0;
        for (int i = 0; i < rounds; ++i) {
            const double t0 = benchSeconds();
            ShowWindow(pane.hwnd(), SW_HIDE);
            pane.load(photos[i % 2]);
            ShowWindow(pane.hwnd(), SW_SHOW);
            const double t1 = benchSeconds();
            InvalidateRect(host, &paneRect, TRUE);
            UpdateWindow(host);
            UpdateWindow(pane.hwnd());
            const double t2 = benchSeconds();
            load += t1 - t0;
            paint += t2 - t1;
        }
        benchFigure("one selection change, 3000 x 2000 JPEG (" + std::to_string(testsupport::readFile(photos[0]).size() / 1024) +
                        " KB), total",
                    (load + paint) / rounds * 1e3, "ms", "(key repeat every 33 ms)");
        benchFigure("  of which open and decode", load / rounds * 1e3, "ms");
        benchFigure("  of which the paint", paint / rounds * 1e3, "ms");
        pane.destroy();
        DestroyWindow(host);
    }
    OleUninitialize();
}
