// Where the information and question boxes put their text and buttons.

#include "controls/MessageBoxLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageBoxLayout, BoxWidthTextRectangleAndButtons)
{
    struct Row {
        const char* what;
        int lineWidth, height;
        bool question;
        int boxWidth, boxHeight, textLeft, textRight, buttonTop, first, second;
    };
    const Row rows[] = {
        // Narrow texts: a 220-pixel box with the text centred, width kept.
        {"short", 100, 14, false, 220, 134, 60, 160, 94, 77, 77},
        {"odd margin rounds down", 151, 14, false, 220, 134, 34, 185, 94, 77, 77},
        {"just below the limit", 159, 14, true, 220, 134, 30, 189, 94, 25, 130},
        // From 160 pixels on, the box is 60 wider than the text, which starts at 30.
        {"at the limit", 160, 14, false, 220, 134, 30, 190, 94, 77, 77},
        {"wide", 300, 14, true, 360, 134, 30, 330, 94, 95, 200},
        // Longer than 440 pixels as one line: wrapped in 440, the box 500 wide.
        {"wrapped", 1500, 56, false, 500, 176, 30, 470, 136, 217, 217},
        {"wrapped question", 441, 28, true, 500, 148, 30, 470, 108, 165, 270},
    };
    for (const Row& row : rows) {
        const MessageBoxLayout l = layoutMessageBox(row.lineWidth, row.height, row.question);
        EXPECT_EQ(l.boxWidth, row.boxWidth) << row.what;
        EXPECT_EQ(l.boxHeight, row.boxHeight) << row.what;
        EXPECT_EQ(l.textLeft, row.textLeft) << row.what;
        EXPECT_EQ(l.textRight, row.textRight) << row.what;
        EXPECT_EQ(l.textTop, 55) << row.what;
        EXPECT_EQ(l.textBottom, row.height + 55) << row.what;
        EXPECT_EQ(l.buttonTop, row.buttonTop) << row.what;
        EXPECT_EQ(l.firstButtonLeft, row.first) << row.what;
        if (row.question) {
            EXPECT_EQ(l.secondButtonLeft, row.second) << row.what;
        }
    }
}

} // namespace
