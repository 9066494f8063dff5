#pragma once
// The skinned check box: a 12 x 12 bevelled box in a colour scheme with a check mark that
// overhangs its top-right corner. It keeps its own check state and answers BM_GETCHECK and
// BM_SETCHECK with it, since an owner-drawn button keeps none.

#include "controls/SkinControl_win.h"

class CMacCheckBox : public SkinControl {
public:
    CMacCheckBox();

    // Takes over an existing check box, its check state included: owner drawing from now
    // on, other styles unchanged.
    void subclass(HWND checkBox);

    void setCheck(bool checked);
    bool getCheck() const { return checked_; }
    bool pressed() const { return pressed_; }

    bool drawItem(DRAWITEMSTRUCT& draw) override;

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The box with 2 more pixels to the right for the overhanging mark.
    void invalidateBox();
    void notifyParent(bool post);
    void onButtonDown();

    bool pressed_ = false;
    bool checked_ = false;
    // Where the space bar went down on the box: only its release toggles.
    bool spacePressed_ = false;
};
