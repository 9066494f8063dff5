// Applying the rules of a run to one file name.

#include "engine/NewPath.h"

#include "engine/CodePage.h"

#include <algorithm>
#include <cstdio>

namespace {

class SystemLocalClock final : public LocalClock {
public:
    bool now(std::tm& local) const override
    {
        const std::time_t t = std::time(nullptr);
        if (t == static_cast<std::time_t>(-1))
            return false;
        // One thread only; the runtime's buffer is not shared with anyone else.
        const std::tm* converted = std::localtime(&t);
        if (!converted)
            return false;
        local = *converted;
        return true;
    }
};

const SystemLocalClock systemClock;

// The C runtime's date formatting asserts on fields out of range; such a time is one that
// "cannot be formed".
bool dateFieldsValid(const std::tm& t)
{
    return t.tm_mon >= 0 && t.tm_mon <= 11 && t.tm_mday >= 1 && t.tm_mday <= 31 &&
           t.tm_year >= 0 && t.tm_year <= 8099;
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
      scan_(codePage)
{
    // Lines that can never change a name need not be looked at for every file.
    rules_.erase(std::remove_if(rules_.begin(), rules_.end(),
                                [](const RenameRule& r) {
                                    return r.skipped || r.kind == RenameRule::Kind::NoChange;
                                }),
                 rules_.end());
}

std::string NewPathComputer::compute(const std::string& oldPath, int position) const
{
    const std::size_t slash = scan_.findLast(oldPath, '\\');
    const std::size_t dirLength = slash == std::string::npos ? 0 : slash + 1;
    std::string name = oldPath.substr(dirLength);
    std::string work;
    std::string kept;

    for (const RenameRule& rule : rules_) {
        const std::size_t dot = scan_.findLast(name, '.');
        const bool onName = rule.target == RenameRule::Target::FileName;
        if (onName) {
            if (dot == std::string::npos) {
                work = name;
                kept.clear();
            } else {
                work.assign(name, 0, dot);
                kept.assign(name, dot, std::string::npos);
            }
        } else {
            if (dot == std::string::npos)
                continue; // no extension: its working text is empty
            work.assign(name, dot + 1, std::string::npos);
            kept.assign(name, 0, dot + 1);
        }
        if (work.empty())
            continue;
        apply(rule, work, position);
        if (onName) {
            work += kept;
            name.swap(work);
        } else {
            kept += work;
            name.swap(kept);
        }
    }

    std::string result;
    result.reserve(dirLength + name.size());
    result.append(oldPath, 0, dirLength);
    result += name;
    return result;
}

void NewPathComputer::apply(const RenameRule& rule, std::string& work, int position) const
{
    using Kind = RenameRule::Kind;
    const bool prefix = rule.action == RenameRule::Action::Prefix;
    switch (rule.kind) {
    case Kind::InsertText:
        work.insert(prefix ? 0 : work.size(), rule.text);
        break;
    case Kind::InsertDigits: {
        // In 64 bits the sum of a large position and offset is written as it is.
        const long long number = static_cast<long long>(position) + rule.offset;
        char digits[24];
        const int length = std::snprintf(digits, sizeof digits, "%lld", number);
        const int width = std::min(rule.width, kMaxDigitWidth);
        std::string text;
        if (width > length)
            text.assign(static_cast<std::size_t>(width - length), '0');
        text.append(digits, static_cast<std::size_t>(length));
        work.insert(prefix ? 0 : work.size(), text);
        break;
    }
    case Kind::InsertDate: {
        const std::string text = dateText(rule.text);
        work.insert(prefix ? 0 : work.size(), text);
        break;
    }
    case Kind::Replace:
        replaceAll(work, rule.text, rule.replacement);
        break;
    case Kind::AllCase:
        if (rule.action == RenameRule::Action::Uppercase)
            codePage_.toUpper(work);
        else
            codePage_.toLower(work);
        break;
    case Kind::RemoveAll:
        work.clear();
        break;
    case Kind::LeftSegment:
    case Kind::RightSegment:
        applySegment(rule, work);
        break;
    case Kind::RemoveDate:
        removeDate(rule.text, work);
        break;
    case Kind::RemoveText:
        removeText(rule.text, work);
        break;
    case Kind::NoChange:
        break;
    }
}

void NewPathComputer::applySegment(const RenameRule& rule, std::string& work) const
{
    if (rule.count <= 0)
        return;
    const std::size_t length = work.size();
    std::size_t count = std::min(static_cast<std::size_t>(rule.count), length);
    const bool left = rule.kind == RenameRule::Kind::LeftSegment;

    std::size_t skip = 0;
    if (rule.letter) {
        // A double-byte character is not a letter; its trail byte is never asked about.
        bool found = false;
        std::size_t letterEnd = 0;
        for (std::size_t i = 0; i < length;) {
            const std::size_t w = scan_.charWidth(work, i);
            if (w == 1 && scan_.isLetter(static_cast<unsigned char>(work[i]))) {
                if (!found && left)
                    skip = i;
                found = true;
                letterEnd = i + 1;
                if (left)
                    break;
            }
            i += w;
        }
        if (!found)
            skip = 0;
        else if (!left)
            skip = length - letterEnd;
    }
    count = std::min(count, length - skip);
    if (count == 0)
        return;

    std::size_t begin = left ? skip : length - skip - count;
    std::size_t end = begin + count;
    scan_.widenToChars(work, begin, end);

    if (rule.action == RenameRule::Action::Remove) {
        work.erase(begin, end - begin);
        return;
    }
    std::string segment = work.substr(begin, end - begin);
    if (rule.action == RenameRule::Action::Uppercase)
        codePage_.toUpper(segment);
    else
        codePage_.toLower(segment);
    work.replace(begin, end - begin, segment);
}

void NewPathComputer::removeDate(const std::string& format, std::string& work) const
{
    const std::size_t hyphen = scan_.find(work, '-');
    if (hyphen == std::string::npos || scan_.find(work, '-', hyphen + 1) == std::string::npos)
        return;
    const std::size_t start = hyphen >= 2 ? hyphen - 2 : 0;
    std::string month;
    if (startsWith(format, "mm-dd"))
        month = work.substr(start, 2);
    else if (startsWith(format, "dd-mm"))
        month = work.substr(hyphen + 1, 2);
    else
        return;
    const int number = readRuleNumber(month);
    if (number < 1 || number > 12)
        return;
    std::size_t length;
    if (format == "mm-dd-yy" || format == "dd-mm-yy")
        length = 8;
    else if (format == "mm-dd-yyyy" || format == "dd-mm-yyyy")
        length = 10;
    else
        return;
    std::size_t begin = start;
    std::size_t end = std::min(start + length, work.size());
    scan_.widenToChars(work, begin, end);
    work.erase(begin, end - begin);
}

void NewPathComputer::removeText(const std::string& pattern, std::string& work) const
{
    const std::size_t star = scan_.find(pattern, '*');
    if (star == std::string::npos || pattern.size() == 1) {
        replaceAll(work, pattern, std::string());
        return;
    }
    if (star == 0) {
        const std::string closing = pattern.substr(1);
        const std::size_t at = scan_.find(work, closing);
        if (at != std::string::npos)
            work.erase(0, at + closing.size());
        return;
    }
    const std::string opening = pattern.substr(0, star);
    if (star == pattern.size() - 1) {
        const std::size_t at = scan_.find(work, opening);
        if (at != std::string::npos)
            work.erase(at);
        return;
    }
    const std::string closing = pattern.substr(star + 1);
    const std::size_t open = scan_.find(work, opening);
    if (open == std::string::npos)
        return;
    const std::size_t close = scan_.find(work, closing, open);
    if (close == std::string::npos)
        return;
    work.erase(open, close + closing.size() - open);
}

void NewPathComputer::replaceAll(std::string& work, const std::string& what,
                                 const std::string& with) const
{
    if (what.empty())
        return;
    std::size_t at = scan_.find(work, what);
    if (at == std::string::npos)
        return;
    std::string result;
    result.reserve(work.size() + with.size());
    std::size_t from = 0;
    while (at != std::string::npos) {
        result.append(work, from, at - from);
        result += with;
        from = at + what.size();
        at = scan_.find(work, what, from);
    }
    result.append(work, from, std::string::npos);
    work.swap(result);
}

std::string NewPathComputer::dateText(const std::string& format) const
{
    const char* pattern = nullptr;
    if (format == "mm-dd-yy")
        pattern = "%m-%d-%y";
    else if (format == "mm-dd-yyyy")
        pattern = "%m-%d-%Y";
    else if (format == "dd-mm-yy")
        pattern = "%d-%m-%y";
    else if (format == "dd-mm-yyyy")
        pattern = "%d-%m-%Y";
    else
        return format;
    std::tm local{};
    if (!clock_.now(local) || !dateFieldsValid(local))
        return std::string();
    char buffer[32];
    const std::size_t length = std::strftime(buffer, sizeof buffer, pattern, &local);
    return std::string(buffer, length);
}

std::string computeNewPath(const std::string& oldPath, int position,
                           const std::vector<std::string>& ruleLines,
                           const CodePage& codePage, const LocalClock& clock)
{
    return NewPathComputer(ruleLines, codePage, clock).compute(oldPath, position);
}
