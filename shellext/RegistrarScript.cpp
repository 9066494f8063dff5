// Parser and planner for registrar scripts. Everything here is bytes in, records out: the
// registry is only touched by the Win32 applier, so every rule can be tested natively.

#include "shellext/RegistrarScript.h"

#include <cctype>
#include <cstddef>

namespace {

enum class TokenKind { Bare, Quoted };

struct Token {
    TokenKind kind = TokenKind::Bare;
    std::string text;   // after unescaping and variable substitution
    int line = 1;
};

bool equalsNoCase(const std::string& a, const char* b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return i == a.size() && b[i] == '\0';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

class Parser {
public:
    Parser(const std::string& text, const RegistrarVariables& variables)
        : text_(text), variables_(variables) {}

    RegistrarParseResult run()
    {
        RegistrarParseResult result;
        if (!tokenize()) {
            result.errorLine = errorLine_;
            result.error = error_;
            return result;
        }
        RegistrarScript script;
        while (pos_ < tokens_.size()) {
            RegistrarRootBlock block;
            if (!parseRoot(block)) {
                result.errorLine = errorLine_;
                result.error = error_;
                return result;
            }
            script.roots.push_back(std::move(block));
        }
        result.script = std::move(script);
        result.ok = true;
        return result;
    }

private:
    const std::string& text_;
    const RegistrarVariables& variables_;
    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    int errorLine_ = 0;
    std::string error_;

    bool fail(int line, const std::string& message)
    {
        if (error_.empty()) {
            errorLine_ = line;
            error_ = message;
        }
        return false;
    }

    int lastLine() const { return tokens_.empty() ? 1 : tokens_.back().line; }

    // Appends the value of the variable whose name starts at text_[i] (just after a '%').
    // On return i indexes the closing '%'.
    bool substitute(std::size_t& i, int line, std::string& out)
    {
        std::size_t close = i;
        while (close < text_.size() && text_[close] != '%' && !isBlank(text_[close]) && text_[close] != '\'')
            ++close;
        if (close >= text_.size() || text_[close] != '%')
            return fail(line, "unterminated variable");
        if (close == i) {
            out += '%';   // "%%"
            i = close;
            return true;
        }
        const std::string name = text_.substr(i, close - i);
        auto found = variables_.find(name);
        if (found == variables_.end())
            return fail(line, "unknown variable %" + name + "%");
        out += found->second;
        i = close;
        return true;
    }

    bool tokenize()
    {
        int line = 1;
        std::size_t i = 0;
        const std::size_t n = text_.size();
        // A UTF-8 byte-order mark in front of an otherwise ANSI script is harmless.
        if (n >= 3 && text_.compare(0, 3, "\xEF\xBB\xBF") == 0)
            i = 3;
        while (i < n) {
            const char c = text_[i];
            if (c == '\n') {
                ++line;
                ++i;
                continue;
            }
            if (isBlank(c)) {
                ++i;
                continue;
            }
            if (c == '\0')
                return fail(line, "NUL byte in script");
            Token token;
            token.line = line;
            if (c == '\'') {
                token.kind = TokenKind::Quoted;
                ++i;
                bool closed = false;
                while (i < n) {
                    const char q = text_[i];
                    if (q == '\'') {
                        if (i + 1 < n && text_[i + 1] == '\'') {
                            token.text += '\'';
                            i += 2;
                            continue;
                        }
                        closed = true;
                        ++i;
                        break;
                    }
                    if (q == '\n' || q == '\r')
                        return fail(line, "unterminated quoted text");
                    if (q == '\0')
                        return fail(line, "NUL byte in script");
                    if (q == '%') {
                        ++i;
                        if (!substitute(i, line, token.text))
                            return false;
                        ++i;
                        continue;
                    }
                    token.text += q;
                    ++i;
                }
                if (!closed)
                    return fail(line, "unterminated quoted text");
                // "'a'b" is a typing error, not two tokens.
                if (i < n && !isBlank(text_[i]))
                    return fail(line, "quoted text must be followed by a blank");
            } else {
                while (i < n && !isBlank(text_[i])) {
                    const char b = text_[i];
                    if (b == '\0')
                        return fail(line, "NUL byte in script");
                    if (b == '\'')
                        return fail(line, "quote inside a word");
                    if (b == '%') {
                        ++i;
                        if (!substitute(i, line, token.text))
                            return false;
                        ++i;
                        continue;
                    }
                    token.text += b;
                    ++i;
                }
            }
            tokens_.push_back(std::move(token));
        }
        return true;
    }

    bool atEnd() const { return pos_ >= tokens_.size(); }

    bool peekIs(const char* word) const
    {
        return !atEnd() && tokens_[pos_].kind == TokenKind::Bare && tokens_[pos_].text == word;
    }

    bool expect(const char* word)
    {
        if (atEnd())
            return fail(lastLine(), std::string("expected '") + word + "' at end of script");
        if (!peekIs(word))
            return fail(tokens_[pos_].line, std::string("expected '") + word + "', found '" + tokens_[pos_].text + "'");
        ++pos_;
        return true;
    }

    static bool isPunctuation(const Token& t)
    {
        return t.kind == TokenKind::Bare && (t.text == "{" || t.text == "}" || t.text == "=");
    }

    bool parseRoot(RegistrarRootBlock& block)
    {
        const Token& t = tokens_[pos_];
        static const struct { const char* name; RegistrarRoot root; } roots[] = {
            {"HKCR", RegistrarRoot::ClassesRoot}, {"HKEY_CLASSES_ROOT", RegistrarRoot::ClassesRoot},
            {"HKCU", RegistrarRoot::CurrentUser}, {"HKEY_CURRENT_USER", RegistrarRoot::CurrentUser},
            {"HKLM", RegistrarRoot::LocalMachine}, {"HKEY_LOCAL_MACHINE", RegistrarRoot::LocalMachine},
            {"HKU", RegistrarRoot::Users}, {"HKEY_USERS", RegistrarRoot::Users},
            {"HKCC", RegistrarRoot::CurrentConfig}, {"HKEY_CURRENT_CONFIG", RegistrarRoot::CurrentConfig},
        };
        bool known = false;
        if (t.kind == TokenKind::Bare) {
            for (const auto& r : roots) {
                if (equalsNoCase(t.text, r.name)) {
                    block.root = r.root;
                    known = true;
                    break;
                }
            }
        }
        if (!known)
            return fail(t.line, "unknown root key '" + t.text + "'");
        ++pos_;
        if (!expect("{"))
            return false;
        return parseBlock(block.keys, nullptr, 1);
    }

    // Parses entries up to and including the closing brace. `owner` is the key the block
    // belongs to (null directly under a root, where named values have no key to live in).
    bool parseBlock(std::vector<RegistrarKey>& keys, RegistrarKey* owner, int depth)
    {
        if (depth > registrarMaxDepth)
            return fail(atEnd() ? lastLine() : tokens_[pos_].line, "keys nested too deeply");
        for (;;) {
            if (atEnd())
                return fail(lastLine(), "missing '}' at end of script");
            const Token& t = tokens_[pos_];
            if (peekIs("}")) {
                ++pos_;
                return true;
            }
            if (t.kind == TokenKind::Bare && equalsNoCase(t.text, "val")) {
                if (!owner)
                    return fail(t.line, "a named value needs a key");
                ++pos_;
                RegistrarValue value;
                if (!parseName(value.name, false))
                    return false;
                if (!expect("=") || !parseValue(value))
                    return false;
                owner->values.push_back(std::move(value));
                continue;
            }
            RegistrarKey key;
            if (!parseKey(key, depth))
                return false;
            keys.push_back(std::move(key));
        }
    }

    bool parseName(std::string& name, bool keyName)
    {
        if (atEnd())
            return fail(lastLine(), "expected a name at end of script");
        const Token& t = tokens_[pos_];
        if (isPunctuation(t))
            return fail(t.line, "expected a name, found '" + t.text + "'");
        if (t.text.empty())
            return fail(t.line, "empty name");
        if (keyName) {
            if (t.text.size() > 255)
                return fail(t.line, "key name longer than 255 characters");
            if (t.text.find('\\') != std::string::npos)
                return fail(t.line, "key name with a backslash: nest blocks instead");
        } else if (t.text.size() > 16383) {
            return fail(t.line, "value name too long");
        }
        name = t.text;
        ++pos_;
        return true;
    }

    bool parseKey(RegistrarKey& key, int depth)
    {
        const Token& first = tokens_[pos_];
        if (first.kind == TokenKind::Bare) {
            if (equalsNoCase(first.text, "NoRemove"))
                key.mark = RegistrarMark::NoRemove;
            else if (equalsNoCase(first.text, "ForceRemove"))
                key.mark = RegistrarMark::ForceRemove;
            else if (equalsNoCase(first.text, "Delete"))
                key.mark = RegistrarMark::Delete;
            if (key.mark != RegistrarMark::None) {
                ++pos_;
                if (!atEnd()) {
                    const Token& next = tokens_[pos_];
                    if (next.kind == TokenKind::Bare &&
                        (equalsNoCase(next.text, "NoRemove") || equalsNoCase(next.text, "ForceRemove") ||
                         equalsNoCase(next.text, "Delete")))
                        return fail(next.line, "a key takes one mark only; quote the name if it is '" + next.text + "'");
                }
            }
        }
        const int nameLine = atEnd() ? lastLine() : tokens_[pos_].line;
        if (!parseName(key.name, true))
            return false;
        if (key.mark == RegistrarMark::Delete) {
            if (peekIs("=") || peekIs("{"))
                return fail(nameLine, "a key marked Delete takes no value and no block");
            return true;
        }
        if (peekIs("=")) {
            ++pos_;
            key.hasDefault = true;
            if (!parseValue(key.defaultValue))
                return false;
        }
        if (peekIs("{")) {
            ++pos_;
            return parseBlock(key.subkeys, &key, depth + 1);
        }
        return true;
    }

    static bool parseNumber(const std::string& s, std::uint32_t& out)
    {
        if (s.empty())
            return false;
        std::uint64_t v = 0;
        std::size_t i = 0;
        int base = 10;
        if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
            base = 16;
            i = 2;
        }
        for (; i < s.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(s[i]);
            int digit;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (base == 16 && std::isxdigit(c))
                digit = std::tolower(c) - 'a' + 10;
            else
                return false;
            v = v * base + static_cast<unsigned>(digit);
            if (v > 0xFFFFFFFFull)
                return false;
        }
        out = static_cast<std::uint32_t>(v);
        return true;
    }

    bool parseValue(RegistrarValue& value)
    {
        if (atEnd())
            return fail(lastLine(), "expected a value type at end of script");
        const Token& typeToken = tokens_[pos_];
        if (typeToken.kind != TokenKind::Bare || typeToken.text.size() != 1 || isPunctuation(typeToken))
            return fail(typeToken.line, "expected a value type (s, e, m, d or b), found '" + typeToken.text + "'");
        const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(typeToken.text[0])));
        ++pos_;
        if (atEnd())
            return fail(lastLine(), "expected a value at end of script");
        const Token& data = tokens_[pos_];
        if (isPunctuation(data))
            return fail(data.line, "expected a value, found '" + data.text + "'");
        switch (letter) {
        case 's':
        case 'e':
            if (data.kind != TokenKind::Quoted)
                return fail(data.line, "string values are quoted");
            value.type = letter == 's' ? RegistrarValueType::String : RegistrarValueType::ExpandString;
            value.data = data.text;
            value.data += '\0';
            break;
        case 'm': {
            if (data.kind != TokenKind::Quoted)
                return fail(data.line, "string values are quoted");
            value.type = RegistrarValueType::MultiString;
            // Parts are separated by the two characters \0; the list ends with an empty part.
            std::string bytes;
            const std::string& s = data.text;
            for (std::size_t i = 0; i < s.size(); ++i) {
                if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == '0') {
                    bytes += '\0';
                    ++i;
                } else {
                    bytes += s[i];
                }
            }
            if (!bytes.empty())
                bytes += '\0';
            bytes += '\0';
            value.data = bytes;
            break;
        }
        case 'd': {
            std::uint32_t number = 0;
            if (!parseNumber(data.text, number))
                return fail(data.line, "'" + data.text + "' is not a 32-bit number");
            value.type = RegistrarValueType::Dword;
            value.data.clear();
            for (int b = 0; b < 4; ++b)
                value.data += static_cast<char>((number >> (8 * b)) & 0xFF);
            break;
        }
        case 'b': {
            const std::string& s = data.text;
            if (s.size() % 2 != 0)
                return fail(data.line, "binary values need an even number of hex digits");
            value.type = RegistrarValueType::Binary;
            value.data.clear();
            for (std::size_t i = 0; i < s.size(); i += 2) {
                const unsigned char hi = static_cast<unsigned char>(s[i]);
                const unsigned char lo = static_cast<unsigned char>(s[i + 1]);
                if (!std::isxdigit(hi) || !std::isxdigit(lo))
                    return fail(data.line, "'" + s + "' is not hexadecimal");
                auto nibble = [](unsigned char c) {
                    return std::isdigit(c) ? c - '0' : std::tolower(c) - 'a' + 10;
                };
                value.data += static_cast<char>(nibble(hi) * 16 + nibble(lo));
            }
            break;
        }
        default:
            return fail(typeToken.line, "unknown value type '" + typeToken.text + "'");
        }
        ++pos_;
        return true;
    }
};

std::string joinPath(const std::string& parent, const std::string& name)
{
    return parent.empty() ? name : parent + "\\" + name;
}

void planKey(const RegistrarKey& key, RegistrarRoot root, const std::string& parent, RegistrarMode mode,
             std::vector<RegistryOp>& ops)
{
    const std::string path = joinPath(parent, key.name);
    auto op = [&](RegistryOpKind kind) {
        RegistryOp o;
        o.kind = kind;
        o.root = root;
        o.keyPath = path;
        return o;
    };
    if (mode == RegistrarMode::Register) {
        if (key.mark == RegistrarMark::Delete) {
            ops.push_back(op(RegistryOpKind::DeleteTree));
            return;
        }
        if (key.mark == RegistrarMark::ForceRemove)
            ops.push_back(op(RegistryOpKind::DeleteTree));
        ops.push_back(op(RegistryOpKind::CreateKey));
        if (key.hasDefault) {
            RegistryOp o = op(RegistryOpKind::SetValue);
            o.type = key.defaultValue.type;
            o.data = key.defaultValue.data;
            ops.push_back(o);
        }
        for (const RegistrarValue& v : key.values) {
            RegistryOp o = op(RegistryOpKind::SetValue);
            o.valueName = v.name;
            o.type = v.type;
            o.data = v.data;
            ops.push_back(o);
        }
        for (const RegistrarKey& sub : key.subkeys)
            planKey(sub, root, path, mode, ops);
        return;
    }
    switch (key.mark) {
    case RegistrarMark::Delete:
        return;
    case RegistrarMark::ForceRemove:
        ops.push_back(op(RegistryOpKind::DeleteTree));
        return;
    case RegistrarMark::NoRemove:
        for (const RegistrarKey& sub : key.subkeys)
            planKey(sub, root, path, mode, ops);
        for (const RegistrarValue& v : key.values) {
            RegistryOp o = op(RegistryOpKind::DeleteValue);
            o.valueName = v.name;
            ops.push_back(o);
        }
        return;
    case RegistrarMark::None:
        for (const RegistrarKey& sub : key.subkeys)
            planKey(sub, root, path, mode, ops);
        ops.push_back(op(RegistryOpKind::DeleteKeyIfLeaf));
        return;
    }
}

}  // namespace

RegistrarParseResult parseRegistrarScript(const std::string& text, const RegistrarVariables& variables)
{
    return Parser(text, variables).run();
}

std::vector<RegistryOp> planRegistrar(const RegistrarScript& script, RegistrarMode mode)
{
    std::vector<RegistryOp> ops;
    for (const RegistrarRootBlock& block : script.roots) {
        for (const RegistrarKey& key : block.keys)
            planKey(key, block.root, std::string(), mode, ops);
    }
    return ops;
}
