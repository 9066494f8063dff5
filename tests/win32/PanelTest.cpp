// The window's panel chain and the panels' key tables: which panel hears a message, and which
// key presses reach a handler.

#include "tests/support/TestWindows.h"
#include "win/Handles.h"
#include "win/Panel.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

// A panel that takes the commands of one control, notes every message offered, and binds
// Ctrl+K anywhere and Delete in list box 7.
class NotingPanel : public Panel {
public:
    NotingPanel(char name, int takenId, std::string& heard) : name_(name), takenId_(takenId), heard_(heard) {}

    bool onCommand(int id, int) override
    {
        heard_ += name_;
        return id == takenId_;
    }
    bool translateKey(const MSG& msg) override
    {
        heard_ += name_;
        return dispatchKey(*this, dialog(), keys, msg);
    }
    void onDestroy() override { heard_ += name_; }

    void onControlK() { heard_ += "k"; }
    void onDelete() { heard_ += "d"; }

private:
    static const KeyBinding<NotingPanel> keys[];
    char name_;
    int takenId_;
    std::string& heard_;
};

const KeyBinding<NotingPanel> NotingPanel::keys[] = {
    {'K', true, 0, &NotingPanel::onControlK},
    {VK_DELETE, false, 7, &NotingPanel::onDelete},
    {0, false, 0, nullptr},
};

TEST(PanelChain, AMessageGoesAlongTheChainUntilAPanelTakesIt)
{
    struct Row {
        int command;
        bool taken;
        const char* heard;
    };
    const Row rows[] = {
        {1, true, "a"},   // the first panel's control: the second never hears it
        {2, true, "ab"},  // the second panel's control
        {3, false, "ab"}, // nobody's
    };
    for (const Row& row : rows) {
        std::string heard;
        NotingPanel first('a', 1, heard);
        NotingPanel second('b', 2, heard);
        PanelChain chain({&first, &second});
        EXPECT_EQ(chain.onCommand(row.command, BN_CLICKED), row.taken) << row.command;
        EXPECT_EQ(heard, row.heard) << row.command;
    }
    std::string heard;
    NotingPanel first('a', 1, heard);
    NotingPanel second('b', 2, heard);
    PanelChain chain({&first, &second});
    chain.onDestroy();
    EXPECT_EQ(heard, "ab") << "every panel hears the window's end";
}

LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

void holdKeys(bool control, bool alt)
{
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_CONTROL] = control ? 0x80 : 0;
    state[VK_MENU] = alt ? 0x80 : 0;
    SetKeyboardState(state);
}

TEST(PanelKeys, AKeyReachesItsHandlerOnlyWithItsModifiersAndFocus)
{
    UniqueWindow host(testsupport::createHostWindow("TesselPanelKeysHost", hostProcedure, 200, 200));
    ASSERT_TRUE(host);
    HWND list = testsupport::createListBox(host.get(), 7, WS_CHILD | WS_VISIBLE, 0, 0, 100, 100);
    HWND other = testsupport::createListBox(host.get(), 8, WS_CHILD | WS_VISIBLE, 0, 100, 100, 100);
    ASSERT_TRUE(list && other);

    struct Row {
        WPARAM key;
        bool control;
        bool alt;
        HWND* focus;
        const char* heard; // the panel's name, then its handler's mark when it ran
    };
    const Row rows[] = {
        {'K', true, false, &other, "ak"},
        {'K', false, false, &other, "a"},      // without Control
        {'K', true, true, &other, "a"},        // AltGr types a letter
        {VK_DELETE, false, false, &list, "ad"},
        {VK_DELETE, true, false, &list, "ad"}, // whatever else is held
        {VK_DELETE, false, false, &other, "a"}, // another control has the focus
    };
    for (const Row& row : rows) {
        std::string heard;
        NotingPanel panel('a', 0, heard);
        panel.attach(host.get());
        holdKeys(row.control, row.alt);
        MSG msg = {*row.focus, WM_KEYDOWN, row.key, 0, 0, {0, 0}};
        EXPECT_EQ(panel.translateKey(msg), std::string(row.heard).size() > 1) << row.heard;
        EXPECT_EQ(heard, row.heard) << "key " << row.key << " control " << row.control << " alt " << row.alt;
    }
    holdKeys(false, false);
}

} // namespace
