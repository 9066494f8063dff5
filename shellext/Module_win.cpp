// Tessel.dll's start-up and shutdown, its module-wide state and its class-object exports.

#include "shellext/Module_win.h"

#include "base/Identity.h"
#include "base/Utf8.h"
#include "base/WideText_win.h"
#include "shellext/ClassFactory_win.h"
#include "shellext/HandlerText.h"
#include "win/Handles.h"

#include <new>
#include <vector>

const CLSID CLSID_Tessel2 = {0xB2D2B1ED, 0xEC81, 0x4009, {0x9B, 0x4C, 0xE4, 0xAC, 0xFF, 0x4C, 0x5C, 0x4B}};
const GUID LIBID_TESSELLib = {0x65B51E58, 0xF393, 0x40D0, {0xBD, 0x9B, 0xC0, 0x19, 0x90, 0x23, 0xD1, 0xA0}};

namespace {

HINSTANCE instance = nullptr;
std::string installDirectory;
volatile LONG moduleLockCount = 0;
CRITICAL_SECTION moduleSection;
bool moduleSectionReady = false;
ClassFactory* cachedFactory = nullptr;

// InstallPath is read whatever its registry type, with a buffer as large as the key's
// largest value, and its length is what the read reports.
std::string readInstallDir()
{
    UniqueHKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, installKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS)
        return std::string();
    std::string dir;
    DWORD largest = 0;
    if (RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &largest,
                         nullptr, nullptr) == ERROR_SUCCESS &&
        largest > 0) {
        std::vector<char> buffer(largest);
        DWORD size = largest;
        if (RegQueryValueExA(key.get(), installPathValue, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()),
                             &size) == ERROR_SUCCESS &&
            size <= largest)
            dir = installDirFromValue(std::string(buffer.data(), size));
    }
    // The program writes the bytes of its own code page: UTF-8 where Windows honours its
    // manifest, the machine's ANSI code page before that. Kept here as UTF-8.
    if (!utf8::isValid(dir))
        dir = narrow(widen(dir, machineAnsiCodePage()), CP_UTF8);
    return dir;
}

// The folder of this library as UTF-8, with a trailing backslash; empty when the system
// cannot say.
std::string moduleFolder(HINSTANCE module)
{
    std::vector<WCHAR> buffer(MAX_PATH + 1);
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::string();
        if (length < buffer.size() - 1 || buffer.size() >= 65536) {
            const std::wstring path(buffer.data(), length);
            const std::size_t slash = path.rfind(L'\\');
            return slash == std::wstring::npos ? std::string() : narrow(path.substr(0, slash + 1), CP_UTF8);
        }
        buffer.resize(buffer.size() * 2);
    }
}

BOOL startUp(HINSTANCE module)
{
    try {
        installDirectory = readInstallDir();
        // InstallPath is written by a start of the program, so every other user of the
        // machine lacks it until they have started it once; the program is installed
        // beside this library.
        if (installDirectory.empty())
            installDirectory = moduleFolder(module);
    } catch (...) {
        installDirectory.clear();
    }
    // Without the program's directory there is nowhere to hand files to: refuse to load.
    if (installDirectory.empty())
        return FALSE;
    instance = module;
    InitializeCriticalSection(&moduleSection);
    moduleSectionReady = true;
    DisableThreadLibraryCalls(module);
    return TRUE;
}

void shutDown()
{
    if (cachedFactory) {
        cachedFactory->Release();
        cachedFactory = nullptr;
    }
    if (moduleSectionReady) {
        DeleteCriticalSection(&moduleSection);
        moduleSectionReady = false;
    }
}

}  // namespace

HINSTANCE moduleInstance() { return instance; }

const std::string& installDir() { return installDirectory; }

std::string modulePath()
{
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameA(instance, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return std::string();
        if (n < buffer.size())
            return std::string(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

void lockModule() { InterlockedIncrement(&moduleLockCount); }
void unlockModule() { InterlockedDecrement(&moduleLockCount); }
LONG moduleLocks() { return InterlockedCompareExchange(&moduleLockCount, 0, 0); }

ModuleGuard::ModuleGuard() { EnterCriticalSection(&moduleSection); }
ModuleGuard::~ModuleGuard() { LeaveCriticalSection(&moduleSection); }

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        return startUp(module);
    if (reason == DLL_PROCESS_DETACH)
        shutDown();
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return moduleLocks() == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* object)
{
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_Tessel2))
        return CLASS_E_CLASSNOTAVAILABLE;
    ModuleGuard guard;
    if (cachedFactory == nullptr) {
        cachedFactory = new (std::nothrow) ClassFactory();
        if (cachedFactory == nullptr)
            return E_OUTOFMEMORY;
    }
    return cachedFactory->QueryInterface(riid, object);
}
