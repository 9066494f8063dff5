// Registry key operations.

#include "app/RegistryKey.h"

#include <vector>

RegistryKey::RegistryKey(HKEY root, const std::string& subkey)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) == ERROR_SUCCESS)
        key_.reset(key);
}

bool RegistryKey::writeValue(const std::string& name, const char* text, unsigned long byteCount)
{
    if (!key_)
        return false;
    return RegSetValueExA(key_.get(), name.c_str(), 0, REG_BINARY,
                          reinterpret_cast<const BYTE*>(text), byteCount) == ERROR_SUCCESS;
}

bool RegistryKey::readValue(const std::string& name, std::string& text, unsigned long& byteCount)
{
    if (!key_)
        return false;
    DWORD largest = 0;
    if (RegQueryInfoKeyA(key_.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, &largest, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    std::vector<BYTE> buffer(largest + 1);
    DWORD size = largest;
    DWORD type = 0;
    if (RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, buffer.data(), &size) != ERROR_SUCCESS)
        return false;
    text.assign(reinterpret_cast<const char*>(buffer.data()), size);
    byteCount = size;
    return true;
}

bool RegistryKey::deleteValue(const std::string& name)
{
    if (!key_)
        return false;
    return RegDeleteValueA(key_.get(), name.c_str()) == ERROR_SUCCESS;
}
