// Encoding and decoding of batch files.
//
// A string array is a count (16-bit, or 0xFFFF and a 32-bit count from 65535 on) followed by
// that many strings, each a length prefix (1 byte below 255; 0xFF and 16 bits up to 65533;
// 0xFF, 0xFFFF and 32 bits from 65534 on) and its bytes. A reader also meets the prefix
// 0xFF 0xFFFE, after which a second prefix counts UTF-16 units.

#include "engine/BatchFile.h"

#include "base/CodePage.h"

#include <algorithm>
#include <cstring>

namespace {

const std::size_t bufferSize = 4096;

class BufferedWriter {
public:
    explicit BufferedWriter(ByteSink& sink) : sink_(sink) {}

    bool bytes(const char* data, std::size_t size)
    {
        while (size > 0) {
            if (used_ == bufferSize && !flush())
                return false;
            std::size_t part = std::min(size, bufferSize - used_);
            std::memcpy(buffer_ + used_, data, part);
            used_ += part;
            data += part;
            size -= part;
        }
        return true;
    }

    bool u8(std::uint8_t value) { return bytes(reinterpret_cast<const char*>(&value), 1); }

    bool u16(std::uint16_t value)
    {
        const char b[2] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
        return bytes(b, 2);
    }

    bool u32(std::uint32_t value)
    {
        const char b[4] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                           static_cast<char>((value >> 16) & 0xFF),
                           static_cast<char>((value >> 24) & 0xFF)};
        return bytes(b, 4);
    }

    bool flush()
    {
        if (used_ == 0)
            return true;
        bool ok = sink_.write(buffer_, used_);
        used_ = 0;
        return ok;
    }

private:
    ByteSink& sink_;
    char buffer_[bufferSize];
    std::size_t used_ = 0;
};

bool fitsIn32(std::size_t size)
{
    return (static_cast<std::uint64_t>(size) >> 32) == 0;
}

bool writeCount(BufferedWriter& out, std::uint32_t count)
{
    if (count < 0xFFFF)
        return out.u16(static_cast<std::uint16_t>(count));
    return out.u16(0xFFFF) && out.u32(count);
}

bool writeLength(BufferedWriter& out, std::uint32_t length)
{
    if (length < 0xFF)
        return out.u8(static_cast<std::uint8_t>(length));
    if (length < 0xFFFE)
        return out.u8(0xFF) && out.u16(static_cast<std::uint16_t>(length));
    return out.u8(0xFF) && out.u16(0xFFFF) && out.u32(length);
}

bool writeArray(BufferedWriter& out, const std::vector<std::string_view>& strings)
{
    // The framing has no room for more than 32 bits; refuse rather than write a wrong length.
    if (!fitsIn32(strings.size()) || !writeCount(out, static_cast<std::uint32_t>(strings.size())))
        return false;
    for (std::string_view s : strings) {
        if (!fitsIn32(s.size()) || !writeLength(out, static_cast<std::uint32_t>(s.size())) || !out.bytes(s.data(), s.size()))
            return false;
    }
    return true;
}

class BufferedReader {
public:
    explicit BufferedReader(ByteSource& source) : source_(source), total_(source.size()) {}

    BatchReadStatus status() const { return status_; }

    // Bytes the data still holds beyond what has been taken; declared sizes above this are
    // a truncated or hostile file, and must fail before anything is allocated for them.
    std::uint64_t remaining() const { return total_ > taken_ ? total_ - taken_ : 0; }

    bool bytes(char* target, std::size_t size)
    {
        if (status_ != BatchReadStatus::ok)
            return false;
        while (size > 0) {
            if (position_ == filled_ && !refill())
                return false;
            std::size_t part = std::min(size, filled_ - position_);
            std::memcpy(target, buffer_ + position_, part);
            position_ += part;
            taken_ += part;
            target += part;
            size -= part;
        }
        return true;
    }

    bool u8(std::uint8_t& value)
    {
        char b;
        if (!bytes(&b, 1))
            return false;
        value = static_cast<std::uint8_t>(b);
        return true;
    }

    bool u16(std::uint16_t& value)
    {
        unsigned char b[2];
        if (!bytes(reinterpret_cast<char*>(b), 2))
            return false;
        value = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
        return true;
    }

    bool u32(std::uint32_t& value)
    {
        unsigned char b[4];
        if (!bytes(reinterpret_cast<char*>(b), 4))
            return false;
        value = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8)
            | (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
        return true;
    }

    // `size` bytes into `target`, copied once (no zero-fill first).
    bool string(std::string& target, std::size_t size)
    {
        target.clear();
        if (status_ != BatchReadStatus::ok)
            return false;
        if (size <= filled_ - position_) {
            target.assign(buffer_ + position_, size);
            position_ += size;
            taken_ += size;
            return true;
        }
        target.reserve(size);
        while (size > 0) {
            if (position_ == filled_ && !refill())
                return false;
            std::size_t part = std::min(size, filled_ - position_);
            target.append(buffer_ + position_, part);
            position_ += part;
            taken_ += part;
            size -= part;
        }
        return true;
    }

    // Marks the data as ending early (a declared size it cannot hold).
    bool pastEnd()
    {
        if (status_ == BatchReadStatus::ok)
            status_ = BatchReadStatus::pastEnd;
        return false;
    }

private:
    bool refill()
    {
        std::size_t got = 0;
        if (!source_.read(buffer_, bufferSize, got)) {
            status_ = BatchReadStatus::readFailed;
            return false;
        }
        if (got == 0)
            return pastEnd();
        position_ = 0;
        filled_ = got;
        return true;
    }

    ByteSource& source_;
    std::uint64_t total_;
    std::uint64_t taken_ = 0;
    char buffer_[bufferSize];
    std::size_t position_ = 0;
    std::size_t filled_ = 0;
    BatchReadStatus status_ = BatchReadStatus::ok;
};

bool readCount(BufferedReader& in, std::uint32_t& count)
{
    std::uint16_t shortCount;
    if (!in.u16(shortCount))
        return false;
    if (shortCount != 0xFFFF) {
        count = shortCount;
        return true;
    }
    return in.u32(count);
}

// One length prefix. With `wideAllowed`, the 0xFF 0xFFFE form sets `wide` and the real length
// follows as a second prefix; inside that second prefix 0xFFFE is an ordinary 16-bit length.
bool readLength(BufferedReader& in, bool wideAllowed, std::uint32_t& length, bool& wide)
{
    std::uint8_t shortLength;
    if (!in.u8(shortLength))
        return false;
    if (shortLength != 0xFF) {
        length = shortLength;
        return true;
    }
    std::uint16_t middle;
    if (!in.u16(middle))
        return false;
    if (middle == 0xFFFE && wideAllowed) {
        wide = true;
        return readLength(in, false, length, wide);
    }
    if (middle != 0xFFFF) {
        length = middle;
        return true;
    }
    return in.u32(length);
}

bool readString(BufferedReader& in, const CodePage& codePage, std::string& out)
{
    std::uint32_t length = 0;
    bool wide = false;
    if (!readLength(in, true, length, wide))
        return false;
    if (!wide) {
        if (length > in.remaining())
            return in.pastEnd();
        return in.string(out, length);
    }
    if (static_cast<std::uint64_t>(length) * 2 > in.remaining())
        return in.pastEnd();
    std::string raw(static_cast<std::size_t>(length) * 2, '\0');
    if (length != 0 && !in.bytes(&raw[0], raw.size()))
        return false;
    std::u16string units(length, u'\0');
    for (std::size_t i = 0; i < length; ++i) {
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i])
                                         | (static_cast<unsigned char>(raw[2 * i + 1]) << 8));
    }
    out = codePage.fromUtf16(units);
    return true;
}

bool readArray(BufferedReader& in, const CodePage& codePage, std::vector<std::string>& out)
{
    std::uint32_t count;
    if (!readCount(in, count))
        return false;
    // Every string takes at least its one-byte prefix.
    if (count > in.remaining())
        return in.pastEnd();
    out.clear();
    out.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        out.emplace_back();
        if (!readString(in, codePage, out.back()))
            return false;
    }
    return true;
}

} // namespace

std::vector<std::string_view> refsOf(const std::vector<std::string>& strings)
{
    return std::vector<std::string_view>(strings.begin(), strings.end());
}

BatchFileRefs refsOf(const BatchFile& batch)
{
    BatchFileRefs refs;
    refs.addedPaths = refsOf(batch.addedPaths);
    refs.fileListLines = refsOf(batch.fileListLines);
    refs.journalPaths = refsOf(batch.journalPaths);
    refs.ruleLines = refsOf(batch.ruleLines);
    refs.undoAvailable = batch.undoAvailable;
    return refs;
}

bool writeBatchFile(const BatchFile& batch, ByteSink& sink)
{
    return writeBatchFile(refsOf(batch), sink);
}

bool writeBatchFile(const BatchFileRefs& batch, ByteSink& sink)
{
    BufferedWriter out(sink);
    return writeArray(out, batch.addedPaths) && writeArray(out, batch.fileListLines)
        && writeArray(out, batch.journalPaths) && writeArray(out, batch.ruleLines)
        && out.u32(batch.undoAvailable ? 1 : 0) && out.flush();
}

BatchReadStatus readBatchFile(ByteSource& source, const CodePage& codePage, BatchFile& out)
{
    BufferedReader in(source);
    BatchFile read;
    std::uint32_t undo = 0;
    if (readArray(in, codePage, read.addedPaths) && readArray(in, codePage, read.fileListLines)
        && readArray(in, codePage, read.journalPaths) && readArray(in, codePage, read.ruleLines)
        && in.u32(undo)) {
        read.undoAvailable = undo != 0;
        out = std::move(read);
        return BatchReadStatus::ok;
    }
    return in.status() == BatchReadStatus::ok ? BatchReadStatus::pastEnd : in.status();
}

std::string encodeBatchFile(const BatchFile& whole)
{
    const BatchFileRefs batch = refsOf(whole);
    // The exact size first: growing the string block by block would copy it again and again.
    auto arraySize = [](const std::vector<std::string_view>& strings) {
        std::size_t size = strings.size() < 0xFFFF ? 2 : 6;
        for (std::string_view s : strings)
            size += s.size() + (s.size() < 0xFF ? 1 : s.size() < 0xFFFE ? 3 : 7);
        return size;
    };
    std::string bytes;
    bytes.reserve(arraySize(batch.addedPaths) + arraySize(batch.fileListLines) + arraySize(batch.journalPaths)
                  + arraySize(batch.ruleLines) + 4);
    StringByteSink sink(bytes);
    writeBatchFile(batch, sink);
    return bytes;
}

BatchReadStatus decodeBatchFile(const std::string& bytes, const CodePage& codePage,
                                BatchFile& out)
{
    MemoryByteSource source(bytes.data(), bytes.size());
    return readBatchFile(source, codePage, out);
}

bool MemoryByteSource::read(char* buffer, std::size_t capacity, std::size_t& got)
{
    got = std::min(capacity, size_ - position_);
    if (got != 0)
        std::memcpy(buffer, data_ + position_, got);
    position_ += got;
    return true;
}
