// Fuzzes the header check that stands between a picture file and the system's decoders.
//
// Invariants: an accepted file has a size within the caps; a refused one reports no size;
// the check reads only inside the file, a bounded number of times; and the same bytes give
// the same answer.

#include "quickview/PictureHeader.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cstddef>
#include <cstdint>

namespace {

// Counts the reads and checks that each one starts inside the file.
class WatchedBytes final : public PictureBytes {
public:
    WatchedBytes(const std::uint8_t* data, std::size_t size) : inner_(data, size, size), size_(size) {}
    std::uint64_t size() const override { return size_; }
    std::size_t readAt(std::uint64_t offset, unsigned char* out, std::size_t count) const override
    {
        FUZZ_CHECK(offset <= size_, "a read starts past the end of the file");
        ++reads;
        return inner_.readAt(offset, out, count);
    }
    mutable long reads = 0;

private:
    MemoryPictureBytes inner_;
    std::uint64_t size_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const WatchedBytes bytes(data, size);
    const PictureHead head = inspectPicture(bytes);
    FUZZ_CHECK(bytes.reads <= 10000, "the check read the file too often");
    if (head.type == PictureType::none) {
        FUZZ_CHECK(head.width == 0 && head.height == 0, "a refused file reports a size");
    } else {
        FUZZ_CHECK(head.width >= 1 && head.height >= 1, "an accepted picture has no area");
        FUZZ_CHECK(head.width <= pictureSideCap && head.height <= pictureSideCap, "a side over the cap passed");
        FUZZ_CHECK(std::uint64_t(head.width) * head.height <= picturePixelCap, "a size over the pixel cap passed");
    }
    const PictureHead again = inspectPicture(WatchedBytes(data, size));
    FUZZ_CHECK(again.type == head.type && again.width == head.width && again.height == head.height,
               "the same bytes gave another answer");
    return 0;
}
