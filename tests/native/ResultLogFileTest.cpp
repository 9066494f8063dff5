// Result log names and headers against a fixed clock.

#include "engine/ResultLogFile.h"

#include <gtest/gtest.h>

namespace {

std::tm makeTm(int year, int month, int day, int wday, int hour, int min, int sec)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_wday = wday;
    t.tm_hour = hour;
    t.tm_min = min;
    t.tm_sec = sec;
    return t;
}

struct DateRow {
    std::tm time;
    const char* expected;
};

class ResultLogFileDate : public ::testing::TestWithParam<DateRow> {};

TEST_P(ResultLogFileDate, LongDateAndTimeOfTheCLocale)
{
    EXPECT_EQ(longDateTimeText(GetParam().time), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ResultLogFileDate,
    ::testing::Values(
        DateRow{makeTm(2003, 3, 3, 1, 9, 5, 7), "Monday, March 03, 2003 9:05:07"},
        DateRow{makeTm(2001, 9, 9, 0, 1, 46, 40), "Sunday, September 09, 2001 1:46:40"},
        DateRow{makeTm(1999, 12, 31, 5, 23, 59, 59), "Friday, December 31, 1999 23:59:59"},
        DateRow{makeTm(2024, 2, 29, 4, 0, 0, 0), "Thursday, February 29, 2024 0:00:00"},
        DateRow{makeTm(2020, 1, 21, 2, 12, 0, 60), "Tuesday, January 21, 2020 12:00:60"},
        DateRow{makeTm(2010, 6, 16, 3, 10, 10, 10), "Wednesday, June 16, 2010 10:10:10"},
        DateRow{makeTm(812, 8, 1, 6, 7, 8, 9), "Saturday, August 01, 0812 7:08:09"},
        // A broken-down time out of range cannot be shown: the date text is empty.
        DateRow{makeTm(2003, 13, 3, 1, 9, 5, 7), ""},
        DateRow{makeTm(2003, 3, 0, 1, 9, 5, 7), ""},
        DateRow{makeTm(2003, 3, 3, 7, 9, 5, 7), ""},
        DateRow{makeTm(2003, 3, 3, 1, 24, 5, 7), ""},
        DateRow{makeTm(10000, 3, 3, 1, 9, 5, 7), ""}));

struct NameRow {
    std::int64_t seconds;
    const char* expected;
};

class ResultLogFileName : public ::testing::TestWithParam<NameRow> {};

TEST_P(ResultLogFileName, SecondsAsSigned32BitNumber)
{
    EXPECT_EQ(resultLogFileName(GetParam().seconds), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Seconds, ResultLogFileName,
                         ::testing::Values(NameRow{1000000000, "Log1000000000.txt"},
                                           NameRow{0, "Log0.txt"},
                                           NameRow{2147483647, "Log2147483647.txt"},
                                           NameRow{2147483648LL, "Log-2147483648.txt"},
                                           NameRow{-1, "Log-1.txt"}));

class FixedClock final : public LogClock {
public:
    FixedClock(std::int64_t seconds, bool localWorks, std::tm local)
        : seconds_(seconds), localWorks_(localWorks), local_(local)
    {
    }
    std::int64_t now() const override { return seconds_; }
    bool localTime(std::int64_t seconds, std::tm& out) const override
    {
        asked = seconds;
        if (localWorks_)
            out = local_;
        return localWorks_;
    }
    mutable std::int64_t asked = -1;

private:
    std::int64_t seconds_;
    bool localWorks_;
    std::tm local_;
};

TEST(ResultLogFile, HeaderThenBlankLineThenTheTextUnchanged)
{
    FixedClock clock(1046682307, true, makeTm(2003, 3, 3, 1, 9, 5, 7));
    const std::string text = "C:\\a.txt  will be changed to  C:\\1a.txt\r\nC:\\b.txt  not changed\r\n"
                             "typed by the user without a line end";
    ResultLogFile log = makeResultLogFile(clock, text);
    EXPECT_EQ(log.fileName, "Log1046682307.txt");
    EXPECT_EQ(log.content, "Tesselwork 2 Log on: Monday, March 03, 2003 9:05:07\r\n\r\n" + text);
    EXPECT_EQ(clock.asked, 1046682307) << "the date must be of the same instant as the name";
}

TEST(ResultLogFile, DateThatCannotBeFormedLeavesTheHeaderBare)
{
    FixedClock clock(1000000000, false, std::tm{});
    ResultLogFile log = makeResultLogFile(clock, "x\r\n");
    EXPECT_EQ(log.fileName, "Log1000000000.txt");
    EXPECT_EQ(log.content, "Tesselwork 2 Log on: \r\n\r\nx\r\n");
}

TEST(ResultLogFile, SystemClockGivesAFormableNow)
{
    const LogClock& clock = systemLogClock();
    std::int64_t now = clock.now();
    EXPECT_GT(now, 1600000000) << "the machine's clock is far in the past";
    std::tm local{};
    ASSERT_TRUE(clock.localTime(now, local));
    EXPECT_FALSE(longDateTimeText(local).empty());
}

} // namespace
