// Win32 figures for the quick view: one selection change onto a typical 3000 x 2000 JPEG
// (open, decode, show and paint the picture pane), which the arrow key repeats through a
// folder of photos, and the same onto a 3000 x 2000 PNG, which goes through the imaging
// codecs.

#include "bench/Bench.h"

#include "quickview/PicturePane_win.h"

#include "tests/support/TestFiles.h"
#include "tests/support/TestPictures.h"
#include "tests/support/TestWindows.h"

#include <ole2.h>
#include <wincodec.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

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

// The floor of a codec picture: the imaging component's bare decode of the whole first
// frame to 32-bit pixels, seconds; negative when it fails.
double bareCodecDecodeSeconds(const std::string& path)
{
    const double t0 = benchSeconds();
    IWICImagingFactory* factory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory))))
        return -1;
    double seconds = -1;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    const std::wstring wide(path.begin(), path.end());
    UINT width = 0;
    UINT height = 0;
    if (SUCCEEDED(factory->CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                     &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height)) &&
        SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                        WICBitmapPaletteTypeCustom))) {
        std::vector<BYTE> pixels(static_cast<std::size_t>(width) * height * 4);
        if (SUCCEEDED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size()), pixels.data())))
            seconds = benchSeconds() - t0;
    }
    if (converter)
        converter->Release();
    if (frame)
        frame->Release();
    if (decoder)
        decoder->Release();
    factory->Release();
    return seconds;
}

// The selection changes between two pictures: hide, load, show, then the paint.
void selectionFigures(PicturePane& pane, HWND host, const RECT& paneRect, const std::string (&pictures)[2],
                      const std::string& what, bool codecFloor)
{
    const int rounds = 10;
    double load = 0;
    double paint = 0;
    for (int i = 0; i < rounds; ++i) {
        const double t0 = benchSeconds();
        ShowWindow(pane.hwnd(), SW_HIDE);
        pane.load(pictures[i % 2]);
        ShowWindow(pane.hwnd(), SW_SHOW);
        const double t1 = benchSeconds();
        InvalidateRect(host, &paneRect, TRUE);
        UpdateWindow(host);
        UpdateWindow(pane.hwnd());
        const double t2 = benchSeconds();
        load += t1 - t0;
        paint += t2 - t1;
    }
    if (pane.picture().empty()) {
        benchFigure(what + " did not decode", 0, "");
        return;
    }
    const std::string name = "one selection change, " + what + " (" +
                             std::to_string(testsupport::readFile(pictures[0]).size() / 1024) + " KB), total";
    double floor = -1;
    if (codecFloor) {
        double floors = 0;
        for (int i = 0; i < rounds && floors >= 0; ++i) {
            const double one = bareCodecDecodeSeconds(pictures[i % 2]);
            floors = one < 0 ? -1 : floors + one;
        }
        floor = floors < 0 ? -1 : floors / rounds;
    }
    if (floor > 0)
        benchAgainstFloor(name, (load + paint) / rounds * 1e3, floor * 1e3, "ms", "key repeat every 33 ms");
    else
        benchFigure(name, (load + paint) / rounds * 1e3, "ms", "(key repeat every 33 ms)");
    benchFigure("  of which open and decode", load / rounds * 1e3, "ms");
    benchFigure("  of which the paint", paint / rounds * 1e3, "ms");
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

        selectionFigures(pane, host, paneRect, photos, "3000 x 2000 JPEG", false);

        const std::string screenshots[] = {folder / "shot1.png", folder / "shot2.png"};
        bool written = true;
        for (const std::string& shot : screenshots)
            written = written && testsupport::writePngFile(shot, 3000, 2000, [](int x, int y) {
                          return 0xFF000000u | (static_cast<std::uint32_t>(photoPixel(x, y)) & 0xFFFFFF);
                      });
        if (written)
            selectionFigures(pane, host, paneRect, screenshots, "3000 x 2000 PNG", true);
        else
            benchFigure("3000 x 2000 PNG could not be written", 0, "");
        pane.destroy();
        DestroyWindow(host);
    }
    OleUninitialize();
}
