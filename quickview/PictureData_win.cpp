// Picture loading through OleLoadPicture over a read-only, buffered file stream.

#include "quickview/PictureData_win.h"

#include "quickview/PictureFit.h"
#include "quickview/PictureHeader.h"
#include "win/ComObject.h"

#include <ole2.h>

#include <algorithm>
#include <cstring>
#include <new>

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

// The picture from the stream, or nothing when its header is implausible or the decoder
// refuses it.
ComPtr<IPicture> decodePicture(ReadOnlyFileStream& stream)
{
    ComPtr<IPicture> picture;
    unsigned char head[pictureHeaderBytes];
    ULONG got = 0;
    if (FAILED(stream.Read(head, sizeof head, &got)) ||
        !pictureHeaderUsable(head, got, stream.size()))
        return picture;
    LARGE_INTEGER start = {};
    if (FAILED(stream.Seek(start, STREAM_SEEK_SET, nullptr)))
        return picture;
    IPicture* loaded = nullptr;
    if (SUCCEEDED(OleLoadPicture(&stream, 0, FALSE, IID_IPicture, reinterpret_cast<void**>(&loaded))) && loaded)
        picture = ComPtr<IPicture>::attach(loaded);
    return picture;
}

} // namespace

bool PictureData::loadFromFile(const std::string& path)
{
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        return false;
    picture_.reset();

    auto* stream = new (std::nothrow) ReadOnlyFileStream(file.get());
    if (!stream)
        return true;
    picture_ = decodePicture(*stream);
    stream->close();
    stream->Release();
    return true;
}

SIZE PictureData::pixelSize(HDC dc) const
{
    SIZE size = {0, 0};
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
