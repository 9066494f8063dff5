// Picture loading over a read-only, buffered file stream: the header check first, then
// OleLoadPicture for JPEG, GIF and BMP, or the imaging component's codec for the signature.

#include "quickview/PictureData_win.h"

#include "base/CodePage.h"
#include "quickview/PictureFit.h"
#include "quickview/PictureHeader.h"
#include "quickview/PictureOrientation.h"
#include "quickview/QuickViewTypes.h"
#include "win/ComObject.h"

#include <ole2.h>
#include <propidl.h>
#include <wincodec.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace {

// A read-only IStream over an open file, reading through a 4096-byte buffer. The decoder
// asks for small headers first and then for the whole rest in one call: the small reads
// come from the buffer, a large one goes to the file directly instead of being copied in
// 4096-byte steps. The stream does not own the file; close() cuts it off before the
// loader closes the handle, so a decoder that kept a reference can read nothing more.
class ReadOnlyFileStream final : public ComObject<WithBases<IStream, ISequentialStream>> {
public:
    explicit ReadOnlyFileStream(HANDLE file) : file_(file)
    {
        LARGE_INTEGER size;
        if (GetFileSizeEx(file_, &size))
            size_ = static_cast<ULONGLONG>(size.QuadPart);
    }

    void close() { file_ = nullptr; }
    ULONGLONG size() const { return size_; }

    // ISequentialStream
    HRESULT STDMETHODCALLTYPE Read(void* data, ULONG count, ULONG* done) override
    {
        if (done)
            *done = 0;
        if (!data)
            return STG_E_INVALIDPOINTER;
        if (!file_)
            return STG_E_REVERTED;
        auto* out = static_cast<unsigned char*>(data);
        ULONG total = 0;
        while (total < count) {
            if (bufferPos_ < bufferEnd_) {
                const ULONG n = std::min<ULONG>(count - total, bufferEnd_ - bufferPos_);
                std::memcpy(out + total, buffer_ + bufferPos_, n);
                bufferPos_ += n;
                total += n;
                continue;
            }
            const ULONG wanted = count - total;
            DWORD got = 0;
            if (wanted >= bufferSize) {
                const DWORD whole = wanted / bufferSize * bufferSize;
                if (!ReadFile(file_, out + total, whole, &got, nullptr))
                    return finishRead(total, done, STG_E_READFAULT);
                filePos_ += got;
                total += got;
                if (got < whole)
                    break;
                continue;
            }
            if (!ReadFile(file_, buffer_, bufferSize, &got, nullptr))
                return finishRead(total, done, STG_E_READFAULT);
            filePos_ += got;
            bufferPos_ = 0;
            bufferEnd_ = got;
            if (got == 0)
                break;
        }
        return finishRead(total, done, total == count ? S_OK : S_FALSE);
    }
    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG* done) override
    {
        if (done)
            *done = 0;
        return STG_E_ACCESSDENIED;
    }

    // IStream
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override
    {
        if (!file_)
            return STG_E_REVERTED;
        LONGLONG base = 0;
        switch (origin) {
        case STREAM_SEEK_SET: base = 0; break;
        case STREAM_SEEK_CUR: base = static_cast<LONGLONG>(position()); break;
        case STREAM_SEEK_END: base = static_cast<LONGLONG>(size_); break;
        default: return STG_E_INVALIDFUNCTION;
        }
        const LONGLONG target = base + move.QuadPart;
        if (target < 0)
            return STG_E_INVALIDFUNCTION;
        // The header check jumps between nearby offsets: inside the buffer no read is needed.
        const ULONGLONG bufferStart = filePos_ - bufferEnd_;
        if (static_cast<ULONGLONG>(target) >= bufferStart && static_cast<ULONGLONG>(target) < filePos_) {
            bufferPos_ = static_cast<ULONG>(static_cast<ULONGLONG>(target) - bufferStart);
            if (newPosition)
                newPosition->QuadPart = static_cast<ULONGLONG>(target);
            return S_OK;
        }
        LARGE_INTEGER to;
        to.QuadPart = target;
        if (!SetFilePointerEx(file_, to, nullptr, FILE_BEGIN))
            return STG_E_SEEKERROR;
        filePos_ = static_cast<ULONGLONG>(target);
        bufferPos_ = bufferEnd_ = 0;
        if (newPosition)
            newPosition->QuadPart = filePos_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override
    {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override
    {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override
    {
        if (!stat)
            return STG_E_INVALIDPOINTER;
        std::memset(stat, 0, sizeof *stat);
        stat->type = STGTY_STREAM;
        stat->cbSize.QuadPart = size_;
        stat->grfMode = STGM_READ | STGM_SHARE_DENY_WRITE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IStream** out) override
    {
        if (out)
            *out = nullptr;
        return E_NOTIMPL;
    }

private:
    static constexpr ULONG bufferSize = 4096;

    ~ReadOnlyFileStream() override = default;

    ULONGLONG position() const { return filePos_ - (bufferEnd_ - bufferPos_); }

    static HRESULT finishRead(ULONG total, ULONG* done, HRESULT result)
    {
        if (done)
            *done = total;
        return result;
    }

    HANDLE file_;
    ULONGLONG size_ = 0;
    ULONGLONG filePos_ = 0;
    unsigned char buffer_[bufferSize];
    ULONG bufferPos_ = 0;
    ULONG bufferEnd_ = 0;
};

// The open file's bytes for the header check.
class StreamBytes final : public PictureBytes {
public:
    explicit StreamBytes(ReadOnlyFileStream& stream) : stream_(stream) {}
    std::uint64_t size() const override { return stream_.size(); }
    std::size_t readAt(std::uint64_t offset, unsigned char* out, std::size_t count) const override
    {
        LARGE_INTEGER to;
        to.QuadPart = static_cast<LONGLONG>(offset);
        if (offset > size() || FAILED(stream_.Seek(to, STREAM_SEEK_SET, nullptr)))
            return 0;
        ULONG got = 0;
        const ULONG wanted = static_cast<ULONG>(std::min<std::size_t>(count, 0x40000000));
        if (FAILED(stream_.Read(out, wanted, &got)))
            return 0;
        return got;
    }

private:
    ReadOnlyFileStream& stream_;
};

bool rewind(IStream& stream)
{
    LARGE_INTEGER start = {};
    return SUCCEEDED(stream.Seek(start, STREAM_SEEK_SET, nullptr));
}

bool forPictureObject(PictureType type)
{
    return type == PictureType::jpeg || type == PictureType::gif || type == PictureType::bmp;
}

ComPtr<IPicture> decodePicture(ReadOnlyFileStream& stream)
{
    ComPtr<IPicture> picture;
    IPicture* loaded = nullptr;
    if (SUCCEEDED(OleLoadPicture(&stream, 0, FALSE, IID_IPicture, reinterpret_cast<void**>(&loaded))) && loaded)
        picture = ComPtr<IPicture>::attach(loaded);
    return picture;
}

// The codec is chosen by the signature the header check saw, not by the imaging
// component's own sniffing, so the decoder that runs is the one whose header was checked.
const GUID* containerFormat(PictureType type)
{
    switch (type) {
    case PictureType::png: return &GUID_ContainerFormatPng;
    case PictureType::tiff: return &GUID_ContainerFormatTiff;
    case PictureType::ico: return &GUID_ContainerFormatIco;
    case PictureType::heif: return &GUID_ContainerFormatHeif;
    case PictureType::webp: return &GUID_ContainerFormatWebp;
    case PictureType::jxr: return &GUID_ContainerFormatWmp;
    default: return nullptr;
    }
}

int integerValue(const PROPVARIANT& value)
{
    switch (value.vt) {
    case VT_UI1: return value.bVal;
    case VT_UI2: return value.uiVal;
    case VT_UI4: return static_cast<int>(value.ulVal);
    case VT_I2: return value.iVal;
    case VT_I4: return value.lVal;
    default: return 1;
    }
}

// The EXIF orientation where the frame's metadata answers; upright otherwise. TIFF and
// JPEG XR keep the tag in their own directory; for the others the system's photo
// metadata policy knows where each container keeps it.
int frameOrientation(IWICBitmapFrameDecode& frame, PictureType type)
{
    ComPtr<IWICMetadataQueryReader> reader;
    if (FAILED(frame.GetMetadataQueryReader(reader.put())) || !reader)
        return 1;
    const wchar_t* query =
        type == PictureType::tiff || type == PictureType::jxr ? L"/ifd/{ushort=274}" : L"System.Photo.Orientation";
    PROPVARIANT value;
    PropVariantInit(&value);
    int orientation = 1;
    if (SUCCEEDED(reader->GetMetadataByName(query, &value)))
        orientation = integerValue(value);
    PropVariantClear(&value);
    return orientation;
}

struct CodecPicture {
    UniqueGdiObject bitmap;
    SIZE bitmapSize = {0, 0};
    SIZE ownSize = {0, 0};
};

// The first frame, upright, as premultiplied BGRA of the size the fit into the pane gives
// (never larger than the picture). Every pixel is read before this returns: the stream
// is cut off from the file right after.
bool decodeWithCodec(IStream& stream, PictureType type, const RECT* pane, CodecPicture& out)
{
    const GUID* container = containerFormat(type);
    ComPtr<IWICImagingFactory> factory;
    if (!container || FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                              IID_IWICImagingFactory, factory.putVoid())))
        return false;
    ComPtr<IWICBitmapDecoder> decoder;
    // Fails where no codec for the type is installed.
    if (FAILED(factory->CreateDecoder(*container, nullptr, decoder.put())) ||
        FAILED(decoder->Initialize(&stream, WICDecodeMetadataCacheOnDemand)))
        return false;
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&width, &height)))
        return false;
    // The decoder's own idea of the size is held to the same caps as the header's.
    if (width == 0 || height == 0 || width > pictureSideCap || height > pictureSideCap ||
        std::uint64_t(width) * height > picturePixelCap)
        return false;

    const int orientation = frameOrientation(*frame.get(), type);
    const bool swap = orientationSwapsSides(orientation);
    const SIZE own = {static_cast<LONG>(swap ? height : width), static_cast<LONG>(swap ? width : height)};
    SIZE target = own;
    PaneRect fitted;
    if (pane && fitPicture(own.cx, own.cy, PaneRect{pane->left, pane->top, pane->right, pane->bottom}, fitted))
        target = {std::max(1, fitted.right - fitted.left), std::max(1, fitted.bottom - fitted.top)};
    const UINT stored[2] = {static_cast<UINT>(swap ? target.cy : target.cx),
                            static_cast<UINT>(swap ? target.cx : target.cy)};

    ComPtr<IWICBitmapScaler> scaler;
    IWICBitmapSource* source = frame.get();
    if (stored[0] != width || stored[1] != height) {
        if (FAILED(factory->CreateBitmapScaler(scaler.put())) ||
            FAILED(scaler->Initialize(frame.get(), stored[0], stored[1], WICBitmapInterpolationModeFant)))
            return false;
        source = scaler.get();
    }
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(source, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return false;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(stored[0]) * stored[1]);
    const UINT stride = stored[0] * 4;
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * stored[1], reinterpret_cast<BYTE*>(pixels.data()))))
        return false;
    pixels = orientPixels(pixels, static_cast<int>(stored[0]), static_cast<int>(stored[1]), orientation);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = target.cx;
    info.bmiHeader.biHeight = -target.cy; // top-down, as the pixels come
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueGdiObject bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits)
        return false;
    std::memcpy(bits, pixels.data(), pixels.size() * sizeof pixels[0]);
    out.bitmap = std::move(bitmap);
    out.bitmapSize = target;
    out.ownSize = own;
    return true;
}

} // namespace

bool PictureData::loadFromFile(const std::string& path, const RECT* pane)
{
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        return false;
    clear();

    auto* stream = new (std::nothrow) ReadOnlyFileStream(file.get());
    if (!stream)
        return true;
    // Out of memory while checking or decoding is a picture that does not decode; the
    // stream must still be cut off from the file below.
    try {
        const PictureHead head = inspectPicture(StreamBytes(*stream));
        if (pictureTypeFitsKey(extensionKey(path, systemCodePage()), head.type) && rewind(*stream)) {
            if (forPictureObject(head.type)) {
                picture_ = decodePicture(*stream);
            } else {
                CodecPicture decoded;
                if (decodeWithCodec(*stream, head.type, pane, decoded)) {
                    bitmap_ = std::move(decoded.bitmap);
                    bitmapSize_ = decoded.bitmapSize;
                    codecSize_ = decoded.ownSize;
                }
            }
        }
    } catch (const std::bad_alloc&) {
        clear();
    }
    stream->close();
    stream->Release();
    return true;
}

void PictureData::clear()
{
    picture_.reset();
    bitmap_.reset();
    bitmapSize_ = {0, 0};
    codecSize_ = {0, 0};
}

SIZE PictureData::pixelSize(HDC dc) const
{
    SIZE size = {0, 0};
    if (bitmap_)
        return codecSize_;
    if (!picture_)
        return size;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    if (FAILED(picture_->get_Width(&width)) || FAILED(picture_->get_Height(&height)))
        return size;
    // HIMETRIC to device pixels by the device's pixels per inch (2540 HIMETRIC units),
    // as a context in its text mapping mode converts them.
    const auto toPixels = [&](HDC target) {
        size.cx = MulDiv(width, GetDeviceCaps(target, LOGPIXELSX), 2540);
        size.cy = MulDiv(height, GetDeviceCaps(target, LOGPIXELSY), 2540);
    };
    if (dc)
        toPixels(dc);
    else
        toPixels(WindowDc(nullptr).get());
    return size;
}

void PictureData::render(HDC dc, int left, int top, int right, int bottom, const RECT* bounds) const
{
    if (bitmap_) {
        PaneRect target;
        if (!fitPicture(codecSize_.cx, codecSize_.cy, PaneRect{left, top, right, bottom}, target))
            return;
        MemoryDc source(dc);
        const SelectedObject selected(source.get(), bitmap_.get());
        // Premultiplied alpha over whatever the pane's background left there.
        const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, source.get(),
                   0, 0, bitmapSize_.cx, bitmapSize_.cy, blend);
        return;
    }
    if (!picture_)
        return;
    const SIZE pixels = pixelSize(dc);
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    if (FAILED(picture_->get_Width(&width)) || FAILED(picture_->get_Height(&height)))
        return;
    PaneRect target;
    if (!fitPicture(pixels.cx, pixels.cy, PaneRect{left, top, right, bottom}, target))
        return;
    // The source starts at the bottom with a negative height: HIMETRIC runs upwards, so
    // this draws the picture upright.
    picture_->Render(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, 0, height,
                     width, -height, bounds);
}
