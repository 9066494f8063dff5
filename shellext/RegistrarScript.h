#pragma once
// The registrar-script language of the extension's registration resource: parser and planner.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Registry roots a script may name. The numbers are ours; the Win32 applier maps them.
enum class RegistrarRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

enum class RegistrarValueType { String, ExpandString, MultiString, Dword, Binary };

struct RegistrarValue {
    std::string name;            // empty for a key's default value
    RegistrarValueType type = RegistrarValueType::String;
    std::string data;            // exactly the bytes to store (strings carry their NULs)
};

enum class RegistrarMark { None, NoRemove, ForceRemove, Delete };

struct RegistrarKey {
    std::string name;
    RegistrarMark mark = RegistrarMark::None;
    bool hasDefault = false;
    RegistrarValue defaultValue;
    std::vector<RegistrarValue> values;   // named values, in script order
    std::vector<RegistrarKey> subkeys;    // in script order
};

struct RegistrarRootBlock {
    RegistrarRoot root = RegistrarRoot::ClassesRoot;
    std::vector<RegistrarKey> keys;
};

struct RegistrarScript {
    std::vector<RegistrarRootBlock> roots;
};

struct RegistrarParseResult {
    bool ok = false;
    RegistrarScript script;
    int errorLine = 0;          // 1-based line of the offending token, 0 when ok
    std::string error;          // what was wrong, for diagnostics only
};

// Replacement texts for %NAME% in key names and values ("MODULE" -> the library's path).
// "%%" stands for one percent sign; an unknown or unterminated variable is an error.
using RegistrarVariables = std::map<std::string, std::string>;

// Parses a whole script. Malformed input of any kind yields ok == false with a line and a
// message, never a partial script; nesting deeper than registrarMaxDepth is refused.
RegistrarParseResult parseRegistrarScript(const std::string& text, const RegistrarVariables& variables);

constexpr int registrarMaxDepth = 32;

// One registry step. Paths are relative to the root and joined with backslashes.
enum class RegistryOpKind {
    CreateKey,        // create or open keyPath
    SetValue,         // store value (valueName empty: default value) under keyPath
    DeleteValue,      // remove the named value; a missing value is not an error
    DeleteTree,       // remove keyPath with everything below it; a missing key is not an error
    DeleteKeyIfLeaf,  // remove keyPath when it has no subkeys left; missing is not an error
};

struct RegistryOp {
    RegistryOpKind kind = RegistryOpKind::CreateKey;
    RegistrarRoot root = RegistrarRoot::ClassesRoot;
    std::string keyPath;
    std::string valueName;
    RegistrarValueType type = RegistrarValueType::String;
    std::string data;
};

enum class RegistrarMode { Register, Remove };

// Turns a parsed script into the ordered registry steps of one mode.
// Register: Delete keys are deleted; ForceRemove keys are deleted whole and written anew;
// every other key is created (existing content kept) and its values written.
// Remove: NoRemove keys stay (their subkeys are processed, the named values the script
// gives them are removed); ForceRemove keys go whole; other keys are processed depth-first
// and then removed unless something not written by the script still lives below them;
// Delete keys are left alone.
std::vector<RegistryOp> planRegistrar(const RegistrarScript& script, RegistrarMode mode);
