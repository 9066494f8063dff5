// Letting the keys already waiting in the thread's queue through before slow work runs.

#include "win/QueuedKeys.h"

#include <utility>

bool keyInputWaiting()
{
    const UINT flags = PM_NOREMOVE | PM_NOYIELD | PM_QS_INPUT | PM_QS_POSTMESSAGE;
    MSG waiting;
    // A key release alone types nothing: the release of the key just typed is usually
    // waiting already.
    return PeekMessageA(&waiting, nullptr, WM_KEYDOWN, WM_KEYDOWN, flags) ||
           PeekMessageA(&waiting, nullptr, WM_CHAR, WM_CHAR, flags);
}

AfterQueuedKeys::~AfterQueuedKeys()
{
    cancel();
}

void AfterQueuedKeys::attach(HWND owner, std::function<void()> action)
{
    owner_ = owner;
    action_ = std::move(action);
}

void AfterQueuedKeys::arm()
{
    if (!owner_)
        return;
    if (SetTimer(owner_, reinterpret_cast<UINT_PTR>(this), delayMs_, &AfterQueuedKeys::onTimer) != 0)
        armed_ = true;
}

void AfterQueuedKeys::cancel()
{
    if (!armed_)
        return;
    armed_ = false;
    if (owner_ && IsWindow(owner_))
        KillTimer(owner_, reinterpret_cast<UINT_PTR>(this));
}

void CALLBACK AfterQueuedKeys::onTimer(HWND window, UINT, UINT_PTR id, DWORD)
{
    // The timer's identifier is the object that set it; cancel() kills it before the
    // object goes, so a pointer that arrives here is alive.
    auto* self = reinterpret_cast<AfterQueuedKeys*>(id);
    if (!self || self->owner_ != window || keyInputWaiting())
        return;
    self->cancel();
    // No exception may unwind through the system's timer dispatch.
    try {
        if (self->action_)
            self->action_();
    } catch (...) {
    }
}
