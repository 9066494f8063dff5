// Typing bursts into a real edit control: keys already waiting in the queue cost one
// rebuild, sent changes rebuild at once, and a burst always ends in exactly one rebuild.

#include "filelist/TypingBurst_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

constexpr int editId = 1004;
constexpr UINT probeMessage = WM_APP + 7;

struct Host;
Host* current = nullptr;

// The owner: the edit's change either rebuilds now or is owed, as the main window does it.
struct Host {
    HWND window = nullptr;
    HWND edit = nullptr;
    TypingBurst burst;
    std::vector<std::string> rebuilds; // the edit's text as each rebuild saw it
    int owedChanges = 0;
    std::vector<std::size_t> rebuildsSeenByProbe;
    std::vector<std::string> viewSeenByProbe;
    // Set: the next change of the edit starts a thread that sends the probe, and waits
    // until the probe is pending, so that it arrives while the change is handled.
    bool sendProbeDuringNextChange = false;
    HANDLE sender = nullptr;

    std::string text() const
    {
        char buffer[256] = "";
        GetWindowTextA(edit, buffer, sizeof buffer);
        return buffer;
    }
    void rebuild()
    {
        burst.forget();
        rebuilds.push_back(text());
    }
};

DWORD WINAPI sendProbe(void* data)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(static_cast<HWND>(data), probeMessage, 0, 0, SMTO_NORMAL, 10000, &result);
    return 0;
}

LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Host* host = current;
    if (host && message == WM_COMMAND && LOWORD(wParam) == editId && HIWORD(wParam) == EN_UPDATE &&
        host->sendProbeDuringNextChange) {
        host->sendProbeDuringNextChange = false;
        host->sender = CreateThread(nullptr, 0, sendProbe, window, 0, nullptr);
        const DWORD start = GetTickCount();
        while (!(HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) && GetTickCount() - start < 10000)
            Sleep(1);
        return 0;
    }
    if (host && message == WM_COMMAND && LOWORD(wParam) == editId && HIWORD(wParam) == EN_CHANGE) {
        if (host->burst.deferChange())
            ++host->owedChanges;
        else
            host->rebuild();
        return 0;
    }
    if (host && message == probeMessage) {
        // As the main window's commands do.
        host->burst.settle();
        host->rebuildsSeenByProbe.push_back(host->rebuilds.size());
        host->viewSeenByProbe.push_back(host->rebuilds.empty() ? std::string() : host->rebuilds.back());
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class TypingBurstTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = hostProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TesselTypingBurstHost";
        RegisterClassA(&wc);
        current = &host;
        host.window = CreateWindowExA(0, wc.lpszClassName, "typing", WS_OVERLAPPEDWINDOW, 0, 0, 300, 100, nullptr,
                                      nullptr, wc.hInstance, nullptr);
        host.edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 200, 20, host.window,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(editId)), wc.hInstance, nullptr);
        ASSERT_TRUE(host.window && host.edit);
        host.burst.attach(host.window, host.edit, [this] { host.rebuild(); });
        drain();
    }
    void TearDown() override
    {
        host.burst.forget();
        DestroyWindow(host.window);
        current = nullptr;
        drain();
    }

    void post(const std::string& characters)
    {
        for (char ch : characters)
            PostMessageA(host.edit, WM_CHAR, static_cast<unsigned char>(ch), 1);
    }
    void postKey(UINT virtualKey)
    {
        PostMessageA(host.edit, WM_KEYDOWN, virtualKey, 1);
        PostMessageA(host.edit, WM_KEYUP, virtualKey, 0xC0000001);
    }
    // The window's own loop: every message is offered to the burst before it is dispatched.
    bool pumpOne()
    {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            return false;
        host.burst.beforeDispatch(msg);
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        return true;
    }
    void drain()
    {
        while (pumpOne()) {
        }
    }
    // Pumps until the condition holds or the time is up (timers need the loop to wait).
    template <typename Condition>
    bool pumpUntil(Condition condition, DWORD timeoutMs)
    {
        const DWORD start = GetTickCount();
        while (!condition()) {
            if (GetTickCount() - start > timeoutMs)
                return false;
            if (!pumpOne())
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        return true;
    }
    // Pumps for a while longer: nothing further may happen.
    void pumpFor(DWORD ms)
    {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            if (!pumpOne())
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }

    Host host;
};

TEST_F(TypingBurstTest, KeysQueuedTogetherCostOneRebuildOfTheLastText)
{
    struct Row {
        const char* typed;
        std::size_t owed;
    };
    const Row rows[] = {{"img_1", 4}, {"ab", 1}, {"x", 0}};
    for (const Row& row : rows) {
        SetWindowTextA(host.edit, "");
        host.rebuilds.clear();
        host.owedChanges = 0;
        post(row.typed);
        drain();
        EXPECT_EQ(host.text(), row.typed);
        EXPECT_EQ(host.rebuilds, std::vector<std::string>{row.typed}) << row.typed;
        EXPECT_EQ(host.owedChanges, static_cast<int>(row.owed)) << row.typed;
        EXPECT_FALSE(host.burst.owed());
        pumpFor(3 * TypingBurst::fallbackMs);
        EXPECT_EQ(host.rebuilds.size(), 1u) << "the fallback rebuilt again after " << row.typed;
    }
}

TEST_F(TypingBurstTest, KeysThatArriveOneByOneRebuildEach)
{
    for (const char* key : {"a", "b", "c"}) {
        post(key);
        drain();
    }
    EXPECT_EQ(host.rebuilds, (std::vector<std::string>{"a", "ab", "abc"}));
    EXPECT_EQ(host.owedChanges, 0);
}

TEST_F(TypingBurstTest, SentChangesRebuildBeforeTheSendingReturns)
{
    // Queued keys wait meanwhile: a sent change is not typing, whatever waits.
    post("zz");
    SendMessageA(host.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("img"));
    SendMessageA(host.edit, EM_SETSEL, 3, 3);
    EXPECT_EQ(host.rebuilds, std::vector<std::string>{"img"});
    SendMessageA(host.edit, WM_CHAR, '_', 1);
    EXPECT_EQ(host.rebuilds, (std::vector<std::string>{"img", "img_"}));
    EXPECT_EQ(host.owedChanges, 0);
    drain();
    EXPECT_EQ(host.rebuilds.back(), "img_zz");
}

TEST_F(TypingBurstTest, ABurstEndingInAKeyThatChangesNothingEndsInOneRebuild)
{
    post("ab");
    postKey(VK_LEFT);
    drain();
    EXPECT_TRUE(host.rebuilds.empty()) << "the arrow key was taken for the end of the typing too early";
    ASSERT_TRUE(pumpUntil([&] { return !host.rebuilds.empty(); }, 5000)) << "the fallback never rebuilt";
    pumpFor(3 * TypingBurst::fallbackMs);
    EXPECT_EQ(host.rebuilds, std::vector<std::string>{"ab"});
    EXPECT_FALSE(host.burst.owed());
}

TEST_F(TypingBurstTest, AnyOtherMessageSeesTheViewOfTheTextTypedSoFar)
{
    post("ab");
    PostMessageA(host.window, probeMessage, 0, 0);
    post("c");
    drain();
    ASSERT_EQ(host.rebuildsSeenByProbe.size(), 1u);
    EXPECT_EQ(host.rebuildsSeenByProbe[0], 1u);
    EXPECT_EQ(host.viewSeenByProbe[0], "ab");
    EXPECT_EQ(host.rebuilds, (std::vector<std::string>{"ab", "abc"}));
}

TEST_F(TypingBurstTest, AMessageSentFromAnotherThreadMidBurstSeesTheTextTypedSoFar)
{
    host.sendProbeDuringNextChange = true;
    post("ab");
    drain();
    ASSERT_TRUE(host.sender);
    while (WaitForSingleObject(host.sender, 0) == WAIT_TIMEOUT) {
        MsgWaitForMultipleObjects(1, &host.sender, FALSE, 100, QS_ALLINPUT);
        drain();
    }
    CloseHandle(host.sender);
    ASSERT_EQ(host.rebuildsSeenByProbe.size(), 1u);
    EXPECT_EQ(host.viewSeenByProbe[0], "a");
    // Settled by the probe, the first key is not rebuilt a second time.
    EXPECT_EQ(host.rebuilds, (std::vector<std::string>{"a", "ab"}));
}

TEST_F(TypingBurstTest, SettleAndForget)
{
    // Nothing owed: settling rebuilds nothing.
    host.burst.settle();
    EXPECT_TRUE(host.rebuilds.empty());
    // Owed, then rebuilt by other means (a click on "Case"): the timer must not rebuild again.
    post("ab");
    ASSERT_TRUE(pumpOne());
    ASSERT_TRUE(host.burst.owed());
    host.rebuild();
    EXPECT_FALSE(host.burst.owed());
    drain();
    pumpFor(3 * TypingBurst::fallbackMs);
    EXPECT_EQ(host.rebuilds, (std::vector<std::string>{"a", "ab"}));
}

TEST(KeyInputWaiting, SeesKeyPressesAndCharactersNotReleasesAndTakesNothing)
{
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(edit);
    struct Row {
        UINT message;
        bool waiting;
    };
    const Row rows[] = {{WM_KEYDOWN, true}, {WM_CHAR, true}, {WM_KEYUP, false}, {WM_SYSKEYUP, false}, {WM_APP, false}};
    for (const Row& row : rows) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        EXPECT_FALSE(keyInputWaiting());
        PostMessageA(edit, row.message, 'A', 1);
        EXPECT_EQ(keyInputWaiting(), row.waiting) << "message " << row.message;
        EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "the look took the message away";
    }
    DestroyWindow(edit);
}

} // namespace
