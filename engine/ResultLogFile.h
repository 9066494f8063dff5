#pragma once
// The saved result log: its name "Log<seconds>.txt" and its dated header line.

#include <cstdint>
#include <ctime>
#include <string>

// The time a log is stamped with; tests put in a fixed instant and time zone.
class LogClock {
public:
    virtual ~LogClock() = default;
    // Seconds since 1970-01-01 00:00:00 UTC.
    virtual std::int64_t now() const = 0;
    // The instant in local time; false when it cannot be formed.
    virtual bool localTime(std::int64_t seconds, std::tm& out) const = 0;
};

// time() and localtime() of the C runtime.
const LogClock& systemLogClock();

// "Log%d.txt" with the seconds as a signed 32-bit number.
std::string resultLogFileName(std::int64_t seconds);

// The long date and time of the C locale: "Monday, March 03, 2003 9:05:07" (day with a
// leading zero, 24-hour clock, hour without one). Empty for a time that cannot be shown.
std::string longDateTimeText(const std::tm& time);

struct ResultLogFile {
    std::string fileName; // without a directory
    std::string content;  // header, blank line, the result text unchanged
};

// The file for `resultText` saved now, by `clock`'s account of now.
ResultLogFile makeResultLogFile(const LogClock& clock, const std::string& resultText);
