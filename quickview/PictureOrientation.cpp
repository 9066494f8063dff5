// The eight EXIF orientations as mappings from a shown pixel back to the stored one.

#include "quickview/PictureOrientation.h"

bool orientationSwapsSides(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

std::vector<std::uint32_t> orientPixels(const std::vector<std::uint32_t>& pixels, int width, int height,
                                        int orientation)
{
    if (orientation < 2 || orientation > 8 || width <= 0 || height <= 0)
        return pixels;
    const bool swap = orientationSwapsSides(orientation);
    const int shownWidth = swap ? height : width;
    const int shownHeight = swap ? width : height;
    std::vector<std::uint32_t> shown(pixels.size());
    for (int y = 0; y < shownHeight; ++y) {
        for (int x = 0; x < shownWidth; ++x) {
            int sx = x;
            int sy = y;
            switch (orientation) {
            case 2: sx = width - 1 - x; break;                        // mirrored left to right
            case 3: sx = width - 1 - x; sy = height - 1 - y; break;   // upside down
            case 4: sy = height - 1 - y; break;                       // mirrored top to bottom
            case 5: sx = y; sy = x; break;                            // transposed
            case 6: sx = y; sy = height - 1 - x; break;               // to be turned clockwise
            case 7: sx = width - 1 - y; sy = height - 1 - x; break;   // transversed
            case 8: sx = width - 1 - y; sy = x; break;                // to be turned anticlockwise
            }
            shown[static_cast<std::size_t>(y) * shownWidth + x] = pixels[static_cast<std::size_t>(sy) * width + sx];
        }
    }
    return shown;
}
