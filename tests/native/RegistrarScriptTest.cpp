// The registrar-script parser and planner: the extension's own script, the syntax rules,
// malformed scripts, and the register/remove plans.

#include "shellext/RegistrarScript.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

const RegistrarVariables moduleVars{{"MODULE", "C:\\Program Files\\Tessel\\Tessel.dll"}, {"PROJECT", "Tessel"}};

std::string opText(const RegistryOp& op)
{
    static const char* kinds[] = {"create", "set", "delvalue", "deltree", "delleaf"};
    std::string s = kinds[static_cast<int>(op.kind)];
    s += " " + op.keyPath;
    if (op.kind == RegistryOpKind::SetValue || op.kind == RegistryOpKind::DeleteValue)
        s += " [" + op.valueName + "]";
    if (op.kind == RegistryOpKind::SetValue) {
        static const char* types[] = {"s", "e", "m", "d", "b"};
        s += std::string(" ") + types[static_cast<int>(op.type)] + ":";
        for (char c : op.data) {
            if (c == '\0')
                s += "\\0";
            else
                s += c;
        }
    }
    return s;
}

std::vector<std::string> plan(const std::string& script, RegistrarMode mode,
                              const RegistrarVariables& vars = moduleVars)
{
    RegistrarParseResult r = parseRegistrarScript(script, vars);
    EXPECT_TRUE(r.ok) << r.error << " (line " << r.errorLine << ")";
    std::vector<std::string> out;
    for (const RegistryOp& op : planRegistrar(r.script, mode))
        out.push_back(opText(op));
    return out;
}

std::string readShippedScript()
{
    // The build names the source tree: compilers and caches may shorten __FILE__ to a
    // relative path, which says nothing from the test's working folder.
    std::string path = TESSEL_SOURCE_DIR;
#ifdef _WIN32
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;   // the source tree as Wine sees it
#endif
    std::ifstream in(path + "/shellext/Tessel.rgs", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

const char* const clsidKey = "CLSID\\{B2D2B1ED-EC81-4009-9B4C-E4ACFF4C5C4B}";

TEST(RegistrarScript, ShippedScriptRegistersTheClass)
{
    const std::string script = readShippedScript();
    ASSERT_FALSE(script.empty());
    const std::string k = clsidKey;
    const std::vector<std::string> expected = {
        "create Tessel.Tessel2.1",
        "set Tessel.Tessel2.1 [] s:Tessel2 Class\\0",
        "create Tessel.Tessel2.1\\CLSID",
        "set Tessel.Tessel2.1\\CLSID [] s:{B2D2B1ED-EC81-4009-9B4C-E4ACFF4C5C4B}\\0",
        "create Tessel.Tessel2",
        "set Tessel.Tessel2 [] s:Tessel2 Class\\0",
        "create Tessel.Tessel2\\CLSID",
        "set Tessel.Tessel2\\CLSID [] s:{B2D2B1ED-EC81-4009-9B4C-E4ACFF4C5C4B}\\0",
        "create Tessel.Tessel2\\CurVer",
        "set Tessel.Tessel2\\CurVer [] s:Tessel.Tessel2.1\\0",
        "create CLSID",
        "deltree " + k,
        "create " + k,
        "set " + k + " [] s:Tessel2 Class\\0",
        "create " + k + "\\ProgID",
        "set " + k + "\\ProgID [] s:Tessel.Tessel2.1\\0",
        "create " + k + "\\VersionIndependentProgID",
        "set " + k + "\\VersionIndependentProgID [] s:Tessel.Tessel2\\0",
        "create " + k + "\\InprocServer32",
        "set " + k + "\\InprocServer32 [] s:C:\\Program Files\\Tessel\\Tessel.dll\\0",
        "set " + k + "\\InprocServer32 [ThreadingModel] s:Apartment\\0",
        "create " + k + "\\TypeLib",
        "set " + k + "\\TypeLib [] s:{65B51E58-F393-40D0-BD9B-C0199023D1A0}\\0",
    };
    EXPECT_EQ(plan(script, RegistrarMode::Register), expected);
}

TEST(RegistrarScript, ShippedScriptRemovesAllButTheClsidRoot)
{
    const std::vector<std::string> expected = {
        "delleaf Tessel.Tessel2.1\\CLSID",
        "delleaf Tessel.Tessel2.1",
        "delleaf Tessel.Tessel2\\CLSID",
        "delleaf Tessel.Tessel2\\CurVer",
        "delleaf Tessel.Tessel2",
        std::string("deltree ") + clsidKey,
    };
    EXPECT_EQ(plan(readShippedScript(), RegistrarMode::Remove), expected);
}

struct PlanRow {
    const char* what;
    const char* script;
    std::vector<std::string> reg;
    std::vector<std::string> remove;
};

void PrintTo(const PlanRow& row, std::ostream* os) { *os << row.what; }

class RegistrarPlan : public ::testing::TestWithParam<PlanRow> {};

TEST_P(RegistrarPlan, BothModes)
{
    const PlanRow& row = GetParam();
    EXPECT_EQ(plan(row.script, RegistrarMode::Register), row.reg) << row.what;
    EXPECT_EQ(plan(row.script, RegistrarMode::Remove), row.remove) << row.what;
}

INSTANTIATE_TEST_SUITE_P(
    Syntax, RegistrarPlan,
    ::testing::Values(
        PlanRow{"empty script", "", {}, {}},
        PlanRow{"empty root block", "HKCR { }", {}, {}},
        PlanRow{"key without value", "HKCU { A }", {"create A"}, {"delleaf A"}},
        PlanRow{"quoted names keep keywords and blanks",
                "HKCR { 'NoRemove' { 'val' = s 'x' } 'a b' }",
                {"create NoRemove", "create NoRemove\\val", "set NoRemove\\val [] s:x\\0", "create a b"},
                {"delleaf NoRemove\\val", "delleaf NoRemove", "delleaf a b"}},
        PlanRow{"doubled quote is one quote", "HKCR { K = s 'it''s' }",
                {"create K", "set K [] s:it's\\0"}, {"delleaf K"}},
        PlanRow{"keywords ignore case", "hkcr { noremove A { VAL x = S 'y' } }",
                {"create A", "set A [x] s:y\\0"}, {"delvalue A [x]"}},
        PlanRow{"dword decimal, hex and quoted",
                "HKCR { K { val a = d 1 val b = d 0x10 val c = d '4294967295' } }",
                {"create K", "set K [a] d:\x01\\0\\0\\0", "set K [b] d:\x10\\0\\0\\0",
                 "set K [c] d:\xFF\xFF\xFF\xFF"},
                {"delleaf K"}},
        PlanRow{"binary, expand and multi strings",
                "HKCR { K { val b = b '0aFF' val e = e '%%PATH%%' val m = m 'x\\0yz' val n = m '' } }",
                {"create K", "set K [b] b:\x0A\xFF", "set K [e] e:%PATH%\\0", "set K [m] m:x\\0yz\\0\\0",
                 "set K [n] m:\\0"},
                {"delleaf K"}},
        PlanRow{"variables substituted in names and values", "HKCR { N%PROJECT%x = s '[%MODULE%]' }",
                {"create NTesselx", "set NTesselx [] s:[C:\\Program Files\\Tessel\\Tessel.dll]\\0"},
                {"delleaf NTesselx"}},
        PlanRow{"Delete removes at registration only", "HKCR { NoRemove P { Delete Old } }",
                {"create P", "deltree P\\Old"}, {}},
        PlanRow{"ForceRemove nested under a plain key", "HKCR { A { ForceRemove B { C } } }",
                {"create A", "deltree A\\B", "create A\\B", "create A\\B\\C"},
                {"deltree A\\B", "delleaf A"}},
        PlanRow{"several roots in order", "HKCU { A } HKEY_LOCAL_MACHINE { B }",
                {"create A", "create B"}, {"delleaf A", "delleaf B"}},
        PlanRow{"line breaks, tabs and CR LF are blanks", "HKCR\r\n{\r\n\tA\r\n\t{\r\n\t}\r\n}\r\n",
                {"create A"}, {"delleaf A"}},
        PlanRow{"byte-order mark tolerated", "\xEF\xBB\xBFHKCR { A }", {"create A"}, {"delleaf A"}}));

TEST(RegistrarScript, RootsMapToTheirKeys)
{
    struct Row { const char* name; RegistrarRoot root; } rows[] = {
        {"HKCR", RegistrarRoot::ClassesRoot}, {"HKEY_CLASSES_ROOT", RegistrarRoot::ClassesRoot},
        {"HKCU", RegistrarRoot::CurrentUser}, {"HKEY_CURRENT_USER", RegistrarRoot::CurrentUser},
        {"HKLM", RegistrarRoot::LocalMachine}, {"HKU", RegistrarRoot::Users},
        {"HKEY_USERS", RegistrarRoot::Users}, {"HKCC", RegistrarRoot::CurrentConfig},
        {"HKEY_CURRENT_CONFIG", RegistrarRoot::CurrentConfig},
    };
    for (const Row& row : rows) {
        RegistrarParseResult r = parseRegistrarScript(std::string(row.name) + " { A }", {});
        ASSERT_TRUE(r.ok) << row.name;
        ASSERT_EQ(r.script.roots.size(), 1u);
        EXPECT_EQ(r.script.roots[0].root, row.root) << row.name;
        const std::vector<RegistryOp> ops = planRegistrar(r.script, RegistrarMode::Register);
        ASSERT_EQ(ops.size(), 1u);
        EXPECT_EQ(ops[0].root, row.root) << row.name;
    }
}

TEST(RegistrarScript, ParsedTreeKeepsMarksAndValues)
{
    RegistrarParseResult r = parseRegistrarScript(
        "HKCR { NoRemove A { ForceRemove B = s 'b' { val v = d 7 } Delete C } }", {});
    ASSERT_TRUE(r.ok) << r.error;
    const RegistrarKey& a = r.script.roots.at(0).keys.at(0);
    EXPECT_EQ(a.mark, RegistrarMark::NoRemove);
    EXPECT_FALSE(a.hasDefault);
    ASSERT_EQ(a.subkeys.size(), 2u);
    const RegistrarKey& b = a.subkeys[0];
    EXPECT_EQ(b.mark, RegistrarMark::ForceRemove);
    EXPECT_TRUE(b.hasDefault);
    EXPECT_EQ(b.defaultValue.data, std::string("b\0", 2));
    ASSERT_EQ(b.values.size(), 1u);
    EXPECT_EQ(b.values[0].name, "v");
    EXPECT_EQ(b.values[0].type, RegistrarValueType::Dword);
    EXPECT_EQ(a.subkeys[1].mark, RegistrarMark::Delete);
    EXPECT_EQ(a.subkeys[1].name, "C");
}

struct BadRow {
    const char* what;
    std::string script;
    int line;
};

void PrintTo(const BadRow& row, std::ostream* os) { *os << row.what; }

class RegistrarMalformed : public ::testing::TestWithParam<BadRow> {};

TEST_P(RegistrarMalformed, FailsWithLine)
{
    const BadRow& row = GetParam();
    RegistrarParseResult r = parseRegistrarScript(row.script, moduleVars);
    EXPECT_FALSE(r.ok) << row.what;
    EXPECT_FALSE(r.error.empty()) << row.what;
    EXPECT_EQ(r.errorLine, row.line) << row.what << ": " << r.error;
    EXPECT_TRUE(r.script.roots.empty()) << row.what;
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, RegistrarMalformed,
    ::testing::Values(
        BadRow{"unknown root", "HKXX { A }", 1},
        BadRow{"root without block", "HKCR", 1},
        BadRow{"root with value", "HKCR = s 'x' { }", 1},
        BadRow{"missing closing brace", "HKCR {\n A {\n B\n", 3},
        BadRow{"stray closing brace", "HKCR { }\n}", 2},
        BadRow{"unterminated quote", "HKCR {\n A = s 'abc\n}", 2},
        BadRow{"unterminated quote at end", "HKCR { A = s 'abc", 1},
        BadRow{"quote glued to next word", "HKCR { A = s 'a'b }", 1},
        BadRow{"quote inside a word", "HKCR { A'b }", 1},
        BadRow{"value without type", "HKCR { A = 'x' }", 1},
        BadRow{"unknown type", "HKCR { A = q 'x' }", 1},
        BadRow{"long type word", "HKCR { A = str 'x' }", 1},
        BadRow{"string not quoted", "HKCR { A = s x }", 1},
        BadRow{"value missing at end", "HKCR { A = s", 1},
        BadRow{"equals without value", "HKCR { A = }", 1},
        BadRow{"dword not a number", "HKCR { A { val x = d 12ab } }", 1},
        BadRow{"dword too large", "HKCR { A { val x = d 4294967296 } }", 1},
        BadRow{"dword empty", "HKCR { A { val x = d '' } }", 1},
        BadRow{"bare 0x", "HKCR { A { val x = d 0x } }", 1},
        BadRow{"binary odd digits", "HKCR { A { val x = b 'abc' } }", 1},
        BadRow{"binary not hex", "HKCR { A { val x = b 'zz' } }", 1},
        BadRow{"val directly under root", "HKCR { val x = s 'y' }", 1},
        BadRow{"val without name", "HKCR { A { val = s 'y' } }", 1},
        BadRow{"val without equals", "HKCR { A { val x s 'y' } }", 1},
        BadRow{"val with empty name", "HKCR { A { val '' = s 'y' } }", 1},
        BadRow{"empty key name", "HKCR { '' }", 1},
        BadRow{"key name with backslash", "HKCR { 'a\\b' }", 1},
        BadRow{"key name too long", "HKCR { " + std::string(256, 'k') + " }", 1},
        BadRow{"two marks", "HKCR { NoRemove ForceRemove A }", 1},
        BadRow{"mark without name", "HKCR { NoRemove }", 1},
        BadRow{"mark at end", "HKCR { ForceRemove", 1},
        BadRow{"Delete with value", "HKCR { Delete A = s 'x' }", 1},
        BadRow{"Delete with block", "HKCR { Delete A { } }", 1},
        BadRow{"unknown variable", "HKCR { A = s '%NOPE%' }", 1},
        BadRow{"unterminated variable", "HKCR { A = s '50%' }", 1},
        BadRow{"unterminated variable in name", "HKCR { 50% }", 1},
        BadRow{"NUL byte", std::string("HKCR { A\0 }", 11), 1},
        BadRow{"NUL in quoted text", std::string("HKCR { A = s 'a\0b' }", 20), 1},
        BadRow{"braces glued to names are names", "HKCR {A}", 1}));

TEST(RegistrarScript, DeepNestingIsRefusedNotOverflowed)
{
    std::string ok = "HKCR ";
    std::string bad = "HKCR ";
    for (int i = 0; i < registrarMaxDepth - 1; ++i)
        ok += "{ k ";
    ok += "{ }";
    for (int i = 0; i < registrarMaxDepth - 1; ++i)
        ok += " }";
    EXPECT_TRUE(parseRegistrarScript(ok, {}).ok);
    for (int i = 0; i < 100000; ++i)
        bad += "{ k ";
    RegistrarParseResult r = parseRegistrarScript(bad, {});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("nested"), std::string::npos) << r.error;
}

TEST(RegistrarScript, SubstitutedTextIsNotParsedAgain)
{
    // A module path with a quote, a percent sign or blanks must stay one value.
    const RegistrarVariables vars{{"MODULE", "D:\\it's 100% a b\\%MODULE%.dll"}};
    RegistrarParseResult r = parseRegistrarScript("HKCR { A = s '%MODULE%' }", vars);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.script.roots.at(0).keys.at(0).defaultValue.data,
              std::string("D:\\it's 100% a b\\%MODULE%.dll") + '\0');
}

// A small random generator of scripts: well-formed ones from the grammar, and damaged
// copies of them.
class ScriptGenerator {
public:
    unsigned next(unsigned range)
    {
        seed_ = seed_ * 1103515245u + 12345u;
        return (seed_ >> 16) % range;
    }

    std::string script()
    {
        std::string text = next(2) ? "HKCR { " : "HKCU { ";
        for (unsigned k = next(3); k > 0; --k)
            key(text, 0);
        return text + "}";
    }

    // One to three characters inserted, removed or replaced.
    std::string damaged(std::string text)
    {
        const char alphabet[] = "{}= sdbme'%\\\nvalNoRemoveForceRemoveDelete0x9AZ";
        for (unsigned edits = 1 + next(3); edits > 0 && !text.empty(); --edits) {
            const std::size_t at = next(static_cast<unsigned>(text.size()));
            const char ch = alphabet[next(sizeof alphabet - 1)];
            switch (next(3)) {
            case 0: text.insert(at, 1, ch); break;
            case 1: text.erase(at, 1); break;
            default: text[at] = ch; break;
            }
        }
        return text;
    }

private:
    void key(std::string& text, int depth)
    {
        const char* const marks[] = {"", "", "NoRemove ", "ForceRemove ", "Delete "};
        const char* const values[] = {"s 'x'", "s '%MODULE%'", "d 5", "b '0a'", "e '%%P%%'", "m 'a\\0b'"};
        const unsigned mark = next(5);
        text += marks[mark];
        text += "K" + std::to_string(next(4));
        if (mark == 4) {   // a key to delete takes no value and no block
            text += " ";
            return;
        }
        if (next(2))
            text += std::string(" = ") + values[next(6)];
        if (depth < 4 && next(2)) {
            text += " { ";
            for (unsigned v = next(3); v > 0; --v)
                text += "val v" + std::to_string(next(3)) + " = " + values[next(6)] + " ";
            for (unsigned k = next(3); k > 0; --k)
                key(text, depth + 1);
            text += "}";
        }
        text += next(4) ? " " : "\n";
    }

    unsigned seed_ = 12345;
};

TEST(RegistrarScript, GarbageIsRefusedWholeOrPlannedSoundly)
{
    ScriptGenerator generate;
    int refused = 0;
    int planned = 0;
    for (int round = 0; round < 3000; ++round) {
        const bool wellFormed = round % 2 == 0;
        const std::string text = wellFormed ? generate.script() : generate.damaged(generate.script());
        RegistrarParseResult r = parseRegistrarScript(text, moduleVars);
        EXPECT_TRUE(r.ok || !wellFormed) << text << "\n" << r.error;
        if (!r.ok) {
            // Refused: a line within the text, a reason, and nothing half-parsed.
            ++refused;
            const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
            EXPECT_GE(r.errorLine, 1) << text;
            EXPECT_LE(r.errorLine, lines) << text;
            EXPECT_FALSE(r.error.empty()) << text;
            EXPECT_TRUE(r.script.roots.empty()) << text;
            continue;
        }
        // Removal only ever deletes, and every step names a key.
        for (const RegistryOp& op : planRegistrar(r.script, RegistrarMode::Remove)) {
            EXPECT_NE(op.kind, RegistryOpKind::CreateKey) << text;
            EXPECT_NE(op.kind, RegistryOpKind::SetValue) << text;
            EXPECT_FALSE(op.keyPath.empty()) << text;
        }
        // Registering writes a value only into a key it has just created.
        std::string created;
        const std::vector<RegistryOp> ops = planRegistrar(r.script, RegistrarMode::Register);
        planned += ops.empty() ? 0 : 1;
        for (const RegistryOp& op : ops) {
            if (op.kind == RegistryOpKind::CreateKey)
                created = op.keyPath;
            if (op.kind == RegistryOpKind::SetValue)
                EXPECT_EQ(op.keyPath, created) << text;
        }
    }
    // Both halves must be exercised, or they test nothing.
    EXPECT_GT(refused, 0);
    EXPECT_GT(planned, 1000);
}

}  // namespace
