// The quick view's portable rules: the picture fit, the extension key with the pane it
// chooses, the header check that guards the decoders, and the EXIF orientations.

#include "base/CodePage.h"
#include "quickview/PictureFit.h"
#include "quickview/PictureHeader.h"
#include "quickview/PictureOrientation.h"
#include "quickview/QuickViewTypes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct FitRow {
    const char* what;
    int width;
    int height;
    PaneRect pane;
    PaneRect expected;
};

class PictureFitTable : public ::testing::TestWithParam<FitRow> {};

TEST_P(PictureFitTable, Destination)
{
    const FitRow& row = GetParam();
    PaneRect got = {-1, -1, -1, -1};
    ASSERT_TRUE(fitPicture(row.width, row.height, row.pane, got)) << row.what;
    EXPECT_EQ(got, row.expected) << row.what << ": got (" << got.left << ", " << got.top << ", " << got.right
                                 << ", " << got.bottom << ")";
}

INSTANTIATE_TEST_SUITE_P(
    Table, PictureFitTable,
    ::testing::Values(
        FitRow{"wide small picture drawn at its own size in the middle", 100, 50, {0, 0, 300, 200}, {100, 75, 200, 125}},
        FitRow{"square small picture centred", 50, 50, {0, 0, 300, 200}, {125, 75, 175, 125}},
        FitRow{"square large picture stretched over the whole pane", 500, 500, {0, 0, 300, 200}, {0, 0, 300, 200}},
        FitRow{"tall picture wider than the pane after the shape step is clamped", 300, 400, {0, 0, 200, 400},
               {0, 0, 200, 400}},
        FitRow{"a pane away from the origin", 100, 50, {10, 20, 310, 220}, {110, 95, 210, 145}},
        FitRow{"shape step truncates, then halves toward zero", 3, 2, {0, 0, 7, 7}, {2, 2, 5, 4}},
        FitRow{"typical photo in a tall pane", 3000, 2000, {0, 0, 220, 300}, {0, 77, 220, 223}},
        FitRow{"portrait photo in a wide pane", 200, 400, {0, 0, 220, 150}, {72, 0, 147, 150}},
        FitRow{"picture exactly the pane's size", 220, 150, {0, 0, 220, 150}, {0, 0, 220, 150}},
        FitRow{"one pixel", 1, 1, {0, 0, 220, 150}, {109, 74, 110, 75}},
        FitRow{"very wide strip", 12000, 1, {0, 0, 220, 150}, {0, 75, 220, 75}}));

TEST(PictureFit, NothingToDrawWithoutArea)
{
    const int sizes[][2] = {{0, 0}, {0, 50}, {50, 0}, {-3, 10}, {10, -3}};
    for (const auto& size : sizes) {
        PaneRect got = {1, 2, 3, 4};
        EXPECT_FALSE(fitPicture(size[0], size[1], {0, 0, 300, 200}, got)) << size[0] << " x " << size[1];
        EXPECT_EQ(got, (PaneRect{1, 2, 3, 4}));
    }
}

struct KeyRow {
    const char* path;
    const char* key;
    QuickViewPane withBoth;    // media and Flash panes installed
    QuickViewPane withNeither; // only the picture pane
};

class ExtensionKeyTable : public ::testing::TestWithParam<KeyRow> {};

TEST_P(ExtensionKeyTable, KeyAndPane)
{
    const KeyRow& row = GetParam();
    const std::string key = extensionKey(row.path, modelCodePage(1252));
    EXPECT_EQ(key, row.key) << row.path;
    EXPECT_EQ(paneForKey(key, true, true), row.withBoth) << row.path;
    EXPECT_EQ(paneForKey(key, false, false), row.withNeither) << row.path;
}

using P = QuickViewPane;
INSTANTIATE_TEST_SUITE_P(
    Table, ExtensionKeyTable,
    ::testing::Values(KeyRow{"C:\\Pictures\\PHOTO.JPG", ".jpg;", P::picture, P::picture},
                      KeyRow{"C:\\Pictures\\photo.jpe", ".jpe;", P::none, P::none},
                      KeyRow{"C:\\Pictures\\photo.jpeg", ".jpeg;", P::picture, P::picture},
                      KeyRow{"C:\\x\\Anim.Gif", ".gif;", P::picture, P::picture},
                      KeyRow{"C:\\x\\scan.bmp", ".bmp;", P::picture, P::picture},
                      KeyRow{"C:\\x\\Screenshot.PNG", ".png;", P::picture, P::picture},
                      KeyRow{"C:\\x\\scan.TIFF", ".tiff;", P::picture, P::picture},
                      KeyRow{"C:\\x\\IMG_0001.HEIC", ".heic;", P::picture, P::picture},
                      KeyRow{"C:\\x\\a.if", ".if;", P::none, P::none},
                      KeyRow{"C:\\a.b\\file", ".b\\file;", P::none, P::none},
                      KeyRow{"C:\\x\\clip.mp2v", ".mp2v;", P::media, P::none},
                      KeyRow{"C:\\x\\clip.MP2", ".mp2;", P::media, P::none},
                      KeyRow{"C:\\x\\song.wm", ".wm;", P::media, P::none},
                      KeyRow{"C:\\x\\film.vob", ".vob;", P::media, P::none},
                      KeyRow{"C:\\x\\movie.SWF", ".swf;", P::flash, P::none},
                      KeyRow{"C:\\x\\movie.swf2", ".swf2;", P::none, P::none},
                      // Parts of entries are not entries.
                      KeyRow{"C:\\x\\a.peg", ".peg;", P::none, P::none},
                      KeyRow{"C:\\x\\a.mp", ".mp;", P::none, P::none},
                      KeyRow{"C:\\x\\a.jp", ".jp;", P::none, P::none},
                      KeyRow{"C:\\x\\trailing.", ".;", P::none, P::none},
                      KeyRow{"noextension", "noextension;", P::none, P::none},
                      KeyRow{"C:\\x\\\xC4RGER.JPG", ".jpg;", P::picture, P::picture},
                      KeyRow{"C:\\x\\a.\xC9MF", ".\xE9mf;", P::none, P::none}));

// A bitmap file's headers: BITMAPFILEHEADER and BITMAPINFOHEADER, 40 bytes.
std::vector<unsigned char> bitmapHead(std::int32_t width, std::int32_t height, int bits, std::uint32_t offset,
                                      std::uint32_t compression = 0, std::uint32_t imageSize = 0,
                                      std::uint32_t coloursUsed = 0, std::uint32_t infoSize = 40)
{
    std::vector<unsigned char> head(64, 0);
    auto put16 = [&](std::size_t at, std::uint32_t v) {
        head[at] = static_cast<unsigned char>(v);
        head[at + 1] = static_cast<unsigned char>(v >> 8);
    };
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    head[0] = 'B';
    head[1] = 'M';
    put32(10, offset);
    put32(14, infoSize);
    if (infoSize == 12) {
        put16(18, static_cast<std::uint32_t>(width));
        put16(20, static_cast<std::uint32_t>(height));
        put16(22, 1);
        put16(24, static_cast<std::uint32_t>(bits));
        return head;
    }
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    put16(26, 1);
    put16(28, static_cast<std::uint32_t>(bits));
    put32(30, compression);
    put32(34, imageSize);
    put32(46, coloursUsed);
    return head;
}

// ---- bytes of the other formats, as far as the header check reads them ----

using Bytes = std::vector<unsigned char>;

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes text(const char* s, std::size_t n)
{
    return Bytes(s, s + n);
}

Bytes be16(std::uint32_t v)
{
    return {static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v)};
}

Bytes be32(std::uint32_t v)
{
    return be16(v >> 16) + be16(v & 0xFFFF);
}

Bytes le16(std::uint32_t v)
{
    return {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
}

Bytes le32(std::uint32_t v)
{
    return le16(v & 0xFFFF) + le16(v >> 16);
}

Bytes gif(const char* version, std::uint32_t width, std::uint32_t height)
{
    return text(version, 6) + le16(width) + le16(height) + Bytes{0x80, 0, 0} + Bytes(12, 0);
}

Bytes jpegSegment(unsigned marker, const Bytes& body)
{
    return Bytes{0xFF, static_cast<unsigned char>(marker)} + be16(static_cast<std::uint32_t>(body.size() + 2)) + body;
}

Bytes jpegFrame(unsigned marker, std::uint32_t width, std::uint32_t height)
{
    return jpegSegment(marker, Bytes{8} + be16(height) + be16(width) + Bytes{3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1});
}

const Bytes jpegStart = {0xFF, 0xD8};
const Bytes jfif = jpegSegment(0xE0, text("JFIF\0\1\1\0\0\1\0\1\0\0", 14));
const Bytes scanAndEnd = jpegSegment(0xDA, Bytes(10, 0)) + Bytes(40, 0x55) + Bytes{0xFF, 0xD9};

Bytes png(std::uint32_t width, std::uint32_t height, std::uint32_t ihdrLength = 13)
{
    return text("\x89PNG\r\n\x1A\n", 8) + be32(ihdrLength) + text("IHDR", 4) + be32(width) + be32(height) +
           Bytes{8, 6, 0, 0, 0} + be32(0) + Bytes(20, 0);
}

// A TIFF (or JPEG XR) header and its first directory right after, with the given entries
// of tag, type, value.
struct Entry {
    std::uint32_t tag;
    std::uint32_t type;
    std::uint32_t value;
};

Bytes directoryFile(const Bytes& signature, bool bigEndian, const std::vector<Entry>& entries,
                    std::uint32_t directoryOffset = 8)
{
    auto u16 = [bigEndian](std::uint32_t v) { return bigEndian ? be16(v) : le16(v); };
    auto u32 = [bigEndian](std::uint32_t v) { return bigEndian ? be32(v) : le32(v); };
    Bytes out = signature + u32(directoryOffset) + u16(static_cast<std::uint32_t>(entries.size()));
    for (const Entry& e : entries) {
        out = out + u16(e.tag) + u16(e.type) + u32(1);
        out = out + (e.type == 3 ? u16(e.value) + Bytes{0, 0} : u32(e.value));
    }
    return out + u32(0) + Bytes(16, 0);
}

Bytes tiff(std::uint32_t width, std::uint32_t height, bool bigEndian = false)
{
    return directoryFile(bigEndian ? text("MM\0*", 4) : text("II*\0", 4), bigEndian,
                         {{256, 3, width}, {257, 4, height}, {258, 3, 8}, {273, 4, 8}});
}

// An icon with its images after the directory: a bitmap (BITMAPINFOHEADER, height doubled)
// or a PNG each.
Bytes icon(const std::vector<Bytes>& images)
{
    Bytes directory = le16(0) + le16(1) + le16(static_cast<std::uint32_t>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    Bytes data;
    for (const Bytes& image : images) {
        directory = directory + Bytes{32, 32, 0, 0} + le16(1) + le16(32) +
                    le32(static_cast<std::uint32_t>(image.size())) + le32(offset);
        offset += static_cast<std::uint32_t>(image.size());
        data = data + image;
    }
    return directory + data;
}

Bytes iconBitmap(std::uint32_t width, std::uint32_t height)
{
    return le32(40) + le32(width) + le32(height * 2) + le16(1) + le16(32) + Bytes(24, 0) + Bytes(64, 0xAA);
}

Bytes box(const char* type, const Bytes& content)
{
    return be32(static_cast<std::uint32_t>(content.size() + 8)) + text(type, 4) + content;
}

Bytes heif(const char* brands, std::size_t brandsLength, const std::vector<std::pair<std::uint32_t, std::uint32_t>>& sizes)
{
    Bytes properties;
    for (const auto& size : sizes)
        properties = properties + box("ispe", be32(0) + be32(size.first) + be32(size.second));
    return box("ftyp", text(brands, brandsLength)) +
           box("meta", be32(0) + box("hdlr", Bytes(25, 0)) + box("iprp", box("ipco", properties))) +
           box("mdat", Bytes(32, 0));
}

Bytes webp(const char* chunk, const Bytes& data)
{
    return text("RIFF", 4) + le32(static_cast<std::uint32_t>(data.size() + 12)) + text("WEBP", 4) + text(chunk, 4) +
           le32(static_cast<std::uint32_t>(data.size())) + data + Bytes(16, 0);
}

Bytes vp8(std::uint32_t width, std::uint32_t height)
{
    return Bytes{0x50, 0x2A, 0x00, 0x9D, 0x01, 0x2A} + le16(width) + le16(height);
}

Bytes vp8l(std::uint32_t width, std::uint32_t height)
{
    return Bytes{0x2F} + le32((width - 1) | (height - 1) << 14);
}

Bytes vp8x(std::uint32_t width, std::uint32_t height)
{
    const std::uint32_t w = width - 1;
    const std::uint32_t h = height - 1;
    return le32(0x10) + Bytes{static_cast<unsigned char>(w), static_cast<unsigned char>(w >> 8),
                              static_cast<unsigned char>(w >> 16), static_cast<unsigned char>(h),
                              static_cast<unsigned char>(h >> 8), static_cast<unsigned char>(h >> 16)};
}

Bytes jxr(std::uint32_t width, std::uint32_t height)
{
    return directoryFile(text("II\xBC\x01", 4), false, {{0xBC01, 1, 0}, {0xBC80, 4, width}, {0xBC81, 4, height}});
}

using T = PictureType;

struct HeaderRow {
    const char* what;
    Bytes head;
    std::uint64_t fileSize; // 0: the bytes are the whole file
    PictureType type;
    std::uint32_t width;
    std::uint32_t height;
};

class PictureHeaderTable : public ::testing::TestWithParam<HeaderRow> {};

TEST_P(PictureHeaderTable, TypeAndDeclaredSize)
{
    const HeaderRow& row = GetParam();
    const MemoryPictureBytes bytes(row.head.data(), row.head.size(), row.fileSize ? row.fileSize : row.head.size());
    const PictureHead got = inspectPicture(bytes);
    EXPECT_EQ(static_cast<int>(got.type), static_cast<int>(row.type)) << row.what;
    if (row.type != T::none) {
        EXPECT_EQ(got.width, row.width) << row.what;
        EXPECT_EQ(got.height, row.height) << row.what;
    }
}

const Bytes jpeg640 = jpegStart + jfif + jpegFrame(0xC0, 640, 480) + scanAndEnd;
const Bytes tiffFile = tiff(640, 480);
const Bytes pngFile = png(800, 600);

// 2 x 2 pixels of 24 bits: rows of 8 bytes (6 padded to 4), 16 bytes after 54 of headers.
INSTANTIATE_TEST_SUITE_P(
    Bitmaps, PictureHeaderTable,
    ::testing::Values(
        HeaderRow{"whole 24-bit bitmap", bitmapHead(2, 2, 24, 54), 70, T::bmp, 2, 2},
        HeaderRow{"top-down bitmap", bitmapHead(2, -2, 24, 54), 70, T::bmp, 2, 2},
        HeaderRow{"rows cut short", bitmapHead(2, 2, 24, 54), 69, T::none, 0, 0},
        HeaderRow{"rows offset past the end", bitmapHead(2, 2, 24, 80), 70, T::none, 0, 0},
        HeaderRow{"rows offset inside the headers", bitmapHead(2, 2, 24, 20), 70, T::none, 0, 0},
        HeaderRow{"no width", bitmapHead(0, 2, 24, 54), 70, T::none, 0, 0},
        HeaderRow{"no height", bitmapHead(2, 0, 24, 54), 70, T::none, 0, 0},
        HeaderRow{"negative width", bitmapHead(-2, 2, 24, 54), 70, T::none, 0, 0},
        HeaderRow{"bit count 7", bitmapHead(2, 2, 7, 54), 70, T::none, 0, 0},
        HeaderRow{"8 bits with the colour table", bitmapHead(2, 2, 8, 54 + 1024), 54 + 1024 + 8, T::bmp, 2, 2},
        HeaderRow{"8 bits whose colour table is cut", bitmapHead(2, 2, 8, 54), 54 + 100, T::none, 0, 0},
        HeaderRow{"8 bits claiming 1000 colours", bitmapHead(2, 2, 8, 54 + 4000, 0, 0, 1000), 54 + 4000 + 8, T::none,
                  0, 0},
        HeaderRow{"12000 x 12000 header on a small file", bitmapHead(12000, 12000, 24, 54), 70, T::none, 0, 0},
        HeaderRow{"12000 x 12000 whole", bitmapHead(12000, 12000, 24, 54), 54 + 432000000ull, T::bmp, 12000, 12000},
        HeaderRow{"15000 x 15000 whole: over the pixel cap", bitmapHead(15000, 15000, 8, 1078), 1078 + 225000000ull,
                  T::none, 0, 0},
        HeaderRow{"30000 x 10 whole: over the side cap", bitmapHead(30000, 10, 8, 1078), 1078 + 300000ull, T::none, 0,
                  0},
        HeaderRow{"RLE8 without image size", bitmapHead(2, 2, 8, 1078, 1, 0), 1100, T::none, 0, 0},
        HeaderRow{"RLE8 whose data fit", bitmapHead(2, 2, 8, 1078, 1, 20), 1098, T::bmp, 2, 2},
        HeaderRow{"RLE8 whose data do not fit", bitmapHead(2, 2, 8, 1078, 1, 21), 1098, T::none, 0, 0},
        HeaderRow{"JPEG inside a bitmap", bitmapHead(2, 2, 24, 54, 4, 16), 70, T::none, 0, 0},
        HeaderRow{"core header", bitmapHead(2, 2, 24, 26, 0, 0, 0, 12), 26 + 16, T::bmp, 2, 2},
        HeaderRow{"core header, rows cut", bitmapHead(2, 2, 24, 26, 0, 0, 0, 12), 26 + 15, T::none, 0, 0},
        HeaderRow{"unknown header size", bitmapHead(2, 2, 24, 54, 0, 0, 0, 20), 70, T::none, 0, 0},
        HeaderRow{"only the file header", Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0}, 14, T::none, 0, 0}));

INSTANTIATE_TEST_SUITE_P(
    GifAndJpeg, PictureHeaderTable,
    ::testing::Values(
        HeaderRow{"GIF89a", gif("GIF89a", 640, 480), 0, T::gif, 640, 480},
        HeaderRow{"GIF declaring 65500 x 65500", gif("GIF89a", 65500, 65500), 0, T::none, 0, 0},
        HeaderRow{"GIF without width", gif("GIF89a", 0, 10), 0, T::none, 0, 0},
        HeaderRow{"GIF cut inside the screen", Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0}, 0, T::none, 0, 0},
        HeaderRow{"JPEG, baseline frame", jpeg640, 0, T::jpeg, 640, 480},
        HeaderRow{"JPEG, progressive frame after a large APP1",
                  jpegStart + jpegSegment(0xE1, Bytes(5000, 0x20)) + jpegFrame(0xC2, 3000, 2000) + scanAndEnd, 0,
                  T::jpeg, 3000, 2000},
        HeaderRow{"JPEG, fill bytes and tables before the frame",
                  jpegStart + Bytes{0xFF, 0xFF} + jpegSegment(0xDB, Bytes(65, 1)) + jpegSegment(0xC4, Bytes(30, 2)) +
                      jpegFrame(0xC1, 17, 9) + scanAndEnd,
                  0, T::jpeg, 17, 9},
        HeaderRow{"JPEG declaring 65500 x 65500", jpegStart + jfif + jpegFrame(0xC0, 65500, 65500) + scanAndEnd, 0,
                  T::none, 0, 0},
        HeaderRow{"JPEG, lines to come later (DNL)", jpegStart + jpegFrame(0xC0, 640, 0) + scanAndEnd, 0, T::none, 0,
                  0},
        HeaderRow{"JPEG whose scan comes before any frame", jpegStart + jfif + scanAndEnd, 0, T::none, 0, 0},
        HeaderRow{"JPEG segment running past the end", jpegStart + jpegSegment(0xE1, Bytes(300, 0)), 100, T::none, 0,
                  0},
        HeaderRow{"JPEG frame header cut", Bytes(jpeg640.begin(), jpeg640.begin() + 26), 0, T::none, 0, 0},
        HeaderRow{"JPEG start only", Bytes{0xFF, 0xD8, 0xFF, 0xE0}, 0, T::none, 0, 0},
        HeaderRow{"JPEG with garbage where a marker belongs", jpegStart + jfif + Bytes{0x12, 0x34} + jpegFrame(0xC0, 8, 8),
                  0, T::none, 0, 0}));

INSTANTIATE_TEST_SUITE_P(
    CodecTypes, PictureHeaderTable,
    ::testing::Values(
        HeaderRow{"PNG", pngFile, 0, T::png, 800, 600},
        HeaderRow{"PNG declaring 65500 x 65500", png(65500, 65500), 0, T::none, 0, 0},
        HeaderRow{"PNG 20000 x 10000: the pixel cap itself", png(20000, 10000), 0, T::png, 20000, 10000},
        HeaderRow{"PNG whose first chunk is not a 13-byte IHDR", png(8, 8, 14), 0, T::none, 0, 0},
        HeaderRow{"PNG cut inside IHDR", Bytes(pngFile.begin(), pngFile.begin() + 20), 0, T::none, 0, 0},
        HeaderRow{"TIFF, Intel order", tiffFile, 0, T::tiff, 640, 480},
        HeaderRow{"TIFF, Motorola order", tiff(300, 200, true), 0, T::tiff, 300, 200},
        HeaderRow{"TIFF over the side cap", tiff(60000, 10), 0, T::none, 0, 0},
        HeaderRow{"TIFF without a height", directoryFile(text("II*\0", 4), false, {{256, 3, 64}}), 0, T::none, 0, 0},
        HeaderRow{"TIFF directory past the end", directoryFile(text("II*\0", 4), false, {{256, 3, 64}}, 4000), 0,
                  T::none, 0, 0},
        HeaderRow{"TIFF directory cut", Bytes(tiffFile.begin(), tiffFile.begin() + 30), 0, T::none, 0, 0},
        HeaderRow{"TIFF width as a rational", directoryFile(text("II*\0", 4), false, {{256, 5, 64}, {257, 3, 64}}), 0,
                  T::none, 0, 0},
        HeaderRow{"icon of one bitmap", icon({iconBitmap(32, 32)}), 0, T::ico, 32, 32},
        HeaderRow{"icon: the first image counts", icon({iconBitmap(48, 48), png(256, 256)}), 0, T::ico, 48, 48},
        HeaderRow{"icon of one PNG", icon({png(256, 256)}), 0, T::ico, 256, 256},
        HeaderRow{"icon whose PNG declares 65500 x 65500", icon({iconBitmap(16, 16), png(65500, 65500)}), 0, T::none,
                  0, 0},
        HeaderRow{"icon whose image lies past the end", icon({iconBitmap(32, 32)}), 60, T::none, 0, 0},
        HeaderRow{"icon without images", le16(0) + le16(1) + le16(0) + Bytes(40, 0), 0, T::none, 0, 0},
        HeaderRow{"HEIC", heif("heic\0\0\0\0mif1heic", 16, {{4032, 3024}}), 0, T::heif, 4032, 3024},
        HeaderRow{"HEIF grid: the largest size counts", heif("mif1\0\0\0\0mif1", 12, {{512, 512}, {4032, 3024}}), 0,
                  T::heif, 4032, 3024},
        HeaderRow{"HEIF declaring 65500 x 65500", heif("heic\0\0\0\0", 8, {{65500, 65500}}), 0, T::none, 0, 0},
        HeaderRow{"HEIF without a size", heif("heic\0\0\0\0", 8, {}), 0, T::none, 0, 0},
        HeaderRow{"MP4 video", heif("isom\0\0\0\0isomavc1", 16, {{640, 480}}), 0, T::none, 0, 0},
        HeaderRow{"WebP, lossy", webp("VP8 ", vp8(550, 368)), 0, T::webp, 550, 368},
        HeaderRow{"WebP, lossless", webp("VP8L", vp8l(400, 301)), 0, T::webp, 400, 301},
        HeaderRow{"WebP, extended", webp("VP8X", vp8x(16384, 2)), 0, T::webp, 16384, 2},
        HeaderRow{"WebP, extended over the side cap", webp("VP8X", vp8x(20001, 2)), 0, T::none, 0, 0},
        HeaderRow{"WebP, lossy without its start code", webp("VP8 ", Bytes{0x50, 0x2A, 0, 0x9D, 0x01, 0x2B, 9, 0, 9, 0}),
                  0, T::none, 0, 0},
        HeaderRow{"RIFF of another kind", text("RIFF\0\0\0\0WAVEfmt ", 16) + Bytes(30, 0), 0, T::none, 0, 0},
        HeaderRow{"JPEG XR", jxr(1920, 1080), 0, T::jxr, 1920, 1080}));

INSTANTIATE_TEST_SUITE_P(
    Others, PictureHeaderTable,
    ::testing::Values(
        HeaderRow{"enhanced metafile", le32(1) + le32(108) + Bytes(32, 0) + text(" EMF", 4) + Bytes(64, 0), 0, T::none,
                  0, 0},
        HeaderRow{"placeable metafile", Bytes{0xD7, 0xCD, 0xC6, 0x9A} + Bytes(40, 0), 0, T::none, 0, 0},
        HeaderRow{"text", text("this is not a picture at all", 28), 0, T::none, 0, 0},
        HeaderRow{"one byte", Bytes{'B'}, 0, T::none, 0, 0},
        HeaderRow{"nothing", Bytes{}, 0, T::none, 0, 0}));

struct FitsRow {
    const char* key;
    PictureType type;
    bool fits;
};

TEST(PictureTypeFitsKey, EachCodecTypeWantsItsOwnSignature)
{
    // The picture object's three types stand for each other; a codec type wants its own.
    const FitsRow rows[] = {
        {".jpg;", T::gif, true},    {".gif;", T::jpeg, true},  {".jpeg;", T::png, false}, {".tiff;", T::tiff, true},
        {".heif;", T::heif, true},  {".wdp;", T::jxr, true},   {".wdp;", T::tiff, false}, {".ico;", T::bmp, false},
        {".mp3;", T::jpeg, false},  {".iff;", T::tiff, false}, {".png;", T::none, false},
    };
    for (const FitsRow& row : rows)
        EXPECT_EQ(pictureTypeFitsKey(row.key, row.type), row.fits) << row.key << " " << static_cast<int>(row.type);
}

struct OrientationRow {
    int orientation;
    int width; // of the result
    std::vector<std::uint32_t> shown;
};

// The stored picture is 3 x 2: 1 2 3 over 4 5 6.
TEST(PictureOrientation, EachOrientationShowsThePictureUpright)
{
    const std::vector<std::uint32_t> stored = {1, 2, 3, 4, 5, 6};
    const OrientationRow rows[] = {
        {0, 3, {1, 2, 3, 4, 5, 6}}, {1, 3, {1, 2, 3, 4, 5, 6}}, {2, 3, {3, 2, 1, 6, 5, 4}},
        {3, 3, {6, 5, 4, 3, 2, 1}}, {4, 3, {4, 5, 6, 1, 2, 3}}, {5, 2, {1, 4, 2, 5, 3, 6}},
        {6, 2, {4, 1, 5, 2, 6, 3}}, {7, 2, {6, 3, 5, 2, 4, 1}}, {8, 2, {3, 6, 2, 5, 1, 4}},
        {9, 3, {1, 2, 3, 4, 5, 6}},
    };
    for (const OrientationRow& row : rows) {
        EXPECT_EQ(orientPixels(stored, 3, 2, row.orientation), row.shown) << row.orientation;
        EXPECT_EQ(orientationSwapsSides(row.orientation), row.width == 2) << row.orientation;
    }
}

} // namespace
