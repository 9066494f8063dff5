// Registration of Tessel.dll: the registry after DllRegisterServer (once and twice), after
// DllUnregisterServer, and the program's registerShellExtension.

#include "ShellTestSupport.h"

#include "app/ShellRegistration.h"

#include <gtest/gtest.h>

namespace {

using namespace shelltest;

const std::string clsidKey = std::string("CLSID\\") + clsidText;
const std::string handlerKey = "*\\shellex\\ContextMenuHandlers\\Tesselwork2";
const std::string handlersKey = "*\\shellex\\ContextMenuHandlers";

std::string registrationDump()
{
    std::string dump;
    for (const std::string& key :
         {std::string("Tessel.Tessel2.1"), std::string("Tessel.Tessel2"), clsidKey,
          std::string("TypeLib\\") + libidText, std::string("Interface\\") + iidTessel2Text, handlerKey})
        dump += dumpClassesKey(key);
    return dump;
}

typedef HRESULT(STDAPICALLTYPE* ServerFunction)();

HRESULT callExport(const char* name)
{
    HMODULE module = LoadLibraryA(dllPath().c_str());
    if (!module)
        return HRESULT_FROM_WIN32(GetLastError());
    auto f = reinterpret_cast<ServerFunction>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    const HRESULT hr = f ? f() : E_NOTIMPL;
    FreeLibrary(module);
    return hr;
}

class ShellRegistration : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(InstallPathScope::set(binDirectory())); }
    void TearDown() override
    {
        // Leave the extension registered from bin/, as a start of the program there would.
        callExport("DllRegisterServer");
    }
    InstallPathScope keep_;
};

TEST_F(ShellRegistration, RegisterWritesClassTypeLibraryAndHandler)
{
    ASSERT_EQ(callExport("DllRegisterServer"), S_OK);
    const std::string dll = dllPath();
    struct Row { std::string key; std::string value; } rows[] = {
        {"Tessel.Tessel2.1", "Tessel2 Class"},
        {"Tessel.Tessel2.1\\CLSID", clsidText},
        {"Tessel.Tessel2", "Tessel2 Class"},
        {"Tessel.Tessel2\\CLSID", clsidText},
        {"Tessel.Tessel2\\CurVer", "Tessel.Tessel2.1"},
        {clsidKey, "Tessel2 Class"},
        {clsidKey + "\\ProgID", "Tessel.Tessel2.1"},
        {clsidKey + "\\VersionIndependentProgID", "Tessel.Tessel2"},
        {clsidKey + "\\InprocServer32", dll},
        {clsidKey + "\\TypeLib", libidText},
        {std::string("TypeLib\\") + libidText + "\\1.0", "Tessel 1.0 Type Library"},
        // A type library registers under the platform of the module that holds it.
        {std::string("TypeLib\\") + libidText + "\\1.0\\409\\" + (sizeof(void*) == 8 ? "win64" : "win32"), dll},
        {std::string("Interface\\") + iidTessel2Text, "ITessel2"},
        {handlerKey, clsidText},
    };
    for (const Row& row : rows) {
        DWORD type = 0;
        EXPECT_EQ(classesDefaultValue(row.key, &type), row.value) << row.key;
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << row.key;
    }
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, (clsidKey + "\\InprocServer32").c_str(), 0, KEY_READ, &key),
              ERROR_SUCCESS);
    char model[32] = {};
    DWORD size = sizeof model;
    EXPECT_EQ(RegQueryValueExA(key, "ThreadingModel", nullptr, nullptr, reinterpret_cast<BYTE*>(model), &size),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_STREQ(model, "Apartment");
    // The handler's CLSID is stored with its NUL counted.
    DWORD handlerSize = 0;
    classesDefaultValue(handlerKey, nullptr, &handlerSize);
    EXPECT_EQ(handlerSize, 39u);
}

// 64-bit Explorer reads the 64-bit view of the classes and loads only a 64-bit library;
// 32-bit hosts read the 32-bit view. Each build registers its own library in its own view.
TEST_F(ShellRegistration, RegistersInTheViewOfItsOwnBitness)
{
    ASSERT_EQ(callExport("DllRegisterServer"), S_OK);
    const REGSAM ownView = sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
    const std::string server = clsidKey + "\\InprocServer32";
    auto serverIn = [&](REGSAM view) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, server.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
            return std::string("<no key>");
        char text[MAX_PATH * 2] = {};
        DWORD size = sizeof text - 1;
        const LONG status = RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
        RegCloseKey(key);
        return status == ERROR_SUCCESS ? std::string(text) : std::string("<no value>");
    };
    EXPECT_EQ(serverIn(ownView), dllPath());
    // On a 64-bit system the 32-bit view is a separate one that must not name a 64-bit
    // library (a 32-bit host could not load it). A 32-bit system has only the one view.
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    if (sizeof(void*) == 8 || wow64) {
        const REGSAM otherView = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
        EXPECT_NE(serverIn(otherView), dllPath());
    }
}

TEST_F(ShellRegistration, RegisteringTwiceLeavesTheSameState)
{
    ASSERT_EQ(callExport("DllRegisterServer"), S_OK);
    const std::string once = registrationDump();
    // A stale subkey under the ForceRemove key goes at the next registration.
    HKEY stale = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, (clsidKey + "\\Stale").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &stale, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(stale);
    ASSERT_EQ(callExport("DllRegisterServer"), S_OK);
    const std::string twice = registrationDump();
    EXPECT_FALSE(once.empty());
    EXPECT_EQ(once, twice);
    EXPECT_EQ(twice.find("Stale"), std::string::npos);
}

TEST_F(ShellRegistration, UnregisterRemovesOnlyWhatWasWritten)
{
    ASSERT_EQ(callExport("DllRegisterServer"), S_OK);
    // A neighbour handler that belongs to someone else.
    const std::string neighbour = handlersKey + "\\SomeoneElse";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, neighbour.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("{0}"), 4);
    RegCloseKey(key);
    const std::string neighbourBefore = dumpClassesKey(neighbour);

    ASSERT_EQ(callExport("DllUnregisterServer"), S_OK);
    for (const std::string& gone : {std::string("Tessel.Tessel2.1"), std::string("Tessel.Tessel2"), clsidKey,
                                    std::string("TypeLib\\") + libidText, handlerKey})
        EXPECT_FALSE(classesKeyExists(gone)) << gone;
    EXPECT_TRUE(classesKeyExists("CLSID"));
    EXPECT_TRUE(classesKeyExists(handlersKey));
    EXPECT_EQ(dumpClassesKey(neighbour), neighbourBefore);

    // Again, with everything already gone, and with the handler key alone gone.
    EXPECT_EQ(callExport("DllUnregisterServer"), S_OK);
    ASSERT_EQ(callExport("DllRegisterServer"), S_OK);
    ASSERT_EQ(RegDeleteKeyA(HKEY_CLASSES_ROOT, handlerKey.c_str()), ERROR_SUCCESS);
    EXPECT_EQ(callExport("DllUnregisterServer"), S_OK);
    EXPECT_FALSE(classesKeyExists(clsidKey));

    RegDeleteKeyA(HKEY_CLASSES_ROOT, neighbour.c_str());
}

TEST_F(ShellRegistration, UnregisterKeepsKeysWithForeignSubkeys)
{
    // A key the script names without a mark is removed only when nothing else lives below.
    ASSERT_EQ(callExport("DllRegisterServer"), S_OK);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "Tessel.Tessel2\\Foreign", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_EQ(callExport("DllUnregisterServer"), S_OK);
    EXPECT_TRUE(classesKeyExists("Tessel.Tessel2\\Foreign"));
    EXPECT_FALSE(classesKeyExists("Tessel.Tessel2\\CLSID"));
    EXPECT_FALSE(classesKeyExists("Tessel.Tessel2\\CurVer"));
    EXPECT_FALSE(classesKeyExists("Tessel.Tessel2.1"));
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "Tessel.Tessel2\\Foreign");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "Tessel.Tessel2");
}

TEST_F(ShellRegistration, ProgramRegistersTheLibraryBesideIt)
{
    ASSERT_EQ(callExport("DllUnregisterServer"), S_OK);
    ASSERT_FALSE(classesKeyExists(handlerKey));
    EXPECT_EQ(registerShellExtension(), 1);
    EXPECT_EQ(classesDefaultValue(clsidKey + "\\InprocServer32"), dllPath());
    EXPECT_EQ(classesDefaultValue(handlerKey), clsidText);
    // The library was freed again: with nothing else holding it, it is no longer loaded.
    EXPECT_EQ(GetModuleHandleA(dllPath().c_str()), nullptr);
}

TEST_F(ShellRegistration, RegistrationThroughTheHostProcess)
{
    // The same exports from a process of its own, as regsvr32 would call them.
    EXPECT_EQ(registerWithHost(dllPath(), true), S_OK);
    const std::string dump = registrationDump();
    EXPECT_EQ(registerWithHost(dllPath(), true), S_OK);
    EXPECT_EQ(registrationDump(), dump);
    EXPECT_EQ(registerWithHost(dllPath(), false), S_OK);
    EXPECT_FALSE(classesKeyExists(clsidKey));
    // Without InstallPath (a user who never started the program) the library still loads,
    // serving the program beside it, and registers itself.
    InstallPathScope::erase();
    HostReport r = runHost({"register", dllPath()});
    EXPECT_EQ(r["load"], "ok");
    EXPECT_EQ(r["register"], "0x00000000");
    EXPECT_EQ(classesDefaultValue(clsidKey + "\\InprocServer32"), dllPath());
    ASSERT_TRUE(InstallPathScope::set(binDirectory()));
}

}  // namespace
