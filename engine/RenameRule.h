#pragma once
// The one reader of rule text: turns a line of the rules list into what the rule does.

#include <string>
#include <vector>

class CodePage;

// Reads a number the way the C runtime's string-to-integer conversion does: leading white
// space, an optional sign, decimal digits up to the first other character; no number
// reads as 0. Values beyond the 32-bit range saturate at INT_MAX / INT_MIN, as the
// Microsoft runtime documents for its conversion.
int readRuleNumber(const std::string& text);

// One rule line, read. A line that fails a reading step is `skipped` and changes nothing;
// a line that reads but names an unknown action or keyword is `NoChange`.
struct RenameRule {
    enum class Target { FileName, Extension };
    enum class Action { Prefix, Suffix, Remove, Replace, Uppercase, Lowercase, Other };
    enum class Kind {
        NoChange,       // unknown action or keyword: the name stays as it is
        InsertText,     // PREFIX / SUFFIX with a quoted text
        InsertDigits,   // PREFIX / SUFFIX digit: position + offset, zero-padded to width
        InsertDate,     // PREFIX / SUFFIX date: a format name, or any other text literally
        Replace,        // REPLACE search text with replacement text
        AllCase,        // UPPERCASE / LOWERCASE all
        RemoveAll,      // REMOVE all
        LeftSegment,    // REMOVE / UPPERCASE / LOWERCASE left length:N[letter]
        RightSegment,   //   ... right
        RemoveDate,     // REMOVE date format:F
        RemoveText,     // REMOVE a text, possibly with a wildcard asterisk
    };

    bool skipped = true;
    Target target = Target::FileName;
    Action action = Action::Other;
    Kind kind = Kind::NoChange;
    std::string text;        // inserted text, date format, search text or text to remove
    std::string replacement; // REPLACE only
    int width = 0;           // digit
    int offset = 0;          // digit
    int count = 0;           // left / right
    bool letter = false;     // left / right: skip the non-letters at that end first
};

// Reads one rule line: target, action and argument part. The code page keeps searches from
// taking a trail byte of a double-byte character for a delimiter.
RenameRule readRenameRule(const std::string& line, const CodePage& codePage);
RenameRule readRenameRule(const std::string& line);

std::vector<RenameRule> readRenameRules(const std::vector<std::string>& lines,
                                        const CodePage& codePage);
