// The quick view's panes in this process: pictures decoded and drawn in the picture pane,
// bad picture files, and the media and Flash panes hosting the stand-in controls.

#include "quickview/MediaPanes_win.h"
#include "quickview/PicturePane_win.h"

#include "tests/standins/StandInRegistration.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPictures.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using testsupport::TempFolder;

const COLORREF red = RGB(220, 30, 30);
const COLORREF blue = RGB(30, 30, 220);
const COLORREF green = RGB(30, 200, 30);

// Top half red, bottom half blue: drawn upside down it would show.
COLORREF halves(int, int y, int height)
{
    return y < height / 2 ? red : blue;
}

bool closeTo(COLORREF a, COLORREF b, int tolerance = 40)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::vector<UINT>& hostMessages()
{
    static std::vector<UINT> messages;
    return messages;
}

std::vector<WPARAM>& hostParameters()
{
    static std::vector<WPARAM> parameters;
    return parameters;
}

LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == NFlash::frameReachedMessage || message == NFlash::movieFinishedMessage) {
        hostMessages().push_back(message);
        hostParameters().push_back(wParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class QuickViewPanes : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        host_ = testsupport::createHostWindow("TesselQuickViewHost", hostProc, 400, 300);
        ShowWindow(host_, SW_SHOW);
        hostMessages().clear();
        hostParameters().clear();
    }
    void TearDown() override
    {
        DestroyWindow(host_);
        testsupport::pumpMessages();
        OleUninitialize();
    }

    // Paints the pane now and reads one of its pixels from the screen.
    COLORREF panePixel(HWND pane, int x, int y)
    {
        InvalidateRect(pane, nullptr, TRUE);
        UpdateWindow(pane);
        HDC dc = GetDC(pane);
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(pane, dc);
        return c;
    }

    HWND host_ = nullptr;
    TempFolder folder_{"quickview"};
    RECT paneRect_ = {10, 10, 310, 210}; // client 300 x 200
};

struct DecodeRow {
    const char* name;
    std::string (*write)(const std::string& path);
    int tolerance;
};

std::string writeBmp(const std::string& path)
{
    testsupport::writeFile(path, testsupport::bitmapFileBytes(100, 50, [](int x, int y) { return halves(x, y, 50); }));
    return path;
}

std::string writeGif(const std::string& path)
{
    const COLORREF palette[4] = {red, blue, green, RGB(0, 0, 0)};
    testsupport::writeFile(path, testsupport::gifFileBytes(100, 50, palette, [](int, int y) { return y < 25 ? 0 : 1; }));
    return path;
}

std::string writeJpeg(const std::string& path)
{
    return testsupport::writeJpegFile(path, 100, 50, [](int x, int y) { return halves(x, y, 50); }) ? path
                                                                                                   : std::string();
}

// Each format: the 100 x 50 picture sits at its own size in the middle of the 300 x 200
// pane, (100, 75) to (200, 125), upright.
TEST_F(QuickViewPanes, PicturesDrawnCentredAtTheirOwnSizeAndUpright)
{
    const DecodeRow rows[] = {
        {"picture.bmp", &writeBmp, 0},
        {"picture.gif", &writeGif, 0},
        {"picture.jpg", &writeJpeg, 40},
    };
    for (const DecodeRow& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = row.write(folder_ / row.name);
        ASSERT_FALSE(path.empty()) << "the picture could not be written";
        PicturePane pane;
        ASSERT_TRUE(pane.create(host_, paneRect_));
        EXPECT_EQ(pane.load(path), 1);
        ASSERT_FALSE(pane.picture().empty());
        const SIZE size = pane.picture().pixelSize(nullptr);
        EXPECT_EQ(size.cx, 100);
        EXPECT_EQ(size.cy, 50);

        const COLORREF background = panePixel(pane.hwnd(), 5, 5);
        EXPECT_FALSE(closeTo(background, red) || closeTo(background, blue));
        EXPECT_TRUE(closeTo(panePixel(pane.hwnd(), 102, 78), red, row.tolerance + 5));
        EXPECT_TRUE(closeTo(panePixel(pane.hwnd(), 197, 97), red, row.tolerance + 5));
        EXPECT_TRUE(closeTo(panePixel(pane.hwnd(), 102, 122), blue, row.tolerance + 5));
        EXPECT_TRUE(closeTo(panePixel(pane.hwnd(), 197, 103), blue, row.tolerance + 5));
        // Just outside the picture on every side: the pane's own background.
        for (POINT p : {POINT{98, 100}, POINT{202, 100}, POINT{150, 72}, POINT{150, 127}})
            EXPECT_EQ(panePixel(pane.hwnd(), p.x, p.y), background) << p.x << ", " << p.y;
        pane.destroy();
    }
}

// Files that must neither crash nor leak; the pane then holds nothing (or, for the huge
// one, the picture when the system could decode it).
TEST_F(QuickViewPanes, BadPictureFilesLeaveThePaneEmpty)
{
    const std::string jpeg = writeJpeg(folder_ / "good.jpg");
    ASSERT_FALSE(jpeg.empty());
    const std::string jpegBytes = testsupport::readFile(jpeg);
    const std::string bmpBytes = testsupport::readFile(writeBmp(folder_ / "good.bmp"));
    const std::string gifBytes = testsupport::readFile(writeGif(folder_ / "good.gif"));

    struct BadRow {
        const char* name;
        std::string bytes;
    };
    std::string corruptJpeg = jpegBytes;
    for (std::size_t i = 200; i < corruptJpeg.size(); i += 7)
        corruptJpeg[i] = static_cast<char>(0xFF);
    std::string bmpClaimingMore = bmpBytes;
    bmpClaimingMore[22] = static_cast<char>(0xFF); // height 0x00FF..: rows far past the end
    std::string bmpOffsetPastEnd = bmpBytes;
    bmpOffsetPastEnd[11] = static_cast<char>(0x7F);
    const BadRow rows[] = {
        {"empty.jpg", std::string()},
        {"empty.bmp", std::string()},
        {"truncated.jpg", jpegBytes.substr(0, jpegBytes.size() / 3)},
        {"header-only.jpg", jpegBytes.substr(0, 20)},
        {"corrupt.jpg", corruptJpeg},
        {"truncated.gif", gifBytes.substr(0, 20)},
        {"truncated.bmp", bmpBytes.substr(0, bmpBytes.size() / 2)},
        {"rows-past-end.bmp", bmpClaimingMore},
        {"offset-past-end.bmp", bmpOffsetPastEnd},
        {"text.jpg", "this is not a picture at all"},
    };
    PicturePane pane;
    ASSERT_TRUE(pane.create(host_, paneRect_));
    for (const BadRow& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(pane.load(jpeg), 1);
        ASSERT_FALSE(pane.picture().empty());
        const std::string path = folder_.file(row.name, row.bytes);
        EXPECT_EQ(pane.load(path), 1);
        EXPECT_TRUE(pane.picture().empty());
        panePixel(pane.hwnd(), 150, 100);
        // The file is closed again.
        EXPECT_TRUE(DeleteFileA(path.c_str()));
    }
    pane.destroy();
}

TEST_F(QuickViewPanes, HugePictureDecodesOrLeavesThePaneEmpty)
{
    const std::string path = folder_ / "huge.jpg";
    ASSERT_TRUE(testsupport::writeJpegFile(path, 12000, 12000, [](int, int) { return green; }));
    PicturePane pane;
    ASSERT_TRUE(pane.create(host_, paneRect_));
    EXPECT_EQ(pane.load(path), 1);
    if (!pane.picture().empty()) {
        const SIZE size = pane.picture().pixelSize(nullptr);
        EXPECT_EQ(size.cx, 12000);
        EXPECT_EQ(size.cy, 12000);
        // Larger than the pane and square: stretched over the whole pane.
        EXPECT_TRUE(closeTo(panePixel(pane.hwnd(), 1, 1), green));
        EXPECT_TRUE(closeTo(panePixel(pane.hwnd(), 298, 198), green));
    }
    pane.destroy();
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

TEST_F(QuickViewPanes, PictureReferencesAreReleasedWhenReplacedAndKeptWhenAFileCannotBeOpened)
{
    const std::string bmp = writeBmp(folder_ / "a.bmp");
    const std::string gif = writeGif(folder_ / "b.gif");
    PictureData data;
    ASSERT_TRUE(data.loadFromFile(bmp));
    IPicture* first = data.picture();
    ASSERT_NE(first, nullptr);

    first->AddRef();
    EXPECT_FALSE(data.loadFromFile(folder_ / "missing.bmp"));
    EXPECT_EQ(data.picture(), first);
    ASSERT_TRUE(data.loadFromFile(gif));
    EXPECT_NE(data.picture(), first);
    // Ours is the only reference left: the holder gave its own up.
    EXPECT_EQ(first->Release(), 0u);

    // A file others hold open for writing cannot be opened: the picture stays.
    HANDLE writer = CreateFileA(bmp.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    IPicture* second = data.picture();
    EXPECT_FALSE(data.loadFromFile(bmp));
    EXPECT_EQ(data.picture(), second);
    CloseHandle(writer);

    data.clear();
    EXPECT_TRUE(data.empty());
    const SIZE none = data.pixelSize(nullptr);
    EXPECT_EQ(none.cx, 0);
    EXPECT_EQ(none.cy, 0);
}

// ---- the hosted panes with the stand-in controls ----

std::vector<std::string> logLines(const std::string& path, bool withPolling = true)
{
    std::vector<std::string> lines;
    const std::string text = testsupport::readFile(path);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (withPolling || (line != "flash call 128" && line != "flash get 125"))
            lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

LONG liveStandIns()
{
    HMODULE module = GetModuleHandleA("tessel_standins.dll");
    if (!module)
        return 0;
    auto count = reinterpret_cast<LONG(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(module, "StandInLiveObjects")));
    return count ? count() : -1;
}

// Runs the thread's messages through the Flash pane's filter, as the main window's loop
// does, for the time given or until the condition holds.
template <typename Until>
bool pumpFiltered(const NFlash& flash, DWORD timeoutMs, Until until)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (flash.filterMessage(msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (until())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

class HostedPanes : public QuickViewPanes {
protected:
    void SetUp() override
    {
        QuickViewPanes::SetUp();
        log_.reset(new standins::CallLog(folder_ / "calls.log"));
    }
    void TearDown() override
    {
        log_.reset();
        QuickViewPanes::TearDown();
    }
    std::vector<std::string> calls(bool withPolling = true) const { return logLines(log_->path(), withPolling); }
    void clearCalls() const { DeleteFileA(log_->path().c_str()); }
    std::string movie(const std::string& name, const std::string& content) const
    {
        return folder_.file(name, content);
    }

    std::unique_ptr<standins::CallLog> log_;
};

TEST_F(HostedPanes, MediaPaneCreationShowAndHide)
{
    standins::Registration registration(testsupport::programDirectory(), true, true);
    ASSERT_TRUE(registration.ok());
    {
        CMediaPlayer2 media;
        ASSERT_TRUE(media.create(host_, paneRect_, 0xFFFF));
        media.applyStartupProperties();
        media.show(false);
        EXPECT_EQ(GetDlgCtrlID(media.hwnd()), 0xFFFF);
        EXPECT_FALSE(IsWindowVisible(media.hwnd()));
        EXPECT_EQ(GetWindowLongA(media.hwnd(), GWL_STYLE) & (WS_CHILD | WS_BORDER), WS_CHILD);
        ASSERT_NE(media.controlWindow(), nullptr);
        EXPECT_EQ(GetParent(media.controlWindow()), media.hwnd());
        const std::vector<std::string> creation = {
            "media created",        "media site",   "media usermode true", "media initnew",
            "media activate 300x200 frame",
            "media put 23 VT_BOOL false", "media put 22 VT_BOOL false", "media put 1017 VT_BOOL false",
            "media put 1021 VT_BOOL false", "media put 1018 VT_BOOL true"};
        EXPECT_EQ(calls(), creation);

        clearCalls();
        // A name beyond ASCII, in whatever code page the system runs.
        const std::string clip = testsupport::ansiText(L"C:\\clips\\clip \u00E9t\u00E9.mp3");
        media.setFileName(clip);
        media.play();
        media.show(true);
        media.show(false);
        media.halt();
        const std::vector<std::string> use = {"media put 1026 VT_BSTR " + clip, "media call 2001",
                                              "media call 2003"};
        EXPECT_EQ(calls(), use);
        clearCalls();
        media.destroy();
        EXPECT_EQ(media.hwnd(), nullptr);
    }
    const std::vector<std::string> teardown = {"media deactivate", "media close", "media site none", "media released"};
    EXPECT_EQ(calls(), teardown);
    EXPECT_EQ(liveStandIns(), 0);
}

TEST_F(HostedPanes, FlashCreationAndSwitchingMovies)
{
    standins::Registration registration(testsupport::programDirectory(), true, true);
    ASSERT_TRUE(registration.ok());
    NFlash flash;
    ASSERT_EQ(flash.create(host_, paneRect_, 0xFFFF, std::string()), 1);
    flash.show(false);
    EXPECT_EQ(GetWindowLongA(flash.hwnd(), GWL_STYLE) & (WS_CHILD | WS_BORDER), WS_CHILD | WS_BORDER);
    EXPECT_EQ(flash.totalFrames(), -1);
    EXPECT_FALSE(flash.timerRunning());
    RECT client;
    GetClientRect(flash.hwnd(), &client);
    const std::string activate =
        "flash activate " + std::to_string(client.right) + "x" + std::to_string(client.bottom) + " frame";
    const std::vector<std::string> creation = {"flash created", "flash initnew",     "flash site",
                                               "flash usermode true", activate, "flash put 125 VT_BOOL false"};
    EXPECT_EQ(calls(), creation);

    const std::string first = movie("first.swf", "frames=1000");
    const std::string second = movie("second.swf", "frames=20");
    clearCalls();
    flash.loadMovie(first);
    flash.play();
    flash.show(true);
    EXPECT_EQ(flash.totalFrames(), 1000);
    EXPECT_TRUE(flash.timerRunning());
    // Selecting another movie: hidden and stopped, then the new one loaded and played.
    flash.show(false);
    flash.stop();
    EXPECT_FALSE(flash.timerRunning());
    flash.loadMovie(second);
    flash.play();
    flash.show(true);
    EXPECT_TRUE(flash.timerRunning());
    EXPECT_EQ(flash.totalFrames(), 20);
    const std::vector<std::string> use = {"flash put 102 VT_BSTR " + first,  "flash get 124", "flash call 112",
                                          "flash call 113",
                                          "flash put 102 VT_BSTR " + second, "flash get 124", "flash call 112"};
    EXPECT_EQ(calls(false), use);

    // setPlaying starts and stops the timer and tells the control.
    clearCalls();
    flash.setPlaying(false);
    EXPECT_FALSE(flash.timerRunning());
    flash.setPlaying(true);
    EXPECT_TRUE(flash.timerRunning());
    flash.setPlaying(false);
    EXPECT_EQ(calls(false), (std::vector<std::string>{"flash put 125 VT_BOOL false", "flash put 125 VT_BOOL true",
                                                      "flash put 125 VT_BOOL false"}));
    flash.destroy();
    EXPECT_EQ(liveStandIns(), 0);
}

struct EndRow {
    const char* what;
    const char* content;
    int notifyFrame;
    std::vector<UINT> messages; // posted to the parent, in order
    std::vector<WPARAM> parameters;
    bool stillRunning;
};

TEST_F(HostedPanes, TimerTicksTellTheParent)
{
    standins::Registration registration(testsupport::programDirectory(), true, true);
    ASSERT_TRUE(registration.ok());
    const EndRow rows[] = {
        {"end of movie", "frames=4", -1, {NFlash::movieFinishedMessage}, {0}, false},
        {"notify frame, then the end", "frames=5", 2, {NFlash::frameReachedMessage, NFlash::movieFinishedMessage},
         {2, 0}, false},
        {"no frame count: plays on", "no frames here", -1, {}, {}, true},
        {"notify frame without a frame count", "nothing", 0, {NFlash::frameReachedMessage}, {0}, true},
    };
    for (const EndRow& row : rows) {
        SCOPED_TRACE(row.what);
        hostMessages().clear();
        hostParameters().clear();
        NFlash flash;
        ASSERT_EQ(flash.create(host_, paneRect_, 0xFFFF, std::string()), 1);
        flash.loadMovie(movie("movie.swf", row.content));
        flash.setNotifyFrame(row.notifyFrame);
        clearCalls();
        flash.play();
        const bool ended = pumpFiltered(flash, row.stillRunning ? 800 : 10000, [&] {
            return !row.stillRunning && hostMessages().size() >= row.messages.size() &&
                   hostMessages().back() == row.messages.back();
        });
        EXPECT_EQ(ended, !row.stillRunning);
        EXPECT_EQ(hostMessages(), row.messages);
        EXPECT_EQ(hostParameters(), row.parameters);
        EXPECT_EQ(flash.timerRunning(), row.stillRunning);
        const std::vector<std::string> seen = calls();
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.front(), "flash call 112");
        if (!row.stillRunning) {
            // The last tick: the frame, the playing state, then stop.
            ASSERT_GE(seen.size(), 4u);
            EXPECT_EQ(std::vector<std::string>(seen.end() - 3, seen.end()),
                      (std::vector<std::string>{"flash call 128", "flash get 125", "flash call 113"}));
        } else {
            EXPECT_EQ(std::count(seen.begin(), seen.end(), "flash call 113"), 0);
        }
        flash.destroy();
    }
    EXPECT_EQ(liveStandIns(), 0);
}

TEST_F(HostedPanes, RightButtonNeverReachesTheFlashControl)
{
    standins::Registration registration(testsupport::programDirectory(), true, true);
    ASSERT_TRUE(registration.ok());
    NFlash flash;
    ASSERT_EQ(flash.create(host_, paneRect_, 0xFFFF, std::string()), 1);
    HWND control = flash.controlWindow();
    ASSERT_NE(control, nullptr);
    clearCalls();
    PostMessageA(control, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    pumpFiltered(flash, 5000, [&] { return !calls().empty(); });
    EXPECT_EQ(calls(), std::vector<std::string>{"flash lbuttondown"});
    flash.destroy();
}

TEST_F(HostedPanes, TheParentsDestructionReleasesTheControls)
{
    standins::Registration registration(testsupport::programDirectory(), true, true);
    ASSERT_TRUE(registration.ok());
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 390, 290, host_, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    CMediaPlayer2 media;
    NFlash flash;
    ASSERT_TRUE(media.create(parent, paneRect_, 0xFFFF));
    ASSERT_EQ(flash.create(parent, paneRect_, 0xFFFF, movie("m.swf", "frames=9")), 1);
    flash.play();
    EXPECT_EQ(liveStandIns(), 2);
    DestroyWindow(parent);
    EXPECT_EQ(liveStandIns(), 0);
    EXPECT_EQ(media.hwnd(), nullptr);
    EXPECT_EQ(flash.hwnd(), nullptr);
}

TEST_F(HostedPanes, WithoutTheControlsThePanesDoNotExist)
{
    standins::unregisterServer(standins::mediaKey);
    standins::unregisterServer(standins::flashKey);
    CMediaPlayer2 media;
    NFlash flash;
    EXPECT_FALSE(media.create(host_, paneRect_, 0xFFFF));
    EXPECT_EQ(flash.create(host_, paneRect_, 0xFFFF, std::string()), 0);
    EXPECT_FALSE(media.exists());
    EXPECT_FALSE(flash.exists());
    EXPECT_EQ(FindWindowExA(host_, nullptr, "CMediaPlayer2", nullptr), nullptr);
    EXPECT_EQ(FindWindowExA(host_, nullptr, "NFlash", nullptr), nullptr);
    // Calls on a pane that does not exist do nothing.
    media.halt();
    flash.stop();
    EXPECT_TRUE(calls().empty());

    standins::Registration registration(testsupport::programDirectory(), true, true);
    EXPECT_EQ(flash.create(nullptr, paneRect_, 0xFFFF, std::string()), 0);
    EXPECT_TRUE(calls().empty());
}

} // namespace
