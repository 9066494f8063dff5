// Typing into the filter box: a burst of keys already waiting in the queue costs one rebuild
// of the file list view, not one per key.

#include "filelist/TypingBurst_win.h"

#include <utility>

void TypingBurst::attach(HWND owner, HWND edit, std::function<void()> rebuild)
{
    owner_ = owner;
    edit_ = edit;
    rebuild_ = std::move(rebuild);
    fallback_.attach(owner, [this] { settle(); });
}

bool TypingBurst::isTyping(const MSG& msg) const
{
    if (!edit_ || msg.hwnd != edit_ || msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST)
        return false;
    // Control with a key (not AltGr, which types letters) gives the window's commands,
    // and they work on the view: it must be up to date before they run.
    return !(msg.message == WM_KEYDOWN && keyHeld(VK_CONTROL) && !keyHeld(VK_MENU));
}

void TypingBurst::beforeDispatch(const MSG& msg)
{
    typingInDispatch_ = isTyping(msg);
    if (owed_ && !typingInDispatch_)
        settle();
}

bool TypingBurst::deferChange()
{
    // A message sent to the edit, even from this thread while a key is dispatched, is
    // rebuilt before it returns; so is any change outside the dispatch of a key.
    if (!typingInDispatch_ || InSendMessage() || !owner_)
        return false;
    // Owed before looking at the queue: the look delivers messages sent from other threads
    // (Wine does), and a command among them finds the debt and settles it first.
    owed_ = true;
    const bool moreTyping = keyInputWaiting();
    if (!owed_)
        return true; // settled meanwhile: the view already shows this text
    if (!moreTyping) {
        owed_ = false;
        return false;
    }
    fallback_.arm();
    return true;
}

void TypingBurst::settle()
{
    if (!owed_)
        return;
    forget();
    if (rebuild_)
        rebuild_();
}

void TypingBurst::forget()
{
    owed_ = false;
    fallback_.cancel();
}
