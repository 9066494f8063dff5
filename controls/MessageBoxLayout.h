#pragma once
// Where the information and question boxes put their text and buttons, from the text's
// measured size.

struct MessageBoxLayout {
    int boxWidth;
    int boxHeight;
    // The text label, in client coordinates.
    int textLeft;
    int textTop;
    int textRight;
    int textBottom;
    // Both buttons are 65 x 22 at this top edge.
    int buttonTop;
    int firstButtonLeft;
    int secondButtonLeft; // the question box's "&No"; unused in the information box
};

// The text wraps within this width.
constexpr int messageTextMaxWidth = 440;
constexpr int messageButtonWidth = 65;
constexpr int messageButtonHeight = 22;

// singleLineWidth: the text measured as one line; wrappedHeight: its height laid out with
// word breaks in messageTextMaxWidth.
MessageBoxLayout layoutMessageBox(int singleLineWidth, int wrappedHeight, bool question);
