// Reading rule text: target word, action word and argument part.

#include "engine/RenameRule.h"

#include "base/CharScan.h"
#include "base/CodePage.h"

#include <climits>

int readRuleNumber(const std::string& text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    // The C runtime's notion of white space: blank, tab, and the line and form feeds.
    while (i < n && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit)
            value = limit; // saturate, and keep reading so the digits are consumed
    }
    return static_cast<int>(negative ? -value : value);
}

namespace {

// The text between the quote at or after `from` and the next one; false without both.
bool quotedText(const CharScan& scan, const std::string& part, std::size_t from,
                std::string& text, std::size_t* after = nullptr)
{
    const std::size_t open = scan.find(part, '"', from);
    if (open == std::string::npos)
        return false;
    const std::size_t close = scan.find(part, '"', open + 1);
    if (close == std::string::npos)
        return false;
    text.assign(part, open + 1, close - open - 1);
    if (after)
        *after = close + 1;
    return true;
}

void readInsert(const CharScan& scan, const std::string& part, RenameRule& rule)
{
    if (scan.find(part, '"') != std::string::npos) {
        if (!quotedText(scan, part, 0, rule.text))
            return;
        rule.kind = RenameRule::Kind::InsertText;
        rule.skipped = false;
        return;
    }
    const std::size_t blank = scan.find(part, ' ');
    if (blank == std::string::npos)
        return;
    const std::size_t colon = scan.find(part, ':', blank + 1);
    if (colon == std::string::npos)
        return;
    const std::string keyword = part.substr(0, blank);
    const std::string value = part.substr(colon + 1);
    rule.skipped = false;
    if (keyword == "digit") {
        rule.kind = RenameRule::Kind::InsertDigits;
        const std::size_t inner = scan.find(value, ':');
        if (inner == std::string::npos) {
            rule.width = readRuleNumber(value);
        } else {
            rule.width = readRuleNumber(value.substr(0, inner));
            rule.offset = readRuleNumber(value.substr(inner + 1));
        }
    } else if (keyword == "date") {
        rule.kind = RenameRule::Kind::InsertDate;
        rule.text = value;
    }
}

void readReplace(const CharScan& scan, const std::string& part, RenameRule& rule)
{
    std::size_t after = 0;
    if (!quotedText(scan, part, 0, rule.text, &after))
        return;
    if (!quotedText(scan, part, after, rule.replacement))
        return;
    rule.kind = RenameRule::Kind::Replace;
    rule.skipped = false;
}

void readRemoveOrCase(const CharScan& scan, const std::string& part, RenameRule& rule)
{
    const std::size_t blank = scan.find(part, ' ');
    const std::string keyword = blank == std::string::npos ? part : part.substr(0, blank);
    const std::string option = blank == std::string::npos ? std::string() : part.substr(blank + 1);
    const bool remove = rule.action == RenameRule::Action::Remove;

    if (keyword == "all") {
        rule.kind = remove ? RenameRule::Kind::RemoveAll : RenameRule::Kind::AllCase;
        rule.skipped = false;
        return;
    }
    if (keyword == "left" || keyword == "right") {
        const std::size_t colon = scan.find(option, ':');
        if (colon == std::string::npos)
            return;
        std::string value = option.substr(colon + 1);
        const std::size_t letter = scan.find(value, std::string("letter"));
        if (letter != std::string::npos && letter != 0) {
            value.erase(letter);
            rule.letter = true;
        }
        rule.count = readRuleNumber(value);
        rule.kind = keyword == "left" ? RenameRule::Kind::LeftSegment : RenameRule::Kind::RightSegment;
        rule.skipped = false;
        return;
    }
    if (keyword == "date") {
        const std::size_t colon = scan.find(option, ':');
        if (colon == std::string::npos)
            return;
        // For the case actions the keyword "date" means nothing; the line still reads.
        rule.skipped = false;
        if (remove) {
            rule.kind = RenameRule::Kind::RemoveDate;
            rule.text = option.substr(colon + 1);
        }
        return;
    }
    if (!remove) {
        rule.skipped = false;
        return;
    }
    if (scan.find(part, '"') != std::string::npos) {
        if (!quotedText(scan, part, 0, rule.text))
            return;
    } else {
        rule.text = keyword;
    }
    rule.kind = RenameRule::Kind::RemoveText;
    rule.skipped = false;
}

RenameRule readWith(const CharScan& scan, const std::string& line)
{
    RenameRule rule;
    const std::size_t first = scan.find(line, ' ');
    if (first == std::string::npos)
        return rule;
    const std::size_t second = scan.find(line, ' ', first + 1);
    if (second == std::string::npos)
        return rule;

    rule.target = line.compare(0, first, "FILENAME") == 0 ? RenameRule::Target::FileName
                                                          : RenameRule::Target::Extension;
    const std::string action = line.substr(first + 1, second - first - 1);
    const std::string part = line.substr(second + 1);

    if (action == "PREFIX" || action == "SUFFIX") {
        rule.action = action == "PREFIX" ? RenameRule::Action::Prefix : RenameRule::Action::Suffix;
        readInsert(scan, part, rule);
    } else if (action == "REPLACE") {
        rule.action = RenameRule::Action::Replace;
        readReplace(scan, part, rule);
    } else if (action == "REMOVE" || action == "UPPERCASE" || action == "LOWERCASE") {
        rule.action = action == "REMOVE"      ? RenameRule::Action::Remove
                      : action == "UPPERCASE" ? RenameRule::Action::Uppercase
                                              : RenameRule::Action::Lowercase;
        readRemoveOrCase(scan, part, rule);
    } else {
        rule.skipped = false; // an unknown action reads, and leaves the name as it is
    }
    return rule;
}

} // namespace

RenameRule readRenameRule(const std::string& line, const CodePage& codePage)
{
    return readWith(CharScan(codePage), line);
}

RenameRule readRenameRule(const std::string& line)
{
    return readRenameRule(line, systemCodePage());
}

std::vector<RenameRule> readRenameRules(const std::vector<std::string>& lines,
                                        const CodePage& codePage)
{
    const CharScan scan(codePage);
    std::vector<RenameRule> rules;
    rules.reserve(lines.size());
    for (const std::string& line : lines)
        rules.push_back(readWith(scan, line));
    return rules;
}
