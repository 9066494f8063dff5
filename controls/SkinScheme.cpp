// The colour table of the skin.

#include "controls/SkinScheme.h"

namespace skin {

namespace {

const Rgb table[schemeCount][coloursPerScheme] = {
    {{193, 204, 217}, {131, 153, 177}, {131, 153, 177}, {79, 101, 125}, {0, 0, 0}, {0, 0, 0}, {255, 255, 255}, {180, 220, 255}, {79, 101, 125}},
    {{255, 255, 255}, {231, 234, 241}, {235, 235, 255}, {192, 202, 227}, {122, 131, 171}, {189, 198, 221}, {255, 255, 255}, {30, 60, 104}, {110, 110, 110}},
    {{255, 255, 255}, {208, 242, 208}, {235, 255, 215}, {156, 215, 156}, {0, 103, 0}, {73, 165, 73}, {200, 255, 100}, {255, 255, 255}, {210, 210, 210}},
    {{255, 255, 255}, {250, 240, 215}, {250, 245, 225}, {250, 197, 113}, {143, 139, 89}, {250, 165, 67}, {200, 255, 100}, {255, 255, 255}, {230, 230, 230}},
    {{255, 255, 255}, {207, 207, 228}, {218, 218, 230}, {173, 173, 221}, {75, 75, 138}, {121, 121, 180}, {228, 228, 240}, {255, 255, 255}, {210, 210, 210}},
    {{255, 255, 255}, {224, 223, 227}, {224, 223, 227}, {187, 189, 210}, {108, 109, 110}, {177, 179, 200}, {250, 200, 100}, {0, 0, 0}, {110, 110, 110}},
    {{255, 255, 255}, {225, 225, 230}, {224, 223, 227}, {165, 183, 225}, {95, 105, 125}, {143, 163, 223}, {225, 235, 255}, {255, 255, 255}, {210, 210, 210}},
    {{255, 255, 255}, {236, 233, 216}, {241, 239, 226}, {190, 204, 151}, {113, 111, 100}, {170, 184, 131}, {250, 200, 100}, {60, 75, 20}, {110, 110, 110}},
};

// Integer halving that rounds towards minus infinity; C++ division rounds towards zero.
int floorHalf(int value)
{
    return value >= 0 ? value / 2 : -((-value + 1) / 2);
}

} // namespace

Rgb schemeColour(int scheme, int index)
{
    if (!isScheme(scheme))
        scheme = defaultScheme;
    if (index < 0 || index >= coloursPerScheme)
        return Rgb{0, 0, 0};
    return table[scheme][index];
}

Rgb halfwayBlend(const Rgb& from, const Rgb& to)
{
    return Rgb{from.red + floorHalf(to.red - from.red), from.green + floorHalf(to.green - from.green),
               from.blue + floorHalf(to.blue - from.blue)};
}

SchemeColours schemeColours(int scheme)
{
    SchemeColours colours;
    for (int i = 0; i < coloursPerScheme; ++i)
        colours.c[i] = schemeColour(scheme, i);
    colours.m13 = halfwayBlend(colours.c[1], colours.c[3]);
    colours.m34 = halfwayBlend(colours.c[3], colours.c[4]);
    return colours;
}

} // namespace skin
