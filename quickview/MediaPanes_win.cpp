// The media and Flash panes: their creation, the calls by dispatch identifier, the Flash
// poll timer and message filtering.

#include "quickview/MediaPanes_win.h"

const CLSID mediaPlayerClassId = {0x22D6F312, 0xB0F6, 0x11D0, {0x94, 0xAB, 0x00, 0x80, 0xC7, 0x4C, 0x7E, 0x95}};
const CLSID flashClassId = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

namespace {

// The media player control's members.
constexpr DISPID mediaFileName = 1026;
constexpr DISPID mediaPlay = 2001;
constexpr DISPID mediaStop = 2003;

// The Flash control's members.
constexpr DISPID flashMovie = 102;
constexpr DISPID flashTotalFrames = 124;
constexpr DISPID flashPlaying = 125;
constexpr DISPID flashPlay = 112;
constexpr DISPID flashStop = 113;
constexpr DISPID flashCurrentFrame = 128;

} // namespace

bool CMediaPlayer2::create(HWND parent, const RECT& rect, int id)
{
    return createControl("CMediaPlayer2", mediaPlayerClassId, WS_CHILD, rect, parent, id);
}

void CMediaPlayer2::applyStartupProperties() const
{
    setProperty23(false);
    setProperty22(false);
    setProperty1017(false);
    setProperty1021(false);
    setProperty1018(true);
}

void CMediaPlayer2::setFileName(const std::string& path) const
{
    putText(mediaFileName, path);
}

void CMediaPlayer2::play() const
{
    callMethod(mediaPlay);
}

void CMediaPlayer2::halt() const
{
    callMethod(mediaStop);
}

void CMediaPlayer2::setProperty22(bool value) const { putBool(22, value); }
void CMediaPlayer2::setProperty23(bool value) const { putBool(23, value); }
void CMediaPlayer2::setProperty1017(bool value) const { putBool(1017, value); }
void CMediaPlayer2::setProperty1018(bool value) const { putBool(1018, value); }
void CMediaPlayer2::setProperty1021(bool value) const { putBool(1021, value); }

int NFlash::create(HWND parent, const RECT& rect, int id, const std::string& moviePath)
{
    if (!parent)
        return 0;
    if (!createControl("NFlash", flashClassId, WS_CHILD | WS_VISIBLE | WS_BORDER, rect, parent, id))
        return 0;
    notifyFrame_ = -1;
    timerId_ = 0;
    setPlaying(false);
    if (!moviePath.empty())
        loadMovie(moviePath);
    else
        totalFrames_ = -1;
    return 1;
}

void NFlash::loadMovie(const std::string& path)
{
    putText(flashMovie, path);
    VARIANT frames;
    if (SUCCEEDED(getProperty(flashTotalFrames, VT_I4, frames)))
        totalFrames_ = frames.lVal;
    else
        totalFrames_ = -1;
    VariantClear(&frames);
}

void NFlash::startTimer()
{
    if (timerId_ == 0 && hwnd())
        timerId_ = SetTimer(hwnd(), pollTimer, pollPeriodMs, nullptr);
}

void NFlash::killTimer()
{
    if (timerId_ != 0) {
        if (hwnd())
            KillTimer(hwnd(), timerId_);
        timerId_ = 0;
    }
}

void NFlash::play()
{
    callMethod(flashPlay);
    startTimer();
}

void NFlash::stop()
{
    killTimer();
    callMethod(flashStop);
}

void NFlash::setPlaying(bool playing)
{
    if (playing)
        startTimer();
    else
        killTimer();
    putBool(flashPlaying, playing);
}

bool NFlash::isPlaying() const
{
    VARIANT playing;
    const bool result = SUCCEEDED(getProperty(flashPlaying, VT_BOOL, playing)) && playing.boolVal != VARIANT_FALSE;
    VariantClear(&playing);
    return result;
}

int NFlash::currentFrame() const
{
    VARIANT raw;
    VariantInit(&raw);
    int frame = -1;
    if (SUCCEEDED(callMethod(flashCurrentFrame, &raw))) {
        VARIANT number;
        VariantInit(&number);
        if (SUCCEEDED(VariantChangeType(&number, &raw, 0, VT_I4)))
            frame = number.lVal;
        VariantClear(&number);
    }
    VariantClear(&raw);
    return frame;
}

void NFlash::timerTick()
{
    const int frame = currentFrame();
    // A frame the control cannot tell is no frame: with an unknown frame count (-1) it
    // would otherwise look like the end of the movie.
    if (frame < 0)
        return;
    HWND parent = GetParent(hwnd());
    if (notifyFrame_ != -1 && frame >= notifyFrame_) {
        notifyFrame_ = -1;
        PostMessageA(parent, frameReachedMessage, static_cast<WPARAM>(frame), 0);
    }
    if (isPlaying() && frame == totalFrames_) {
        stop();
        PostMessageA(parent, movieFinishedMessage, 0, 0);
    }
}

bool NFlash::filterMessage(const MSG& message) const
{
    // Messages to our own window are filtered by its window procedure.
    if (!hwnd() || !message.hwnd || message.hwnd == hwnd() || !IsChild(hwnd(), message.hwnd))
        return false;
    if (message.message == WM_RBUTTONDOWN)
        return true;
    if (message.message == WM_COMMAND)
        Beep(1000, 10);
    return false;
}

LRESULT NFlash::windowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == pollTimer)
            timerTick();
        break;
    case WM_RBUTTONDOWN:
        return 0;
    case WM_COMMAND:
        Beep(1000, 10);
        break;
    case WM_DESTROY:
        killTimer();
        break;
    default:
        break;
    }
    return defaultProc(message, wParam, lParam);
}
