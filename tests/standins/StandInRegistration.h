#pragma once
// Registers the stand-in controls (bin/tessel_standins.dll) under the media player's and
// Flash's class identifiers in the test prefix, for as long as the object lives.

#include <windows.h>

#include <string>

namespace standins {

constexpr const char* mediaKey = "Software\\Classes\\CLSID\\{22D6F312-B0F6-11D0-94AB-0080C74C7E95}";
constexpr const char* flashKey = "Software\\Classes\\CLSID\\{D27CDB6E-AE6D-11CF-96B8-444553540000}";

inline bool registerServer(const char* key, const std::string& dll)
{
    const std::string server = std::string(key) + "\\InprocServer32";
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, server.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const char model[] = "Apartment";
    const bool ok =
        RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(dll.c_str()),
                       static_cast<DWORD>(dll.size() + 1)) == ERROR_SUCCESS &&
        RegSetValueExA(handle, "ThreadingModel", 0, REG_SZ, reinterpret_cast<const BYTE*>(model), sizeof model) ==
            ERROR_SUCCESS;
    RegCloseKey(handle);
    return ok;
}

inline void unregisterServer(const char* key)
{
    const std::string server = std::string(key) + "\\InprocServer32";
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, server.c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, key);
}

// Which of the two are registered; both unregistered again at the end.
class Registration {
public:
    Registration(const std::string& binDirectory, bool media, bool flash)
    {
        const std::string dll = binDirectory + "tessel_standins.dll";
        ok_ = (!media || registerServer(mediaKey, dll)) && (!flash || registerServer(flashKey, dll));
    }
    ~Registration()
    {
        unregisterServer(mediaKey);
        unregisterServer(flashKey);
    }
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

    bool ok() const { return ok_; }

private:
    bool ok_ = false;
};

// The stand-ins' call log: the file they append to while TESSEL_STANDIN_LOG names it.
class CallLog {
public:
    explicit CallLog(const std::string& path) : path_(path)
    {
        DeleteFileA(path_.c_str());
        SetEnvironmentVariableA("TESSEL_STANDIN_LOG", path_.c_str());
    }
    ~CallLog()
    {
        SetEnvironmentVariableA("TESSEL_STANDIN_LOG", nullptr);
        DeleteFileA(path_.c_str());
    }
    CallLog(const CallLog&) = delete;
    CallLog& operator=(const CallLog&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

} // namespace standins
