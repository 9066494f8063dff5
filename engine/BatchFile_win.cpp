// Batch files and result logs on disk.

#include "engine/BatchFile_win.h"

#include "base/CodePage.h"
#include "base/Program.h"
#include "base/PathText.h"
#include "base/Utf8.h"
#include "base/WideText_win.h"
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

FileOutcome failure(DWORD code)
{
    FileOutcome outcome;
    outcome.kind = FileOutcome::failed;
    outcome.systemCode = code;
    return outcome;
}

// Deletes the temporary file when it goes, unless it has been put in place: no path out of
// a save, an exception included, leaves one behind.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TemporaryFile()
    {
        if (!path_.empty())
            DeleteFileA(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& path() const { return path_; }
    void release() { path_.clear(); }
    void remove()
    {
        DeleteFileA(path_.c_str());
        path_.clear();
    }

private:
    std::string path_;
};

// The fallback where the earlier file cannot be replaced: its own bytes are overwritten.
// When the new content is longer, the room is taken first, so that a full disk stops the
// save before a byte of the earlier content is lost.
FileOutcome writeInPlace(const std::string& path, const std::function<bool(ByteSink&)>& write)
{
    std::string bytes;
    StringByteSink memory(bytes);
    SetLastError(0);
    if (!write(memory))
        return failure(lastErrorOr(ERROR_WRITE_FAULT));

    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        FileOutcome outcome;
        outcome.kind = FileOutcome::notOpened;
        return outcome;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size))
        return failure(lastErrorOr(ERROR_WRITE_FAULT));
    // The part beyond the earlier end goes first: it takes the room the new content needs
    // (an allocation request does not reserve it under Wine), and when there is none the
    // earlier bytes are untouched and the file is cut back to its earlier length.
    const std::size_t earlierSize = static_cast<std::size_t>(size.QuadPart);
    if (bytes.size() > earlierSize) {
        FileSink tail(file.get());
        if (!SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN))
            return failure(lastErrorOr(ERROR_SEEK));
        if (!tail.write(bytes.data() + earlierSize, bytes.size() - earlierSize) || !tail.flush()) {
            const FileOutcome outcome = failure(tail.code());
            SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN);
            SetEndOfFile(file.get());
            return outcome;
        }
    }
    const LARGE_INTEGER start = {};
    if (!SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN))
        return failure(lastErrorOr(ERROR_SEEK));
    FileSink head(file.get());
    if (!head.write(bytes.data(), std::min(bytes.size(), earlierSize)) || !head.flush())
        return failure(head.code());
    if (bytes.size() < earlierSize && !SetEndOfFile(file.get()))
        return failure(lastErrorOr(ERROR_WRITE_FAULT));
    if (!CloseHandle(file.release()))
        return failure(lastErrorOr(ERROR_WRITE_FAULT));
    return FileOutcome();
}

} // namespace

FileOutcome writeFileReplacing(const std::string& path, const std::function<bool(ByteSink&)>& write)
{
    FileOutcome outcome;
    // The chosen file must be one that may be written, as creating or emptying it would
    // need; otherwise the command ends silently, touching nothing. A read-only file is
    // refused by attribute: the open below would succeed for an administrator under some
    // systems, and the replacement would then lift the protection the user set.
    WIN32_FILE_ATTRIBUTE_DATA earlier = {};
    const bool existed = GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &earlier) != FALSE;
    if (existed && (earlier.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        outcome.kind = FileOutcome::notOpened;
        return outcome;
    }
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        outcome.kind = FileOutcome::notOpened;
        return outcome;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
        // A new file: nothing earlier to keep, so it is written where it goes, and a failed
        // save does not leave it behind.
        TemporaryFile created(path);
        UniqueHandle newFile(file.release()); // closed before the name is deleted
        outcome = writeAndClose(newFile, write);
        if (outcome.kind == FileOutcome::done)
            created.release();
        return outcome;
    }
    file.reset();

    char temporaryName[MAX_PATH + 16] = {0};
    const std::string folder = folderOf(path);
    if (folder.size() > MAX_PATH - 14 || !GetTempFileNameA(folder.c_str(), "tlx", 0, temporaryName))
        return writeInPlace(path, write); // the folder takes no new file
    TemporaryFile temporary(temporaryName);
    UniqueHandle written(CreateFileA(temporary.path().c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!written)
        return failure(lastErrorOr(ERROR_ACCESS_DENIED));
    outcome = writeAndClose(written, write);
    if (outcome.kind != FileOutcome::done)
        return outcome;
    // An earlier file that may not be replaced is written in place; the temporary copy is
    // then of no use, and its room may be needed.
    if (!replaceableFile(path)) {
        temporary.remove();
        return writeInPlace(path, write);
    }
    unsigned long code = 0;
    if (!replaceFileKeepingIdentity(path, temporary.path(), code)) {
        const bool earlierThere = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        // Refused with the earlier file untouched (taken meanwhile by another process):
        // written in place as above.
        if (earlierThere && (code == ERROR_SHARING_VIOLATION || code == ERROR_UNABLE_TO_REMOVE_REPLACED)) {
            temporary.remove();
            return writeInPlace(path, write);
        }
        // The earlier file went and the new one did not take its name: the new content
        // must not go too. It is given the name, or kept where it is when even that fails.
        if (!earlierThere) {
            if (MoveFileExA(temporary.path().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
                temporary.release();
                return outcome;
            }
            temporary.release();
        }
        outcome.kind = FileOutcome::failed;
        outcome.systemCode = code;
        return outcome;
    }
    temporary.release();
    return outcome;
}

FileOutcome saveBatchFile(const std::string& path, const BatchFile& batch)
{
    return saveBatchFile(path, refsOf(batch));
}

namespace {

// Texts of a program that does not run in UTF-8, converted for the file; the references
// then point into `held`.
void refsInUtf8(std::vector<std::string_view>& texts, std::vector<std::string>& held)
{
    for (std::string_view& text : texts) {
        held.push_back(fileTextFromProgram(std::string(text)));
        text = held.back();
    }
}

// Every text of a batch is read alike: a file is either all UTF-8 or all in the machine's
// ANSI code page, never a mixture.
void toProgramText(BatchFile& batch)
{
    std::vector<std::string>* lists[] = {&batch.addedPaths, &batch.fileListLines, &batch.journalPaths,
                                         &batch.ruleLines};
    bool isUtf8 = true;
    for (const std::vector<std::string>* list : lists) {
        for (const std::string& text : *list)
            isUtf8 = isUtf8 && utf8::isValid(text);
    }
    if (isUtf8 && GetACP() == CP_UTF8)
        return;
    for (std::vector<std::string>* list : lists) {
        for (std::string& text : *list)
            text = programTextFromFile(text, isUtf8);
    }
}

} // namespace

FileOutcome saveBatchFile(const std::string& path, const BatchFileRefs& batch)
{
    if (GetACP() == CP_UTF8)
        return writeFileReplacing(path, [&](ByteSink& sink) { return writeBatchFile(batch, sink); });
    // Files are written in UTF-8 whatever the program runs in.
    BatchFileRefs converted = batch;
    std::vector<std::string> held;
    held.reserve(batch.addedPaths.size() + batch.fileListLines.size() + batch.journalPaths.size() +
                 batch.ruleLines.size());
    refsInUtf8(converted.addedPaths, held);
    refsInUtf8(converted.fileListLines, held);
    refsInUtf8(converted.journalPaths, held);
    refsInUtf8(converted.ruleLines, held);
    return writeFileReplacing(path, [&](ByteSink& sink) { return writeBatchFile(converted, sink); });
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
        toProgramText(out);
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
