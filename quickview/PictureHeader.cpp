// The per-format headers: where each format keeps its signature and its picture's size, and
// the structural checks that keep a decoder from trusting fields that point outside the file.
// Every walk over segments, boxes or directory entries is bounded, so a hostile file costs
// a few reads at most.

#include "quickview/PictureHeader.h"

#include <algorithm>
#include <cstring>
#include <vector>

std::size_t MemoryPictureBytes::readAt(std::uint64_t offset, unsigned char* out, std::size_t count) const
{
    if (offset >= dataSize_ || offset >= fileSize_)
        return 0;
    const std::uint64_t available = std::min<std::uint64_t>(dataSize_, fileSize_) - offset;
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(count, available));
    std::memcpy(out, data_ + offset, n);
    return n;
}

namespace {

bool readExact(const PictureBytes& bytes, std::uint64_t offset, unsigned char* out, std::size_t count)
{
    return offset <= bytes.size() && count <= bytes.size() - offset && bytes.readAt(offset, out, count) == count;
}

std::uint32_t le16(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
}

std::uint32_t le32(const unsigned char* p)
{
    return le16(p) | le16(p + 2) << 16;
}

std::uint32_t be16(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) << 8 | static_cast<std::uint32_t>(p[1]);
}

std::uint32_t be32(const unsigned char* p)
{
    return be16(p) << 16 | be16(p + 2);
}

std::uint64_t be64(const unsigned char* p)
{
    return static_cast<std::uint64_t>(be32(p)) << 32 | be32(p + 4);
}

bool startsWith(const unsigned char* head, std::size_t headSize, const char* signature, std::size_t length)
{
    return headSize >= length && std::memcmp(head, signature, length) == 0;
}

PictureHead sized(PictureType type, std::uint64_t width, std::uint64_t height)
{
    PictureHead head;
    if (width == 0 || height == 0 || width > pictureSideCap || height > pictureSideCap ||
        width * height > picturePixelCap)
        return head;
    head.type = type;
    head.width = static_cast<std::uint32_t>(width);
    head.height = static_cast<std::uint32_t>(height);
    return head;
}

// ---- BMP: BITMAPFILEHEADER (14 bytes), a BITMAPCOREHEADER (12) or a BITMAPINFOHEADER and its
// later forms (40 or more), an optional colour table, the rows. Some systems' bitmap readers
// trust these fields and hand back a picture built from bytes past the file's end.

constexpr std::uint32_t fileHeaderSize = 14;
constexpr std::uint32_t coreHeaderSize = 12;
constexpr std::uint32_t infoHeaderSize = 40;
constexpr std::uint32_t compressionRgb = 0;
constexpr std::uint32_t compressionRle8 = 1;
constexpr std::uint32_t compressionRle4 = 2;
constexpr std::uint32_t compressionBitfields = 3;

PictureHead inspectBitmap(const unsigned char* head, std::size_t headSize, std::uint64_t fileSize)
{
    if (headSize < fileHeaderSize + 4 || fileSize < fileHeaderSize + coreHeaderSize)
        return {};
    const std::uint64_t dataOffset = le32(head + 10);
    const std::uint32_t infoSize = le32(head + 14);

    std::uint64_t width = 0;
    std::uint64_t height = 0;
    std::uint32_t bitCount = 0;
    std::uint32_t compression = compressionRgb;
    std::uint64_t imageSize = 0;
    std::uint64_t coloursUsed = 0;
    std::uint64_t colourEntrySize = 4;
    if (infoSize == coreHeaderSize) {
        if (headSize < fileHeaderSize + coreHeaderSize)
            return {};
        width = le16(head + 18);
        height = le16(head + 20);
        bitCount = le16(head + 24);
        colourEntrySize = 3;
    } else if (infoSize >= infoHeaderSize) {
        if (headSize < fileHeaderSize + infoHeaderSize)
            return {};
        const std::int32_t w = static_cast<std::int32_t>(le32(head + 18));
        const std::int32_t h = static_cast<std::int32_t>(le32(head + 22));
        if (w <= 0 || h == 0 || h == INT32_MIN)
            return {};
        width = static_cast<std::uint64_t>(w);
        height = static_cast<std::uint64_t>(h < 0 ? -static_cast<std::int64_t>(h) : h);
        bitCount = le16(head + 28);
        compression = le32(head + 30);
        imageSize = le32(head + 34);
        coloursUsed = le32(head + 46);
    } else {
        return {};
    }
    if (width == 0 || height == 0)
        return {};

    switch (bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32:
        break;
    default:
        return {};
    }
    // The colour table lies between the header and the rows; the reader takes as many
    // entries as the header says (or 2^bits for up to 8 bits per pixel).
    std::uint64_t colours = coloursUsed;
    if (colours == 0 && bitCount <= 8)
        colours = std::uint64_t(1) << bitCount;
    if (colours > 256 && bitCount <= 8)
        return {};
    std::uint64_t tableEnd = fileHeaderSize + std::uint64_t(infoSize) + colours * colourEntrySize;
    if (compression == compressionBitfields && infoSize == infoHeaderSize)
        tableEnd += 12;
    if (tableEnd > fileSize || dataOffset < fileHeaderSize + infoSize || dataOffset > fileSize)
        return {};

    std::uint64_t dataSize = 0;
    if (compression == compressionRgb || compression == compressionBitfields) {
        const std::uint64_t rowBytes = (width * bitCount + 31) / 32 * 4;
        dataSize = rowBytes * height;
    } else if (compression == compressionRle8 || compression == compressionRle4) {
        dataSize = imageSize;
        if (dataSize == 0)
            return {};
    } else {
        // JPEG or PNG inside a bitmap, and unknown schemes: not for a plain bitmap reader.
        return {};
    }
    if (dataSize > fileSize - dataOffset)
        return {};
    return sized(PictureType::bmp, width, height);
}

// ---- GIF: the logical screen follows the six signature bytes.

PictureHead inspectGif(const unsigned char* head, std::size_t headSize)
{
    if (headSize < 13)
        return {};
    return sized(PictureType::gif, le16(head + 6), le16(head + 8));
}

// ---- JPEG: segments after SOI until a frame header (SOF) gives the size. A scan or the end
// before any frame header means there is nothing a decoder could size.

bool isFrameHeader(unsigned marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

PictureHead inspectJpeg(const PictureBytes& bytes)
{
    constexpr int maxSteps = 4096;
    std::uint64_t at = 2;
    for (int step = 0; step < maxSteps; ++step) {
        unsigned char b[2];
        if (!readExact(bytes, at, b, 2) || b[0] != 0xFF)
            return {};
        const unsigned marker = b[1];
        if (marker == 0xFF) { // fill byte before a marker
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA || marker == 0x00)
            return {};
        unsigned char segment[7];
        if (!readExact(bytes, at + 2, segment, 2))
            return {};
        const std::uint32_t length = be16(segment);
        if (length < 2)
            return {};
        if (isFrameHeader(marker)) {
            if (length < 8 || !readExact(bytes, at + 2, segment, 7))
                return {};
            // Precision, then the number of lines and the samples per line.
            return sized(PictureType::jpeg, be16(segment + 5), be16(segment + 3));
        }
        at += 2 + length;
    }
    return {};
}

// ---- PNG: the first chunk is IHDR, width and height big-endian.

PictureHead inspectPng(const PictureBytes& bytes, std::uint64_t offset, PictureType type)
{
    unsigned char h[24];
    if (!readExact(bytes, offset, h, sizeof h) || std::memcmp(h, "\x89PNG\r\n\x1A\n", 8) != 0 ||
        be32(h + 8) != 13 || std::memcmp(h + 12, "IHDR", 4) != 0)
        return {};
    return sized(type, be32(h + 16), be32(h + 20));
}

// ---- TIFF and JPEG XR: an image file directory whose entries name the size. Only the first
// directory matters: it is the first page, the one shown.

PictureHead inspectDirectory(const PictureBytes& bytes, bool bigEndian, std::uint32_t widthTag,
                             std::uint32_t heightTag, PictureType type)
{
    const auto u16 = [bigEndian](const unsigned char* p) { return bigEndian ? be16(p) : le16(p); };
    const auto u32 = [bigEndian](const unsigned char* p) { return bigEndian ? be32(p) : le32(p); };
    unsigned char h[8];
    if (!readExact(bytes, 0, h, sizeof h))
        return {};
    const std::uint64_t directory = u32(h + 4);
    unsigned char countBytes[2];
    if (directory < 8 || !readExact(bytes, directory, countBytes, 2))
        return {};
    const std::uint32_t count = u16(countBytes);
    if (count == 0)
        return {};
    std::vector<unsigned char> entries(static_cast<std::size_t>(count) * 12);
    if (!readExact(bytes, directory + 2, entries.data(), entries.size()))
        return {};
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const unsigned char* e = &entries[static_cast<std::size_t>(i) * 12];
        const std::uint32_t tag = u16(e);
        const std::uint32_t fieldType = u16(e + 2);
        if ((tag != widthTag && tag != heightTag) || u32(e + 4) != 1)
            continue;
        std::uint64_t value = 0;
        if (fieldType == 3) // SHORT, in the first two bytes of the value field
            value = u16(e + 8);
        else if (fieldType == 4) // LONG
            value = u32(e + 8);
        else
            return {};
        (tag == widthTag ? width : height) = value;
    }
    return sized(type, width, height);
}

// ---- ICO: a directory of images, each a PNG or a bitmap without its file header whose
// height counts the colour rows and the mask. The first image is the one shown; every
// image must lie inside the file.

PictureHead inspectIcon(const PictureBytes& bytes)
{
    constexpr std::uint32_t maxImages = 256;
    unsigned char h[6];
    if (!readExact(bytes, 0, h, sizeof h))
        return {};
    const std::uint32_t count = le16(h + 4);
    if (count == 0 || count > maxImages)
        return {};
    std::vector<unsigned char> entries(static_cast<std::size_t>(count) * 16);
    if (!readExact(bytes, 6, entries.data(), entries.size()))
        return {};
    const std::uint64_t directoryEnd = 6 + entries.size();
    PictureHead first;
    for (std::uint32_t i = 0; i < count; ++i) {
        const unsigned char* e = &entries[static_cast<std::size_t>(i) * 16];
        const std::uint64_t length = le32(e + 8);
        const std::uint64_t offset = le32(e + 12);
        if (offset < directoryEnd || length < infoHeaderSize || offset + length > bytes.size())
            return {};
        unsigned char info[infoHeaderSize];
        if (!readExact(bytes, offset, info, sizeof info))
            return {};
        PictureHead image;
        if (std::memcmp(info, "\x89PNG", 4) == 0) {
            image = inspectPng(bytes, offset, PictureType::ico);
        } else {
            if (le32(info) < infoHeaderSize)
                return {};
            const std::int32_t w = static_cast<std::int32_t>(le32(info + 4));
            const std::int32_t doubled = static_cast<std::int32_t>(le32(info + 8));
            if (w <= 0 || doubled <= 0)
                return {};
            image = sized(PictureType::ico, static_cast<std::uint64_t>(w), static_cast<std::uint64_t>(doubled) / 2);
        }
        if (image.type == PictureType::none)
            return {};
        if (i == 0)
            first = image;
    }
    return first;
}

// ---- HEIF: an ftyp box naming a HEIF brand, the sizes in the ispe properties inside
// meta/iprp/ipco. Tiles of a grid have their own, smaller ones: the largest counts.

bool isHeifBrand(const unsigned char* brand)
{
    static const char* const brands[] = {"heic", "heix", "hevc", "hevx", "heim", "heis", "hevm", "hevs", "mif1", "msf1"};
    for (const char* b : brands)
        if (std::memcmp(brand, b, 4) == 0)
            return true;
    return false;
}

struct BoxWalk {
    const PictureBytes& bytes;
    int budget = 1024;
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    bool broken = false;

    // The boxes between begin and end; descends into the ones on the road to ispe.
    void walk(std::uint64_t begin, std::uint64_t end, int depth)
    {
        std::uint64_t at = begin;
        while (at + 8 <= end && !broken) {
            if (--budget < 0 || depth > 4) {
                broken = true;
                return;
            }
            unsigned char h[16];
            if (!readExact(bytes, at, h, 8)) {
                broken = true;
                return;
            }
            std::uint64_t size = be32(h);
            std::uint64_t headerSize = 8;
            if (size == 1) {
                if (!readExact(bytes, at + 8, h + 8, 8)) {
                    broken = true;
                    return;
                }
                size = be64(h + 8);
                headerSize = 16;
            } else if (size == 0) {
                size = end - at;
            }
            if (size < headerSize || size > end - at) {
                broken = true;
                return;
            }
            const unsigned char* type = h + 4;
            const std::uint64_t content = at + headerSize;
            if (std::memcmp(type, "meta", 4) == 0)
                walk(content + 4, at + size, depth + 1); // a full box: version and flags first
            else if (std::memcmp(type, "iprp", 4) == 0 || std::memcmp(type, "ipco", 4) == 0)
                walk(content, at + size, depth + 1);
            else if (std::memcmp(type, "ispe", 4) == 0)
                takeSize(content, at + size);
            at += size;
        }
    }

    void takeSize(std::uint64_t content, std::uint64_t end)
    {
        unsigned char e[12];
        if (end - content < sizeof e || !readExact(bytes, content, e, sizeof e)) {
            broken = true;
            return;
        }
        const std::uint64_t w = be32(e + 4);
        const std::uint64_t h = be32(e + 8);
        if (w * h >= width * height) {
            width = w;
            height = h;
        }
        if (sized(PictureType::heif, w, h).type == PictureType::none)
            broken = true;
    }
};

PictureHead inspectHeif(const PictureBytes& bytes)
{
    unsigned char h[8];
    if (!readExact(bytes, 0, h, sizeof h))
        return {};
    const std::uint64_t ftypSize = be32(h);
    if (ftypSize < 16 || ftypSize > 4096 || ftypSize > bytes.size())
        return {};
    std::vector<unsigned char> ftyp(static_cast<std::size_t>(ftypSize));
    if (!readExact(bytes, 0, ftyp.data(), ftyp.size()))
        return {};
    bool heif = isHeifBrand(&ftyp[8]);
    for (std::size_t at = 16; at + 4 <= ftyp.size() && !heif; at += 4)
        heif = isHeifBrand(&ftyp[at]);
    if (!heif)
        return {};
    BoxWalk boxes{bytes};
    boxes.walk(ftypSize, bytes.size(), 0);
    if (boxes.broken)
        return {};
    return sized(PictureType::heif, boxes.width, boxes.height);
}

// ---- WebP: RIFF, then the first chunk: lossy (VP8), lossless (VP8L) or extended (VP8X).

PictureHead inspectWebp(const PictureBytes& bytes)
{
    unsigned char h[30];
    if (!readExact(bytes, 0, h, sizeof h))
        return {};
    const unsigned char* chunk = h + 12;
    const unsigned char* data = h + 20;
    if (std::memcmp(chunk, "VP8 ", 4) == 0) {
        if (data[3] != 0x9D || data[4] != 0x01 || data[5] != 0x2A)
            return {};
        return sized(PictureType::webp, le16(data + 6) & 0x3FFF, le16(data + 8) & 0x3FFF);
    }
    if (std::memcmp(chunk, "VP8L", 4) == 0) {
        if (data[0] != 0x2F)
            return {};
        const std::uint32_t bits = le32(data + 1);
        return sized(PictureType::webp, (bits & 0x3FFF) + 1, ((bits >> 14) & 0x3FFF) + 1);
    }
    if (std::memcmp(chunk, "VP8X", 4) == 0) {
        const auto u24 = [](const unsigned char* p) { return le16(p) | static_cast<std::uint32_t>(p[2]) << 16; };
        return sized(PictureType::webp, std::uint64_t(u24(data + 4)) + 1, std::uint64_t(u24(data + 7)) + 1);
    }
    return {};
}

} // namespace

PictureHead inspectPicture(const PictureBytes& bytes)
{
    const std::uint64_t fileSize = bytes.size();
    unsigned char head[64];
    const std::size_t headSize = fileSize == 0 ? 0 : bytes.readAt(0, head, sizeof head);
    if (headSize == 0)
        return {};
    if (startsWith(head, headSize, "BM", 2))
        return inspectBitmap(head, headSize, fileSize);
    if (startsWith(head, headSize, "GIF87a", 6) || startsWith(head, headSize, "GIF89a", 6))
        return inspectGif(head, headSize);
    if (startsWith(head, headSize, "\xFF\xD8\xFF", 3))
        return inspectJpeg(bytes);
    if (startsWith(head, headSize, "\x89PNG\r\n\x1A\n", 8))
        return inspectPng(bytes, 0, PictureType::png);
    if (startsWith(head, headSize, "II*\0", 4))
        return inspectDirectory(bytes, false, 256, 257, PictureType::tiff);
    if (startsWith(head, headSize, "MM\0*", 4))
        return inspectDirectory(bytes, true, 256, 257, PictureType::tiff);
    if (startsWith(head, headSize, "II\xBC\x01", 4) || startsWith(head, headSize, "II\xBC\x00", 4))
        return inspectDirectory(bytes, false, 0xBC80, 0xBC81, PictureType::jxr);
    if (startsWith(head, headSize, "\0\0\1\0", 4))
        return inspectIcon(bytes);
    if (headSize >= 12 && std::memcmp(head + 4, "ftyp", 4) == 0)
        return inspectHeif(bytes);
    if (startsWith(head, headSize, "RIFF", 4) && headSize >= 12 && std::memcmp(head + 8, "WEBP", 4) == 0)
        return inspectWebp(bytes);
    return {};
}
