#pragma once
// The eight colour schemes of the skinned windows and controls, and the blends drawn between them.

namespace skin {

struct Rgb {
    int red;
    int green;
    int blue;
    friend bool operator==(const Rgb& a, const Rgb& b)
    {
        return a.red == b.red && a.green == b.green && a.blue == b.blue;
    }
    friend bool operator!=(const Rgb& a, const Rgb& b) { return !(a == b); }
};

constexpr int schemeCount = 8;
constexpr int coloursPerScheme = 9;
// The scheme a control or box has until its window gives it its own.
constexpr int defaultScheme = 5;

inline bool isScheme(int scheme)
{
    return scheme >= 0 && scheme < schemeCount;
}

// Colour c<index> (0 to 8) of a scheme (0 to 7).
Rgb schemeColour(int scheme, int index);

// from + floor((to - from) / 2) in each channel: the halfway blend, rounded towards the
// first colour's darker side when the difference is odd and negative.
Rgb halfwayBlend(const Rgb& from, const Rgb& to);

// The colours a skinned control draws with: c0 to c8, m13 (c1 to c3) and m34 (c3 to c4).
struct SchemeColours {
    Rgb c[coloursPerScheme];
    Rgb m13;
    Rgb m34;
};
SchemeColours schemeColours(int scheme);

} // namespace skin
