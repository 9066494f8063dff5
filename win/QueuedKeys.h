#pragma once
// Letting the keys already waiting in the thread's queue through before slow work runs: the
// filter's rebuild and the quick view's decoding both wait for the end of a burst of keys.

#include <windows.h>

#include <functional>

// True when a key press or a character is waiting in this thread's queue; nothing is taken
// from the queue. Messages sent from other threads may be delivered meanwhile (Wine does).
bool keyInputWaiting();

// True while the key is held down, as the message being handled saw it.
inline bool keyHeld(int virtualKey)
{
    return GetKeyState(virtualKey) < 0;
}

// An action that runs once the queue holds no more keys: from a timer of the owner window,
// which the system sends only when the queue holds nothing else. While keys are still
// waiting when it comes, it waits for the next one.
class AfterQueuedKeys {
public:
    explicit AfterQueuedKeys(UINT delayMs) : delayMs_(delayMs) {}
    ~AfterQueuedKeys();
    AfterQueuedKeys(const AfterQueuedKeys&) = delete;
    AfterQueuedKeys& operator=(const AfterQueuedKeys&) = delete;

    void attach(HWND owner, std::function<void()> action);
    // Sets the timer, afresh when it is set already.
    void arm();
    // Kills the timer; the action does not run.
    void cancel();
    bool armed() const { return armed_; }

private:
    static void CALLBACK onTimer(HWND window, UINT message, UINT_PTR id, DWORD time);

    UINT delayMs_;
    HWND owner_ = nullptr;
    std::function<void()> action_;
    bool armed_ = false;
};
