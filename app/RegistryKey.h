#pragma once
// One open registry key with the few operations the program and its extension need.

#include "win/Handles.h"

#include <string>

class RegistryKey {
public:
    // Opens the key, creating it when missing; on failure the object holds no key.
    RegistryKey(HKEY root, const std::string& subkey);

    bool isOpen() const { return key_.valid(); }
    void close() { key_.reset(); }

    // REG_BINARY with exactly byteCount bytes of text; no terminator is added.
    bool writeValue(const std::string& name, const char* text, unsigned long byteCount);
    // Reads the value whatever its type; text gets exactly the bytes the read reports.
    bool readValue(const std::string& name, std::string& text, unsigned long& byteCount);
    bool deleteValue(const std::string& name);

private:
    UniqueHKey key_;
};
