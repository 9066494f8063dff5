// Our thin Win32 framework when a handler fails with an exception: the modal loop and a
// subclassed control carry on, and no message is handled twice.

#include "app/resource.h"
#include "win/Control.h"
#include "win/Dialog.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>

namespace {

const UINT finishMessage = WM_APP + 1;

// A key whose command fails with an exception, then a message that ends the run.
class FailingKeyDialog : public Dialog {
public:
    FailingKeyDialog() : Dialog(IDD_SKINBOX) {}
    int failed = 0;
    int finished = 0;

protected:
    bool onInitDialog() override
    {
        PostMessageA(hwnd(), WM_KEYDOWN, 'X', 0);
        PostMessageA(hwnd(), finishMessage, 0, 0);
        return true;
    }
    bool preTranslateMessage(MSG& msg) override
    {
        if (msg.message == WM_KEYDOWN && msg.wParam == 'X') {
            ++failed;
            throw std::runtime_error("the command failed");
        }
        if (msg.message == finishMessage) {
            ++finished;
            endModal(7);
            return true;
        }
        return false;
    }
};

TEST(DialogModalLoop, AKeyCommandThatThrowsEndsAndTheLoopGoesOn)
{
    FailingKeyDialog dialog;
    int result = -2;
    EXPECT_NO_THROW(result = dialog.runModal(nullptr));
    EXPECT_EQ(result, 7);
    EXPECT_EQ(dialog.failed, 1);
    EXPECT_EQ(dialog.finished, 1);
}

// A list box whose object fails while adding a line, at a chosen moment.
class FailingList : public Control {
public:
    enum class Fail { never, beforeTheList, afterTheList, afterAnInnerMessage };
    Fail fail = Fail::never;

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != LB_ADDSTRING)
            return defaultProc(message, wParam, lParam);
        switch (fail) {
        case Fail::never:
            return defaultProc(message, wParam, lParam);
        case Fail::beforeTheList:
            throw std::runtime_error("before");
        case Fail::afterTheList:
            defaultProc(message, wParam, lParam);
            throw std::runtime_error("after");
        case Fail::afterAnInnerMessage:
            // A message of its own on the way: its handling is not this message's.
            SendMessageA(hwnd(), LB_GETCOUNT, 0, 0);
            throw std::runtime_error("after another message");
        }
        return 0;
    }
};

TEST(ControlSubclass, AMessageReachesTheControlOnceWhateverItsObjectThrows)
{
    for (FailingList::Fail fail : {FailingList::Fail::never, FailingList::Fail::beforeTheList,
                                   FailingList::Fail::afterTheList, FailingList::Fail::afterAnInnerMessage}) {
        HWND list = CreateWindowExA(0, "LISTBOX", "", WS_POPUP | LBS_HASSTRINGS, 0, 0, 100, 100, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(list, nullptr);
        FailingList control;
        control.attach(list, true);
        control.fail = fail;
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("line"));
        EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 1) << static_cast<int>(fail);
        // The control still answers through its object afterwards.
        control.fail = FailingList::Fail::never;
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("next"));
        EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 2) << static_cast<int>(fail);
        DestroyWindow(list);
    }
}

} // namespace
