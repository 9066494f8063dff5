// The colour table and the two blends every skinned control draws with.

#include "controls/SkinScheme.h"

#include <gtest/gtest.h>

#include <ostream>

namespace skin {
std::ostream& operator<<(std::ostream& out, const Rgb& c)
{
    return out << c.red << ',' << c.green << ',' << c.blue;
}
} // namespace skin

namespace {

using skin::Rgb;

TEST(SkinScheme, HalfwayBlendRoundsTowardsMinusInfinity)
{
    struct Row {
        Rgb from, to, expected;
    };
    const Row rows[] = {
        {{231, 234, 241}, {192, 202, 227}, {211, 218, 234}}, // falling by odd amounts: 231 -> 211
        {{192, 202, 227}, {122, 131, 171}, {157, 166, 199}},
        {{0, 0, 0}, {255, 1, 3}, {127, 0, 1}},               // rising by odd amounts rounds down too
        {{255, 255, 255}, {0, 254, 255}, {127, 254, 255}},   // -255/2 -> -128
        {{10, 10, 10}, {10, 10, 10}, {10, 10, 10}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(skin::halfwayBlend(row.from, row.to), row.expected) << row.from << " to " << row.to;
}

TEST(SkinScheme, DerivedColoursOfTheSchemesTheWindowsUse)
{
    struct Row {
        int scheme;
        Rgb c1, c4, c5, c7, c8, m13, m34;
    };
    const Row rows[] = {
        {1, {231, 234, 241}, {122, 131, 171}, {189, 198, 221}, {30, 60, 104}, {110, 110, 110}, {211, 218, 234}, {157, 166, 199}},
        {5, {224, 223, 227}, {108, 109, 110}, {177, 179, 200}, {0, 0, 0}, {110, 110, 110}, {205, 206, 218}, {147, 149, 160}},
        {0, {131, 153, 177}, {0, 0, 0}, {0, 0, 0}, {180, 220, 255}, {79, 101, 125}, {105, 127, 151}, {39, 50, 62}},
    };
    for (const Row& row : rows) {
        const skin::SchemeColours colours = skin::schemeColours(row.scheme);
        EXPECT_EQ(colours.c[1], row.c1) << row.scheme;
        EXPECT_EQ(colours.c[4], row.c4) << row.scheme;
        EXPECT_EQ(colours.c[5], row.c5) << row.scheme;
        EXPECT_EQ(colours.c[7], row.c7) << row.scheme;
        EXPECT_EQ(colours.c[8], row.c8) << row.scheme;
        EXPECT_EQ(colours.m13, row.m13) << row.scheme;
        EXPECT_EQ(colours.m34, row.m34) << row.scheme;
    }
}

TEST(SkinScheme, OutOfRangeSchemesAndIndexesFallBack)
{
    for (int scheme : {-1, 8, 100})
        EXPECT_EQ(skin::schemeColour(scheme, 1), skin::schemeColour(skin::defaultScheme, 1)) << scheme;
    EXPECT_EQ(skin::schemeColour(1, 9), (Rgb{0, 0, 0}));
    EXPECT_EQ(skin::schemeColour(1, -1), (Rgb{0, 0, 0}));
    EXPECT_TRUE(skin::isScheme(0));
    EXPECT_TRUE(skin::isScheme(7));
    EXPECT_FALSE(skin::isScheme(8));
}

} // namespace
