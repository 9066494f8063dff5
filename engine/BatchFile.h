#pragma once
// The saved state of the user's work (".tlx"): four string-array records and the Undo flag.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CodePage;

// The five items of a batch file, in file order.
struct BatchFile {
    std::vector<std::string> addedPaths;    // every added path, before filtering
    std::vector<std::string> fileListLines; // the file list as shown
    std::vector<std::string> journalPaths;  // new paths of the last preview or rename run
    std::vector<std::string> ruleLines;     // the rules list, in order of application
    bool undoAvailable = false;

    bool operator==(const BatchFile& other) const
    {
        return addedPaths == other.addedPaths && fileListLines == other.fileListLines
            && journalPaths == other.journalPaths && ruleLines == other.ruleLines
            && undoAvailable == other.undoAvailable;
    }
};

// Where an encoded batch goes. write() returns false when the bytes could not be stored; the
// sink keeps its own account of why (a Win32 sink keeps the error code).
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual bool write(const char* data, std::size_t size) = 0;
};

// Where an encoded batch comes from. read() fills up to `capacity` bytes and sets `got`
// (0 at the end of the data); it returns false on a read error. size() is the whole length
// of the data; the reader never believes a declared count or length that goes beyond it.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual bool read(char* buffer, std::size_t capacity, std::size_t& got) = 0;
    virtual std::uint64_t size() const = 0;
};

enum class BatchReadStatus {
    ok,
    pastEnd,    // the data ends before the five items do (or declares more than it holds)
    readFailed, // the source reported an error
};

// The five items as references to texts kept elsewhere: what a save writes from the
// program's own lists without copying 100,000 paths first.
struct BatchFileRefs {
    std::vector<std::string_view> addedPaths;
    std::vector<std::string_view> fileListLines;
    std::vector<std::string_view> journalPaths;
    std::vector<std::string_view> ruleLines;
    bool undoAvailable = false;
};

BatchFileRefs refsOf(const BatchFile& batch);
std::vector<std::string_view> refsOf(const std::vector<std::string>& strings);

// The bytes go out through a 4096-byte buffer; false as soon as the sink fails.
bool writeBatchFile(const BatchFileRefs& batch, ByteSink& sink);
bool writeBatchFile(const BatchFile& batch, ByteSink& sink);

// Reads all five items; `out` is changed only when the status is ok. Bytes after the fifth
// item are ignored. Wide strings are converted with `codePage`.
BatchReadStatus readBatchFile(ByteSource& source, const CodePage& codePage, BatchFile& out);

// In-memory forms of the two above.
std::string encodeBatchFile(const BatchFile& batch);
BatchReadStatus decodeBatchFile(const std::string& bytes, const CodePage& codePage,
                                BatchFile& out);

// A source over bytes held in memory (not copied: they must outlive the source).
class MemoryByteSource final : public ByteSource {
public:
    MemoryByteSource(const char* data, std::size_t size) : data_(data), size_(size) {}
    bool read(char* buffer, std::size_t capacity, std::size_t& got) override;
    std::uint64_t size() const override { return size_; }

private:
    const char* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

// A sink that appends to a string.
class StringByteSink final : public ByteSink {
public:
    explicit StringByteSink(std::string& target) : target_(target) {}
    bool write(const char* data, std::size_t size) override
    {
        target_.append(data, size);
        return true;
    }

private:
    std::string& target_;
};
