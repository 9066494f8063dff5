#pragma once
// Carries out planned registrar steps on the real registry.

#include "shellext/RegistrarScript.h"
#include "win/Handles.h"

#include <windows.h>

#include <string>
#include <vector>

HKEY registrarRootKey(RegistrarRoot root);

// Runs the steps in order and stops at the first that fails, returning its error as an
// HRESULT; S_OK when all succeeded. Missing keys and values count as removed.
HRESULT applyRegistryOps(const std::vector<RegistryOp>& ops);

// Parses a script, plans it for the mode and applies it.
HRESULT runRegistrarScript(const std::string& script, const RegistrarVariables& variables, RegistrarMode mode);

// The two registry calls a tree removal makes; tests put in one that refuses some keys,
// as the registry does to an ordinary user for keys of a per-machine installation.
class RegistryKeys {
public:
    virtual ~RegistryKeys() = default;
    virtual LONG open(HKEY parent, const std::wstring& path, REGSAM access, UniqueHKey& key) const;
    virtual LONG remove(HKEY parent, const std::wstring& path) const;
};

// Deletes a key with all its subkeys (the platform's own recursive delete is not on every
// system the library supports). A missing key counts as deleted. Every key of the tree
// must open for deletion before the first goes: a tree that cannot go whole stays whole
// (half a class key would break the registration it was meant to renew).
LONG deleteKeyTree(HKEY parent, const std::string& path);
LONG deleteKeyTree(HKEY parent, const std::string& path, const RegistryKeys& keys);
