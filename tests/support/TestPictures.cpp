// Writers of small test pictures.

#include "tests/support/TestPictures.h"

#include <wincodec.h>

#include <algorithm>
#include <vector>

namespace testsupport {

namespace {

void put16(std::string& out, std::uint32_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

} // namespace

std::string bitmapFileBytes(int width, int height, const PixelColour& colour)
{
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) * 3 + 3) / 4 * 4;
    const std::uint32_t dataSize = rowBytes * static_cast<std::uint32_t>(height);
    std::string out;
    out += "BM";
    put32(out, 54 + dataSize);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, dataSize);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colour(x, y);
            row += static_cast<char>(GetBValue(c));
            row += static_cast<char>(GetGValue(c));
            row += static_cast<char>(GetRValue(c));
        }
        row.resize(rowBytes, '\0');
        out += row;
    }
    return out;
}

std::string gifFileBytes(int width, int height, const COLORREF (&palette)[4],
                         const std::function<int(int x, int y)>& index)
{
    std::string out = "GIF89a";
    put16(out, static_cast<std::uint32_t>(width));
    put16(out, static_cast<std::uint32_t>(height));
    out += static_cast<char>(0x81); // global colour table of 4 entries
    out += '\0';
    out += '\0';
    for (COLORREF c : palette) {
        out += static_cast<char>(GetRValue(c));
        out += static_cast<char>(GetGValue(c));
        out += static_cast<char>(GetBValue(c));
    }
    out += ',';
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<std::uint32_t>(width));
    put16(out, static_cast<std::uint32_t>(height));
    out += '\0';
    // LZW with a minimum code size of 2 and only literal codes: a clear code before every
    // second pixel keeps the code width at 3 bits.
    const int clear = 4;
    const int end = 5;
    std::vector<int> codes;
    int sinceClear = 2;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (sinceClear == 2) {
                codes.push_back(clear);
                sinceClear = 0;
            }
            codes.push_back(index(x, y) & 3);
            ++sinceClear;
        }
    }
    codes.push_back(end);
    std::string data;
    std::uint32_t bits = 0;
    int count = 0;
    for (int code : codes) {
        bits |= static_cast<std::uint32_t>(code) << count;
        count += 3;
        while (count >= 8) {
            data += static_cast<char>(bits & 0xFF);
            bits >>= 8;
            count -= 8;
        }
    }
    if (count > 0)
        data += static_cast<char>(bits & 0xFF);
    out += static_cast<char>(2);
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::size_t n = std::min<std::size_t>(255, data.size() - at);
        out += static_cast<char>(n);
        out.append(data, at, n);
    }
    out += '\0';
    out += ';';
    return out;
}

namespace {

// Writes a picture through WIC in the pixel format given; fill writes rows y0.. of a band.
bool encodeFile(const std::string& path, const GUID& container, const WICPixelFormatGUID& pixelFormat,
                UINT bytesPerPixel, int width, int height, const std::function<void(int y, BYTE* row)>& fill)
{
    IWICImagingFactory* factory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory))))
        return false;
    bool ok = false;
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    IPropertyBag2* options = nullptr;
    std::wstring widePath(path.begin(), path.end());
    do {
        if (FAILED(factory->CreateStream(&stream)) ||
            FAILED(stream->InitializeFromFilename(widePath.c_str(), GENERIC_WRITE)))
            break;
        if (FAILED(factory->CreateEncoder(container, nullptr, &encoder)) ||
            FAILED(encoder->Initialize(stream, WICBitmapEncoderNoCache)))
            break;
        if (FAILED(encoder->CreateNewFrame(&frame, &options)) || FAILED(frame->Initialize(options)))
            break;
        if (FAILED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))))
            break;
        WICPixelFormatGUID format = pixelFormat;
        if (FAILED(frame->SetPixelFormat(&format)) || !IsEqualGUID(format, pixelFormat))
            break;
        const UINT stride = static_cast<UINT>(width) * bytesPerPixel;
        const int band = 64;
        std::vector<BYTE> rows(static_cast<std::size_t>(stride) * band);
        bool written = true;
        for (int y0 = 0; y0 < height && written; y0 += band) {
            const int n = std::min(band, height - y0);
            for (int y = 0; y < n; ++y)
                fill(y0 + y, &rows[static_cast<std::size_t>(y) * stride]);
            written = SUCCEEDED(frame->WritePixels(static_cast<UINT>(n), stride, stride * static_cast<UINT>(n),
                                                   rows.data()));
        }
        ok = written && SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    } while (false);
    if (options)
        options->Release();
    if (frame)
        frame->Release();
    if (encoder)
        encoder->Release();
    if (stream)
        stream->Release();
    factory->Release();
    return ok;
}

// 0xAARRGGBB as the bytes B, G, R, A.
void putBgra(BYTE* p, std::uint32_t argb)
{
    p[0] = static_cast<BYTE>(argb);
    p[1] = static_cast<BYTE>(argb >> 8);
    p[2] = static_cast<BYTE>(argb >> 16);
    p[3] = static_cast<BYTE>(argb >> 24);
}

} // namespace

bool writeJpegFile(const std::string& path, int width, int height, const PixelColour& colour)
{
    return encodeFile(path, GUID_ContainerFormatJpeg, GUID_WICPixelFormat24bppBGR, 3, width, height,
                      [&](int y, BYTE* p) {
                          for (int x = 0; x < width; ++x) {
                              const COLORREF c = colour(x, y);
                              *p++ = GetBValue(c);
                              *p++ = GetGValue(c);
                              *p++ = GetRValue(c);
                          }
                      });
}

bool writePngFile(const std::string& path, int width, int height, const PixelArgb& pixel)
{
    return encodeFile(path, GUID_ContainerFormatPng, GUID_WICPixelFormat32bppBGRA, 4, width, height,
                      [&](int y, BYTE* p) {
                          for (int x = 0; x < width; ++x, p += 4)
                              putBgra(p, pixel(x, y));
                      });
}

std::string tiffFileBytes(int width, int height, int orientation, const PixelArgb& pixel)
{
    // Header, the directory, the four bits-per-sample values, then the pixels as R, G, B, A.
    struct Field {
        std::uint32_t tag;
        std::uint32_t type; // 3 SHORT, 4 LONG
        std::uint32_t count;
        std::uint32_t value;
    };
    const std::uint32_t entries = orientation ? 12 : 11;
    const std::uint32_t directorySize = 2 + entries * 12 + 4;
    const std::uint32_t bitsAt = 8 + directorySize;
    const std::uint32_t pixelsAt = bitsAt + 8;
    const std::uint32_t pixelBytes = static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(height) * 4;
    std::vector<Field> fields = {
        {256, 4, 1, static_cast<std::uint32_t>(width)}, {257, 4, 1, static_cast<std::uint32_t>(height)},
        {258, 3, 4, bitsAt}, {259, 3, 1, 1}, {262, 3, 1, 2}, {273, 4, 1, pixelsAt},
    };
    if (orientation)
        fields.push_back({274, 3, 1, static_cast<std::uint32_t>(orientation)});
    const std::vector<Field> rest = {{277, 3, 1, 4}, {278, 4, 1, static_cast<std::uint32_t>(height)},
                                     {279, 4, 1, pixelBytes}, {284, 3, 1, 1}, {338, 3, 1, 2}};
    fields.insert(fields.end(), rest.begin(), rest.end());
    std::string out = "II*";
    out += '\0';
    put32(out, 8);
    put16(out, entries);
    for (const Field& f : fields) {
        put16(out, f.tag);
        put16(out, f.type);
        put32(out, f.count);
        if (f.type == 3 && f.count == 1) {
            put16(out, f.value);
            put16(out, 0);
        } else {
            put32(out, f.value);
        }
    }
    put32(out, 0);
    for (int i = 0; i < 4; ++i)
        put16(out, 8);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t argb = pixel(x, y);
            out += static_cast<char>(argb >> 16);
            out += static_cast<char>(argb >> 8);
            out += static_cast<char>(argb);
            out += static_cast<char>(argb >> 24);
        }
    }
    return out;
}

std::string iconFileBytes(int width, int height, const PixelArgb& pixel)
{
    const std::uint32_t maskRow = (static_cast<std::uint32_t>(width) + 31) / 32 * 4;
    const std::uint32_t imageSize =
        40 + static_cast<std::uint32_t>(width * height) * 4 + maskRow * static_cast<std::uint32_t>(height);
    std::string out;
    put16(out, 0);
    put16(out, 1);
    put16(out, 1);
    out += static_cast<char>(width & 0xFF); // 256 is written as 0
    out += static_cast<char>(height & 0xFF);
    out += '\0';
    out += '\0';
    put16(out, 1);
    put16(out, 32);
    put32(out, imageSize);
    put32(out, 22);
    // BITMAPINFOHEADER: the height counts the colour rows and the mask's.
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height * 2));
    put16(out, 1);
    put16(out, 32);
    for (int i = 0; i < 6; ++i)
        put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            char bgra[4];
            putBgra(reinterpret_cast<BYTE*>(bgra), pixel(x, y));
            out.append(bgra, 4);
        }
    }
    // The mask draws nothing over the colour rows' alpha.
    out.append(static_cast<std::size_t>(maskRow) * static_cast<std::size_t>(height), '\0');
    return out;
}

} // namespace testsupport
