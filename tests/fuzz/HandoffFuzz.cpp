// Fuzzes the reader of the handoff file that the shell extension writes for the program.
//
// Invariants: no record holds a CR LF; the records framed again give back the text up to
// its last CR LF (the bytes after it form no record); and what is written reads back.

#include "app/Handoff.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> records = parseHandoffRecords(text);
    for (const std::string& record : records)
        FUZZ_CHECK(record.find("\r\n") == std::string::npos, "a record holds its own end");

    const std::size_t last = text.rfind("\r\n");
    const std::string framed = last == std::string::npos ? std::string() : text.substr(0, last + 2);
    const std::string built = buildHandoffText(records);
    FUZZ_CHECK(built == framed, "the records do not frame the text they came from");
    FUZZ_CHECK(parseHandoffRecords(built) == records, "written records do not read back");
    return 0;
}
