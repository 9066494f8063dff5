#pragma once
// Pictures stored sideways or mirrored, turned upright by their EXIF orientation (tag 274).

#include <cstdint>
#include <vector>

// Orientations 5 to 8 turn the picture a quarter: its width and height trade places.
// Values outside 1..8 mean upright, as for a picture without the tag.
bool orientationSwapsSides(int orientation);

// The pixels (rows top to bottom, width x height) as the orientation says they are to be
// seen; with orientationSwapsSides the result is height pixels wide.
std::vector<std::uint32_t> orientPixels(const std::vector<std::uint32_t>& pixels, int width, int height,
                                        int orientation);
