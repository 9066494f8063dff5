#pragma once
// The quick view's two hosted panes: the media player control and the Flash control.

#include "quickview/AxWindow_win.h"

#include <string>

// {22D6F312-B0F6-11D0-94AB-0080C74C7E95}
extern const CLSID mediaPlayerClassId;
// {D27CDB6E-AE6D-11CF-96B8-444553540000}
extern const CLSID flashClassId;

// The media pane: plays audio and video files in the media player control.
class CMediaPlayer2 : public AxWindow {
public:
    // The control in a hidden child window; false (and no window) when it is not
    // installed or cannot be created.
    bool create(HWND parent, const RECT& rect, int id);
    // The start-up properties, in the order the control wants them.
    void applyStartupProperties() const;

    void setFileName(const std::string& path) const;
    void play() const;
    void halt() const;

    // The control's own properties set at creation, by dispatch identifier.
    void setProperty22(bool value) const;
    void setProperty23(bool value) const;
    void setProperty1017(bool value) const;
    void setProperty1018(bool value) const;
    void setProperty1021(bool value) const;
};

// The Flash pane: plays a movie, polls its frame while it plays and tells the parent when
// it ends.
class NFlash : public AxWindow {
public:
    static constexpr UINT_PTR pollTimer = 1000;
    static constexpr UINT pollPeriodMs = 100;
    // Posted to the parent: the notify frame was reached (wParam the frame), and the
    // movie finished.
    static constexpr UINT frameReachedMessage = 30400;
    static constexpr UINT movieFinishedMessage = 30401;

    // 1 on success, 0 when the parent is null or the control cannot be created.
    int create(HWND parent, const RECT& rect, int id, const std::string& moviePath);

    void loadMovie(const std::string& path);
    void play();
    void stop();
    void setPlaying(bool playing);
    bool isPlaying() const;
    int totalFrames() const { return totalFrames_; }
    // The control's current frame; -1 when it cannot tell.
    int currentFrame() const;
    // The frame at which the parent is told; -1 disarms.
    void setNotifyFrame(int frame) { notifyFrame_ = frame; }
    bool timerRunning() const { return timerId_ != 0; }

    // The filtering of a message on its way to the control's window (a descendant of
    // ours): true when it is swallowed. The main window offers it every queued message.
    bool filterMessage(const MSG& message) const;

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void startTimer();
    void killTimer();
    void timerTick();

    UINT_PTR timerId_ = 0;
    int totalFrames_ = -1;
    int notifyFrame_ = -1;
};
