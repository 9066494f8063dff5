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

bool writeJpegFile(const std::string& path, int width, int height, const PixelColour& colour)
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
        if (FAILED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoder)) ||
            FAILED(encoder->Initialize(stream, WICBitmapEncoderNoCache)))
            break;
        if (FAILED(encoder->CreateNewFrame(&frame, &options)) || FAILED(frame->Initialize(options)))
            break;
        if (FAILED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))))
            break;
        WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
        if (FAILED(frame->SetPixelFormat(&format)) || !IsEqualGUID(format, GUID_WICPixelFormat24bppBGR))
            break;
        const UINT stride = static_cast<UINT>(width) * 3;
        const int band = 64;
        std::vector<BYTE> rows(static_cast<std::size_t>(stride) * band);
        bool written = true;
        for (int y0 = 0; y0 < height && written; y0 += band) {
            const int n = std::min(band, height - y0);
            for (int y = 0; y < n; ++y) {
                BYTE* p = &rows[static_cast<std::size_t>(y) * stride];
                for (int x = 0; x < width; ++x) {
                    const COLORREF c = colour(x, y0 + y);
                    *p++ = GetBValue(c);
                    *p++ = GetGValue(c);
                    *p++ = GetRValue(c);
                }
            }
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

} // namespace testsupport
