#pragma once
// The check of a picture file's signature and declared size before any decoder sees it.

#include <cstddef>
#include <cstdint>

// The picture types the pane knows by their first bytes.
enum class PictureType { none, bmp, gif, jpeg, png, tiff, ico, heif, webp, jxr };

// Random access to a file's bytes. A read past the end comes back short.
class PictureBytes {
public:
    virtual ~PictureBytes() = default;
    virtual std::uint64_t size() const = 0;
    // The number of bytes copied to out, fewer than count at the end of the file.
    virtual std::size_t readAt(std::uint64_t offset, unsigned char* out, std::size_t count) const = 0;
};

// Bytes in memory. A size larger than the data stands for a file whose first bytes alone
// are at hand: reads beyond the data come back short, as at the end of a file.
class MemoryPictureBytes final : public PictureBytes {
public:
    MemoryPictureBytes(const unsigned char* data, std::size_t dataSize, std::uint64_t fileSize)
        : data_(data), dataSize_(dataSize), fileSize_(fileSize)
    {
    }
    std::uint64_t size() const override { return fileSize_; }
    std::size_t readAt(std::uint64_t offset, unsigned char* out, std::size_t count) const override;

private:
    const unsigned char* data_;
    std::size_t dataSize_;
    std::uint64_t fileSize_;
};

// No side above this and no more pixels than this: a few hundred bytes can declare a
// picture whose decode would take gigabytes.
constexpr std::uint32_t pictureSideCap = 20000;
constexpr std::uint64_t picturePixelCap = 200000000;

struct PictureHead {
    PictureType type = PictureType::none;
    // The declared size of the picture a decoder would show first, in pixels.
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// The type by the file's signature with its declared size. Type none when no signature
// matches, when the headers do not hold together inside the file (a bitmap whose rows lie
// past the end, a JPEG without a frame header, a TIFF directory outside the file, ...), or
// when the size is zero or over the caps. Reads only headers, never the pixel data.
PictureHead inspectPicture(const PictureBytes& bytes);
