// Colours pasted as text: every accepted spelling with the colour it names,
// and texts that must change nothing.

#include "ColorText.h"

#include <gtest/gtest.h>

namespace {

TEST(ColorText, AcceptedSpellingsAndRefusedTexts)
{
    const struct {
        const char* text;
        bool accepted;
        TColor color;
    } cases[] = {
        {"#C86432", true, MakeColor(0xC8, 0x64, 0x32)},
        {"c86432", true, MakeColor(0xC8, 0x64, 0x32)},
        {"  #c86432\n", true, MakeColor(0xC8, 0x64, 0x32)},
        {"#F0A", true, MakeColor(0xFF, 0x00, 0xAA)},
        {"rgb(200, 100, 50)", true, MakeColor(200, 100, 50)},
        {"RGB(0,255,7)", true, MakeColor(0, 255, 7)},
        {"$F800", true, MakeColor(255, 0, 0)},
        {"0x07E0", true, MakeColor(0, 255, 0)},
        {"0X001f", true, MakeColor(0, 0, 255)},
        {"0A1B2C", true, MakeColor(0x0A, 0x1B, 0x2C)},  // six digits starting with 0 are RRGGBB
        {"", false, 0},
        {"white", false, 0},
        {"#C8643", false, 0},
        {"#C864321", false, 0},
        {"#GGGGGG", false, 0},
        {"F0A", false, 0},
        {"$F80", false, 0},
        {"$F8000", false, 0},
        {"0x7E0", false, 0},
        {"rgb(256, 0, 0)", false, 0},
        {"rgb(1, 2)", false, 0},
        {"rgb(1, 2, 3, 4)", false, 0},
        {"rgb(-1, 2, 3)", false, 0},
        {"rgb(12 3,4,5)", false, 0},
        {"rgb( 12 , 3 ,4 )", true, MakeColor(12, 3, 4)},
        {"rgb(1, 2, 3) x", false, 0},
    };
    for (const auto& c : cases) {
        TColor color = 0x123456;
        EXPECT_EQ(ParseColorText(c.text, color), c.accepted) << '"' << c.text << '"';
        if (c.accepted)
            EXPECT_EQ(color, c.color) << '"' << c.text << '"';
        else
            EXPECT_EQ(color, 0x123456u) << '"' << c.text << "\" changed the colour";
    }
    EXPECT_EQ(ColorToHexText(MakeColor(0xC8, 0x64, 0x0A)), "#C8640A");
}

}  // namespace
