// The skinned frame and the message boxes, run as real modal boxes: body colours, caption
// colours of activation, the drag rules, the border, the caption strip, the boxes' sizes and
// their answers to Enter, Escape and the buttons.

#include "SkinTestSupport.h"

#include "controls/Messages.h"
#include "controls/SkinDialog_win.h"
#include "app/resource.h"
#include "controls/SkinMessageBox_win.h"
#include "win/ControlText.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using skintest::Canvas;
using skintest::rgb;

COLORREF colour(int scheme, int index)
{
    return toColorRef(skin::schemeColour(scheme, index));
}

constexpr UINT probeMessage = WM_APP + 7;
constexpr UINT_PTR safetyTimer = 77;

// Runs the probe inside the box's own modal loop once it is shown; a box the probe leaves
// open ends by itself after a while with -99.
template <typename Box>
class Probed : public Box {
public:
    template <typename... Args>
    explicit Probed(std::function<void(Probed&)> probe, Args&&... args)
        : Box(std::forward<Args>(args)...), probe_(std::move(probe))
    {
    }

    using Box::closeButton_;
    using Box::setMinimizedIcon;

protected:
    bool onInitDialog() override
    {
        const bool result = Box::onInitDialog();
        PostMessageA(this->hwnd(), probeMessage, 0, 0);
        SetTimer(this->hwnd(), safetyTimer, 10000, nullptr);
        return result;
    }
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM, bool& handled) override
    {
        handled = false;
        if (message == probeMessage) {
            handled = true;
            probe_(*this);
        } else if (message == WM_TIMER && wParam == safetyTimer) {
            handled = true;
            this->endModal(-99);
        }
        return 0;
    }

private:
    std::function<void(Probed&)> probe_;
};

using ProbedBox = Probed<SkinBox>;

int runBox(int scheme, const std::function<void(ProbedBox&)>& probe)
{
    ProbedBox box(probe, nullptr);
    box.setScheme(scheme);
    return box.run();
}

class SkinFrameSchemes : public ::testing::TestWithParam<int> {};

TEST_P(SkinFrameSchemes, BodyColoursLeaveEditsAndListsWhite)
{
    const int scheme = GetParam();
    runBox(scheme, [&](ProbedBox& box) {
        Canvas canvas(4, 4);
        HWND child = CreateWindowExA(0, "STATIC", "x", WS_CHILD, 0, 0, 10, 10, box.hwnd(), nullptr, nullptr, nullptr);
        struct Row {
            UINT message;
            bool scheme;
        };
        for (const Row& row : {Row{WM_CTLCOLORSTATIC, true}, Row{WM_CTLCOLORBTN, true}, Row{WM_CTLCOLORDLG, true},
                               Row{WM_CTLCOLOREDIT, false}, Row{WM_CTLCOLORLISTBOX, false}}) {
            SetBkColor(canvas.dc(), RGB(1, 2, 3));
            const LRESULT brush = SendMessageA(box.hwnd(), row.message, reinterpret_cast<WPARAM>(canvas.dc()),
                                               reinterpret_cast<LPARAM>(child));
            if (row.scheme) {
                EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), box.backgroundBrush()) << row.message;
                EXPECT_EQ(rgb(GetBkColor(canvas.dc())), rgb(colour(scheme, 1))) << row.message;
            } else {
                EXPECT_NE(reinterpret_cast<HBRUSH>(brush), box.backgroundBrush()) << row.message;
                EXPECT_EQ(rgb(GetBkColor(canvas.dc())), rgb(GetSysColor(COLOR_WINDOW))) << row.message;
            }
        }
        box.endModal(0);
    });
}

TEST_P(SkinFrameSchemes, ActivationTurnsTheCaptionGreyAndBack)
{
    const int scheme = GetParam();
    runBox(scheme, [&](ProbedBox& box) {
        struct Row {
            WPARAM state;
            int colourIndex;
        };
        for (const Row& row : {Row{WA_INACTIVE, 8}, Row{WA_ACTIVE, 7}, Row{WA_INACTIVE, 8}, Row{WA_CLICKACTIVE, 7}}) {
            SendMessageA(box.hwnd(), WM_ACTIVATE, row.state, 0);
            EXPECT_EQ(rgb(box.captionLabel().textColour()), rgb(colour(scheme, row.colourIndex))) << row.state;
        }
        // The title stays the window's text; an ampersand in it shows as itself.
        EXPECT_TRUE(GetWindowLongPtrA(box.captionLabel().hwnd(), GWL_STYLE) & SS_NOPREFIX);
        box.endModal(0);
    });
}

TEST_P(SkinFrameSchemes, BorderIsDarkLighterDark)
{
    const int scheme = GetParam();
    Canvas canvas(40, 30);
    std::vector<COLORREF> colours;
    for (int i = 0; i < 9; ++i)
        colours.push_back(colour(scheme, i));
    SkinDialog::paintBorder(canvas.dc(), 40, 30, colours);
    const COLORREF dark = colour(scheme, 4), light = colour(scheme, 5);
    struct Probe {
        int x, y;
        COLORREF expected;
    };
    const Probe probes[] = {{20, 0, dark},  {20, 1, light},  {20, 2, dark},  {20, 3, Canvas::blank},
                            {0, 15, dark},  {1, 15, light},  {2, 15, dark},  {39, 15, dark},
                            {38, 15, light}, {37, 15, dark}, {20, 29, dark}, {20, 27, dark},
                            {0, 0, dark},   {1, 1, light},   {2, 2, dark}};
    for (const Probe& p : probes)
        EXPECT_EQ(rgb(canvas.at(p.x, p.y)), rgb(p.expected)) << "scheme " << scheme << " at " << p.x << "," << p.y;
}

INSTANTIATE_TEST_SUITE_P(MainAndDefaultSchemes, SkinFrameSchemes, ::testing::Values(1, 5));

TEST(SkinFrame, StripShowsTheSchemePictureOrTheBackground)
{
    HBITMAP picture = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_CAPTION_SCHEME1), IMAGE_BITMAP, 0, 0, 0));
    ASSERT_TRUE(picture);
    Canvas source(1, 1);
    HGDIOBJ old = SelectObject(source.dc(), picture);
    const POINT points[] = {{0, 0}, {150, 12}, {700, 24}};
    COLORREF expected[3];
    for (int i = 0; i < 3; ++i)
        expected[i] = GetPixel(source.dc(), points[i].x, points[i].y);
    SelectObject(source.dc(), old);
    DeleteObject(picture);

    for (int scheme : {1, 5}) {
        runBox(scheme, [&](ProbedBox& box) {
            Canvas canvas(1024, 25);
            SendMessageA(box.captionStrip(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
            for (int i = 0; i < 3; ++i) {
                const COLORREF want = scheme == 1 ? expected[i] : colour(5, 1);
                EXPECT_EQ(rgb(canvas.at(points[i].x, points[i].y)), rgb(want)) << "scheme " << scheme << " point " << i;
            }
            box.endModal(0);
        });
    }
}

TEST(SkinFrame, DragArmsOnTheStripOnlyWithTheLeftButtonAloneAndNotMaximized)
{
    runBox(1, [](ProbedBox& box) {
        HWND w = box.hwnd();
        // Whether a move now hands the window to the system's move (the posted caption press).
        auto moveStartsDrag = [w](WPARAM keys, int x, int y) {
            SendMessageA(w, WM_MOUSEMOVE, keys, MAKELPARAM(x, y));
            MSG msg;
            const bool posted = PeekMessageA(&msg, w, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE) != FALSE;
            if (posted) {
                EXPECT_EQ(msg.wParam, static_cast<WPARAM>(HTCAPTION));
                POINT screen = {x, y};
                ClientToScreen(w, &screen);
                EXPECT_EQ(msg.lParam, MAKELPARAM(screen.x, screen.y)) << "the point in screen coordinates";
            }
            return posted;
        };
        auto press = [w](int x, int y) { SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); };
        auto release = [w](int x, int y) { SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); };

        press(60, 10);
        EXPECT_TRUE(box.dragArmed());
        EXPECT_TRUE(moveStartsDrag(MK_LBUTTON, 62, 11));
        release(62, 11);
        EXPECT_FALSE(box.dragArmed());

        // Shift held disarms; pressing again without it drags.
        press(60, 10);
        EXPECT_FALSE(moveStartsDrag(MK_LBUTTON | MK_SHIFT, 62, 11));
        EXPECT_FALSE(box.dragArmed());
        EXPECT_FALSE(moveStartsDrag(MK_LBUTTON, 63, 11)) << "disarmed until the next press";
        release(63, 11);
        press(60, 10);
        EXPECT_TRUE(moveStartsDrag(MK_LBUTTON, 62, 11));
        release(62, 11);

        // The box's strip arms above y = 24 only.
        press(60, 23);
        EXPECT_TRUE(box.dragArmed());
        release(60, 23);
        press(60, 24);
        EXPECT_FALSE(box.dragArmed());
        EXPECT_FALSE(moveStartsDrag(MK_LBUTTON, 62, 24));
        release(62, 24);

        // Leaving the strip while pressed disarms.
        press(60, 10);
        EXPECT_FALSE(moveStartsDrag(MK_LBUTTON, 60, 40));
        EXPECT_FALSE(box.dragArmed());
        release(60, 40);

        // A maximized window is not dragged.
        ShowWindow(w, SW_MAXIMIZE);
        ASSERT_TRUE(IsZoomed(w));
        press(60, 10);
        EXPECT_FALSE(moveStartsDrag(MK_LBUTTON, 62, 11));
        release(62, 11);
        ShowWindow(w, SW_RESTORE);
        box.endModal(0);
    });
}

TEST(SkinFrame, CloseButtonSitsTopRightInTheBoxSchemeAndCancels)
{
    int closeScheme = -1;
    const int result = runBox(2, [&](ProbedBox& box) {
        RECT client, close;
        GetClientRect(box.hwnd(), &client);
        HWND button = GetDlgItem(box.hwnd(), IDCANCEL);
        ASSERT_EQ(button, box.closeButton_.hwnd());
        GetWindowRect(button, &close);
        MapWindowPoints(nullptr, box.hwnd(), reinterpret_cast<POINT*>(&close), 2);
        EXPECT_EQ(close.left, client.right - 21);
        EXPECT_EQ(close.top, 3);
        EXPECT_EQ(close.right, client.right - 3);
        EXPECT_EQ(close.bottom, 21);
        closeScheme = box.closeButton_.scheme();
        EXPECT_EQ(box.scheme(), 2);
        EXPECT_TRUE(GetWindowLongPtrA(box.hwnd(), GWL_STYLE) & WS_DLGFRAME);
        PostMessageA(button, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(closeScheme, 2);
    EXPECT_EQ(result, IDCANCEL);
}

TEST(SkinFrame, MinimizedWindowDragsItsBigIcon)
{
    HICON icon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512)); // IDI_APPLICATION
    LRESULT answered = 0;
    runBox(1, [&](ProbedBox& box) {
        box.setMinimizedIcon(icon);
        answered = SendMessageA(box.hwnd(), WM_QUERYDRAGICON, 0, 0);
        box.endModal(0);
    });
    EXPECT_EQ(reinterpret_cast<HICON>(answered), icon);
}

// ---- message boxes ----------------------------------------------------------------------

using ProbedMessageBox = Probed<SkinMessageBox>;

struct MessageBoxFacts {
    SIZE window = {0, 0};
    MessageBoxLayout layout = {};
    std::string title;
    std::string labelText;
    bool labelNoPrefix = false;
    RECT label = {};
    RECT first = {}, second = {};
    std::string firstText, secondText;
    bool secondVisible = false;
};

RECT childRect(HWND parent, HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

MessageBoxFacts inspect(const std::string& text, SkinMessageBox::Kind kind)
{
    MessageBoxFacts facts;
    ProbedMessageBox box(
        [&](ProbedMessageBox& b) {
            RECT w;
            GetWindowRect(b.hwnd(), &w);
            facts.window = SIZE{w.right - w.left, w.bottom - w.top};
            facts.layout = b.layout();
            facts.title = windowText(b.hwnd());
            facts.labelText = windowText(b.textLabel());
            facts.labelNoPrefix = (GetWindowLongPtrA(b.textLabel(), GWL_STYLE) & SS_NOPREFIX) != 0;
            facts.label = childRect(b.hwnd(), b.textLabel());
            // Button 2 and the frame's close button share the identifier: the box's own
            // buttons sit low in the box.
            for (HWND child = GetWindow(b.hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                const RECT r = childRect(b.hwnd(), child);
                if (r.top < 40)
                    continue;
                if (GetDlgCtrlID(child) == IDOK) {
                    facts.first = r;
                    facts.firstText = windowText(child);
                } else if (GetDlgCtrlID(child) == IDCANCEL) {
                    facts.second = r;
                    facts.secondText = windowText(child);
                    facts.secondVisible = IsWindowVisible(child) != FALSE;
                }
            }
            b.endModal(0);
        },
        nullptr, text, kind);
    box.setScheme(1);
    box.run();
    return facts;
}

TEST(SkinMessageBox, SizesToShortLongAndMultiLineTexts)
{
    const MessageBoxFacts shortText = inspect("Done.", SkinMessageBox::information);
    const int lineHeight = shortText.layout.textBottom - shortText.layout.textTop;
    ASSERT_GT(lineHeight, 8);
    EXPECT_EQ(shortText.window.cx, 220);
    EXPECT_EQ(shortText.window.cy, lineHeight + 120);
    const int width = shortText.label.right - shortText.label.left;
    EXPECT_EQ(shortText.label.left, (220 - width) / 2) << "centred";
    EXPECT_EQ(shortText.label.top, 55);
    EXPECT_EQ(shortText.title, "Message");
    EXPECT_EQ(shortText.labelText, "Done.");
    EXPECT_EQ(shortText.firstText, "&OK");
    EXPECT_EQ(shortText.first.left, (220 - 65) / 2);
    EXPECT_EQ(shortText.first.top, lineHeight + 80);
    EXPECT_EQ(shortText.first.right - shortText.first.left, 65);
    EXPECT_EQ(shortText.first.bottom - shortText.first.top, 22);
    EXPECT_FALSE(shortText.secondVisible);

    std::string longText;
    for (int i = 0; i < 12; ++i)
        longText += "a rather long message ";
    const MessageBoxFacts wrapped = inspect(longText, SkinMessageBox::information);
    EXPECT_EQ(wrapped.window.cx, 500);
    EXPECT_EQ(wrapped.label.left, 30);
    EXPECT_EQ(wrapped.label.right, 470);
    EXPECT_GE(wrapped.layout.textBottom - wrapped.layout.textTop, 3 * lineHeight) << "wrapped over lines";
    EXPECT_EQ(wrapped.window.cy, wrapped.layout.textBottom - 55 + 120);

    const MessageBoxFacts lines = inspect("First line\r\nSecond line\r\nThird line", SkinMessageBox::question);
    EXPECT_EQ(lines.layout.textBottom - lines.layout.textTop, 3 * lineHeight);
    EXPECT_EQ(lines.window.cy, 3 * lineHeight + 120);
    EXPECT_EQ(lines.title, "Please select");
}

TEST(SkinMessageBox, QuestionButtonsAndAnAmpersandShown)
{
    const MessageBoxFacts facts = inspect("Copy & move the files to the folder you chose?", SkinMessageBox::question);
    const int w = facts.window.cx;
    ASSERT_GE(w, 220);
    EXPECT_EQ(facts.firstText, "&Yes");
    EXPECT_EQ(facts.secondText, "&No");
    EXPECT_TRUE(facts.secondVisible);
    EXPECT_EQ(facts.first.left, (w - 170) / 2);
    EXPECT_EQ(facts.second.left, (w - 170) / 2 + 105);
    EXPECT_EQ(facts.second.top, facts.first.top);
    EXPECT_EQ(facts.labelText, "Copy & move the files to the folder you chose?");
    EXPECT_TRUE(facts.labelNoPrefix) << "an ampersand shows as itself";
}

TEST(SkinMessageBox, AnswersOfEnterEscapeCloseAndTheButtons)
{
    struct Row {
        const char* what;
        std::function<void(ProbedMessageBox&)> act;
        int expected;
    };
    auto key = [](WPARAM vk) {
        return [vk](ProbedMessageBox& box) {
            HWND target = GetFocus() ? GetFocus() : box.hwnd();
            PostMessageA(target, WM_KEYDOWN, vk, 1);
            PostMessageA(target, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001));
        };
    };
    auto click = [](const char* text) {
        return [text](ProbedMessageBox& box) {
            for (HWND child = GetWindow(box.hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                if (windowText(child) == text)
                    PostMessageA(child, BM_CLICK, 0, 0);
        };
    };
    const Row rows[] = {
        {"Enter", key(VK_RETURN), IDOK},
        {"Escape", key(VK_ESCAPE), IDCANCEL},
        {"&Yes", click("&Yes"), IDOK},
        {"&No", click("&No"), IDCANCEL},
        {"the frame's close button",
         [](ProbedMessageBox& box) { PostMessageA(box.closeButton_.hwnd(), BM_CLICK, 0, 0); }, IDCANCEL},
    };
    for (const Row& row : rows) {
        ProbedMessageBox box(row.act, nullptr, "Do you want to exit?", SkinMessageBox::question);
        box.setScheme(1);
        EXPECT_EQ(box.run(), row.expected) << row.what;
    }
}

} // namespace
