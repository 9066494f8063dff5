// Bitmap header plausibility: BITMAPFILEHEADER (14 bytes), then a BITMAPCOREHEADER (12) or a
// BITMAPINFOHEADER and its later forms (40 or more), an optional colour table, the rows.

#include "quickview/PictureHeader.h"

namespace {

std::uint32_t u16(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
}

std::uint32_t u32(const unsigned char* p)
{
    return u16(p) | u16(p + 2) << 16;
}

std::int32_t s32(const unsigned char* p)
{
    return static_cast<std::int32_t>(u32(p));
}

constexpr std::uint32_t fileHeaderSize = 14;
constexpr std::uint32_t coreHeaderSize = 12;
constexpr std::uint32_t infoHeaderSize = 40;
constexpr std::uint32_t compressionRgb = 0;
constexpr std::uint32_t compressionRle8 = 1;
constexpr std::uint32_t compressionRle4 = 2;
constexpr std::uint32_t compressionBitfields = 3;

bool bitmapUsable(const unsigned char* head, std::size_t headSize, std::uint64_t fileSize)
{
    if (headSize < fileHeaderSize + 4 || fileSize < fileHeaderSize + coreHeaderSize)
        return false;
    const std::uint64_t dataOffset = u32(head + 10);
    const std::uint32_t infoSize = u32(head + 14);

    std::uint64_t width = 0;
    std::uint64_t height = 0;
    std::uint32_t bitCount = 0;
    std::uint32_t compression = compressionRgb;
    std::uint64_t imageSize = 0;
    std::uint64_t coloursUsed = 0;
    std::uint64_t colourEntrySize = 4;
    if (infoSize == coreHeaderSize) {
        if (headSize < fileHeaderSize + coreHeaderSize)
            return false;
        width = u16(head + 18);
        height = u16(head + 20);
        bitCount = u16(head + 24);
        colourEntrySize = 3;
    } else if (infoSize >= infoHeaderSize) {
        if (headSize < fileHeaderSize + infoHeaderSize)
            return false;
        const std::int32_t w = s32(head + 18);
        const std::int32_t h = s32(head + 22);
        if (w <= 0 || h == 0 || h == INT32_MIN)
            return false;
        width = static_cast<std::uint64_t>(w);
        height = static_cast<std::uint64_t>(h < 0 ? -static_cast<std::int64_t>(h) : h);
        bitCount = u16(head + 28);
        compression = u32(head + 30);
        imageSize = u32(head + 34);
        coloursUsed = u32(head + 46);
    } else {
        return false;
    }
    if (width == 0 || height == 0)
        return false;

    switch (bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32:
        break;
    default:
        return false;
    }
    // The colour table lies between the header and the rows; the reader takes as many
    // entries as the header says (or 2^bits for up to 8 bits per pixel).
    std::uint64_t colours = coloursUsed;
    if (colours == 0 && bitCount <= 8)
        colours = std::uint64_t(1) << bitCount;
    if (colours > 256 && bitCount <= 8)
        return false;
    std::uint64_t tableEnd = fileHeaderSize + std::uint64_t(infoSize) + colours * colourEntrySize;
    if (compression == compressionBitfields && infoSize == infoHeaderSize)
        tableEnd += 12;
    if (tableEnd > fileSize || dataOffset < fileHeaderSize + infoSize || dataOffset > fileSize)
        return false;

    std::uint64_t dataSize = 0;
    if (compression == compressionRgb || compression == compressionBitfields) {
        const std::uint64_t rowBytes = (width * bitCount + 31) / 32 * 4;
        dataSize = rowBytes * height;
    } else if (compression == compressionRle8 || compression == compressionRle4) {
        dataSize = imageSize;
        if (dataSize == 0)
            return false;
    } else {
        // JPEG or PNG inside a bitmap, and unknown schemes: not for a plain bitmap reader.
        return false;
    }
    return dataSize <= fileSize - dataOffset;
}

} // namespace

bool pictureHeaderUsable(const unsigned char* head, std::size_t headSize, std::uint64_t fileSize)
{
    if (headSize == 0 || fileSize == 0)
        return false;
    if (headSize >= 2 && head[0] == 'B' && head[1] == 'M')
        return bitmapUsable(head, headSize, fileSize);
    return true;
}
