// Test-only stand-ins for the media player and Flash controls, which Wine does not have:
// in-place activatable controls that answer the dispatch identifiers the quick view uses
// and append every call they get to the log file named by TESSEL_STANDIN_LOG, one line per
// call ("flash put 102 VT_BSTR C:\x\a.swf", "media call 2001", ...).
//
// The Flash stand-in plays a movie file whose text is "frames=N": the frame count is N,
// each current-frame request while playing moves one frame on, up to N; a file without
// that text has no frame count (the property read fails with a dispatch exception).

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace {

const CLSID mediaClassId = {0x22D6F312, 0xB0F6, 0x11D0, {0x94, 0xAB, 0x00, 0x80, 0xC7, 0x4C, 0x7E, 0x95}};
const CLSID flashClassId = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

HMODULE thisModule = nullptr;
LONG liveObjects = 0;
LONG serverLocks = 0;

std::string narrow(const wchar_t* text)
{
    if (!text)
        return std::string();
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? static_cast<std::size_t>(size) : 1u, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &result[0], size, nullptr, nullptr);
    result.resize(std::strlen(result.c_str()));
    return result;
}

// One whole line per write, the file opened and closed each time, so that a test in
// another process can read it at any moment.
void record(const std::string& line)
{
    char path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("TESSEL_STANDIN_LOG", path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

std::string describe(const VARIANT& value)
{
    switch (value.vt) {
    case VT_BOOL: return std::string("VT_BOOL ") + (value.boolVal ? "true" : "false");
    case VT_BSTR: return "VT_BSTR " + narrow(value.bstrVal);
    case VT_I4: return "VT_I4 " + std::to_string(value.lVal);
    default: return "VT " + std::to_string(value.vt);
    }
}

LRESULT CALLBACK controlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

const char controlWindowClass[] = "TesselStandInControl";

void registerWindowClass()
{
    WNDCLASSA existing;
    if (GetClassInfoA(thisModule, controlWindowClass, &existing))
        return;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = controlWindowProc;
    windowClass.hInstance = thisModule;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = controlWindowClass;
    windowClass.cbWndExtra = sizeof(LONG_PTR);
    RegisterClassA(&windowClass);
}

class StandIn final : public IOleObject, public IOleInPlaceObject, public IDispatch, public IPersistStreamInit {
public:
    explicit StandIn(bool flash) : flash_(flash), name_(flash ? "flash " : "media ")
    {
        InterlockedIncrement(&liveObjects);
        note("created");
    }

    void windowMessage(UINT message)
    {
        if (message == WM_RBUTTONDOWN)
            note("rbuttondown");
        else if (message == WM_LBUTTONDOWN)
            note("lbuttondown");
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleObject))
            *out = static_cast<IOleObject*>(this);
        else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceObject))
            *out = static_cast<IOleInPlaceObject*>(this);
        else if (IsEqualIID(iid, IID_IDispatch))
            *out = static_cast<IDispatch*>(this);
        else if (IsEqualIID(iid, IID_IPersistStreamInit) || IsEqualIID(iid, IID_IPersist))
            *out = static_cast<IPersistStreamInit*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) {
            note("released");
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override
    {
        note(site ? "site" : "site none");
        if (site) {
            site->AddRef();
            noteUserMode(site);
        }
        if (site_)
            site_->Release();
        site_ = site;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** out) override
    {
        if (!out)
            return E_POINTER;
        *out = site_;
        if (site_)
            site_->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD) override
    {
        note("close");
        InPlaceDeactivate();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT) override
    {
        if (verb != OLEIVERB_INPLACEACTIVATE && verb != OLEIVERB_SHOW)
            return OLEOBJ_S_INVALIDVERB;
        if (window_)
            return S_OK;
        IOleInPlaceSite* inPlaceSite = nullptr;
        if (!site || FAILED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlaceSite))))
            return E_NOINTERFACE;
        if (inPlaceSite->CanInPlaceActivate() != S_OK) {
            inPlaceSite->Release();
            return E_FAIL;
        }
        inPlaceSite->OnInPlaceActivate();
        HWND siteWindow = nullptr;
        inPlaceSite->GetWindow(&siteWindow);
        IOleInPlaceFrame* frame = nullptr;
        IOleInPlaceUIWindow* document = nullptr;
        RECT position = {0, 0, 0, 0};
        RECT clip = {0, 0, 0, 0};
        OLEINPLACEFRAMEINFO info = {};
        info.cb = sizeof info;
        if (FAILED(inPlaceSite->GetWindowContext(&frame, &document, &position, &clip, &info))) {
            inPlaceSite->Release();
            return E_FAIL;
        }
        if (frame)
            frame->Release();
        if (document)
            document->Release();
        registerWindowClass();
        window_ = CreateWindowExA(0, controlWindowClass, "", WS_CHILD | WS_VISIBLE, position.left, position.top,
                                  position.right - position.left, position.bottom - position.top,
                                  siteWindow ? siteWindow : parent, nullptr, thisModule, nullptr);
        if (!window_) {
            inPlaceSite->Release();
            return E_FAIL;
        }
        SetWindowLongPtrA(window_, 0, reinterpret_cast<LONG_PTR>(this));
        inPlaceSite_ = inPlaceSite;
        note("activate " + std::to_string(position.right - position.left) + "x" +
             std::to_string(position.bottom - position.top) + (info.hwndFrame ? " frame" : " noframe"));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* id) override
    {
        return GetClassID(id);
    }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR*) override { return OLE_S_USEREG; }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL* size) override
    {
        if (size)
            size->cx = size->cy = 2540;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) override
    {
        // The media stand-in wants its site before anything else, as many controls do; the
        // Flash one takes the other order.
        if (status)
            *status = OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT | OLEMISC_RECOMPOSEONRESIZE |
                      (flash_ ? 0 : OLEMISC_SETCLIENTSITEFIRST);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceObject
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override
    {
        if (!out)
            return E_POINTER;
        *out = window_;
        return window_ ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override
    {
        if (!window_)
            return S_OK;
        note("deactivate");
        HWND window = window_;
        window_ = nullptr;
        SetWindowLongPtrA(window, 0, 0);
        DestroyWindow(window);
        if (inPlaceSite_) {
            inPlaceSite_->OnInPlaceDeactivate();
            inPlaceSite_->Release();
            inPlaceSite_ = nullptr;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UIDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT) override
    {
        if (window_ && position)
            MoveWindow(window_, position->left, position->top, position->right - position->left,
                       position->bottom - position->top, TRUE);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }

    // IPersistStreamInit
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) override
    {
        if (!id)
            return E_POINTER;
        *id = flash_ ? flashClassId : mediaClassId;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(LPSTREAM) override
    {
        note("load state");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitNew() override
    {
        note("initnew");
        return S_OK;
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (count)
            *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                                     EXCEPINFO* exception, UINT*) override
    {
        if (!parameters)
            return E_INVALIDARG;
        if (flags & DISPATCH_PROPERTYPUT) {
            if (parameters->cArgs != 1 || parameters->cNamedArgs != 1 ||
                parameters->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
                return DISP_E_BADPARAMCOUNT;
            const VARIANT& value = parameters->rgvarg[0];
            note("put " + std::to_string(id) + " " + describe(value));
            return put(id, value);
        }
        if (parameters->cArgs != 0)
            return DISP_E_BADPARAMCOUNT;
        if (flags & DISPATCH_METHOD) {
            note("call " + std::to_string(id));
            return call(id, result);
        }
        if (flags & DISPATCH_PROPERTYGET) {
            note("get " + std::to_string(id));
            return get(id, result, exception);
        }
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    ~StandIn()
    {
        InPlaceDeactivate();
        if (site_)
            site_->Release();
        InterlockedDecrement(&liveObjects);
    }

    void note(const std::string& text) const { record(name_ + text); }

    // The site's answer to the ambient run-mode property, as a control asks for it.
    void noteUserMode(IOleClientSite* site) const
    {
        IDispatch* ambient = nullptr;
        if (FAILED(site->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&ambient))))
            return;
        DISPPARAMS none = {nullptr, nullptr, 0, 0};
        VARIANT value;
        VariantInit(&value);
        if (SUCCEEDED(ambient->Invoke(DISPID_AMBIENT_USERMODE, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value,
                                      nullptr, nullptr)) &&
            value.vt == VT_BOOL)
            note(std::string("usermode ") + (value.boolVal ? "true" : "false"));
        VariantClear(&value);
        ambient->Release();
    }

    HRESULT put(DISPID id, const VARIANT& value)
    {
        if (!flash_) {
            switch (id) {
            case 1026: return value.vt == VT_BSTR ? S_OK : DISP_E_TYPEMISMATCH;
            case 22: case 23: case 1017: case 1018: case 1021:
                return value.vt == VT_BOOL ? S_OK : DISP_E_TYPEMISMATCH;
            default: return DISP_E_MEMBERNOTFOUND;
            }
        }
        switch (id) {
        case 102:
            if (value.vt != VT_BSTR)
                return DISP_E_TYPEMISMATCH;
            loadMovie(value.bstrVal);
            return S_OK;
        case 125:
            if (value.vt != VT_BOOL)
                return DISP_E_TYPEMISMATCH;
            playing_ = value.boolVal != VARIANT_FALSE;
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

    HRESULT call(DISPID id, VARIANT* result)
    {
        if (!flash_)
            return id == 2001 || id == 2003 ? S_OK : DISP_E_MEMBERNOTFOUND;
        switch (id) {
        case 112: playing_ = true; return S_OK;
        case 113: playing_ = false; return S_OK;
        case 128:
            if (playing_ && frame_ < totalFrames_)
                ++frame_;
            if (result) {
                VariantInit(result);
                result->vt = VT_I4;
                result->lVal = frame_;
            }
            return S_OK;
        default: return DISP_E_MEMBERNOTFOUND;
        }
    }

    HRESULT get(DISPID id, VARIANT* result, EXCEPINFO* exception)
    {
        if (!flash_ || !result)
            return DISP_E_MEMBERNOTFOUND;
        VariantInit(result);
        switch (id) {
        case 124:
            if (totalFrames_ < 0) {
                if (exception) {
                    std::memset(exception, 0, sizeof *exception);
                    exception->scode = E_FAIL;
                    exception->bstrDescription = SysAllocString(L"no frame count");
                }
                return DISP_E_EXCEPTION;
            }
            result->vt = VT_I4;
            result->lVal = totalFrames_;
            return S_OK;
        case 125:
            result->vt = VT_BOOL;
            result->boolVal = playing_ ? VARIANT_TRUE : VARIANT_FALSE;
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

    void loadMovie(const wchar_t* path)
    {
        totalFrames_ = -1;
        frame_ = 0;
        HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return;
        char text[64] = {};
        DWORD got = 0;
        ReadFile(file, text, sizeof text - 1, &got, nullptr);
        CloseHandle(file);
        if (std::strncmp(text, "frames=", 7) == 0)
            totalFrames_ = std::atoi(text + 7);
    }

    LONG refs_ = 1;
    bool flash_;
    std::string name_;
    IOleClientSite* site_ = nullptr;
    IOleInPlaceSite* inPlaceSite_ = nullptr;
    HWND window_ = nullptr;
    bool playing_ = false;
    int totalFrames_ = -1;
    int frame_ = 0;
};

LRESULT CALLBACK controlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (auto* control = reinterpret_cast<StandIn*>(GetWindowLongPtrA(window, 0)))
        control->windowMessage(message);
    return DefWindowProcA(window, message, wParam, lParam);
}

class Factory final : public IClassFactory {
public:
    explicit Factory(bool flash) : flash_(flash) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        auto* control = new (std::nothrow) StandIn(flash_);
        if (!control)
            return E_OUTOFMEMORY;
        const HRESULT hr = control->QueryInterface(iid, out);
        control->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        if (lock)
            InterlockedIncrement(&serverLocks);
        else
            InterlockedDecrement(&serverLocks);
        return S_OK;
    }

private:
    LONG refs_ = 1;
    bool flash_;
};

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        thisModule = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    const bool flash = IsEqualCLSID(clsid, flashClassId);
    if (!flash && !IsEqualCLSID(clsid, mediaClassId))
        return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new (std::nothrow) Factory(flash);
    if (!factory)
        return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return liveObjects == 0 && serverLocks == 0 ? S_OK : S_FALSE;
}

// The number of stand-in controls alive in this process: a host that released every
// reference leaves none.
extern "C" LONG WINAPI StandInLiveObjects()
{
    return liveObjects;
}
