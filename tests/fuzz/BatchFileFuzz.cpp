// Fuzzes the batch file reader with every byte string as a file.
//
// Invariants: a rejected file leaves the state it was read into unchanged; the answer does
// not depend on how the file layer cuts the bytes into reads; a source that fails part-way
// is reported as failed (or, when the five items came before the failure, read whole); and
// a batch that was read, written again, reads back equal.

#include "engine/BatchFile.h"
#include "base/CodePage.h"
#include "tests/fuzz/FuzzCheck.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

// Hands out the bytes in reads of changing, often tiny, sizes, and optionally fails once
// `failAt` bytes have been handed out.
class ChoppedSource final : public ByteSource {
public:
    ChoppedSource(const std::string& bytes, std::uint32_t seed, std::size_t failAt)
        : bytes_(bytes), seed_(seed | 1), failAt_(failAt) {}

    bool read(char* buffer, std::size_t capacity, std::size_t& got) override
    {
        got = 0;
        if (position_ >= failAt_)
            return false;
        seed_ = seed_ * 1103515245u + 12345u;
        std::size_t part = 1 + (seed_ >> 16) % 9000;
        part = std::min({part, capacity, bytes_.size() - position_, failAt_ - position_});
        std::memcpy(buffer, bytes_.data() + position_, part);
        position_ += part;
        got = part;
        return true;
    }

    std::uint64_t size() const override { return bytes_.size(); }

private:
    const std::string& bytes_;
    std::uint32_t seed_;
    std::size_t failAt_;
    std::size_t position_ = 0;
};

BatchFile sentinel()
{
    BatchFile batch;
    batch.addedPaths = {"C:\\kept\\a.txt"};
    batch.fileListLines = {"C:\\kept\\a.txt"};
    batch.journalPaths = {"C:\\kept\\b.txt"};
    batch.ruleLines = {"FILENAME PREFIX \"x\""};
    batch.undoAvailable = true;
    return batch;
}

void checkWith(const std::string& bytes, const CodePage& codePage)
{
    BatchFile read = sentinel();
    const BatchReadStatus status = decodeBatchFile(bytes, codePage, read);
    FUZZ_CHECK(status != BatchReadStatus::readFailed, "memory never fails to read");
    if (status != BatchReadStatus::ok)
        FUZZ_CHECK(read == sentinel(), "a rejected file changed the state");

    std::uint32_t seed = 0;
    for (char c : bytes.substr(0, 16))
        seed = seed * 31 + static_cast<unsigned char>(c);
    BatchFile chopped = sentinel();
    ChoppedSource choppedSource(bytes, seed, std::string::npos);
    FUZZ_CHECK(readBatchFile(choppedSource, codePage, chopped) == status, "the reads' sizes changed the answer");
    FUZZ_CHECK(chopped == read, "the reads' sizes changed what was read");

    // A read error at some point of the file.
    const std::size_t failAt = bytes.empty() ? 0 : seed % (bytes.size() + 1);
    BatchFile failing = sentinel();
    ChoppedSource failingSource(bytes, seed, failAt);
    const BatchReadStatus failed = readBatchFile(failingSource, codePage, failing);
    if (failed == BatchReadStatus::ok) {
        FUZZ_CHECK(status == BatchReadStatus::ok && failing == read, "a failing source read something else");
    } else {
        FUZZ_CHECK(failing == sentinel(), "a failed read changed the state");
        if (status == BatchReadStatus::ok)
            FUZZ_CHECK(failed == BatchReadStatus::readFailed, "a read error was not reported as one");
    }

    if (status == BatchReadStatus::ok) {
        const std::string written = encodeBatchFile(read);
        BatchFile again;
        FUZZ_CHECK(decodeBatchFile(written, codePage, again) == BatchReadStatus::ok, "a written batch does not read");
        FUZZ_CHECK(again == read, "a written batch reads back different");
        FUZZ_CHECK(encodeBatchFile(again) == written, "writing is not stable");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    checkWith(bytes, modelCodePage(1252));
    checkWith(bytes, modelCodePage(936));
    return 0;
}
