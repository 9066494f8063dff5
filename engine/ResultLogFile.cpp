// Naming and header of result logs. The date is formed here rather than by strftime("%#c"):
// the "#" flag is a Microsoft runtime extension, and the log must read the same in every
// build and whatever locale a host process may have set.

#include "engine/ResultLogFile.h"

#include <cstdio>

namespace {

const char* const dayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};
const char* const monthNames[12] = {"January", "February", "March", "April", "May", "June",
                                    "July", "August", "September", "October", "November",
                                    "December"};

// The date text had to fit a 128-character buffer including its terminating zero.
const std::size_t dateBufferSize = 128;

class SystemLogClock final : public LogClock {
public:
    std::int64_t now() const override { return static_cast<std::int64_t>(std::time(nullptr)); }

    bool localTime(std::int64_t seconds, std::tm& out) const override
    {
        std::time_t t = static_cast<std::time_t>(seconds);
        if (static_cast<std::int64_t>(t) != seconds)
            return false;
        // The program has one thread; localtime's shared result is copied out at once.
        const std::tm* local = std::localtime(&t);
        if (!local)
            return false;
        out = *local;
        return true;
    }
};

const SystemLogClock systemClock;

} // namespace

const LogClock& systemLogClock()
{
    return systemClock;
}

std::string resultLogFileName(std::int64_t seconds)
{
    // The count was a signed 32-bit number; past 2038 it wraps like one.
    std::uint32_t low = static_cast<std::uint32_t>(static_cast<std::uint64_t>(seconds));
    long long value = low >= 0x80000000u ? static_cast<long long>(low) - 0x100000000LL
                                         : static_cast<long long>(low);
    return "Log" + std::to_string(value) + ".txt";
}

std::string longDateTimeText(const std::tm& time)
{
    int year = time.tm_year + 1900;
    if (time.tm_wday < 0 || time.tm_wday > 6 || time.tm_mon < 0 || time.tm_mon > 11
        || time.tm_mday < 1 || time.tm_mday > 31 || time.tm_hour < 0 || time.tm_hour > 23
        || time.tm_min < 0 || time.tm_min > 59 || time.tm_sec < 0 || time.tm_sec > 60
        || year < 0 || year > 9999)
        return std::string();
    char buffer[dateBufferSize];
    int n = std::snprintf(buffer, sizeof buffer, "%s, %s %02d, %04d %d:%02d:%02d",
                          dayNames[time.tm_wday], monthNames[time.tm_mon], time.tm_mday, year,
                          time.tm_hour, time.tm_min, time.tm_sec);
    if (n < 0 || static_cast<std::size_t>(n) >= sizeof buffer)
        return std::string();
    return std::string(buffer, static_cast<std::size_t>(n));
}

ResultLogFile makeResultLogFile(const LogClock& clock, const std::string& resultText)
{
    std::int64_t seconds = clock.now();
    std::tm local{};
    std::string date = clock.localTime(seconds, local) ? longDateTimeText(local) : std::string();
    ResultLogFile log;
    log.fileName = resultLogFileName(seconds);
    log.content = "Tesselwork 2 Log on: " + date + "\r\n\r\n" + resultText;
    return log;
}
