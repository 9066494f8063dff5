// Batch files and result logs on disk.

#include "engine/BatchFile_win.h"

#include "engine/CodePage.h"
#include "engine/PathText.h"
#include "win/Handles.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Large blocks: a batch of 100,000 paths is megabytes, and each WriteFile or ReadFile costs
// a system call (under Wine more than one).
const DWORD blockSize = 64 * 1024;

DWORD lastErrorOr(DWORD fallback)
{
    const DWORD code = GetLastError();
    return code != 0 ? code : fallback;
}

class FileSink final : public ByteSink {
public:
    explicit FileSink(HANDLE file) : file_(file) { buffer_.reserve(blockSize); }

    bool write(const char* data, std::size_t size) override
    {
        if (failed())
            return false;
        while (size > 0) {
            const std::size_t part = std::min<std::size_t>(size, blockSize - buffer_.size());
            buffer_.insert(buffer_.end(), data, data + part);
            data += part;
            size -= part;
            if (buffer_.size() == blockSize && !flush())
                return false;
        }
        return true;
    }

    bool flush()
    {
        if (failed())
            return false;
        const char* at = buffer_.data();
        DWORD left = static_cast<DWORD>(buffer_.size());
        while (left > 0) {
            DWORD written = 0;
            if (!WriteFile(file_, at, left, &written, nullptr)) {
                code_ = lastErrorOr(ERROR_WRITE_FAULT);
                return false;
            }
            // A write that takes fewer bytes without an error has run out of room.
            if (written == 0) {
                code_ = ERROR_DISK_FULL;
                return false;
            }
            at += written;
            left -= written;
        }
        buffer_.clear();
        return true;
    }

    bool failed() const { return code_ != 0; }
    DWORD code() const { return code_; }

private:
    HANDLE file_;
    std::vector<char> buffer_;
    DWORD code_ = 0;
};

class FileSource final : public ByteSource {
public:
    FileSource(HANDLE file, std::uint64_t size) : file_(file), size_(size), buffer_(blockSize) {}

    bool read(char* target, std::size_t capacity, std::size_t& got) override
    {
        got = 0;
        if (position_ == filled_) {
            DWORD read = 0;
            if (!ReadFile(file_, buffer_.data(), blockSize, &read, nullptr)) {
                code_ = lastErrorOr(ERROR_READ_FAULT);
                return false;
            }
            position_ = 0;
            filled_ = read;
        }
        got = std::min<std::size_t>(capacity, filled_ - position_);
        std::memcpy(target, buffer_.data() + position_, got);
        position_ += got;
        return true;
    }

    std::uint64_t size() const override { return size_; }
    DWORD code() const { return code_; }

private:
    HANDLE file_;
    std::uint64_t size_;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t filled_ = 0;
    DWORD code_ = 0;
};

// The folder part of a path, with its trailing backslash; "." when the path has none.
std::string folderOf(const std::string& path)
{
    const std::string_view folder = systemPathText().folderPart(path);
    return folder.empty() ? std::string(".\\") : std::string(folder);
}

// Writes through write() into the open file, then closes it; the outcome names what failed.
FileOutcome writeAndClose(UniqueHandle& file, const std::function<bool(ByteSink&)>& write)
{
    FileSink sink(file.get());
    SetLastError(0);
    const bool wrote = write(sink) && sink.flush();
    FileOutcome outcome;
    if (!wrote) {
        outcome.kind = FileOutcome::failed;
        outcome.systemCode = sink.failed() ? sink.code() : lastErrorOr(ERROR_WRITE_FAULT);
        file.reset();
        return outcome;
    }
    if (!CloseHandle(file.release())) {
        outcome.kind = FileOutcome::failed;
        outcome.systemCode = lastErrorOr(ERROR_WRITE_FAULT);
    }
    return outcome;
}

} // namespace

FileOutcome writeFileReplacing(const std::string& path, const std::function<bool(ByteSink&)>& write)
{
    FileOutcome outcome;
    // The chosen file must be one that may be written, as creating or emptying it would
    // need; otherwise the command ends silently, touching nothing. A read-only file is
    // refused by attribute: the open below would succeed for an administrator under some
    // systems, and the replacement would then lift the protection the user set.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES
        && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        outcome.kind = FileOutcome::notOpened;
        return outcome;
    }
    UniqueHandle probe(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe) {
        outcome.kind = FileOutcome::notOpened;
        return outcome;
    }
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    probe.reset();

    char temporary[MAX_PATH + 16] = {0};
    if (folderOf(path).size() > MAX_PATH - 14
        || !GetTempFileNameA(folderOf(path).c_str(), "tlx", 0, temporary)) {
        // The folder takes no new file; the chosen one can only be written in place.
        UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            outcome.kind = FileOutcome::notOpened;
            return outcome;
        }
        return writeAndClose(file, write);
    }

    auto discard = [&] {
        DeleteFileA(temporary);
        if (!existed)
            DeleteFileA(path.c_str());
    };
    UniqueHandle file(CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        outcome.kind = FileOutcome::failed;
        outcome.systemCode = lastErrorOr(ERROR_ACCESS_DENIED);
        discard();
        return outcome;
    }
    outcome = writeAndClose(file, write);
    if (outcome.kind != FileOutcome::done) {
        discard();
        return outcome;
    }
    if (!MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        outcome.kind = FileOutcome::failed;
        outcome.systemCode = lastErrorOr(ERROR_ACCESS_DENIED);
        discard();
    }
    return outcome;
}

FileOutcome saveBatchFile(const std::string& path, const BatchFile& batch)
{
    return saveBatchFile(path, refsOf(batch));
}

FileOutcome saveBatchFile(const std::string& path, const BatchFileRefs& batch)
{
    return writeFileReplacing(path, [&](ByteSink& sink) { return writeBatchFile(batch, sink); });
}

FileOutcome loadBatchFile(const std::string& path, BatchFile& out)
{
    FileOutcome outcome;
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        outcome.kind = FileOutcome::notOpened;
        return outcome;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size)) {
        outcome.kind = FileOutcome::failed;
        outcome.systemCode = lastErrorOr(ERROR_READ_FAULT);
        return outcome;
    }
    FileSource source(file.get(), static_cast<std::uint64_t>(size.QuadPart));
    switch (readBatchFile(source, systemCodePage(), out)) {
    case BatchReadStatus::ok:
        break;
    case BatchReadStatus::pastEnd:
        outcome.kind = FileOutcome::pastEnd;
        break;
    case BatchReadStatus::readFailed:
        outcome.kind = FileOutcome::failed;
        outcome.systemCode = source.code();
        break;
    }
    return outcome;
}

FileOutcome writeWholeFile(const std::string& path, const std::string& bytes)
{
    FileOutcome outcome;
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        outcome.kind = FileOutcome::notOpened;
        return outcome;
    }
    return writeAndClose(file, [&](ByteSink& sink) { return sink.write(bytes.data(), bytes.size()); });
}
