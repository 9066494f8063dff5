#pragma once
// The new-name computation: an old full path and its position in, the new full path out.

#include "base/CharScan.h"
#include "base/PathText.h"
#include "engine/RenameRule.h"

#include <ctime>
#include <string>
#include <vector>

class CodePage;

// Where "date" rules get today's date; tests put a fixed day in its place.
class LocalClock {
public:
    virtual ~LocalClock() = default;
    // The current local date and time; false when the local time cannot be formed.
    virtual bool now(std::tm& local) const = 0;
};

// The C runtime's current time converted to local time.
const LocalClock& systemLocalClock();

// A clock that always reads the same local time (or none, to model a failing clock).
class FixedClock final : public LocalClock {
public:
    FixedClock(int year, int month, int day, int hour = 12, int minute = 0, int second = 0);
    static FixedClock failing();
    bool now(std::tm& local) const override;

private:
    FixedClock() = default;
    std::tm time_{};
    bool valid_ = false;
};

// Longest run of leading zeros a "digit" rule writes. No file system takes a name this
// long, so the move fails as it would with the full width, but a width such as
// length:2000000000 can no longer exhaust memory while a preview builds its report.
constexpr int kMaxDigitWidth = 1024;

// The rules of one run, read once, applied to every file of the run. The rules list does
// not change while a run works through the files, so reading it per file would only cost.
class NewPathComputer {
public:
    NewPathComputer(const std::vector<std::string>& ruleLines, const CodePage& codePage,
                    const LocalClock& clock);

    std::string compute(const std::string& oldPath, int position) const;

    // True when `newPath` is `oldPath`'s folder followed by a name of one folder entry:
    // no backslash or slash in it, and not made of dots and blanks alone (".", "..", and
    // what Windows trims down to them or to nothing). Rule text, a date format or a batch
    // file written elsewhere can put any of these into a name.
    bool isPlainRename(const std::string& oldPath, const std::string& newPath) const;

private:
    // Each works on the working text, bytes [begin, end) of `path`, in place.
    void apply(const RenameRule& rule, std::string& path, std::size_t begin, std::size_t end,
               int position) const;
    void applySegment(const RenameRule& rule, std::string& path, std::size_t begin,
                      std::size_t end) const;
    // "left"/"right" where counts are characters of several bytes each (UTF-8).
    void applyCharacterSegment(const RenameRule& rule, std::string& path, std::size_t begin,
                               std::size_t end) const;
    void removeDate(const std::string& format, std::string& path, std::size_t begin,
                    std::size_t end) const;
    void removeText(const std::string& pattern, std::string& path, std::size_t begin,
                    std::size_t end) const;
    void replaceAll(std::string& path, std::size_t begin, std::size_t end,
                    const std::string& what, const std::string& with) const;
    void mapCase(bool upper, std::string& path, std::size_t begin, std::size_t end) const;
    std::string dateText(const std::string& format) const;

    std::vector<RenameRule> rules_;
    const CodePage& codePage_;
    const LocalClock& clock_;
    CharScan scan_;
    PathText pathText_;
    // In a single-byte code page the case mapping is one byte to one byte, so the code
    // page's mapping of every byte is asked once and kept (the system's mapping functions
    // convert through UTF-16 on every call); in UTF-8 the tables serve ASCII.
    bool caseTables_ = false;
    unsigned char upper_[256];
    unsigned char lower_[256];
    // The date text of each format name for the day it was last formed on: formatting
    // costs more than the rest of a name, and the day rarely changes within a run.
    struct DateCache {
        int day = -1; // year * 10000 + month * 100 + day of the text below
        std::string text;
    };
    mutable DateCache dates_[4];
};

// One file: reads the rule lines and applies them in order to the name of `oldPath`.
// Returns `oldPath` unchanged when no rule changes the name.
std::string computeNewPath(const std::string& oldPath, int position,
                           const std::vector<std::string>& ruleLines,
                           const CodePage& codePage, const LocalClock& clock);
