// The quick view's portable rules: the picture fit, the extension key with the pane it
// chooses, and the bitmap header check that guards the system's bitmap reader.

#include "base/CodePage.h"
#include "quickview/PictureFit.h"
#include "quickview/PictureHeader.h"
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

struct HeaderRow {
    const char* what;
    std::vector<unsigned char> head;
    std::uint64_t fileSize;
    bool usable;
};

class PictureHeaderTable : public ::testing::TestWithParam<HeaderRow> {};

TEST_P(PictureHeaderTable, Usable)
{
    const HeaderRow& row = GetParam();
    EXPECT_EQ(pictureHeaderUsable(row.head.data(), row.head.size(), row.fileSize), row.usable) << row.what;
}

// 2 x 2 pixels of 24 bits: rows of 8 bytes (6 padded to 4), 16 bytes after 54 of headers.
INSTANTIATE_TEST_SUITE_P(
    Table, PictureHeaderTable,
    ::testing::Values(
        HeaderRow{"whole 24-bit bitmap", bitmapHead(2, 2, 24, 54), 70, true},
        HeaderRow{"top-down bitmap", bitmapHead(2, -2, 24, 54), 70, true},
        HeaderRow{"rows cut short", bitmapHead(2, 2, 24, 54), 69, false},
        HeaderRow{"rows offset past the end", bitmapHead(2, 2, 24, 80), 70, false},
        HeaderRow{"rows offset inside the headers", bitmapHead(2, 2, 24, 20), 70, false},
        HeaderRow{"no width", bitmapHead(0, 2, 24, 54), 70, false},
        HeaderRow{"no height", bitmapHead(2, 0, 24, 54), 70, false},
        HeaderRow{"negative width", bitmapHead(-2, 2, 24, 54), 70, false},
        HeaderRow{"bit count 7", bitmapHead(2, 2, 7, 54), 70, false},
        HeaderRow{"8 bits with the colour table", bitmapHead(2, 2, 8, 54 + 1024), 54 + 1024 + 8, true},
        HeaderRow{"8 bits whose colour table is cut", bitmapHead(2, 2, 8, 54), 54 + 100, false},
        HeaderRow{"8 bits claiming 1000 colours", bitmapHead(2, 2, 8, 54 + 4000, 0, 0, 1000), 54 + 4000 + 8, false},
        HeaderRow{"12000 x 12000 header on a small file", bitmapHead(12000, 12000, 24, 54), 70, false},
        HeaderRow{"12000 x 12000 whole", bitmapHead(12000, 12000, 24, 54), 54 + 432000000ull, true},
        HeaderRow{"RLE8 without image size", bitmapHead(2, 2, 8, 1078, 1, 0), 1100, false},
        HeaderRow{"RLE8 whose data fit", bitmapHead(2, 2, 8, 1078, 1, 20), 1098, true},
        HeaderRow{"RLE8 whose data do not fit", bitmapHead(2, 2, 8, 1078, 1, 21), 1098, false},
        HeaderRow{"JPEG inside a bitmap", bitmapHead(2, 2, 24, 54, 4, 16), 70, false},
        HeaderRow{"core header", bitmapHead(2, 2, 24, 26, 0, 0, 0, 12), 26 + 16, true},
        HeaderRow{"core header, rows cut", bitmapHead(2, 2, 24, 26, 0, 0, 0, 12), 26 + 15, false},
        HeaderRow{"unknown header size", bitmapHead(2, 2, 24, 54, 0, 0, 0, 20), 70, false},
        HeaderRow{"only the file header", std::vector<unsigned char>{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0},
                  14, false},
        HeaderRow{"JPEG start", std::vector<unsigned char>{0xFF, 0xD8, 0xFF, 0xE0}, 4, true},
        HeaderRow{"GIF start", std::vector<unsigned char>{'G', 'I', 'F', '8', '9', 'a'}, 6, true},
        HeaderRow{"one byte", std::vector<unsigned char>{'B'}, 1, true}));

TEST(PictureHeader, EmptyFileIsNeverUsable)
{
    const unsigned char none[1] = {0};
    EXPECT_FALSE(pictureHeaderUsable(none, 0, 0));
    EXPECT_FALSE(pictureHeaderUsable(none, 1, 0));
}

} // namespace
