// Fuzzes the parser of registrar scripts (the extension's registration resource).
//
// Invariants: a refused script yields no script, a line within the text and a reason; an
// accepted one keeps every limit the parser promises (names, nesting); and an accepted
// script, written out again in the script language, parses to the same keys and values;
// its planned steps name well-formed key paths in both modes.

#include "shellext/RegistrarScript.h"
#include "tests/fuzz/FuzzCheck.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// The module path of the tests that shows quoting at its hardest: a quote, a percent sign,
// blanks and a variable name that must not be substituted again.
const RegistrarVariables variables{{"MODULE", "D:\\it's 100% a b\\%MODULE%.dll"}, {"PROJECT", "Tessel"}};

std::string quoted(const std::string& text)
{
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += "''";
        else if (c == '%')
            out += "%%";
        else
            out += c;
    }
    return out + "'";
}

std::string hex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (char c : bytes) {
        const unsigned char b = static_cast<unsigned char>(c);
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::string valueText(const RegistrarValue& value)
{
    const std::string& data = value.data;
    switch (value.type) {
    case RegistrarValueType::String:
        return "s " + quoted(data.substr(0, data.size() - 1));
    case RegistrarValueType::ExpandString:
        return "e " + quoted(data.substr(0, data.size() - 1));
    case RegistrarValueType::MultiString: {
        // The parts and their separators, without the list's end.
        const std::string parts = data.size() <= 1 ? std::string() : data.substr(0, data.size() - 2);
        std::string text;
        for (char c : parts)
            text += c == '\0' ? std::string("\\0") : std::string(1, c);
        return "m " + quoted(text);
    }
    case RegistrarValueType::Dword: {
        std::uint32_t number = 0;
        for (int b = 3; b >= 0; --b)
            number = (number << 8) | static_cast<unsigned char>(data[b]);
        return "d " + std::to_string(number);
    }
    case RegistrarValueType::Binary:
        return "b " + (data.empty() ? std::string("''") : hex(data));
    }
    return std::string();
}

void writeKey(const RegistrarKey& key, std::string& out)
{
    static const char* const marks[] = {"", "NoRemove ", "ForceRemove ", "Delete "};
    out += marks[static_cast<int>(key.mark)];
    out += quoted(key.name);
    if (key.hasDefault)
        out += " = " + valueText(key.defaultValue);
    if (key.mark == RegistrarMark::Delete) {
        out += "\n";
        return;
    }
    out += "\n{\n";
    for (const RegistrarValue& value : key.values)
        out += "val " + quoted(value.name) + " = " + valueText(value) + "\n";
    for (const RegistrarKey& sub : key.subkeys)
        writeKey(sub, out);
    out += "}\n";
}

std::string writeScript(const RegistrarScript& script)
{
    static const char* const roots[] = {"HKCR", "HKCU", "HKLM", "HKU", "HKCC"};
    std::string out;
    for (const RegistrarRootBlock& block : script.roots) {
        out += roots[static_cast<int>(block.root)];
        out += "\n{\n";
        for (const RegistrarKey& key : block.keys)
            writeKey(key, out);
        out += "}\n";
    }
    return out;
}

bool sameValue(const RegistrarValue& a, const RegistrarValue& b)
{
    return a.name == b.name && a.type == b.type && a.data == b.data;
}

bool sameKey(const RegistrarKey& a, const RegistrarKey& b)
{
    if (a.name != b.name || a.mark != b.mark || a.hasDefault != b.hasDefault
        || a.values.size() != b.values.size() || a.subkeys.size() != b.subkeys.size())
        return false;
    if (a.hasDefault && !sameValue(a.defaultValue, b.defaultValue))
        return false;
    for (std::size_t i = 0; i < a.values.size(); ++i) {
        if (!sameValue(a.values[i], b.values[i]))
            return false;
    }
    for (std::size_t i = 0; i < a.subkeys.size(); ++i) {
        if (!sameKey(a.subkeys[i], b.subkeys[i]))
            return false;
    }
    return true;
}

bool sameScript(const RegistrarScript& a, const RegistrarScript& b)
{
    if (a.roots.size() != b.roots.size())
        return false;
    for (std::size_t i = 0; i < a.roots.size(); ++i) {
        const RegistrarRootBlock& x = a.roots[i];
        const RegistrarRootBlock& y = b.roots[i];
        if (x.root != y.root || x.keys.size() != y.keys.size())
            return false;
        for (std::size_t k = 0; k < x.keys.size(); ++k) {
            if (!sameKey(x.keys[k], y.keys[k]))
                return false;
        }
    }
    return true;
}

int depthOf(const RegistrarKey& key)
{
    int deepest = 0;
    for (const RegistrarKey& sub : key.subkeys)
        deepest = std::max(deepest, depthOf(sub));
    return deepest + 1;
}

void checkLimits(const RegistrarKey& key)
{
    FUZZ_CHECK(!key.name.empty() && key.name.size() <= 255, "a key name out of bounds");
    FUZZ_CHECK(key.name.find('\\') == std::string::npos, "a key name with a backslash");
    FUZZ_CHECK(key.mark != RegistrarMark::Delete || (!key.hasDefault && key.subkeys.empty() && key.values.empty()),
               "a key marked Delete carries content");
    for (const RegistrarValue& value : key.values)
        FUZZ_CHECK(!value.name.empty(), "a named value without a name");
    for (const RegistrarKey& sub : key.subkeys)
        checkLimits(sub);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const RegistrarParseResult result = parseRegistrarScript(text, variables);
    if (!result.ok) {
        FUZZ_CHECK(result.script.roots.empty(), "a refused script left a partial script");
        FUZZ_CHECK(!result.error.empty(), "a refused script without a reason");
        const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
        FUZZ_CHECK(result.errorLine >= 1 && result.errorLine <= lines, "an error line outside the text");
        return 0;
    }
    FUZZ_CHECK(result.errorLine == 0 && result.error.empty(), "an accepted script with an error");
    for (const RegistrarRootBlock& block : result.script.roots) {
        for (const RegistrarKey& key : block.keys) {
            FUZZ_CHECK(depthOf(key) <= registrarMaxDepth, "keys nested beyond the limit");
            checkLimits(key);
        }
    }

    const std::string written = writeScript(result.script);
    const RegistrarParseResult again = parseRegistrarScript(written, variables);
    if (!again.ok)
        std::fprintf(stderr, "%s\nline %d: %s\n", written.c_str(), again.errorLine, again.error.c_str());
    FUZZ_CHECK(again.ok, "a written script does not parse");
    FUZZ_CHECK(sameScript(again.script, result.script), "a written script parses to other keys");
    for (RegistrarMode mode : {RegistrarMode::Register, RegistrarMode::Remove}) {
        for (const RegistryOp& op : planRegistrar(result.script, mode)) {
            FUZZ_CHECK(!op.keyPath.empty() && op.keyPath.front() != '\\' && op.keyPath.back() != '\\'
                           && op.keyPath.find("\\\\") == std::string::npos,
                       "a planned step names a malformed key path");
        }
    }
    return 0;
}
