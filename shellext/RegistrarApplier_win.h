#pragma once
// Carries out planned registrar steps on the real registry.

#include "shellext/RegistrarScript.h"

#include <windows.h>

#include <vector>

HKEY registrarRootKey(RegistrarRoot root);

// Runs the steps in order and stops at the first that fails, returning its error as an
// HRESULT; S_OK when all succeeded. Missing keys and values count as removed.
HRESULT applyRegistryOps(const std::vector<RegistryOp>& ops);

// Parses a script, plans it for the mode and applies it.
HRESULT runRegistrarScript(const std::string& script, const RegistrarVariables& variables, RegistrarMode mode);

// Deletes a key with all its subkeys (the platform's own recursive delete is not on every
// system the library supports). A missing key counts as deleted.
LONG deleteKeyTree(HKEY parent, const std::string& path);
