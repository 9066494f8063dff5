// The quick view in the real window: which pane shows which file, the panes' rectangle,
// the QuickView switch, and the media and Flash panes through the stand-in controls
// (registered in the test prefix for the tests that want them).

#include "CommandsUiSupport.h"

#include "tests/standins/StandInRegistration.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TestPictures.h"

#include <gtest/gtest.h>

#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

RECT rectIn(HWND parent, HWND child)
{
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool sameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string describe(const RECT& r)
{
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

class QuickViewUi : public ::testing::Test {
protected:
    void SetUp() override { OleInitialize(nullptr); }
    void TearDown() override
    {
        program.close();
        DeleteFileA(ui::Program::handoffPath().c_str());
        OleUninitialize();
    }

    void start(const std::vector<std::string>& paths)
    {
        ui::StartOptions options;
        options.handoffPaths = paths;
        options.writeHandoff = true;
        ASSERT_TRUE(program.start(options)) << program.lastError();
    }

    // Makes the line the current (focused, selected) one and tells the window, as a click does.
    void makeCurrent(int line)
    {
        HWND list = program.control(IDC_FILE_LIST);
        SendMessageA(list, LB_SETSEL, FALSE, -1);
        SendMessageA(list, LB_SETSEL, TRUE, line);
        SendMessageA(list, LB_SETCARETINDEX, line, FALSE);
        SendMessageA(program.mainWindow(), WM_COMMAND, MAKEWPARAM(IDC_FILE_LIST, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
        program.waitIdle();
    }

    // The rectangle the panes share: the frame's, less 4 left, 16 top, 4 right, 4 bottom.
    RECT paneRect() const
    {
        RECT r = rectIn(program.mainWindow(), program.control(IDC_QUICKVIEW_GROUP));
        return RECT{r.left + 4, r.top + 16, r.right - 4, r.bottom - 4};
    }

    HWND picturePane() const
    {
        const RECT expected = paneRect();
        for (HWND child = FindWindowExA(program.mainWindow(), nullptr, "Static", nullptr); child;
             child = FindWindowExA(program.mainWindow(), child, "Static", nullptr)) {
            if (GetDlgCtrlID(child) == 0xFFFF && sameRect(rectIn(program.mainWindow(), child), expected))
                return child;
        }
        return nullptr;
    }
    HWND pane(const char* className) const { return FindWindowExA(program.mainWindow(), nullptr, className, nullptr); }
    bool shown(HWND window) const { return window && IsWindowVisible(window); }

    ui::Program program;
    commandsui::TestFolder folder{"quickview"};
};

TEST_F(QuickViewUi, PicturesShowByTheirLowerCasedExtensionOnly)
{
    const std::string photo = folder / "PHOTO.JPG";
    ASSERT_TRUE(testsupport::writeJpegFile(photo, 64, 48, [](int, int) { return RGB(200, 40, 40); }));
    const std::string jpegBytes = testsupport::readFile(photo);
    const std::string jpe = folder.file("photo.jpe", jpegBytes);
    folder.folder("a.b");
    const std::string dotted = folder.file("a.b\\file", jpegBytes);
    const std::string gif = folder.file("Anim.Gif", jpegBytes); // decoded by content: it shows
    start({photo, jpe, dotted, gif});

    HWND picture = picturePane();
    ASSERT_NE(picture, nullptr) << "no picture pane on " << describe(paneRect());
    const struct {
        int line;
        bool shows;
    } rows[] = {{0, true}, {1, false}, {2, false}, {3, true}, {1, false}, {0, true}};
    for (const auto& row : rows) {
        makeCurrent(row.line);
        EXPECT_EQ(shown(picture), row.shows) << program.lines(IDC_FILE_LIST)[static_cast<std::size_t>(row.line)];
    }
    // Without the controls (not registered) the hosted panes do not exist.
    EXPECT_EQ(pane("NFlash"), nullptr);
    EXPECT_EQ(pane("CMediaPlayer2"), nullptr);

    // The arrow key moves the current line the same way.
    ASSERT_TRUE(commandsui::focus(program, IDC_FILE_LIST));
    commandsui::press(program, {VK_DOWN});
    EXPECT_TRUE(ui::waitFor([&] { return !shown(picture); }, 5000)) << "photo.jpe after the arrow key";
    // Keys pressed faster than pictures decode: the file the last one lands on shows.
    commandsui::press(program, {VK_DOWN});
    commandsui::press(program, {VK_DOWN});
    commandsui::press(program, {VK_UP});
    commandsui::press(program, {VK_DOWN});
    EXPECT_TRUE(ui::waitFor([&] {
        return SendMessageA(program.control(IDC_FILE_LIST), LB_GETCARETINDEX, 0, 0) == 3 && shown(picture);
    }, 5000)) << "Anim.Gif after four keys";
}

TEST_F(QuickViewUi, MediaAndMoviesShowNothingWithoutTheControls)
{
    const std::string clip = folder.file("clip.mp2v", "not a clip");
    const std::string movie = folder.file("movie.SWF", "frames=5");
    const std::string photo = folder / "p.jpg";
    ASSERT_TRUE(testsupport::writeJpegFile(photo, 16, 16, [](int, int) { return RGB(0, 0, 0); }));
    start({photo, clip, movie});
    HWND picture = picturePane();
    ASSERT_NE(picture, nullptr);
    for (int line : {0, 1, 2, 0, 2}) {
        makeCurrent(line);
        EXPECT_EQ(shown(picture), line == 0) << line;
        EXPECT_TRUE(program.running());
        EXPECT_FALSE(program.findModal()) << "no message";
    }
}

TEST_F(QuickViewUi, SwitchMovesTheFileListAndTheFrame)
{
    const std::string photo = folder / "p.jpg";
    ASSERT_TRUE(testsupport::writeJpegFile(photo, 16, 16, [](int, int) { return RGB(0, 0, 0); }));
    start({photo});
    makeCurrent(0);
    HWND main = program.mainWindow();
    HWND frame = program.control(IDC_QUICKVIEW_GROUP);
    HWND group = program.control(IDC_FILE_LIST_GROUP);
    HWND list = program.control(IDC_FILE_LIST);
    HWND picture = picturePane();
    ASSERT_NE(picture, nullptr);
    const RECT q = rectIn(main, frame);
    const RECT g0 = rectIn(main, group);
    const RECT l0 = rectIn(main, list);
    ASSERT_TRUE(shown(picture));

    program.setChecked(IDC_QUICKVIEW, false);
    RECT client;
    GetClientRect(main, &client);
    const RECT g1 = rectIn(main, group);
    const RECT l1 = rectIn(main, list);
    EXPECT_FALSE(IsWindowVisible(frame));
    EXPECT_FALSE(shown(picture));
    EXPECT_TRUE(sameRect(g1, RECT{g0.left, g0.top, client.right - 12, g0.bottom})) << describe(g1);
    EXPECT_TRUE(sameRect(l1, RECT{l0.left, l0.top, client.right - 17, l0.bottom})) << describe(l1);
    // Switched off, selection changes show nothing.
    makeCurrent(0);
    EXPECT_FALSE(shown(picture));

    program.setChecked(IDC_QUICKVIEW, true);
    const RECT g2 = rectIn(main, group);
    const RECT l2 = rectIn(main, list);
    EXPECT_TRUE(IsWindowVisible(frame));
    EXPECT_TRUE(shown(picture));
    EXPECT_TRUE(sameRect(g2, RECT{g0.left, g0.top, q.left - 3, g0.bottom})) << describe(g2);
    EXPECT_TRUE(sameRect(l2, RECT{l0.left, l0.top, q.left - 8, l0.bottom})) << describe(l2);
}

// ---- pictures through the system's imaging codecs ----

const std::uint32_t opaqueRed = 0xFFDC1E1E;
const std::uint32_t opaqueBlue = 0xFF1E1EDC;
const std::uint32_t opaqueGreen = 0xFF1EC81E;
const std::uint32_t clear = 0x00FFFFFF;

// 100 x 50: the top row of quarters red and see-through, the bottom half blue; drawn
// upside down, mirrored or without its alpha it would show.
std::uint32_t quarters(int x, int y)
{
    if (y >= 25)
        return opaqueBlue;
    return x < 50 ? opaqueRed : clear;
}

bool closeTo(COLORREF a, std::uint32_t argb, int tolerance = 12)
{
    return std::abs(GetRValue(a) - static_cast<int>((argb >> 16) & 0xFF)) <= tolerance &&
           std::abs(GetGValue(a) - static_cast<int>((argb >> 8) & 0xFF)) <= tolerance &&
           std::abs(GetBValue(a) - static_cast<int>(argb & 0xFF)) <= tolerance;
}

std::string hex(COLORREF c)
{
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

// What a picture of width x height at its own size in the middle of the pane shows at
// (x, y) of the picture, and what the pane shows where no picture is.
struct PaneShot {
    testsupport::Image image;
    COLORREF background;
    COLORREF at(int width, int height, int x, int y) const
    {
        return image.at((image.width - width) / 2 + x, (image.height - height) / 2 + y);
    }
    // Every pixel is the background's: nothing was drawn.
    bool blank() const
    {
        return std::all_of(image.pixels.begin(), image.pixels.end(), [&](COLORREF c) { return c == background; });
    }
};

TEST_F(QuickViewUi, CodecPicturesShowUprightWithTheirTransparencyOverThePane)
{
    const std::string png = folder / "shot.png";
    ASSERT_TRUE(testsupport::writePngFile(png, 100, 50, quarters));
    const std::string pngBytes = testsupport::readFile(png);
    const std::string tiff = folder.file("scan.TIF", testsupport::tiffFileBytes(100, 50, 0, quarters));
    const std::string ico = folder.file("app.ico", testsupport::iconFileBytes(32, 32, [](int, int y) {
                                            return y < 16 ? opaqueGreen : clear;
                                        }));
    const std::string truncated = folder.file("cut.png", pngBytes.substr(0, pngBytes.size() / 2));
    const std::string renamed = folder.file("shot.tif", pngBytes);
    // Stored sideways, 50 x 100, with the orientation that turns it clockwise upright.
    const std::string sideways = folder.file("sideways.tiff", testsupport::tiffFileBytes(50, 100, 6, [](int x, int y) {
                                                 return quarters(99 - y, x);
                                             }));
    start({png, tiff, ico, truncated, renamed, sideways});
    HWND picture = picturePane();
    ASSERT_NE(picture, nullptr);

    const auto shoot = [&](int line) {
        makeCurrent(line);
        RECT screen;
        GetWindowRect(picture, &screen);
        // Wine hands a window's drawing to the X server a moment after the paint: the screen
        // is read once two captures a moment apart agree.
        PaneShot shot{testsupport::captureScreen(screen), 0};
        EXPECT_TRUE(ui::waitFor([&] {
            Sleep(150);
            testsupport::Image next = testsupport::captureScreen(screen);
            const bool settled = next.pixels == shot.image.pixels;
            shot.image = std::move(next);
            return settled;
        }, 10000)) << "the pane did not settle";
        shot.background = shot.image.at(1, 1);
        return shot;
    };
    for (int line : {0, 1, 5}) {
        SCOPED_TRACE(program.lines(IDC_FILE_LIST)[static_cast<std::size_t>(line)]);
        ASSERT_TRUE(shown(picture));
        const PaneShot shot = shoot(line);
        EXPECT_TRUE(closeTo(shot.at(100, 50, 10, 10), opaqueRed)) << hex(shot.at(100, 50, 10, 10));
        EXPECT_TRUE(closeTo(shot.at(100, 50, 40, 20), opaqueRed)) << hex(shot.at(100, 50, 40, 20));
        EXPECT_EQ(shot.at(100, 50, 60, 10), shot.background) << hex(shot.at(100, 50, 60, 10));
        EXPECT_EQ(shot.at(100, 50, 95, 20), shot.background) << hex(shot.at(100, 50, 95, 20));
        EXPECT_TRUE(closeTo(shot.at(100, 50, 10, 40), opaqueBlue)) << hex(shot.at(100, 50, 10, 40));
        EXPECT_TRUE(closeTo(shot.at(100, 50, 90, 30), opaqueBlue)) << hex(shot.at(100, 50, 90, 30));
        // Just outside the picture: the pane.
        EXPECT_EQ(shot.at(100, 50, -3, 40), shot.background);
        EXPECT_EQ(shot.at(100, 50, 103, 40), shot.background);
    }
    {
        SCOPED_TRACE("app.ico");
        const PaneShot shot = shoot(2);
        EXPECT_TRUE(closeTo(shot.at(32, 32, 4, 4), opaqueGreen)) << hex(shot.at(32, 32, 4, 4));
        EXPECT_TRUE(closeTo(shot.at(32, 32, 28, 12), opaqueGreen)) << hex(shot.at(32, 32, 28, 12));
        EXPECT_EQ(shot.at(32, 32, 4, 20), shot.background) << hex(shot.at(32, 32, 4, 20));
        EXPECT_EQ(shot.at(32, 32, 28, 30), shot.background) << hex(shot.at(32, 32, 28, 30));
    }
    // A PNG cut in half, and a PNG under a TIFF's name: the pane is shown, with nothing in it.
    for (int line : {3, 4}) {
        SCOPED_TRACE(program.lines(IDC_FILE_LIST)[static_cast<std::size_t>(line)]);
        shoot(0);
        const PaneShot shot = shoot(line);
        EXPECT_TRUE(shown(picture));
        EXPECT_TRUE(shot.blank());
        EXPECT_FALSE(program.findModal());
    }
}

// ---- with the stand-in controls ----

class QuickViewControlsUi : public QuickViewUi {
protected:
    void SetUp() override
    {
        QuickViewUi::SetUp();
        registration.reset(new standins::Registration(ui::testBinDirectory(), true, true));
        ASSERT_TRUE(registration->ok());
        log.reset(new standins::CallLog(folder / "calls.log"));
    }
    void TearDown() override
    {
        QuickViewUi::TearDown();
        log.reset();
        registration.reset();
    }

    // The calls so far, without the Flash pane's polling.
    Lines calls() const
    {
        Lines lines;
        const std::string text = testsupport::readFile(log->path());
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find("\r\n", start);
            if (end == std::string::npos)
                end = text.size();
            const std::string line = text.substr(start, end - start);
            if (line != "flash call 128" && line != "flash get 125")
                lines.push_back(line);
            start = end + 2;
        }
        return lines;
    }
    // The calls after the first `from` ones.
    Lines callsSince(std::size_t from) const
    {
        const Lines all = calls();
        return from < all.size() ? Lines(all.begin() + static_cast<std::ptrdiff_t>(from), all.end()) : Lines();
    }

    std::unique_ptr<standins::Registration> registration;
    std::unique_ptr<standins::CallLog> log;
};

TEST_F(QuickViewControlsUi, CreationShowHideSwitchingAndTheSwitch)
{
    const std::string movie = folder.file("movie.SWF", "frames=100000");
    const std::string clip = folder.file("clip.mp2v", "a clip");
    const std::string other = folder.file("other.swf", "frames=100000");
    start({movie, clip, other});
    HWND flash = pane("NFlash");
    HWND media = pane("CMediaPlayer2");
    ASSERT_NE(flash, nullptr);
    ASSERT_NE(media, nullptr);
    const RECT panes = paneRect();
    EXPECT_TRUE(sameRect(rectIn(program.mainWindow(), flash), panes)) << describe(rectIn(program.mainWindow(), flash));
    EXPECT_TRUE(sameRect(rectIn(program.mainWindow(), media), panes));
    ASSERT_NE(picturePane(), nullptr);
    EXPECT_FALSE(shown(flash));
    EXPECT_FALSE(shown(media));
    RECT flashClient;
    RECT mediaClient;
    GetClientRect(flash, &flashClient);
    GetClientRect(media, &mediaClient);
    auto activate = [](const char* name, const RECT& r) {
        return std::string(name) + " activate " + std::to_string(r.right) + "x" + std::to_string(r.bottom) + " frame";
    };
    // Flash first, then the picture pane, then the media pane with its start-up properties.
    const Lines creation = {"flash created", "flash initnew", "flash site", "flash usermode true",
                            activate("flash", flashClient), "flash put 125 VT_BOOL false",
                            "media created", "media site", "media usermode true", "media initnew",
                            activate("media", mediaClient),
                            "media put 23 VT_BOOL false", "media put 22 VT_BOOL false",
                            "media put 1017 VT_BOOL false", "media put 1021 VT_BOOL false",
                            "media put 1018 VT_BOOL true"};
    EXPECT_EQ(calls(), creation);

    std::size_t seen = calls().size();
    makeCurrent(0);
    EXPECT_EQ(callsSince(seen), (Lines{"media call 2003", "flash call 113", "flash put 102 VT_BSTR " + movie,
                                       "flash get 124", "flash call 112"}));
    EXPECT_TRUE(shown(flash));
    EXPECT_FALSE(shown(media));
    EXPECT_FALSE(shown(picturePane()));

    seen = calls().size();
    makeCurrent(2);
    EXPECT_EQ(callsSince(seen), (Lines{"media call 2003", "flash call 113", "flash put 102 VT_BSTR " + other,
                                       "flash get 124", "flash call 112"}));
    EXPECT_TRUE(shown(flash));

    seen = calls().size();
    makeCurrent(1);
    EXPECT_EQ(callsSince(seen),
              (Lines{"media call 2003", "flash call 113", "media put 1026 VT_BSTR " + clip, "media call 2001"}));
    EXPECT_TRUE(shown(media));
    EXPECT_FALSE(shown(flash));

    // Off halts the playing clip; on starts it again from the file.
    seen = calls().size();
    program.setChecked(IDC_QUICKVIEW, false);
    EXPECT_EQ(callsSince(seen), (Lines{"media call 2003", "flash call 113"}));
    EXPECT_FALSE(shown(media));
    seen = calls().size();
    program.setChecked(IDC_QUICKVIEW, true);
    EXPECT_EQ(callsSince(seen),
              (Lines{"media call 2003", "flash call 113", "media put 1026 VT_BSTR " + clip, "media call 2001"}));
    EXPECT_TRUE(shown(media));

    // Closing the window releases both controls.
    seen = calls().size();
    ASSERT_TRUE(program.close());
    const Lines closing = callsSince(seen);
    for (const char* line : {"flash released", "media released"})
        EXPECT_NE(std::find(closing.begin(), closing.end(), line), closing.end()) << line;
}

TEST_F(QuickViewControlsUi, MovieEndsByItselfAndRightClicksAreSwallowed)
{
    const std::string movie = folder.file("short.swf", "frames=5");
    start({movie});
    makeCurrent(0);
    HWND flash = pane("NFlash");
    ASSERT_NE(flash, nullptr);
    ASSERT_TRUE(shown(flash));
    // Five polls later the movie is at its last frame: the pane stops it on its own.
    EXPECT_TRUE(ui::waitFor([&] {
        const Lines all = calls();
        return !all.empty() && all.back() == "flash call 113" &&
               std::find(all.begin(), all.end(), "flash call 112") != all.end();
    })) << "the movie was not stopped at its end";

    HWND control = FindWindowExA(flash, nullptr, nullptr, nullptr);
    ASSERT_NE(control, nullptr);
    const std::size_t seen = calls().size();
    PostMessageA(control, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(4, 4));
    PostMessageA(control, WM_RBUTTONUP, 0, MAKELPARAM(4, 4));
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    EXPECT_TRUE(ui::waitFor([&] { return !callsSince(seen).empty(); }, 5000));
    EXPECT_EQ(callsSince(seen), Lines{"flash lbuttondown"});
    EXPECT_FALSE(program.findModal());
}

} // namespace
