// The message boxes' layout arithmetic.

#include "controls/MessageBoxLayout.h"

#include <algorithm>

MessageBoxLayout layoutMessageBox(int singleLineWidth, int wrappedHeight, bool question)
{
    MessageBoxLayout layout = {};
    const int width = std::min(singleLineWidth, messageTextMaxWidth);
    layout.textTop = 55;
    layout.textBottom = wrappedHeight + 55;
    if (width >= 160) {
        layout.boxWidth = width + 60;
        layout.textLeft = 30;
    } else {
        // Narrow texts sit centred in a box of a fixed width.
        layout.boxWidth = 220;
        layout.textLeft = (220 - width) / 2;
    }
    layout.textRight = layout.textLeft + width;
    layout.boxHeight = wrappedHeight + 120;
    layout.buttonTop = wrappedHeight + 80;
    if (question) {
        const int gap = (layout.boxWidth - 170) / 2;
        layout.firstButtonLeft = gap;
        layout.secondButtonLeft = gap + 105;
    } else {
        layout.firstButtonLeft = (layout.boxWidth - messageButtonWidth) / 2;
        layout.secondButtonLeft = layout.firstButtonLeft;
    }
    return layout;
}
