// The skinned windows as the running program shows them: the main window's frame and caption,
// a message box and the About box, each saved as a screenshot among the test artefacts.

#include "CommandsUiSupport.h"

#include "tests/support/Screenshot.h"
#include "tests/support/TestPictures.h"

#include <gtest/gtest.h>

#include <ole2.h>

#include <cstdlib>

namespace {

using commandsui::TestFolder;

// Scheme 1, the main window's and every box's.
const COLORREF c1 = RGB(231, 234, 241);
const COLORREF c4 = RGB(122, 131, 171);
const COLORREF c5 = RGB(189, 198, 221);

std::string hex(COLORREF c)
{
    char text[16];
    wsprintfA(text, "%d,%d,%d", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

SIZE windowSize(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// The three border lines, dark, lighter, dark, along the middle of each edge.
void expectBorder(const testsupport::Image& shot, const char* what)
{
    const int midX = shot.width / 2, midY = shot.height / 2;
    const int w = shot.width, h = shot.height;
    struct Probe {
        int x, y;
        COLORREF expected;
    };
    const Probe probes[] = {
        {midX, 0, c4}, {midX, 1, c5}, {midX, 2, c4},
        {0, midY, c4}, {1, midY, c5}, {2, midY, c4},
        {w - 1, midY, c4}, {w - 2, midY, c5}, {w - 3, midY, c4},
        {midX, h - 1, c4}, {midX, h - 2, c5}, {midX, h - 3, c4},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(hex(shot.at(p.x, p.y)), hex(p.expected)) << what << " at " << p.x << "," << p.y;
}

// Waits until the window shows its border and two captures a moment apart are the same:
// a loaded machine can take a while to paint every control.
bool waitPainted(HWND window)
{
    testsupport::Image previous;
    return ui::waitFor([&] {
        Sleep(150);
        testsupport::Image shot = testsupport::captureWindow(window);
        const bool settled = shot.width > 4 && shot.at(shot.width / 2, 1) == c5 && shot.pixels == previous.pixels;
        previous = std::move(shot);
        return settled;
    }, 15000);
}

TEST(SkinUi, MainWindowDrawsItsFrameAndIsSavedAsAScreenshot)
{
    TestFolder folder;
    ui::Program app;
    ASSERT_TRUE(app.start(folder.createAndHandOff({"holiday 01.jpg", "holiday 02.jpg", "notes.txt"})))
        << app.lastError();
    app.selectComboItem(IDC_RULE_ACTION, 4); // UPPERCASE
    app.click(IDC_ADD_RULE);
    app.click(IDC_PREVIEW);
    commandsui::selectLines(app, IDC_FILE_LIST, {1});
    app.waitIdle();
    ASSERT_TRUE(waitPainted(app.mainWindow()));
    const testsupport::Image shot = testsupport::captureWindow(app.mainWindow());
    const std::string saved = testsupport::saveArtefact(shot, "main-window");
    EXPECT_FALSE(saved.empty());
    std::printf("screenshot: %s\n", saved.c_str());

    expectBorder(shot, "main window");
    // Every button and check box of the template is drawn by the skin.
    for (int id : {IDC_ADD_FILES, IDC_ADD_DIR, IDC_SUBDIR, IDC_CASE, IDC_EXCLUDE, IDC_SELECT_ALL, IDC_INVERT,
                   IDC_REMOVE_SELECTED, IDC_REMOVE_ALL, IDC_COPY_TO, IDC_MOVE_TO, IDC_LOAD_BATCH, IDC_SAVE_BATCH,
                   IDC_ADD_RULE, IDC_DELETE_RULE, IDC_RULE_UP, IDC_RULE_DOWN, IDC_PREVIEW, IDC_RENAME, IDC_UNDO,
                   IDC_SAVE_LOG, IDC_QUICKVIEW, IDC_SHELL_CONTEXT, IDC_UPDATE, IDC_WEB, IDC_MAIL, IDC_ABOUT,
                   IDC_HELP_BUTTON, IDC_CLOSE_BUTTON, IDC_MINIMIZE_BUTTON}) {
        EXPECT_EQ(GetWindowLongPtrA(app.control(id), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW) << id;
    }
    EXPECT_TRUE(app.isChecked(IDC_QUICKVIEW));
    // The frame's buttons at the right end of the strip.
    RECT client;
    GetClientRect(app.mainWindow(), &client);
    struct FrameButton {
        int id;
        int left;
    };
    for (const FrameButton& b : {FrameButton{IDC_CLOSE_BUTTON, client.right - 21},
                                 FrameButton{IDC_MINIMIZE_BUTTON, client.right - 42}}) {
        RECT r;
        GetWindowRect(app.control(b.id), &r);
        MapWindowPoints(nullptr, app.mainWindow(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, b.left) << b.id;
        EXPECT_EQ(r.top, 3) << b.id;
        EXPECT_EQ(r.right - r.left, 18) << b.id;
        EXPECT_EQ(r.bottom - r.top, 18) << b.id;
    }
    // The body in the scheme's background, below the strip and left of the first group.
    EXPECT_EQ(hex(shot.at(5, 120)), hex(c1));
    // The caption strip shows its picture, not the body colour, across the top.
    EXPECT_NE(hex(shot.at(300, 3 + 12)), hex(c1));
}

// Whether the main window's caption title shows in the colour: text is drawn without
// smoothing, so its pixels are exactly the text colour.
bool captionShows(HWND window, COLORREF colour)
{
    const testsupport::Image shot = testsupport::captureWindow(window);
    for (int y = 3 + 4; y < 3 + 21; ++y)
        for (int x = 3 + 25; x < 3 + 200; ++x)
            if (shot.at(x, y) == colour)
                return true;
    return false;
}

TEST(SkinUi, MessageBoxIsSizedToItsTextAndSavedAsAScreenshot)
{
    const COLORREF activeText = RGB(30, 60, 104), inactiveText = RGB(110, 110, 110);
    ui::Program app;
    ASSERT_TRUE(app.start()) << app.lastError();
    ASSERT_TRUE(ui::waitFor([&] { return captionShows(app.mainWindow(), activeText); }));
    app.clickAsync(IDC_COPY_TO);
    ui::ModalWindow box = app.waitForModal(messageBoxTitle);
    ASSERT_TRUE(box);
    ASSERT_TRUE(waitPainted(box.hwnd()));
    // The main window behind the box is inactive: its title turns grey, drawn again over the
    // strip rather than over the old text.
    EXPECT_TRUE(ui::waitFor([&] { return captionShows(app.mainWindow(), inactiveText); }));
    EXPECT_FALSE(captionShows(app.mainWindow(), activeText));
    const testsupport::Image shot = testsupport::captureWindow(box.hwnd());
    std::printf("screenshot: %s\n", testsupport::saveArtefact(shot, "message-box").c_str());
    expectBorder(shot, "message box");
    EXPECT_EQ(box.staticText(), "Please select the files first.");

    // Centred over the main window.
    RECT boxRect, mainRect;
    GetWindowRect(box.hwnd(), &boxRect);
    GetWindowRect(app.mainWindow(), &mainRect);
    EXPECT_NEAR((boxRect.left + boxRect.right) / 2, (mainRect.left + mainRect.right) / 2, 1);
    EXPECT_NEAR((boxRect.top + boxRect.bottom) / 2, (mainRect.top + mainRect.bottom) / 2, 1);
    // The frame's close button keeps to the box's top-right corner.
    HWND close = GetDlgItem(box.hwnd(), IDCANCEL);
    ASSERT_TRUE(close);
    RECT closeRect;
    GetWindowRect(close, &closeRect);
    EXPECT_EQ(closeRect.right, boxRect.right - 3 - 3);

    ASSERT_TRUE(box.clickButton("&OK"));
    EXPECT_TRUE(box.waitClosed());
    EXPECT_TRUE(ui::waitFor([&] { return captionShows(app.mainWindow(), activeText); }));
    EXPECT_FALSE(captionShows(app.mainWindow(), inactiveText));
}

TEST(SkinUi, AboutBoxIsCentredInTheSchemeAndSavedAsAScreenshot)
{
    ui::Program app;
    ASSERT_TRUE(app.start()) << app.lastError();
    app.clickAsync(IDC_ABOUT);
    ui::ModalWindow box = app.waitForModal("Tesselwork 2 - About...");
    ASSERT_TRUE(box);
    ASSERT_TRUE(waitPainted(box.hwnd()));
    const testsupport::Image shot = testsupport::captureWindow(box.hwnd());
    std::printf("screenshot: %s\n", testsupport::saveArtefact(shot, "about-box").c_str());
    expectBorder(shot, "About box");

    const SIZE size = windowSize(box.hwnd());
    EXPECT_EQ(size.cx, 280);
    EXPECT_EQ(size.cy, 145);
    RECT boxRect, mainRect;
    GetWindowRect(box.hwnd(), &boxRect);
    GetWindowRect(app.mainWindow(), &mainRect);
    EXPECT_NEAR((boxRect.left + boxRect.right) / 2, (mainRect.left + mainRect.right) / 2, 1);

    ASSERT_TRUE(box.clickButton("&Close"));
    EXPECT_TRUE(box.waitClosed());
    EXPECT_TRUE(app.running());
}

} // namespace

namespace {

// A landscape in three bands: sky, sea and sand.
COLORREF landscape(int, int y, int height)
{
    if (y < height / 2)
        return RGB(120, 170, 225);
    return y < height * 3 / 4 ? RGB(30, 90, 150) : RGB(225, 200, 140);
}

} // namespace

// A preview over real photos with the first one in the quick view, saved as the picture of a
// preview: the three result lines name each photo's new name, and the pane shows the photo.
TEST(SkinUi, PreviewWithAPhotoInTheQuickViewIsSavedAsAScreenshot)
{
    OleInitialize(nullptr);
    {
        TestFolder folder("photos");
        std::vector<std::string> photos;
        for (const char* name : {"beach.jpg", "harbour.jpg", "sunset.jpg"}) {
            photos.push_back(folder / name);
            ASSERT_TRUE(testsupport::writeJpegFile(photos.back(), 160, 120,
                                                   [](int x, int y) { return landscape(x, y, 120); }));
        }
        ui::StartOptions options;
        options.handoffPaths = photos;
        options.writeHandoff = true;
        ui::Program app;
        ASSERT_TRUE(app.start(options)) << app.lastError();
        app.selectComboItem(IDC_RULE_ACTION, 0); // PREFIX
        app.setText(IDC_RULE_ARG1, "holiday_");
        app.click(IDC_ADD_RULE);
        app.click(IDC_PREVIEW);
        // The first photo made the current line, as a click on it does.
        HWND list = app.control(IDC_FILE_LIST);
        SendMessageA(list, LB_SETSEL, TRUE, 0);
        SendMessageA(list, LB_SETCARETINDEX, 0, FALSE);
        SendMessageA(app.mainWindow(), WM_COMMAND, MAKEWPARAM(IDC_FILE_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        app.waitIdle();
        ASSERT_TRUE(waitPainted(app.mainWindow()));
        const testsupport::Image shot = testsupport::captureWindow(app.mainWindow());
        const std::string saved = testsupport::saveArtefact(shot, "preview");
        EXPECT_FALSE(saved.empty());
        std::printf("screenshot: %s\n", saved.c_str());

        const std::string results = app.text(IDC_RESULT_LIST);
        for (const char* name : {"holiday_beach.jpg", "holiday_harbour.jpg", "holiday_sunset.jpg"})
            EXPECT_NE(results.find(name), std::string::npos) << results;
        // The photo is centred in the pane (the frame less 4, 16, 4, 4): its sea band lies
        // a quarter of its height below the middle.
        RECT frame;
        GetWindowRect(app.control(IDC_QUICKVIEW_GROUP), &frame);
        RECT window;
        GetWindowRect(app.mainWindow(), &window);
        const int x = (frame.left + 4 + frame.right - 4) / 2 - window.left;
        const int y = (frame.top + 16 + frame.bottom - 4) / 2 + 120 / 8 - window.top;
        const COLORREF seen = shot.at(x, y);
        EXPECT_LT(std::abs(GetRValue(seen) - 30) + std::abs(GetGValue(seen) - 90) + std::abs(GetBValue(seen) - 150), 40)
            << hex(seen) << " at " << x << "," << y;
        app.close();
    }
    OleUninitialize();
}
