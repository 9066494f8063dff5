// Reading and writing the handoff file's records.

#include "app/Handoff.h"

#include <gtest/gtest.h>

namespace {

struct HandoffRow {
    const char* what;
    std::string text;
    std::vector<std::string> records;
};

class HandoffParse : public ::testing::TestWithParam<HandoffRow> {};

TEST_P(HandoffParse, YieldsTheRecordsInOrder)
{
    EXPECT_EQ(parseHandoffRecords(GetParam().text), GetParam().records) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, HandoffParse,
    ::testing::Values(
        HandoffRow{"empty file", "", {}},
        HandoffRow{"two records", "C:\\a.txt\r\nC:\\b.txt\r\n", {"C:\\a.txt", "C:\\b.txt"}},
        HandoffRow{"final record without CR LF is dropped", "C:\\a.txt\r\nC:\\b.txt", {"C:\\a.txt"}},
        HandoffRow{"same path twice stays twice", "C:\\a.txt\r\nC:\\a.txt\r\n", {"C:\\a.txt", "C:\\a.txt"}},
        HandoffRow{"empty record", "\r\nC:\\a.txt\r\n", {"", "C:\\a.txt"}},
        HandoffRow{"lone CR or LF is part of the path", "C:\\a\rb\nc\r\n", {"C:\\a\rb\nc"}},
        HandoffRow{"CR CR LF keeps the first CR", "C:\\x\r\r\n", {"C:\\x\r"}},
        HandoffRow{"only bytes without CR LF", "C:\\a.txt", {}},
        HandoffRow{"case and blanks kept exactly", " c:\\Some Dir\\X.TXT \r\n", {" c:\\Some Dir\\X.TXT "}},
        HandoffRow{"embedded NUL kept", std::string("C:\\a\0b\r\n", 8), {std::string("C:\\a\0b", 6)}},
        HandoffRow{"DBCS path with trail byte 0x5C", "D:\\\x95\x5C.jpg\r\n", {"D:\\\x95\x5C.jpg"}}));

TEST(HandoffBuild, RoundTripsAndFramesEveryPath)
{
    const std::vector<std::string> paths = {"C:\\a.txt", "D:\\Photos\\b.jpg", ""};
    const std::string text = buildHandoffText(paths);
    EXPECT_EQ(text, "C:\\a.txt\r\nD:\\Photos\\b.jpg\r\n\r\n");
    EXPECT_EQ(parseHandoffRecords(text), paths);
    EXPECT_EQ(buildHandoffText({}), "");
}

} // namespace
