// Screen capture and a small PNG writer for test artefacts.

#include "tests/support/Screenshot.h"

#include "tests/support/TestFiles.h"

#include <algorithm>

namespace testsupport {

namespace {

std::uint32_t crc32(const std::string& bytes, std::size_t from)
{
    static std::uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        ready = true;
    }
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = from; i < bytes.size(); ++i)
        c = table[(c ^ static_cast<unsigned char>(bytes[i])) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void putBigEndian(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

void putChunk(std::string& out, const char* type, const std::string& data)
{
    putBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out += type;
    out += data;
    putBigEndian(out, crc32(out, start));
}

} // namespace

Image readBitmap(HDC dc, HBITMAP bitmap, int width, int height)
{
    Image image;
    image.width = width;
    image.height = height;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> bgra(static_cast<std::size_t>(width) * height);
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), bgra.data(), &info, DIB_RGB_COLORS);
    image.pixels.resize(bgra.size());
    for (std::size_t i = 0; i < bgra.size(); ++i)
        image.pixels[i] = RGB((bgra[i] >> 16) & 0xFF, (bgra[i] >> 8) & 0xFF, bgra[i] & 0xFF);
    return image;
}

Image captureScreen(const RECT& rect)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    Image image = readBitmap(memory, bitmap, width, height);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return image;
}

Image captureWindow(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return captureScreen(rect);
}

std::string encodePng(const Image& image)
{
    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    putBigEndian(header, static_cast<std::uint32_t>(image.width));
    putBigEndian(header, static_cast<std::uint32_t>(image.height));
    header += std::string("\x08\x02\x00\x00\x00", 5);
    putChunk(png, "IHDR", header);

    std::string raw;
    raw.reserve(static_cast<std::size_t>(image.height) * (image.width * 3 + 1));
    for (int y = 0; y < image.height; ++y) {
        raw += '\0';
        for (int x = 0; x < image.width; ++x) {
            const COLORREF c = image.at(x, y);
            raw += static_cast<char>(GetRValue(c));
            raw += static_cast<char>(GetGValue(c));
            raw += static_cast<char>(GetBValue(c));
        }
    }
    // A zlib stream of stored blocks: no compression, so no compressor needed.
    std::string zlib("\x78\x01", 2);
    std::uint32_t a = 1, b = 0;
    for (unsigned char ch : raw) {
        a = (a + ch) % 65521;
        b = (b + a) % 65521;
    }
    std::size_t at = 0;
    do {
        const std::size_t length = std::min<std::size_t>(65535, raw.size() - at);
        const bool last = at + length == raw.size();
        zlib += static_cast<char>(last ? 1 : 0);
        zlib += static_cast<char>(length & 0xFF);
        zlib += static_cast<char>((length >> 8) & 0xFF);
        zlib += static_cast<char>(~length & 0xFF);
        zlib += static_cast<char>((~length >> 8) & 0xFF);
        zlib.append(raw, at, length);
        at += length;
    } while (at < raw.size());
    putBigEndian(zlib, (b << 16) | a);
    putChunk(png, "IDAT", zlib);
    putChunk(png, "IEND", std::string());
    return png;
}

std::string artifactDirectory()
{
    // bin\ is the test programs' folder; the artefacts go beside it.
    const std::string folder = programDirectory() + "..\\artifacts\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string saveArtefact(const Image& image, const std::string& name)
{
    const std::string path = artifactDirectory() + name + ".png";
    return writeFile(path, encodePng(image)) ? path : std::string();
}

} // namespace testsupport
