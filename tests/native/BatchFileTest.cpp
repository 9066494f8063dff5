// The batch file framing byte for byte, its wide-string form, and its behaviour on truncated,
// hostile and randomly damaged data.

#include "engine/BatchFile.h"
#include "base/CodePage.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::string bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

std::string le16(unsigned v)
{
    return bytes({static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF)});
}

std::string le32(unsigned long v)
{
    return le16(v & 0xFFFF) + le16((v >> 16) & 0xFFFF);
}

const std::string emptyArray = le16(0);
const std::string undoOff = le32(0);

// A state that a failed read must leave exactly as it was.
BatchFile sentinel()
{
    BatchFile b;
    b.addedPaths = {"C:\\keep\\a.txt"};
    b.fileListLines = {"C:\\keep\\a.txt"};
    b.journalPaths = {"C:\\keep\\b.txt"};
    b.ruleLines = {"FILENAME UPPERCASE"};
    b.undoAvailable = true;
    return b;
}

BatchFile typicalBatch()
{
    BatchFile b;
    b.addedPaths = {"C:\\Photos\\IMG_0001.JPG", "C:\\Photos\\IMG_0002.JPG", "D:\\x\\",
                    std::string(300, 'p'), ""};
    b.fileListLines = {"C:\\Photos\\IMG_0002.JPG"};
    b.journalPaths = {"C:\\Photos\\1IMG_0002.JPG"};
    b.ruleLines = {"FILENAME PREFIX digit length:1", "FILEEXT LOWERCASE"};
    b.undoAvailable = true;
    return b;
}

TEST(BatchFileEncoding, EmptyStateIsTwelveZeroBytes)
{
    EXPECT_EQ(encodeBatchFile(BatchFile()), std::string(12, '\0'));
}

TEST(BatchFileEncoding, SinglePathOfEightCharacters)
{
    BatchFile b;
    b.addedPaths = {"C:\\a.txt"};
    EXPECT_EQ(encodeBatchFile(b),
              bytes({0x01, 0x00, 0x08}) + "C:\\a.txt" + emptyArray + emptyArray + emptyArray
                  + undoOff);
}

TEST(BatchFileEncoding, ItemsInFileOrderAndUndoFlag)
{
    BatchFile b;
    b.addedPaths = {"a"};
    b.fileListLines = {"b"};
    b.journalPaths = {"c"};
    b.ruleLines = {"d", ""};
    b.undoAvailable = true;
    EXPECT_EQ(encodeBatchFile(b), le16(1) + "\x01" "a" + le16(1) + "\x01" "b" + le16(1)
                                      + "\x01" "c" + le16(2) + "\x01" "d" + bytes({0}) + le32(1));
}

struct LengthRow {
    std::size_t length;
    std::string prefix;
};

class BatchFileLengthPrefix : public ::testing::TestWithParam<LengthRow> {};

TEST_P(BatchFileLengthPrefix, EncodesAndDecodesAtTheBoundary)
{
    const LengthRow& row = GetParam();
    BatchFile b;
    b.ruleLines = {std::string(row.length, 'r')};
    std::string expected = emptyArray + emptyArray + emptyArray + le16(1) + row.prefix
        + std::string(row.length, 'r') + undoOff;
    std::string encoded = encodeBatchFile(b);
    ASSERT_EQ(encoded.size(), expected.size());
    EXPECT_EQ(encoded, expected);
    BatchFile back;
    ASSERT_EQ(decodeBatchFile(encoded, modelCodePage(1252), back), BatchReadStatus::ok);
    EXPECT_EQ(back, b);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, BatchFileLengthPrefix,
    ::testing::Values(LengthRow{0, bytes({0x00})}, LengthRow{1, bytes({0x01})},
                      LengthRow{254, bytes({0xFE})}, LengthRow{255, bytes({0xFF}) + le16(255)},
                      LengthRow{256, bytes({0xFF}) + le16(256)},
                      LengthRow{65533, bytes({0xFF}) + le16(65533)},
                      LengthRow{65534, bytes({0xFF}) + le16(0xFFFF) + le32(65534)},
                      LengthRow{65535, bytes({0xFF}) + le16(0xFFFF) + le32(65535)},
                      LengthRow{70000, bytes({0xFF}) + le16(0xFFFF) + le32(70000)}));

struct CountRow {
    std::size_t count;
    std::string prefix;
};

class BatchFileCountPrefix : public ::testing::TestWithParam<CountRow> {};

TEST_P(BatchFileCountPrefix, EncodesAndDecodesAtTheBoundary)
{
    const CountRow& row = GetParam();
    BatchFile b;
    b.fileListLines.assign(row.count, std::string());
    std::string expected = emptyArray + row.prefix + std::string(row.count, '\0') + emptyArray
        + emptyArray + undoOff;
    std::string encoded = encodeBatchFile(b);
    EXPECT_EQ(encoded, expected);
    BatchFile back;
    ASSERT_EQ(decodeBatchFile(encoded, modelCodePage(1252), back), BatchReadStatus::ok);
    EXPECT_EQ(back.fileListLines.size(), row.count);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, BatchFileCountPrefix,
                         ::testing::Values(CountRow{65534, le16(65534)},
                                           CountRow{65535, le16(0xFFFF) + le32(65535)},
                                           CountRow{65536, le16(0xFFFF) + le32(65536)}));

TEST(BatchFileDecoding, RoundTripsTypicalStateAndIgnoresTrailingBytes)
{
    BatchFile b = typicalBatch();
    std::string encoded = encodeBatchFile(b);
    BatchFile back;
    ASSERT_EQ(decodeBatchFile(encoded, modelCodePage(1252), back), BatchReadStatus::ok);
    EXPECT_EQ(back, b);
    BatchFile trailing;
    ASSERT_EQ(decodeBatchFile(encoded + "garbage after the flag", modelCodePage(1252), trailing),
              BatchReadStatus::ok);
    EXPECT_EQ(trailing, b);
}

TEST(BatchFileDecoding, KeepsEveryByteValueInTexts)
{
    std::string all;
    for (int c = 0; c < 256; ++c)
        all += static_cast<char>(c);
    BatchFile b;
    b.addedPaths = {all, std::string("\0\0", 2), "\xFF\xFE\xFF"};
    BatchFile back;
    ASSERT_EQ(decodeBatchFile(encodeBatchFile(b), modelCodePage(936), back), BatchReadStatus::ok);
    EXPECT_EQ(back, b);
}

TEST(BatchFileDecoding, AnyNonZeroUndoValueMeansAvailable)
{
    BatchFile back;
    ASSERT_EQ(decodeBatchFile(std::string(8, '\0') + le32(0x80000000), modelCodePage(1252), back),
              BatchReadStatus::ok);
    EXPECT_TRUE(back.undoAvailable);
    ASSERT_EQ(decodeBatchFile(std::string(12, '\0'), modelCodePage(1252), back), BatchReadStatus::ok);
    EXPECT_FALSE(back.undoAvailable);
}

TEST(BatchFileDecoding, AcceptsLongerFormsThanTheWriterUses)
{
    // A reader must take any well-formed prefix, not only the shortest one.
    std::string file = le16(0xFFFF) + le32(2) + bytes({0xFF}) + le16(3) + "abc" + bytes({0xFF})
        + le16(0xFFFF) + le32(1) + "d" + emptyArray + emptyArray + emptyArray + undoOff;
    BatchFile back;
    ASSERT_EQ(decodeBatchFile(file, modelCodePage(1252), back), BatchReadStatus::ok);
    EXPECT_EQ(back.addedPaths, (std::vector<std::string>{"abc", "d"}));
}

std::string utf16(std::initializer_list<unsigned> units)
{
    std::string out;
    for (unsigned u : units)
        out += le16(u);
    return out;
}

std::string repeatedUnit(char c, std::size_t count)
{
    std::string out;
    for (std::size_t i = 0; i < count; ++i)
        out += le16(static_cast<unsigned char>(c));
    return out;
}

struct WideRow {
    const char* what;
    int codePage;
    std::string encodedString; // one string of item 1, from its first prefix on
    std::string expected;
};

class BatchFileWideString : public ::testing::TestWithParam<WideRow> {};

TEST_P(BatchFileWideString, IsConvertedToTheCodePage)
{
    const WideRow& row = GetParam();
    std::string file = le16(2) + row.encodedString + "\x01z" + emptyArray + emptyArray + emptyArray
        + undoOff;
    BatchFile back;
    ASSERT_EQ(decodeBatchFile(file, modelCodePage(row.codePage), back), BatchReadStatus::ok)
        << row.what;
    ASSERT_EQ(back.addedPaths.size(), 2u) << row.what;
    EXPECT_EQ(back.addedPaths[0], row.expected) << row.what;
    EXPECT_EQ(back.addedPaths[1], "z") << row.what;
}

const std::string wideMark = bytes({0xFF}) + le16(0xFFFE);

INSTANTIATE_TEST_SUITE_P(
    Forms, BatchFileWideString,
    ::testing::Values(
        WideRow{"empty", 1252, wideMark + bytes({0}), ""},
        WideRow{"latin", 1252, wideMark + bytes({4}) + utf16({'C', ':', 0xE9, 0x20AC}),
                "C:\xE9\x80"},
        WideRow{"unmappable", 1252, wideMark + bytes({3}) + utf16({'a', 0x4E2D, 'b'}), "a?b"},
        WideRow{"surrogate pair is one character", 1252,
                wideMark + bytes({3}) + utf16({0xD83D, 0xDE00, 'x'}), "?x"},
        WideRow{"unpaired surrogate", 1252, wideMark + bytes({2}) + utf16({0xDC00, 'x'}), "?x"},
        WideRow{"embedded zero unit", 1252, wideMark + bytes({2}) + utf16({0, 'x'}),
                std::string("\0x", 2)},
        WideRow{"double-byte code page", 936,
                wideMark + bytes({3}) + utf16({0xFF21, 0x3000, 'q'}), "\xA3\xC1\xA1\xA1q"},
        WideRow{"three-byte second prefix", 1252,
                wideMark + bytes({0xFF}) + le16(300) + repeatedUnit('k', 300), std::string(300, 'k')},
        WideRow{"seven-byte second prefix", 1252,
                wideMark + bytes({0xFF}) + le16(0xFFFF) + le32(1) + utf16({'w'}), "w"}));

TEST(BatchFileWideString, SecondPrefixTakesFffeAsALength)
{
    // Inside the wide form 0xFFFE is no second marker but a length of 65534 units.
    std::string file = le16(1) + wideMark + bytes({0xFF}) + le16(0xFFFE)
        + repeatedUnit('m', 65534) + emptyArray
        + emptyArray + emptyArray + undoOff;
    BatchFile back;
    ASSERT_EQ(decodeBatchFile(file, modelCodePage(1252), back), BatchReadStatus::ok);
    ASSERT_EQ(back.addedPaths.size(), 1u);
    EXPECT_EQ(back.addedPaths[0], std::string(65534, 'm'));
}

TEST(BatchFileDecoding, EveryTruncationFailsAndChangesNothing)
{
    BatchFile b = typicalBatch();
    b.ruleLines.push_back(std::string(70000, 'L')); // a seven-byte prefix inside the file
    std::string encoded = encodeBatchFile(b);
    for (std::size_t cut = 0; cut < encoded.size(); ++cut) {
        BatchFile state = sentinel();
        ASSERT_EQ(decodeBatchFile(encoded.substr(0, cut), modelCodePage(1252), state),
                  BatchReadStatus::pastEnd)
            << "cut at " << cut;
        ASSERT_EQ(state, sentinel()) << "cut at " << cut;
    }
}

struct HostileRow {
    const char* what;
    std::string file;
};

class BatchFileHostile : public ::testing::TestWithParam<HostileRow> {};

TEST_P(BatchFileHostile, FailsAsPastTheEndWithoutAllocatingForTheClaim)
{
    // Under AddressSanitizer an allocation of the declared size would abort the test.
    BatchFile state = sentinel();
    EXPECT_EQ(decodeBatchFile(GetParam().file, modelCodePage(1252), state), BatchReadStatus::pastEnd);
    EXPECT_EQ(state, sentinel());
}

INSTANTIATE_TEST_SUITE_P(
    Claims, BatchFileHostile,
    ::testing::Values(
        HostileRow{"count 0xFFFFFFFF", le16(0xFFFF) + le32(0xFFFFFFFF) + std::string(64, '\0')},
        HostileRow{"count above the bytes left", le16(0xFFFF) + le32(100) + std::string(99, '\0')},
        HostileRow{"short count above the bytes left", le16(50000) + std::string(100, '\0')},
        HostileRow{"length 0xFFFFFFFF",
                   le16(1) + bytes({0xFF}) + le16(0xFFFF) + le32(0xFFFFFFFF) + std::string(64, 'x')},
        HostileRow{"length one beyond the data",
                   le16(1) + bytes({0xFF}) + le16(0xFFFF) + le32(21) + std::string(20, 'x')},
        HostileRow{"wide length 0xFFFFFFFF",
                   le16(1) + wideMark + bytes({0xFF}) + le16(0xFFFF) + le32(0xFFFFFFFF)
                       + std::string(64, 'x')},
        HostileRow{"wide length 0x80000000 (doubles past 32 bits)",
                   le16(1) + wideMark + bytes({0xFF}) + le16(0xFFFF) + le32(0x80000000)
                       + std::string(64, 'x')},
        HostileRow{"wide units of odd byte count", le16(1) + wideMark + bytes({2}) + "abc"},
        HostileRow{"count in a later item", emptyArray + emptyArray + emptyArray + le16(0xFFFF)
                                                + le32(0xFFFFFFF0) + undoOff},
        HostileRow{"flag cut short", std::string(8, '\0') + bytes({1, 0, 0})}));

// A source that breaks after handing out `limit` bytes, in small pieces.
class FailingSource final : public ByteSource {
public:
    FailingSource(const std::string& data, std::size_t limit) : data_(data), limit_(limit) {}

    bool read(char* buffer, std::size_t capacity, std::size_t& got) override
    {
        got = 0;
        if (position_ >= limit_)
            return false;
        got = std::min({capacity, limit_ - position_, std::size_t(7)});
        data_.copy(buffer, got, position_);
        position_ += got;
        return true;
    }

    std::uint64_t size() const override { return data_.size(); }

private:
    std::string data_;
    std::size_t limit_;
    std::size_t position_ = 0;
};

TEST(BatchFileDecoding, ReadErrorsAreReportedAsSuchAndChangeNothing)
{
    std::string encoded = encodeBatchFile(typicalBatch());
    for (std::size_t limit : {std::size_t(0), std::size_t(1), std::size_t(20), encoded.size() - 1}) {
        FailingSource source(encoded, limit);
        BatchFile state = sentinel();
        EXPECT_EQ(readBatchFile(source, modelCodePage(1252), state), BatchReadStatus::readFailed)
            << limit;
        EXPECT_EQ(state, sentinel()) << limit;
    }
    FailingSource whole(encoded, encoded.size());
    BatchFile state;
    EXPECT_EQ(readBatchFile(whole, modelCodePage(1252), state), BatchReadStatus::ok);
    EXPECT_EQ(state, typicalBatch());
}

// Records each write; fails from write number `failAt` on (0: never).
class RecordingSink final : public ByteSink {
public:
    explicit RecordingSink(int failAt = 0) : failAt_(failAt) {}

    bool write(const char* data, std::size_t size) override
    {
        ++writes;
        if (failAt_ != 0 && writes >= failAt_)
            return false;
        largest = std::max(largest, size);
        written.append(data, size);
        return true;
    }

    int writes = 0;
    std::size_t largest = 0;
    std::string written;

private:
    int failAt_;
};

TEST(BatchFileEncoding, WritesThroughAFourKilobyteBufferAndStopsAtTheFirstFailure)
{
    BatchFile b;
    for (int i = 0; i < 2000; ++i)
        b.addedPaths.push_back("C:\\folder\\file" + std::to_string(i) + ".txt");
    RecordingSink sink;
    ASSERT_TRUE(writeBatchFile(b, sink));
    EXPECT_EQ(sink.written, encodeBatchFile(b));
    EXPECT_EQ(sink.largest, 4096u);
    EXPECT_GT(sink.writes, 10);

    RecordingSink failing(3);
    EXPECT_FALSE(writeBatchFile(b, failing));
    EXPECT_EQ(failing.writes, 3) << "no write may follow a failed one";

    RecordingSink failingAtFlush(1);
    EXPECT_FALSE(writeBatchFile(BatchFile(), failingAtFlush)) << "the final flush counts too";
}

TEST(BatchFileDecoding, RandomDamageNeverCrashesAndWhatLoadsIsConsistent)
{
    const std::string valid = encodeBatchFile(typicalBatch());
    std::mt19937 random(20260);
    int loaded = 0;
    int refused = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string damaged = valid;
        int edits = 1 + static_cast<int>(random() % 6);
        for (int e = 0; e < edits; ++e) {
            std::size_t at = random() % damaged.size();
            switch (random() % 4) {
            case 0: damaged[at] = static_cast<char>(random()); break;
            case 1: damaged[at] = static_cast<char>(0xFF); break;
            case 2: damaged.erase(at, 1 + random() % 8); break;
            default: damaged.insert(at, std::string(1 + random() % 4, static_cast<char>(random())));
            }
            if (damaged.empty())
                damaged = "\x01";
        }
        const CodePage& cp = modelCodePage(round % 2 ? 936 : 1252);
        BatchFile state = sentinel();
        BatchReadStatus status = decodeBatchFile(damaged, cp, state);
        ASSERT_NE(status, BatchReadStatus::readFailed);
        if (status != BatchReadStatus::ok) {
            ASSERT_EQ(state, sentinel()) << "round " << round;
            ++refused;
            continue;
        }
        ++loaded;
        // Whatever loads must save and load again to the same state.
        BatchFile again;
        ASSERT_EQ(decodeBatchFile(encodeBatchFile(state), cp, again), BatchReadStatus::ok);
        ASSERT_EQ(again, state) << "round " << round;
    }
    // Both outcomes must be exercised, or the loop tests nothing.
    EXPECT_GT(loaded, 100);
    EXPECT_GT(refused, 100);
}

struct FromUtf16Row {
    int codePage;
    std::u16string units;
    std::string expected;
};

class BatchCodePageFromUtf16 : public ::testing::TestWithParam<FromUtf16Row> {};

TEST_P(BatchCodePageFromUtf16, ModelsConvert)
{
    EXPECT_EQ(modelCodePage(GetParam().codePage).fromUtf16(GetParam().units), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Models, BatchCodePageFromUtf16,
    ::testing::Values(FromUtf16Row{1252, u"", ""},
                      FromUtf16Row{1252, u"Plain ASCII 123", "Plain ASCII 123"},
                      FromUtf16Row{1252, u"\u00A0\u00FF\u0152\u0178\u2122", "\xA0\xFF\x8C\x9F\x99"},
                      // The five unassigned slots map to themselves, as the system's table has it.
                      FromUtf16Row{1252, u"\u0081\u008D\u008F\u0090\u009D\u0080\u4E2D",
                                   "\x81\x8D\x8F\x90\x9D??"},
                      FromUtf16Row{936, u"a\u00E9\uFF5A\uFF3A", "a?\xA3\xFA\xA3\xDA"}));

} // namespace
