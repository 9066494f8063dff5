// Applying the rules of a run to one file name.

#include "engine/NewPath.h"

#include "base/CodePage.h"

#include <algorithm>
#include <chrono>

namespace {

class SystemLocalClock final : public LocalClock {
public:
    bool now(std::tm& local) const override
    {
        // The runtime's time() is slow under Wine (it consults the time zone on every
        // call); the standard clock reads the same instant cheaply.
        const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
        // Converting to local time consults the time zone (a file look-up in some
        // runtimes) and costs more than a whole name; within one second the answer is
        // the same, so a run of many files converts about once.
        if (!cached_ || t != cachedTime_) {
            // One thread only; the runtime's buffer is not shared with anyone else.
            const std::tm* converted = std::localtime(&t);
            if (!converted)
                return false;
            cachedLocal_ = *converted;
            cachedTime_ = t;
            cached_ = true;
        }
        local = cachedLocal_;
        return true;
    }

private:
    mutable bool cached_ = false;
    mutable std::time_t cachedTime_ = 0;
    mutable std::tm cachedLocal_{};
};

const SystemLocalClock systemClock;

// The C runtime's date formatting asserts on fields out of range; such a time is one that
// "cannot be formed".
bool dateFieldsValid(const std::tm& t)
{
    return t.tm_mon >= 0 && t.tm_mon <= 11 && t.tm_mday >= 1 && t.tm_mday <= 31 &&
           t.tm_year >= 0 && t.tm_year <= 8099;
}

// Decimal digits of a number into `out` (room for 21 characters); returns their count.
int formatDecimal(long long number, char* out)
{
    char reversed[24];
    int count = 0;
    const bool negative = number < 0;
    // In unsigned arithmetic the most negative number has a magnitude too.
    unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(number)
                                            : static_cast<unsigned long long>(number);
    do {
        reversed[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    int length = 0;
    if (negative)
        out[length++] = '-';
    while (count > 0)
        out[length++] = reversed[--count];
    return length;
}

bool isAscii(const std::string& text, std::size_t begin, std::size_t end)
{
    for (std::size_t i = begin; i < end; ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    }
    return true;
}

bool startsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

} // namespace

const LocalClock& systemLocalClock()
{
    return systemClock;
}

FixedClock::FixedClock(int year, int month, int day, int hour, int minute, int second)
    : valid_(true)
{
    time_.tm_year = year - 1900;
    time_.tm_mon = month - 1;
    time_.tm_mday = day;
    time_.tm_hour = hour;
    time_.tm_min = minute;
    time_.tm_sec = second;
    time_.tm_isdst = -1;
}

FixedClock FixedClock::failing()
{
    return FixedClock();
}

bool FixedClock::now(std::tm& local) const
{
    if (!valid_)
        return false;
    local = time_;
    return true;
}

NewPathComputer::NewPathComputer(const std::vector<std::string>& ruleLines,
                                 const CodePage& codePage, const LocalClock& clock)
    : rules_(readRenameRules(ruleLines, codePage)), codePage_(codePage), clock_(clock),
      scan_(codePage), pathText_(codePage)
{
    // Lines that can never change a name need not be looked at for every file.
    rules_.erase(std::remove_if(rules_.begin(), rules_.end(),
                                [](const RenameRule& r) {
                                    return r.skipped || r.kind == RenameRule::Kind::NoChange;
                                }),
                 rules_.end());
    if (!scan_.hasLeadBytes()) {
        std::string one(1, '\0');
        for (int c = 0; c < 256; ++c) {
            one[0] = static_cast<char>(c);
            codePage_.toUpper(one);
            upper_[c] = static_cast<unsigned char>(one[0]);
            one[0] = static_cast<char>(c);
            codePage_.toLower(one);
            lower_[c] = static_cast<unsigned char>(one[0]);
        }
        caseTables_ = true;
    }
}

std::string NewPathComputer::compute(const std::string& oldPath, int position) const
{
    // The rules work in place on a copy of the whole path: the folder part is never
    // touched, and one buffer serves every rule.
    std::string path;
    path.reserve(oldPath.size() + 64);
    path = oldPath;
    const std::size_t nameStart = pathText_.nameStart(path);

    for (const RenameRule& rule : rules_) {
        const std::size_t dot = scan_.findLast(path, '.', nameStart);
        std::size_t begin;
        std::size_t end;
        if (rule.target == RenameRule::Target::FileName) {
            begin = nameStart;
            end = dot == std::string::npos ? path.size() : dot;
        } else {
            if (dot == std::string::npos)
                continue; // no extension: its working text is empty
            begin = dot + 1;
            end = path.size();
        }
        if (begin == end)
            continue;
        apply(rule, path, begin, end, position);
    }
    return path;
}

bool NewPathComputer::isPlainRename(const std::string& oldPath, const std::string& newPath) const
{
    const std::size_t nameStart = pathText_.nameStart(oldPath);
    if (newPath.size() < nameStart || newPath.compare(0, nameStart, oldPath, 0, nameStart) != 0)
        return false;
    if (scan_.find(newPath, '\\', nameStart) != std::string::npos
        || scan_.find(newPath, '/', nameStart) != std::string::npos)
        return false;
    return newPath.find_first_not_of(". ", nameStart) != std::string::npos;
}

void NewPathComputer::apply(const RenameRule& rule, std::string& path, std::size_t begin,
                            std::size_t end, int position) const
{
    using Kind = RenameRule::Kind;
    const std::size_t insertAt = rule.action == RenameRule::Action::Prefix ? begin : end;
    switch (rule.kind) {
    case Kind::InsertText:
        path.insert(insertAt, rule.text);
        break;
    case Kind::InsertDigits: {
        // In 64 bits the sum of a large position and offset is written as it is.
        const long long number = static_cast<long long>(position) + rule.offset;
        char digits[24];
        const int length = formatDecimal(number, digits);
        const int width = std::min(rule.width, kMaxDigitWidth);
        const std::size_t zeros = width > length ? static_cast<std::size_t>(width - length) : 0;
        path.insert(insertAt, zeros, '0');
        path.insert(insertAt + zeros, digits, static_cast<std::size_t>(length));
        break;
    }
    case Kind::InsertDate:
        path.insert(insertAt, dateText(rule.text));
        break;
    case Kind::Replace:
        replaceAll(path, begin, end, rule.text, rule.replacement);
        break;
    case Kind::AllCase:
        mapCase(rule.action == RenameRule::Action::Uppercase, path, begin, end);
        break;
    case Kind::RemoveAll:
        path.erase(begin, end - begin);
        break;
    case Kind::LeftSegment:
    case Kind::RightSegment:
        applySegment(rule, path, begin, end);
        break;
    case Kind::RemoveDate:
        removeDate(rule.text, path, begin, end);
        break;
    case Kind::RemoveText:
        removeText(rule.text, path, begin, end);
        break;
    case Kind::NoChange:
        break;
    }
}

void NewPathComputer::mapCase(bool upper, std::string& path, std::size_t begin,
                              std::size_t end) const
{
    if (caseTables_) {
        const unsigned char* table = upper ? upper_ : lower_;
        // In UTF-8 the byte tables hold for ASCII only; the rest goes to the code page.
        const unsigned stop = scan_.countsCharacters() ? 0x80 : 0x100;
        std::size_t i = begin;
        for (; i < end && static_cast<unsigned char>(path[i]) < stop; ++i)
            path[i] = static_cast<char>(table[static_cast<unsigned char>(path[i])]);
        if (i == end)
            return;
        begin = i;
    }
    std::string segment = path.substr(begin, end - begin);
    if (upper)
        codePage_.toUpper(segment);
    else
        codePage_.toLower(segment);
    path.replace(begin, end - begin, segment);
}

void NewPathComputer::applySegment(const RenameRule& rule, std::string& path, std::size_t begin,
                                   std::size_t end) const
{
    if (rule.count <= 0)
        return;
    if (scan_.countsCharacters() && !isAscii(path, begin, end)) {
        applyCharacterSegment(rule, path, begin, end);
        return;
    }
    const std::size_t length = end - begin;
    std::size_t count = std::min(static_cast<std::size_t>(rule.count), length);
    const bool left = rule.kind == RenameRule::Kind::LeftSegment;

    std::size_t skip = 0;
    if (rule.letter) {
        // A double-byte character is not a letter; its trail byte is never asked about.
        bool found = false;
        std::size_t letterEnd = 0;
        for (std::size_t i = begin; i < end;) {
            const std::size_t w = scan_.charWidth(path, i);
            if (w == 1 && scan_.isLetter(static_cast<unsigned char>(path[i]))) {
                if (left) {
                    skip = i - begin;
                    found = true;
                    break;
                }
                found = true;
                letterEnd = i + 1;
            }
            i += w;
        }
        if (!found)
            skip = 0;
        else if (!left)
            skip = end - letterEnd;
    }
    count = std::min(count, length - skip);
    if (count == 0)
        return;

    std::size_t from = left ? begin + skip : end - skip - count;
    std::size_t to = from + count;
    scan_.widenToChars(path, begin, from, to);

    if (rule.action == RenameRule::Action::Remove)
        path.erase(from, to - from);
    else
        mapCase(rule.action == RenameRule::Action::Uppercase, path, from, to);
}

void NewPathComputer::applyCharacterSegment(const RenameRule& rule, std::string& path,
                                            std::size_t begin, std::size_t end) const
{
    // Where each character of the working text starts, and where the text ends.
    std::vector<std::size_t> starts;
    std::vector<bool> letters;
    for (std::size_t i = begin; i < end;) {
        const std::size_t w = scan_.charWidth(path, i);
        starts.push_back(i);
        letters.push_back(rule.letter && scan_.isLetterAt(path, i, w));
        i += w;
    }
    const std::size_t length = starts.size();
    starts.push_back(end);
    std::size_t count = std::min(static_cast<std::size_t>(rule.count), length);
    const bool left = rule.kind == RenameRule::Kind::LeftSegment;

    std::size_t skip = 0;
    if (rule.letter) {
        const auto first = std::find(letters.begin(), letters.end(), true);
        if (first != letters.end()) {
            const auto last = std::find(letters.rbegin(), letters.rend(), true);
            skip = left ? static_cast<std::size_t>(first - letters.begin())
                        : static_cast<std::size_t>(last - letters.rbegin());
        }
    }
    count = std::min(count, length - skip);
    if (count == 0)
        return;
    const std::size_t firstChar = left ? skip : length - skip - count;
    const std::size_t from = starts[firstChar];
    const std::size_t to = starts[firstChar + count];
    if (rule.action == RenameRule::Action::Remove)
        path.erase(from, to - from);
    else
        mapCase(rule.action == RenameRule::Action::Uppercase, path, from, to);
}

void NewPathComputer::removeDate(const std::string& format, std::string& path, std::size_t begin,
                                 std::size_t end) const
{
    const std::size_t hyphen = scan_.find(path, '-', begin, end);
    if (hyphen == std::string::npos || scan_.find(path, '-', hyphen + 1, end) == std::string::npos)
        return;
    const std::size_t start = hyphen - begin >= 2 ? hyphen - 2 : begin;
    std::size_t monthAt;
    if (startsWith(format, "mm-dd"))
        monthAt = start;
    else if (startsWith(format, "dd-mm"))
        monthAt = hyphen + 1;
    else
        return;
    const int number = readRuleNumber(path.substr(monthAt, std::min<std::size_t>(2, end - monthAt)));
    if (number < 1 || number > 12)
        return;
    std::size_t length;
    if (format == "mm-dd-yy" || format == "dd-mm-yy")
        length = 8;
    else if (format == "mm-dd-yyyy" || format == "dd-mm-yyyy")
        length = 10;
    else
        return;
    std::size_t from = start;
    std::size_t to = std::min(start + length, end);
    scan_.widenToChars(path, begin, from, to);
    path.erase(from, to - from);
}

void NewPathComputer::removeText(const std::string& pattern, std::string& path,
                                 std::size_t begin, std::size_t end) const
{
    const std::size_t star = scan_.find(pattern, '*');
    if (star == std::string::npos || pattern.size() == 1) {
        replaceAll(path, begin, end, pattern, std::string());
        return;
    }
    if (star == 0) {
        const std::string closing = pattern.substr(1);
        const std::size_t at = scan_.find(path, closing, begin, end);
        if (at != std::string::npos)
            path.erase(begin, at + closing.size() - begin);
        return;
    }
    const std::string opening = pattern.substr(0, star);
    if (star == pattern.size() - 1) {
        const std::size_t at = scan_.find(path, opening, begin, end);
        if (at != std::string::npos)
            path.erase(at, end - at);
        return;
    }
    const std::string closing = pattern.substr(star + 1);
    const std::size_t open = scan_.find(path, opening, begin, end);
    if (open == std::string::npos)
        return;
    const std::size_t close = scan_.find(path, closing, open, end);
    if (close == std::string::npos)
        return;
    path.erase(open, close + closing.size() - open);
}

void NewPathComputer::replaceAll(std::string& path, std::size_t begin, std::size_t end,
                                 const std::string& what, const std::string& with) const
{
    if (what.empty())
        return;
    std::size_t at = scan_.find(path, what, begin, end);
    while (at != std::string::npos) {
        // Continue behind the inserted text: it is never searched again.
        path.replace(at, what.size(), with);
        end = end - what.size() + with.size();
        at = scan_.find(path, what, at + with.size(), end);
    }
}

std::string NewPathComputer::dateText(const std::string& format) const
{
    static const char* const names[4] = {"mm-dd-yy", "mm-dd-yyyy", "dd-mm-yy", "dd-mm-yyyy"};
    static const char* const patterns[4] = {"%m-%d-%y", "%m-%d-%Y", "%d-%m-%y", "%d-%m-%Y"};
    int which = 0;
    while (which < 4 && format != names[which])
        ++which;
    if (which == 4)
        return format;
    std::tm local{};
    if (!clock_.now(local) || !dateFieldsValid(local))
        return std::string();
    DateCache& cache = dates_[which];
    const int day = (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
    if (cache.day != day) {
        char buffer[32];
        const std::size_t length = std::strftime(buffer, sizeof buffer, patterns[which], &local);
        cache.text.assign(buffer, length);
        cache.day = day;
    }
    return cache.text;
}

std::string computeNewPath(const std::string& oldPath, int position,
                           const std::vector<std::string>& ruleLines,
                           const CodePage& codePage, const LocalClock& clock)
{
    return NewPathComputer(ruleLines, codePage, clock).compute(oldPath, position);
}
