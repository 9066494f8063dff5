// The skinned push button and check box: their drawing checked by pixels on a memory bitmap
// at the points that tell a right drawing from a wrong one, and their mouse and keyboard
// behaviour through real messages.

#include "SkinTestSupport.h"

#include "controls/CMacButton_win.h"
#include "controls/CMacCheckBox_win.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <windowsx.h>

namespace {

using skintest::Canvas;
using skintest::rgb;

COLORREF colour(int scheme, int index)
{
    return toColorRef(skin::schemeColour(scheme, index));
}

COLORREF m13(int scheme)
{
    return toColorRef(skin::schemeColours(scheme).m13);
}

DRAWITEMSTRUCT drawRequest(HWND control, HDC dc, int width, int height, UINT state)
{
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_BUTTON;
    draw.CtlID = static_cast<UINT>(GetDlgCtrlID(control));
    draw.itemAction = ODA_DRAWENTIRE;
    draw.itemState = state;
    draw.hwndItem = control;
    draw.hDC = dc;
    draw.rcItem = RECT{0, 0, width, height};
    return draw;
}

LPARAM at(int x, int y)
{
    return MAKELPARAM(x, y);
}

class SkinButtonSchemes : public ::testing::TestWithParam<int> {
protected:
    skintest::Host host_;
};

// Not pressed: the face in c1 with its light line, its two shadow lines, the dark frame and
// the ring; the corners left out of a rounded button.
TEST_P(SkinButtonSchemes, FaceRingAndCornersOfARoundedButton)
{
    const int scheme = GetParam();
    CMacButton button;
    ASSERT_TRUE(button.create(host_.hwnd(), 100, "", RECT{0, 0, 60, 22}));
    button.setScheme(scheme);
    Canvas canvas(60, 22);
    DRAWITEMSTRUCT draw = drawRequest(button.hwnd(), canvas.dc(), 60, 22, 0);
    ASSERT_TRUE(button.drawItem(draw));

    struct Probe {
        const char* what;
        int x, y;
        COLORREF expected;
    };
    const Probe probes[] = {
        {"face", 30, 11, colour(scheme, 1)},
        {"frame left", 0, 11, colour(scheme, 4)},
        {"frame bottom", 30, 21, colour(scheme, 4)},
        {"ring left (normal)", 1, 11, colour(scheme, 3)},
        {"light line left", 2, 11, colour(scheme, 0)},
        {"light line top", 30, 2, colour(scheme, 0)},
        {"light pixel inside the corner", 3, 3, colour(scheme, 0)},
        {"middle shadow bottom", 30, 19, m13(scheme)},
        {"middle shadow right", 57, 11, m13(scheme)},
        {"outer shadow bottom (under the ring)", 30, 20, colour(scheme, 3)},
        {"corner pixel on the frame", 0, 2, colour(scheme, 4)},
        {"corner pixel on the frame, bottom right", 57, 21, colour(scheme, 4)},
        {"outside the rounded corner", 0, 0, Canvas::blank},
        {"outside the rounded corner, bottom right", 59, 21, Canvas::blank},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(rgb(canvas.at(p.x, p.y)), rgb(p.expected)) << "scheme " << scheme << ": " << p.what;
}

// Pressed: the face sinks (m13) with the dark lines top and left and the light ones bottom
// and right; the text turns c7.
TEST_P(SkinButtonSchemes, PressedFaceIsSunken)
{
    const int scheme = GetParam();
    CMacButton button;
    ASSERT_TRUE(button.create(host_.hwnd(), 100, "", RECT{0, 0, 60, 22}));
    button.setScheme(scheme);
    Canvas canvas(60, 22);
    DRAWITEMSTRUCT draw = drawRequest(button.hwnd(), canvas.dc(), 60, 22, ODS_SELECTED);
    ASSERT_TRUE(button.drawItem(draw));
    EXPECT_EQ(rgb(canvas.at(30, 11)), rgb(m13(scheme))) << "face";
    EXPECT_EQ(rgb(canvas.at(2, 11)), rgb(colour(scheme, 3))) << "dark line left";
    EXPECT_EQ(rgb(canvas.at(30, 2)), rgb(colour(scheme, 3))) << "dark line top";
    EXPECT_EQ(rgb(canvas.at(30, 19)), rgb(colour(scheme, 1))) << "light line bottom";
    EXPECT_EQ(rgb(canvas.at(57, 11)), rgb(colour(scheme, 1))) << "light line right";
}

INSTANTIATE_TEST_SUITE_P(MainAndBoxSchemes, SkinButtonSchemes, ::testing::Values(1, 5));

TEST(SkinButton, NarrowerThan25PixelsHasSquareCornersWithoutCornerPixels)
{
    skintest::Host host;
    struct Row {
        int width;
        bool rounded;
    };
    for (const Row& row : {Row{24, false}, Row{25, true}}) {
        CMacButton button;
        ASSERT_TRUE(button.create(host.hwnd(), 100, "", RECT{0, 0, row.width, 22}));
        button.setScheme(1);
        Canvas canvas(row.width, 22);
        DRAWITEMSTRUCT draw = drawRequest(button.hwnd(), canvas.dc(), row.width, 22, 0);
        button.drawItem(draw);
        const COLORREF corner = canvas.at(0, 0);
        if (row.rounded) {
            EXPECT_EQ(rgb(corner), rgb(Canvas::blank)) << row.width;
            EXPECT_EQ(rgb(canvas.at(1, 2)), rgb(m13(1))) << "corner pixel, width " << row.width;
        } else {
            EXPECT_EQ(rgb(corner), rgb(colour(1, 4))) << row.width;
            EXPECT_EQ(rgb(canvas.at(1, 2)), rgb(colour(1, 3))) << "plain ring, width " << row.width;
        }
    }
}

TEST(SkinButton, DisabledTextIsEngravedAndEnabledTextIsBlack)
{
    skintest::Host host;
    for (bool disabled : {true, false}) {
        CMacButton button;
        ASSERT_TRUE(button.create(host.hwnd(), 100, "WWW", RECT{0, 0, 80, 22}));
        button.setScheme(1);
        Canvas canvas(80, 22);
        DRAWITEMSTRUCT draw = drawRequest(button.hwnd(), canvas.dc(), 80, 22, disabled ? ODS_DISABLED : 0);
        button.drawItem(draw);
        const COLORREF grey = RGB(130, 130, 130), white = RGB(255, 255, 255), black = RGB(0, 0, 0);
        EXPECT_EQ(canvas.contains(grey), disabled);
        EXPECT_EQ(canvas.contains(black), !disabled);
        if (!disabled)
            continue;
        // The white copy lies one pixel right of and below the grey one: the grey text's
        // last row has white under it.
        int lastGreyRow = -1, column = -1;
        for (int y = 0; y < 22; ++y)
            for (int x = 10; x < 70; ++x)
                if (canvas.at(x, y) == grey) {
                    lastGreyRow = y;
                    column = x;
                }
        ASSERT_GE(lastGreyRow, 0);
        EXPECT_EQ(rgb(canvas.at(column + 1, lastGreyRow + 1)), rgb(white));
    }
}

// Hovering repaints without the face unless the pointer has just come over the button.
TEST(SkinButton, HoverEntersWithTheWholeFaceAndLeavesWithTheRingOnly)
{
    skintest::Host host;
    CMacButton button;
    ASSERT_TRUE(button.create(host.hwnd(), 100, "", RECT{0, 0, 60, 22}));
    button.setScheme(1);
    Canvas canvas(60, 22);
    DRAWITEMSTRUCT draw = drawRequest(button.hwnd(), canvas.dc(), 60, 22, 0);

    SendMessageA(button.hwnd(), WM_MOUSEMOVE, 0, at(30, 11));
    EXPECT_EQ(button.visualState(), CMacButton::hot);
    EXPECT_EQ(GetCapture(), button.hwnd());
    button.drawItem(draw);
    EXPECT_EQ(rgb(canvas.at(30, 11)), rgb(colour(1, 1))) << "entering draws the face";
    EXPECT_EQ(rgb(canvas.at(1, 11)), rgb(colour(1, 6))) << "hot ring";

    // Moving on over the button changes nothing.
    SendMessageA(button.hwnd(), WM_MOUSEMOVE, 0, at(40, 11));
    EXPECT_EQ(button.visualState(), CMacButton::hot);

    SendMessageA(button.hwnd(), WM_MOUSEMOVE, 0, at(70, 11));
    EXPECT_EQ(button.visualState(), CMacButton::normal);
    EXPECT_NE(GetCapture(), button.hwnd());
    canvas.clear();
    button.drawItem(draw);
    EXPECT_EQ(rgb(canvas.at(30, 11)), rgb(Canvas::blank)) << "leaving redraws only the ring";
    EXPECT_EQ(rgb(canvas.at(1, 11)), rgb(colour(1, 3))) << "normal ring";
    // Any later paint draws the whole button again.
    button.drawItem(draw);
    EXPECT_EQ(rgb(canvas.at(30, 11)), rgb(colour(1, 1)));
}

TEST(SkinButton, ClickReachesTheParentAndTheStateFollowsThePress)
{
    skintest::Host host;
    CMacButton button;
    ASSERT_TRUE(button.create(host.hwnd(), 123, "Go", RECT{0, 0, 60, 22}));
    host.takeSentCommands();
    SendMessageA(button.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(5, 5));
    EXPECT_EQ(button.visualState(), CMacButton::pressed);
    SendMessageA(button.hwnd(), WM_LBUTTONUP, 0, at(5, 5));
    EXPECT_EQ(button.visualState(), CMacButton::normal);
    EXPECT_EQ(host.takeSentCommands(), std::vector<WPARAM>{MAKEWPARAM(123, BN_CLICKED)});
    // The owner-drawn style tells the dialog manager it is a button, not a default one.
    const LRESULT code = SendMessageA(button.hwnd(), WM_GETDLGCODE, 0, 0);
    EXPECT_TRUE(code & DLGC_BUTTON);
    EXPECT_FALSE(code & DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongPtrA(button.hwnd(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
}

TEST(SkinButton, TooltipCoversTheButtonWithItsText)
{
    skintest::Host host;
    CMacButton button;
    ASSERT_TRUE(button.create(host.hwnd(), 100, "", RECT{0, 0, 20, 20}));
    button.setTooltip("First");
    HWND tooltip = button.tooltip();
    ASSERT_TRUE(tooltip);
    button.setTooltip("Second");
    EXPECT_EQ(button.tooltip(), tooltip) << "one tooltip per button";
    ASSERT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
    char text[80] = {};
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.lpszText = text;
    ASSERT_TRUE(SendMessageA(tooltip, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_STREQ(text, "Second");
    EXPECT_EQ(reinterpret_cast<HWND>(info.uId), button.hwnd());
    EXPECT_EQ(SendMessageA(tooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 300);
}

// ---- check box ----------------------------------------------------------------------------

class SkinCheckBoxSchemes : public ::testing::TestWithParam<int> {};

TEST_P(SkinCheckBoxSchemes, BoxBevelAndTheOverhangingMark)
{
    const int scheme = GetParam();
    skintest::Host host;
    CMacCheckBox box;
    box.subclass(host.createButton(200, "", BS_AUTOCHECKBOX, 60, 14));
    box.setScheme(scheme);
    box.setCheck(true);
    Canvas canvas(60, 14);
    // The box: x 0..11, y 1..12; the inner square from I = 1, J = 2.
    const int I = 1, J = 2;
    struct Probe {
        const char* what;
        int x, y;
        COLORREF expected;
    };
    const Probe enabled[] = {
        {"frame", 0, 6, colour(scheme, 4)},
        {"raised bevel left", I, J + 6, colour(scheme, 0)},
        {"raised bevel bottom", I + 6, J + 9, m13(scheme)},
        {"bevel corner top right", I + 9, J, colour(scheme, 1)},
        {"bevel corner bottom left", I, J + 9, colour(scheme, 1)},
        {"mark", I + 2, J + 5, colour(scheme, 4)},
        {"mark over the box's top edge", I + 11, J, colour(scheme, 4)},
        {"mark shading outside the box", I + 12, J + 1, m13(scheme)},
        {"mark shading", I + 11, J + 1, colour(scheme, 3)},
    };
    DRAWITEMSTRUCT draw = drawRequest(box.hwnd(), canvas.dc(), 60, 14, 0);
    box.drawItem(draw);
    for (const Probe& p : enabled)
        EXPECT_EQ(rgb(canvas.at(p.x, p.y)), rgb(p.expected)) << "scheme " << scheme << ": " << p.what;

    const Probe disabled[] = {
        {"frame", 0, 6, colour(scheme, 3)},
        {"mark", I + 2, J + 5, colour(scheme, 3)},
        {"no shading outside the box", I + 12, J + 1, Canvas::blank},
    };
    canvas.clear();
    draw.itemState = ODS_DISABLED;
    box.drawItem(draw);
    for (const Probe& p : disabled)
        EXPECT_EQ(rgb(canvas.at(p.x, p.y)), rgb(p.expected)) << "scheme " << scheme << ", disabled: " << p.what;
}

TEST_P(SkinCheckBoxSchemes, PressedBoxIsSunken)
{
    const int scheme = GetParam();
    skintest::Host host;
    CMacCheckBox box;
    box.subclass(host.createButton(200, "", BS_AUTOCHECKBOX, 60, 14));
    box.setScheme(scheme);
    SendMessageA(box.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(3, 3));
    ASSERT_TRUE(box.pressed());
    Canvas canvas(60, 14);
    DRAWITEMSTRUCT draw = drawRequest(box.hwnd(), canvas.dc(), 60, 14, 0);
    box.drawItem(draw);
    EXPECT_EQ(rgb(canvas.at(1, 8)), rgb(m13(scheme))) << "sunken left edge";
    EXPECT_EQ(rgb(canvas.at(7, 11)), rgb(colour(scheme, 0))) << "sunken bottom edge";
    EXPECT_EQ(rgb(canvas.at(3, 7)), rgb(Canvas::blank)) << "unchecked: no mark";
    ReleaseCapture();
}

INSTANTIATE_TEST_SUITE_P(MainAndBoxSchemes, SkinCheckBoxSchemes, ::testing::Values(1, 2));

TEST(SkinCheckBox, TextIsCentredWhenItFitsAndFromTheTopWhenNot)
{
    skintest::Host host;
    struct Row {
        const char* text;
        int width;
        bool fits;
    };
    for (const Row& row : {Row{"Case", 120, true}, Row{"A text far wider than its box", 60, false}}) {
        CMacCheckBox box;
        box.subclass(host.createButton(200, row.text, BS_AUTOCHECKBOX, row.width, 40));
        Canvas canvas(row.width, 40);
        DRAWITEMSTRUCT draw = drawRequest(box.hwnd(), canvas.dc(), row.width, 40, 0);
        box.drawItem(draw);
        const int top = canvas.firstRowWith(RGB(0, 0, 0), 17, row.width);
        ASSERT_GE(top, 0) << row.text;
        if (row.fits)
            EXPECT_GT(top, 10) << row.text;
        else
            EXPECT_LT(top, 6) << row.text;
        EXPECT_EQ(canvas.firstRowWith(RGB(0, 0, 0), 0, 17), -1) << "text left of x = 17: " << row.text;
    }
}

TEST(SkinCheckBox, MouseTogglesAndPostsTheClickAReleaseOutsideDoesNothing)
{
    skintest::Host host;
    CMacCheckBox box;
    box.subclass(host.createButton(201, "Subdir", BS_AUTOCHECKBOX, 60, 14));
    host.takeSentCommands();
    host.takePostedCommands();

    struct Step {
        const char* what;
        LPARAM release;
        bool leaveFirst;
        bool toggles;
    };
    const Step steps[] = {
        {"press and release inside", at(5, 5), false, true},
        {"press, leave and release outside", at(90, 5), true, false},
        {"press, leave, come back and release inside", at(6, 6), true, true},
    };
    for (const Step& step : steps) {
        const bool before = box.getCheck();
        SendMessageA(box.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(5, 5));
        EXPECT_TRUE(box.pressed()) << step.what;
        EXPECT_EQ(GetCapture(), box.hwnd()) << step.what;
        if (step.leaveFirst) {
            SendMessageA(box.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, at(90, 5));
            EXPECT_FALSE(box.pressed()) << step.what;
            SendMessageA(box.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, step.release);
        }
        SendMessageA(box.hwnd(), WM_LBUTTONUP, 0, step.release);
        EXPECT_NE(GetCapture(), box.hwnd()) << step.what;
        EXPECT_FALSE(box.pressed()) << step.what;
        EXPECT_EQ(box.getCheck(), step.toggles ? !before : before) << step.what;
        EXPECT_TRUE(host.takeSentCommands().empty()) << step.what << ": the click is posted, never sent";
        const std::vector<WPARAM> posted = host.takePostedCommands();
        if (step.toggles)
            EXPECT_EQ(posted, std::vector<WPARAM>{MAKEWPARAM(201, BN_CLICKED)}) << step.what;
        else
            EXPECT_TRUE(posted.empty()) << step.what;
    }
}

TEST(SkinCheckBox, SpaceBarTogglesWithoutNotification)
{
    skintest::Host host;
    CMacCheckBox box;
    box.subclass(host.createButton(202, "Case", BS_AUTOCHECKBOX, 60, 14));
    host.takeSentCommands();
    SendMessageA(box.hwnd(), WM_KEYDOWN, VK_SPACE, 0x00390001);
    EXPECT_TRUE(box.pressed());
    EXPECT_FALSE(box.getCheck());
    SendMessageA(box.hwnd(), WM_CHAR, ' ', 0x00390001);
    SendMessageA(box.hwnd(), WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001));
    EXPECT_FALSE(box.pressed());
    EXPECT_TRUE(box.getCheck());
    EXPECT_EQ(SendMessageA(box.hwnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(host.takeSentCommands().empty());
    EXPECT_TRUE(host.takePostedCommands().empty());
    // A key release without its press (the focus came with the key held) toggles nothing.
    SendMessageA(box.hwnd(), WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001));
    EXPECT_TRUE(box.getCheck());
}

TEST(SkinCheckBox, CheckStateMessagesAnswerTheSkinnedState)
{
    skintest::Host host;
    HWND control = host.createButton(203, "QuickView", BS_AUTOCHECKBOX, 60, 14);
    SendMessageA(control, BM_SETCHECK, BST_CHECKED, 0);
    CMacCheckBox box;
    box.subclass(control);
    EXPECT_TRUE(box.getCheck()) << "the state before the take-over is kept";
    struct Row {
        UINT message;
        WPARAM wParam;
        bool checkedAfter;
    };
    const Row rows[] = {
        {BM_SETCHECK, BST_UNCHECKED, false},
        {BM_SETCHECK, BST_CHECKED, true},
        {BM_SETCHECK, BST_CHECKED, true},
        {BM_CLICK, 0, false},
        {BM_CLICK, 0, true},
    };
    host.takeSentCommands();
    for (const Row& row : rows) {
        SendMessageA(control, row.message, row.wParam, 0);
        EXPECT_EQ(SendMessageA(control, BM_GETCHECK, 0, 0), row.checkedAfter ? BST_CHECKED : BST_UNCHECKED);
        EXPECT_EQ(box.getCheck(), row.checkedAfter);
        EXPECT_EQ((SendMessageA(control, BM_GETSTATE, 0, 0) & BST_CHECKED) != 0, row.checkedAfter);
    }
    // A click by message is told before it returns, like the system's buttons tell it.
    EXPECT_EQ(host.takeSentCommands().size(), 2u);
}

TEST(SkinControls, CreatableByTheirClassNames)
{
    registerSkinControlClasses();
    registerSkinControlClasses(); // twice is harmless
    skintest::Host host;
    struct Row {
        const char* className;
        bool checkBox;
    };
    for (const Row& row : {Row{"CMacButton", false}, Row{"CMacCheckBox", true}}) {
        HWND window = CreateWindowExA(0, row.className, "Made by name", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0,
                                      80, 20, host.hwnd(), reinterpret_cast<HMENU>(300), GetModuleHandleA(nullptr),
                                      nullptr);
        ASSERT_TRUE(window) << row.className;
        EXPECT_EQ(GetWindowLongPtrA(window, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW) << row.className;
        Control* control = Control::fromWindow(window);
        ASSERT_TRUE(control) << row.className;
        if (row.checkBox) {
            ASSERT_TRUE(dynamic_cast<CMacCheckBox*>(control));
            SendMessageA(window, BM_SETCHECK, BST_CHECKED, 0);
            EXPECT_EQ(SendMessageA(window, BM_GETCHECK, 0, 0), BST_CHECKED);
        } else {
            ASSERT_TRUE(dynamic_cast<CMacButton*>(control));
        }
        DestroyWindow(window);
        EXPECT_EQ(Control::fromWindow(window), nullptr) << row.className << ": let go with its window";
    }
}

} // namespace
