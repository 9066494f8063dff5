#pragma once
// The self-drawn window frame shared by the main window and the skinned boxes: the caption
// strip with title and icon, the close (and minimize) button, the three-line border, the body
// colours, the caption colours of activation, dragging by the strip and the minimized icon.

#define IDD_SKINBOX             129
#define IDI_CLOSE               131
#define IDI_MINIMIZE            133
#define IDB_CAPTION_SCHEME1     231
#define IDC_CLOSE_BUTTON        2
#define IDC_MINIMIZE_BUTTON     5001

#ifndef RC_INVOKED

#include "controls/SkinLabel_win.h"
#include "controls/CMacButton_win.h"
#include "win/Dialog.h"
#include "win/Handles.h"

#include <string>
#include <vector>

// What the two kinds of skinned window do differently.
struct FrameLayout {
    int stripWidth;          // the caption strip, from the window's top-left corner
    int dragBottom;          // presses above this line (client coordinates) arm a drag
    int captionRightMargin;  // the caption text ends this far from the client's right edge
    bool minimizeButton;
    bool buttonTooltips;     // "Close" and "Minimize" on the frame's buttons
};

// The main window: a 1024-pixel strip, title to 80 pixels from the right, both buttons.
inline constexpr FrameLayout mainWindowFrame = {1024, 25, 80, true, true};
// The boxes: a 1600-pixel strip dragged above y = 24, title to 40 pixels from the right.
inline constexpr FrameLayout skinBoxFrame = {1600, 24, 40, false, false};

// The strip picture of a scheme: bitmap 230 + scheme.
constexpr int captionBitmapBase = 230;
// The frame's buttons: close (the cancel command) and minimize.
constexpr int frameCloseId = 2;
constexpr int frameMinimizeId = 5001;

class SkinDialog : public Dialog {
public:
    SkinDialog(int templateId, const FrameLayout& layout);
    ~SkinDialog() override;

    // The window's scheme: its close button's.
    int scheme() const { return closeButton_.scheme(); }
    // c0 to c8 of the scheme, asked of the close button.
    std::vector<COLORREF> frameColours() const;

    // Draws the border (c4, c5, c4 from the outside in) for a window of this size.
    static void paintBorder(HDC dc, int width, int height, const std::vector<COLORREF>& colours);

    bool dragArmed() const { return dragArmed_; }
    const SkinLabel& captionLabel() const { return captionLabel_; }
    HWND captionStrip() const { return strip_.hwnd(); }
    HBRUSH backgroundBrush() const { return static_cast<HBRUSH>(background_.get()); }

protected:
    // Builds the frame at the end of the window's initialisation: background brush and
    // caption font, strip, caption title, close and minimize buttons, caption icon. The
    // scheme is given to the close button first.
    void setUpFrame(int scheme, HFONT buttonFont, HICON captionIcon);
    // The icon drawn while the window is minimized (none: the system's own handling).
    void setMinimizedIcon(HICON icon) { minimizedIcon_ = icon; }
    // The caption title from the window text again (after the window text changed).
    void refreshCaption();

    INT_PTR onFrameMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

    CMacButton closeButton_;
    CMacButton minimizeButton_;

private:
    // Reflects the colour requests of the strip's own labels to them.
    class CaptionStrip : public Control {
    protected:
        LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    };

    bool inDragArea(LPARAM lParam) const;
    void placeFrameControls();
    void onActivate(bool active);
    bool paintMinimized();

    FrameLayout layout_;
    bool frameReady_ = false;
    bool dragArmed_ = false;
    HICON minimizedIcon_ = nullptr;
    UniqueGdiObject background_;
    UniqueGdiObject captionFont_;
    UniqueGdiObject stripBitmap_;
    CaptionStrip strip_;
    SkinLabel captionLabel_;
    SkinLabel iconLabel_;
};

// A small skinned dialog on the empty template 129: the About box and the message boxes place
// their own controls on it. Scheme 5 until the caller sets the main window's.
class SkinBox : public SkinDialog {
public:
    explicit SkinBox(HWND parent);
    ~SkinBox() override;

    // 0 to 7, before the box is shown.
    void setScheme(int scheme);
    int boxScheme() const { return boxScheme_; }
    // Shows the box modally over its parent; the result given to endModal.
    int run() { return runModal(parent_); }

protected:
    bool onInitDialog() override;
    // The box's own part of the frame (icon, dialog frame, fonts, window region), then the
    // shared frame.
    void setUpBoxFrame();
    // The second font, for the box's own controls.
    HFONT bodyFont() const { return static_cast<HFONT>(bodyFont_.get()); }
    // The window title, which the caption strip shows.
    void setTitle(const std::string& title);
    // Resizes the box and centres it over its owner (or the work area without one).
    void resizeCentred(int width, int height);
    // A window region as large as the window.
    void setWholeWindowRegion();

private:
    HWND parent_;
    int boxScheme_ = skin::defaultScheme;
    UniqueIcon icon_;
    UniqueGdiObject bodyFont_;
};

// A font of the skin: Tahoma, cell height in pixels.
HFONT createTahoma(int height, int weight);

#endif
