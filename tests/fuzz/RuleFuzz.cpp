// Fuzzes the reader of rule text together with the new-name computation.
//
// An input is text: the first line is a full path, the second a position, every further
// line a rule line. Each input runs under a single-byte and a double-byte code page.
//
// Invariants: the new path keeps the old path's folder part byte for byte, and a new path
// that a rename would try names an entry of that folder, made of whole characters; the
// computation gives the same answer each time and for a computer reused across files; when
// no line reads, the name stays; and a rule the editor composes from typed text reads back
// as that text.

#include "base/CharScan.h"
#include "base/CodePage.h"
#include "base/PathText.h"
#include "base/Utf8.h"
#include "engine/NewPath.h"
#include "engine/RenameRule.h"
#include "engine/RuleEditorText.h"
#include "tests/fuzz/FuzzCheck.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

// What an edit box can hold: whole characters only. A lead byte without a proper trail
// byte after it is dropped.
std::string wholeCharacters(const std::string& text, const CodePage& codePage)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (!codePage.isLeadByte(c)) {
            out += text[i];
            continue;
        }
        if (i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x40) {
            out += text.substr(i, 2);
            ++i;
        }
    }
    return out;
}

// True when every lead byte from `from` on has a proper trail byte after it.
bool isWhole(const std::string& text, const CharScan& scan, std::size_t from)
{
    for (std::size_t i = from; i < text.size(); ++i) {
        if (!scan.isLead(static_cast<unsigned char>(text[i])))
            continue;
        if (i + 1 >= text.size() || static_cast<unsigned char>(text[i + 1]) < 0x40)
            return false;
        ++i;
    }
    return true;
}

void checkComposedRules(const std::string& first, const std::string& second, const CodePage& codePage)
{
    const CharScan scan(codePage);
    // A quote ends the typed text in the rule line; the editor refuses it in the first
    // argument, and the replacement text of a rule never holds one here.
    if (scan.find(second, '"') != std::string::npos)
        return;
    static const char* const actions[] = {"PREFIX", "SUFFIX", "REPLACE", "REMOVE"};
    for (const char* action : actions) {
        RuleEditorState state;
        state.target = "FILENAME";
        state.action = action;
        state.firstArgument = first;
        const bool replace = state.action == "REPLACE";
        if (replace) {
            state.secondEnabled = true;
            state.label = "with";
            state.secondArgument = second;
        }
        std::string line;
        std::string message;
        if (!composeRuleText(state, codePage, line, message))
            continue;
        const RenameRule rule = readRenameRule(line, codePage);
        FUZZ_CHECK(!rule.skipped, "a composed rule does not read");
        FUZZ_CHECK(rule.text == first, "a composed rule reads another text");
        if (replace) {
            FUZZ_CHECK(rule.kind == RenameRule::Kind::Replace, "a composed REPLACE reads as something else");
            FUZZ_CHECK(rule.replacement == second, "a composed REPLACE reads another replacement");
        } else if (state.action == "REMOVE") {
            FUZZ_CHECK(rule.kind == RenameRule::Kind::RemoveText, "a composed REMOVE reads as something else");
        } else {
            FUZZ_CHECK(rule.kind == RenameRule::Kind::InsertText, "a composed insert reads as something else");
        }
    }
}

void checkWith(const std::vector<std::string>& lines, const CodePage& codePage)
{
    const std::string& oldPath = lines[0];
    const int position = lines.size() > 1 ? readRuleNumber(lines[1]) : 1;
    const std::vector<std::string> rules(lines.begin() + (lines.size() > 1 ? 2 : 1), lines.end());
    const FixedClock clock(2003, 5, 7);

    const std::string newPath = computeNewPath(oldPath, position, rules, codePage, clock);
    const CharScan scan(codePage);
    const std::size_t slash = scan.findLast(oldPath, '\\');
    const std::size_t folder = slash == std::string::npos ? 0 : slash + 1;
    FUZZ_CHECK(newPath.size() >= folder && newPath.compare(0, folder, oldPath, 0, folder) == 0,
               "the folder part changed");

    // In UTF-8 no rule cuts a character: whole characters in, whole characters out.
    if (codePage.countsCharacters() && utf8::isValid(oldPath) &&
        std::all_of(rules.begin(), rules.end(), [](const std::string& r) { return utf8::isValid(r); }))
        FUZZ_CHECK(utf8::isValid(newPath), "a UTF-8 character was cut");

    const NewPathComputer computer(rules, codePage, clock);
    // What a rename would really do: a new path the run would try must name an entry of the
    // same folder, cut between whole characters.
    if (computer.isPlainRename(oldPath, newPath)) {
        const PathText pathText(codePage);
        FUZZ_CHECK(pathText.folderPart(newPath) == pathText.folderPart(oldPath), "a tried name holds a separator");
        const std::string_view name = pathText.namePart(newPath);
        FUZZ_CHECK(name != "." && name != ".." && scan.find(newPath, '/', folder) == std::string::npos,
                   "a tried name leaves the folder");
        bool wholeInput = isWhole(oldPath, scan, folder);
        for (const std::string& line : rules)
            wholeInput = wholeInput && isWhole(line, scan, 0);
        // UTF-8 is checked above, character by character.
        if (wholeInput && !codePage.countsCharacters())
            FUZZ_CHECK(isWhole(newPath, scan, folder), "a tried name splits a character");
    }
    FUZZ_CHECK(computer.compute(oldPath, position) == newPath, "the computer and the one-off call differ");
    FUZZ_CHECK(computer.compute(oldPath, position) == newPath, "a second computation differs");

    bool anyReads = false;
    for (const std::string& line : rules) {
        const RenameRule rule = readRenameRule(line, codePage);
        anyReads = anyReads || (!rule.skipped && rule.kind != RenameRule::Kind::NoChange);
    }
    if (!anyReads)
        FUZZ_CHECK(newPath == oldPath, "no rule reads, and yet a new name");

    if (lines.size() > 2) {
        const std::string first = wholeCharacters(lines[2], codePage);
        const std::string second = lines.size() > 3 ? wholeCharacters(lines[3], codePage) : std::string();
        checkComposedRules(first, second, codePage);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Long inputs only slow the search down: names are short and rules few.
    if (size > 4096)
        return 0;
    const std::vector<std::string> lines = splitLines(std::string(reinterpret_cast<const char*>(data), size));
    checkWith(lines, modelCodePage(1252));
    checkWith(lines, modelCodePage(936));
    checkWith(lines, modelCodePage(65001));
    return 0;
}
