// The registrar's Win32 side: each planned step is one small registry operation.

#include "shellext/RegistrarApplier_win.h"

#include "win/Handles.h"

#include <vector>

namespace {

DWORD registryType(RegistrarValueType type)
{
    switch (type) {
    case RegistrarValueType::String: return REG_SZ;
    case RegistrarValueType::ExpandString: return REG_EXPAND_SZ;
    case RegistrarValueType::MultiString: return REG_MULTI_SZ;
    case RegistrarValueType::Dword: return REG_DWORD;
    case RegistrarValueType::Binary: return REG_BINARY;
    }
    return REG_BINARY;
}

bool missing(LONG status) { return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND; }

LONG applyOne(const RegistryOp& op)
{
    HKEY root = registrarRootKey(op.root);
    UniqueHKey key;
    LONG status = ERROR_SUCCESS;
    switch (op.kind) {
    case RegistryOpKind::CreateKey:
    case RegistryOpKind::SetValue:
        status = RegCreateKeyExA(root, op.keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
        if (status != ERROR_SUCCESS)
            return status;
        if (op.kind == RegistryOpKind::SetValue)
            status = RegSetValueExA(key.get(), op.valueName.empty() ? nullptr : op.valueName.c_str(), 0,
                                    registryType(op.type), reinterpret_cast<const BYTE*>(op.data.data()),
                                    static_cast<DWORD>(op.data.size()));
        return status;
    case RegistryOpKind::DeleteValue:
        status = RegOpenKeyExA(root, op.keyPath.c_str(), 0, KEY_SET_VALUE, key.put());
        if (missing(status))
            return ERROR_SUCCESS;
        if (status != ERROR_SUCCESS)
            return status;
        status = RegDeleteValueA(key.get(), op.valueName.c_str());
        return missing(status) ? ERROR_SUCCESS : status;
    case RegistryOpKind::DeleteTree:
        return deleteKeyTree(root, op.keyPath);
    case RegistryOpKind::DeleteKeyIfLeaf: {
        status = RegOpenKeyExA(root, op.keyPath.c_str(), 0, KEY_READ, key.put());
        if (missing(status))
            return ERROR_SUCCESS;
        if (status != ERROR_SUCCESS)
            return status;
        DWORD subkeys = 0;
        status = RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                                  nullptr, nullptr, nullptr);
        key.reset();
        if (status != ERROR_SUCCESS)
            return status;
        // Something the script did not write still lives below: the key is not ours alone.
        if (subkeys > 0)
            return ERROR_SUCCESS;
        status = RegDeleteKeyA(root, op.keyPath.c_str());
        return missing(status) ? ERROR_SUCCESS : status;
    }
    }
    return ERROR_INVALID_PARAMETER;
}

}  // namespace

HKEY registrarRootKey(RegistrarRoot root)
{
    switch (root) {
    case RegistrarRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegistrarRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegistrarRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegistrarRoot::Users: return HKEY_USERS;
    case RegistrarRoot::CurrentConfig: return HKEY_CURRENT_CONFIG;
    }
    return HKEY_CLASSES_ROOT;
}

LONG RegistryKeys::open(HKEY parent, const std::wstring& path, REGSAM access, UniqueHKey& key) const
{
    return RegOpenKeyExW(parent, path.c_str(), 0, access, key.put());
}

LONG RegistryKeys::remove(HKEY parent, const std::wstring& path) const
{
    return RegDeleteKeyW(parent, path.c_str());
}

namespace {

// Key names have at most 255 characters.
LONG subkeyAt(HKEY key, DWORD index, std::wstring& name)
{
    WCHAR buffer[256];
    DWORD length = 256;
    const LONG status = RegEnumKeyExW(key, index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_SUCCESS)
        name.assign(buffer, length);
    return status;
}

// Opens every key of the tree as its deletion will, deleting nothing: the first refusal
// is returned.
LONG checkKeyTree(HKEY parent, const std::wstring& path, const RegistryKeys& keys)
{
    UniqueHKey key;
    LONG status = keys.open(parent, path, KEY_READ | KEY_WRITE | DELETE, key);
    if (missing(status))
        return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS)
        return status;
    std::wstring name;
    for (DWORD index = 0;; ++index) {
        status = subkeyAt(key.get(), index, name);
        if (status == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (status != ERROR_SUCCESS)
            return status;
        status = checkKeyTree(key.get(), name, keys);
        if (status != ERROR_SUCCESS)
            return status;
    }
}

// The tree below a key goes by the wide functions: a subkey whose name does not fit the
// ANSI code page enumerates as "?" through the ANSI ones, cannot be opened by that name,
// and would be found again and again.
LONG deleteKeyTreeWide(HKEY parent, const std::wstring& path, const RegistryKeys& keys)
{
    UniqueHKey key;
    LONG status = keys.open(parent, path, KEY_READ | KEY_WRITE, key);
    if (missing(status))
        return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS)
        return status;
    // Always enumerate index 0: each pass deletes the subkey just found.
    std::wstring previous;
    for (;;) {
        std::wstring subkey;
        status = subkeyAt(key.get(), 0, subkey);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS)
            return status;
        // Deleted, yet still there: stop rather than go round for ever.
        if (subkey == previous)
            return ERROR_CANTWRITE;
        status = deleteKeyTreeWide(key.get(), subkey, keys);
        if (status != ERROR_SUCCESS)
            return status;
        previous = subkey;
    }
    key.reset();
    status = keys.remove(parent, path);
    return missing(status) ? ERROR_SUCCESS : status;
}

}  // namespace

LONG deleteKeyTree(HKEY parent, const std::string& path)
{
    return deleteKeyTree(parent, path, RegistryKeys());
}

LONG deleteKeyTree(HKEY parent, const std::string& path, const RegistryKeys& keys)
{
    const int count = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    if (count <= 0 && !path.empty())
        return ERROR_INVALID_NAME;
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    if (count > 0)
        MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), &wide[0], count);
    const LONG status = checkKeyTree(parent, wide, keys);
    if (status != ERROR_SUCCESS)
        return status;
    return deleteKeyTreeWide(parent, wide, keys);
}

HRESULT applyRegistryOps(const std::vector<RegistryOp>& ops)
{
    for (const RegistryOp& op : ops) {
        const LONG status = applyOne(op);
        if (status != ERROR_SUCCESS)
            return HRESULT_FROM_WIN32(static_cast<DWORD>(status));
    }
    return S_OK;
}

HRESULT runRegistrarScript(const std::string& script, const RegistrarVariables& variables, RegistrarMode mode)
{
    const RegistrarParseResult parsed = parseRegistrarScript(script, variables);
    if (!parsed.ok)
        return E_UNEXPECTED;
    return applyRegistryOps(planRegistrar(parsed.script, mode));
}
