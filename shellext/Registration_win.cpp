// DllRegisterServer and DllUnregisterServer: the class keys from the registrar script, the
// type library, and the context-menu handler key for all files.

#include "shellext/Module_win.h"
#include "shellext/RegistrarApplier_win.h"
#include "win/Handles.h"

#include <oleauto.h>

#include <new>
#include <string>
#include <vector>

namespace {

const int registrarResourceId = 102;
const char handlerKeyForWriting[] = "*\\shellex\\ContextMenuHandlers\\Tesselwork2\\";
const char handlersKey[] = "*\\shellex\\ContextMenuHandlers\\";
const char handlerSubkey[] = "Tesselwork2";

bool loadRegistrarScript(std::string& script)
{
    HRSRC found = FindResourceA(moduleInstance(), MAKEINTRESOURCEA(registrarResourceId), "REGISTRY");
    if (found == nullptr)
        return false;
    HGLOBAL loaded = LoadResource(moduleInstance(), found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = SizeofResource(moduleInstance(), found);
    if (bytes == nullptr)
        return false;
    script.assign(static_cast<const char*>(bytes), size);
    // Resource compilers may pad the data with NULs.
    while (!script.empty() && script.back() == '\0')
        script.pop_back();
    return true;
}

std::wstring widen(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

HRESULT runScript(RegistrarMode mode)
{
    std::string script;
    if (!loadRegistrarScript(script))
        return HRESULT_FROM_WIN32(ERROR_RESOURCE_DATA_NOT_FOUND);
    const std::string path = modulePath();
    if (path.empty())
        return E_FAIL;
    return runRegistrarScript(script, RegistrarVariables{{"MODULE", path}}, mode);
}

HRESULT registerTypeLibrary()
{
    const std::string path = modulePath();
    const std::wstring widePath = widen(path);
    ComPtr<ITypeLib> library;
    HRESULT hr = LoadTypeLib(widePath.c_str(), library.put());
    if (FAILED(hr))
        return hr;
    const std::wstring helpDir = widePath.substr(0, widePath.find_last_of(L'\\'));
    return RegisterTypeLib(library.get(), const_cast<OLECHAR*>(widePath.c_str()),
                           const_cast<OLECHAR*>(helpDir.c_str()));
}

bool typeLibraryRegistered(const TLIBATTR& attributes)
{
    WCHAR guid[50] = {};
    StringFromGUID2(attributes.guid, guid, 50);
    char guidText[50] = {};
    WideCharToMultiByte(CP_ACP, 0, guid, -1, guidText, sizeof guidText, nullptr, nullptr);
    char path[128];
    wsprintfA(path, "TypeLib\\%s\\%x.%x\\%lx", guidText, attributes.wMajorVerNum, attributes.wMinorVerNum,
              static_cast<unsigned long>(attributes.lcid));
    UniqueHKey key;
    return RegOpenKeyExA(HKEY_CLASSES_ROOT, path, 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

typedef HRESULT(WINAPI* UnRegisterTypeLibFunction)(REFGUID, WORD, WORD, LCID, SYSKIND);

HRESULT unregisterTypeLibrary()
{
    UniqueModule oleaut(LoadLibraryA("oleaut32.dll"));
    if (!oleaut)
        return S_OK;
    // Older systems lack the removal; the type library then stays registered.
    auto unregisterFunction = reinterpret_cast<UnRegisterTypeLibFunction>(
        reinterpret_cast<void*>(GetProcAddress(oleaut.get(), "UnRegisterTypeLib")));
    HRESULT hr = S_OK;
    if (unregisterFunction) {
        ComPtr<ITypeLib> library;
        hr = LoadTypeLib(widen(modulePath()).c_str(), library.put());
        if (SUCCEEDED(hr)) {
            TLIBATTR* attributes = nullptr;
            hr = library->GetLibAttr(&attributes);
            // Removing what is not registered leaves the registry as asked; platforms differ
            // in what they answer then, so look first.
            if (SUCCEEDED(hr) && typeLibraryRegistered(*attributes))
                hr = unregisterFunction(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                                        attributes->lcid, attributes->syskind);
            if (attributes)
                library->ReleaseTLibAttr(attributes);
        }
    }
    return hr;
}

std::string clsidText()
{
    WCHAR wide[50] = {};
    StringFromGUID2(CLSID_Tessel2, wide, 50);
    char text[50] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

HRESULT registerServer()
{
    ModuleGuard guard;
    HRESULT hr = runScript(RegistrarMode::Register);
    if (SUCCEEDED(hr))
        hr = registerTypeLibrary();
    if (FAILED(hr))
        return hr;
    const std::string clsid = clsidText();
    UniqueHKey key;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, handlerKeyForWriting, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                        nullptr) == ERROR_SUCCESS)
        RegSetValueExA(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(clsid.c_str()),
                       static_cast<DWORD>(clsid.size() + 1));
    return hr;
}

HRESULT unregisterServer()
{
    ModuleGuard guard;
    HRESULT hr = runScript(RegistrarMode::Remove);
    if (SUCCEEDED(hr))
        hr = unregisterTypeLibrary();
    if (FAILED(hr))
        return hr;
    UniqueHKey key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, handlersKey, 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS)
        return hr;
    const LONG status = RegDeleteKeyA(key.get(), handlerSubkey);
    key.reset();
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        return HRESULT_FROM_WIN32(static_cast<DWORD>(status));
    return hr;
}

// Both are called by programs that do not expect an exception (the program at every start,
// regsvr32): none may leave an export.
HRESULT guarded(HRESULT (*work)())
{
    try {
        return work();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer()
{
    return guarded(registerServer);
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    return guarded(unregisterServer);
}
