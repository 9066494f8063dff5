// Tessel.dll loaded into the test process: start-up against InstallPath, the exports, the
// cached class factory and its effect on DllCanUnloadNow, the handler's interfaces and
// aggregation.

#include "ShellTestSupport.h"

#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

namespace {

using namespace shelltest;

typedef HRESULT(STDAPICALLTYPE* CanUnloadFunction)();
typedef HRESULT(STDAPICALLTYPE* GetClassObjectFunction)(REFCLSID, REFIID, void**);

class LoadedModule {
public:
    LoadedModule() : module_(LoadLibraryA(dllPath().c_str())), error_(GetLastError()) {}
    ~LoadedModule()
    {
        if (module_)
            FreeLibrary(module_);
    }
    HMODULE get() const { return module_; }
    DWORD loadError() const { return error_; }
    HRESULT canUnload() const
    {
        return reinterpret_cast<CanUnloadFunction>(reinterpret_cast<void*>(GetProcAddress(module_, "DllCanUnloadNow")))();
    }
    HRESULT getClassObject(REFCLSID clsid, REFIID riid, void** object) const
    {
        auto f = reinterpret_cast<GetClassObjectFunction>(
            reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
        return f(clsid, riid, object);
    }

private:
    HMODULE module_;
    DWORD error_;
};

class ShellModule : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(InstallPathScope::set("C:\\Tessel Module Test\\")); }
    InstallPathScope keep_;
};

// Whatever InstallPath holds, or without it (a user who never started the program, whose
// library then serves the program beside it), the library loads.
TEST_F(ShellModule, LoadsWithAnyInstallPathOrNone)
{
    struct Row {
        const char* what;
        bool present;
        std::string bytes;
        DWORD type;
    } rows[] = {
        {"missing", false, "", REG_BINARY},
        {"empty binary", true, "", REG_BINARY},
        {"empty string", true, std::string("\0", 1), REG_SZ},
        {"binary path", true, "C:\\Tools\\Ren\\", REG_BINARY},
        {"string with NUL", true, std::string("C:\\Tools\\Ren\\\0", 14), REG_SZ},
    };
    for (const Row& row : rows) {
        if (row.present)
            ASSERT_TRUE(InstallPathScope::set(row.bytes, row.type)) << row.what;
        else
            InstallPathScope::erase();
        LoadedModule module;
        EXPECT_NE(module.get(), nullptr) << row.what << ": error " << module.loadError();
    }
}

TEST_F(ShellModule, ExportsByNameAndOrdinal)
{
    LoadedModule module;
    ASSERT_TRUE(module.get());
    const char* names[] = {"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer", "DllUnregisterServer"};
    for (int ordinal = 1; ordinal <= 4; ++ordinal) {
        FARPROC byName = GetProcAddress(module.get(), names[ordinal - 1]);
        ASSERT_NE(byName, nullptr) << names[ordinal - 1];
        EXPECT_EQ(byName, GetProcAddress(module.get(), MAKEINTRESOURCEA(ordinal))) << ordinal;
    }
}

TEST_F(ShellModule, ResourcesAndVersionBlock)
{
    LoadedModule module;
    ASSERT_TRUE(module.get());
    char project[32] = {};
    EXPECT_GT(LoadStringA(module.get(), 100, project, sizeof project), 0);
    EXPECT_STREQ(project, "Tessel");
    HRSRC script = FindResourceA(module.get(), MAKEINTRESOURCEA(102), "REGISTRY");
    ASSERT_NE(script, nullptr);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(module.get(), script))),
                           SizeofResource(module.get(), script));
    EXPECT_NE(text.find("ForceRemove {B2D2B1ED-EC81-4009-9B4C-E4ACFF4C5C4B} = s 'Tessel2 Class'"), std::string::npos);
    EXPECT_NE(FindResourceA(module.get(), MAKEINTRESOURCEA(1), "TYPELIB"), nullptr);

    const std::string path = dllPath();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00020002u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00010000u);
    struct Row { const char* name; const char* value; } rows[] = {
        {"FileVersion", "2, 2, 1, 0"},     {"ProductVersion", "2, 2, 1, 0"},
        {"FileDescription", "Tessel Module"}, {"ProductName", "Tessel Module"},
        {"InternalName", "Tessel"},        {"OriginalFilename", "Tessel.DLL"},
        {"OLESelfRegister", ""},
    };
    for (const Row& row : rows) {
        char* value = nullptr;
        UINT length = 0;
        const std::string query = std::string("\\StringFileInfo\\040904B0\\") + row.name;
        ASSERT_TRUE(VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length)) << row.name;
        EXPECT_STREQ(value, row.value) << row.name;
    }
}

TEST_F(ShellModule, ClassObjectRequests)
{
    LoadedModule module;
    ASSERT_TRUE(module.get());
    const CLSID other = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    void* object = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(module.getClassObject(other, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(module.getClassObject(clsidTessel2, IID_IClassFactory, nullptr), E_POINTER);
    object = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(module.getClassObject(clsidTessel2, IID_IContextMenu, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(module.canUnload(), S_OK);

    IClassFactory* first = nullptr;
    IUnknown* second = nullptr;
    ASSERT_EQ(module.getClassObject(clsidTessel2, IID_IClassFactory, reinterpret_cast<void**>(&first)), S_OK);
    ASSERT_EQ(module.getClassObject(clsidTessel2, IID_IUnknown, reinterpret_cast<void**>(&second)), S_OK);
    EXPECT_EQ(static_cast<IUnknown*>(first), second) << "the class factory is cached";
    second->Release();
    EXPECT_EQ(module.canUnload(), S_FALSE) << "held by the test";
    first->Release();
    EXPECT_EQ(module.canUnload(), S_OK) << "only the module's cache holds it";
}

TEST_F(ShellModule, LockCountAcrossLifetimes)
{
    LoadedModule module;
    ASSERT_TRUE(module.get());
    IClassFactory* factory = nullptr;
    ASSERT_EQ(module.getClassObject(clsidTessel2, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    // Factory references: the module's plus ours make 2; more do not count twice.
    EXPECT_EQ(factory->AddRef(), 3u);
    EXPECT_EQ(factory->Release(), 2u);

    IContextMenu* menu = nullptr;
    IContextMenu* menu2 = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IContextMenu, reinterpret_cast<void**>(&menu)), S_OK);
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IContextMenu, reinterpret_cast<void**>(&menu2)), S_OK);
    EXPECT_NE(menu, menu2);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory->Release();

    EXPECT_EQ(module.canUnload(), S_FALSE) << "two objects and a lock";
    EXPECT_EQ(menu->AddRef(), 2u);
    EXPECT_EQ(menu->Release(), 1u);
    EXPECT_EQ(menu->Release(), 0u);
    EXPECT_EQ(module.canUnload(), S_FALSE) << "one object and a lock";
    menu2->Release();
    EXPECT_EQ(module.canUnload(), S_FALSE) << "the lock";

    ASSERT_EQ(module.getClassObject(clsidTessel2, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory->Release();
    EXPECT_EQ(module.canUnload(), S_OK);
}

TEST_F(ShellModule, CreateInstanceResults)
{
    LoadedModule module;
    ASSERT_TRUE(module.get());
    IClassFactory* factory = nullptr;
    ASSERT_EQ(module.getClassObject(clsidTessel2, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IContextMenu, nullptr), E_POINTER);

    struct Row { const char* what; const IID* iid; HRESULT expected; } rows[] = {
        {"IUnknown", &IID_IUnknown, S_OK},
        {"IContextMenu", &IID_IContextMenu, S_OK},
        {"IShellExtInit", &IID_IShellExtInit, S_OK},
        {"IDispatch", &IID_IDispatch, E_NOINTERFACE},
        {"ITessel2", &iidTessel2, E_NOINTERFACE},
        {"IContextMenu2", &IID_IContextMenu2, E_NOINTERFACE},
        {"IClassFactory", &IID_IClassFactory, E_NOINTERFACE},
    };
    for (const Row& row : rows) {
        void* object = reinterpret_cast<void*>(0x1234);
        EXPECT_EQ(factory->CreateInstance(nullptr, *row.iid, &object), row.expected) << row.what;
        if (row.expected == S_OK) {
            ASSERT_NE(object, nullptr) << row.what;
            IUnknown* unknown = static_cast<IUnknown*>(object);
            // The creator's QueryInterface took the count to 1.
            EXPECT_EQ(unknown->Release(), 0u) << row.what;
        } else {
            EXPECT_EQ(object, nullptr) << row.what;
        }
        // A failed creation leaves no object behind: only our factory reference is left.
        EXPECT_EQ(module.canUnload(), S_FALSE) << row.what;
    }
    factory->Release();
    EXPECT_EQ(module.canUnload(), S_OK);

    // The interfaces of one object answer each other, and IUnknown is one identity.
    ASSERT_EQ(module.getClassObject(clsidTessel2, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    IShellExtInit* init = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IShellExtInit, reinterpret_cast<void**>(&init)), S_OK);
    factory->Release();
    IContextMenu* menu = nullptr;
    IUnknown* fromInit = nullptr;
    IUnknown* fromMenu = nullptr;
    ASSERT_EQ(init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)), S_OK);
    ASSERT_EQ(init->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromInit)), S_OK);
    ASSERT_EQ(menu->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromMenu)), S_OK);
    EXPECT_EQ(fromInit, fromMenu);
    EXPECT_EQ(init->QueryInterface(IID_IContextMenu, nullptr), E_POINTER);
    EXPECT_EQ(fromMenu->Release(), 3u);
    EXPECT_EQ(fromInit->Release(), 2u);
    EXPECT_EQ(menu->Release(), 1u);
    EXPECT_EQ(init->Release(), 0u);
    EXPECT_EQ(module.canUnload(), S_OK);
}

// An outer object that counts what the aggregated handler delegates to it.
class Outer final : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        ++queries;
        if (IsEqualIID(riid, IID_IUnknown)) {
            *object = this;
            AddRef();
            return S_OK;
        }
        if (inner)
            return inner->QueryInterface(riid, object);
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }

    IUnknown* inner = nullptr;
    int queries = 0;
    long references = 1;
};

TEST_F(ShellModule, Aggregation)
{
    LoadedModule module;
    ASSERT_TRUE(module.get());
    IClassFactory* factory = nullptr;
    ASSERT_EQ(module.getClassObject(clsidTessel2, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    Outer outer;

    for (const IID* iid : {&IID_IContextMenu, &IID_IShellExtInit, &IID_IDispatch}) {
        void* object = reinterpret_cast<void*>(0x1234);
        EXPECT_EQ(factory->CreateInstance(&outer, *iid, &object), CLASS_E_NOAGGREGATION);
        EXPECT_EQ(object, nullptr);
    }
    EXPECT_EQ(outer.references, 1);

    IUnknown* inner = nullptr;
    ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&inner)), S_OK);
    factory->Release();
    ASSERT_NE(inner, nullptr);
    outer.inner = inner;
    EXPECT_EQ(outer.references, 1) << "the inner object must not hold its outer";

    // The non-delegating unknown hands out the interfaces; those count on the outer object.
    IContextMenu* menu = nullptr;
    ASSERT_EQ(inner->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)), S_OK);
    EXPECT_EQ(outer.references, 2);
    EXPECT_EQ(menu->AddRef(), 3u);
    EXPECT_EQ(menu->Release(), 2u);

    // Their QueryInterface goes to the outer object, whose identity answers IUnknown.
    IUnknown* identity = nullptr;
    ASSERT_EQ(menu->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(identity, &outer);
    EXPECT_EQ(outer.queries, 1);
    identity->Release();
    IShellExtInit* init = nullptr;
    ASSERT_EQ(menu->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&init)), S_OK);
    EXPECT_EQ(outer.queries, 2);
    init->Release();
    menu->Release();
    EXPECT_EQ(outer.references, 1);

    // The handler still works through its delegating interfaces.
    ASSERT_EQ(inner->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)), S_OK);
    HMENU popup = CreatePopupMenu();
    EXPECT_EQ(menu->QueryContextMenu(popup, 0, 40, 50, CMF_NORMAL), MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1));
    EXPECT_EQ(GetMenuItemID(popup, 0), 40u);
    DestroyMenu(popup);
    menu->Release();

    EXPECT_EQ(module.canUnload(), S_FALSE) << "the aggregated object is alive";
    EXPECT_EQ(inner->Release(), 0u);
    EXPECT_EQ(module.canUnload(), S_OK);
    EXPECT_EQ(outer.references, 1);
}

}  // namespace
