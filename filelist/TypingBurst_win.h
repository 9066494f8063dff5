#pragma once
// Typing into the filter box: a burst of keys already waiting in the queue costs one rebuild
// of the file list view, not one per key.

#include "win/QueuedKeys.h"

#include <windows.h>

#include <functional>

// Decides, for each change of one edit's text, whether the rebuild runs now or is owed until
// the burst of typing ends. A change made while the window's own loop dispatches a key of
// that edit, with another key press or character already waiting in the thread's queue, is
// owed; the change of the burst's last key rebuilds. Every other message the loop takes
// settles an owed rebuild before it is dispatched, and so does a short timer when the last
// queued key changed nothing (an arrow, a lone Shift), so a burst always ends in exactly one
// rebuild and no command ever sees a view older than the filter text. A change made by a
// message sent to the edit (automation, tests, the program itself) is never owed.
class TypingBurst {
public:
    TypingBurst() = default;
    TypingBurst(const TypingBurst&) = delete;
    TypingBurst& operator=(const TypingBurst&) = delete;

    // The edit whose changes are watched, the window that gets the fallback timer, and what
    // a rebuild does; the rebuild must call forget() (or settle the state some other way).
    void attach(HWND owner, HWND edit, std::function<void()> rebuild);

    // Every message the window's own loop takes from the queue, before anything else sees it.
    void beforeDispatch(const MSG& msg);
    // The edit's text changed: false when the caller must rebuild now; true when it must
    // not (the rebuild is owed, or already ran for this text), and then does only what
    // cannot wait.
    bool deferChange();
    // Runs an owed rebuild now; nothing happens when none is owed.
    void settle();
    // A rebuild ran (it reads the current text): nothing is owed any more.
    void forget();
    bool owed() const { return owed_; }

    // How long the fallback waits once the queue holds nothing but the timer.
    static constexpr UINT fallbackMs = 30;

private:
    bool isTyping(const MSG& msg) const;

    HWND owner_ = nullptr;
    HWND edit_ = nullptr;
    std::function<void()> rebuild_;
    bool typingInDispatch_ = false;
    bool owed_ = false;
    // A last queued key that changed nothing (an arrow, a lone Shift) leaves the debt to this.
    AfterQueuedKeys fallback_{fallbackMs};
};
