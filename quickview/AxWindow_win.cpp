// The ActiveX host: the site object the control talks to and the window around it.

#include "quickview/AxWindow_win.h"

#include "win/ComObject.h"

#include <ocidl.h>
#include <olectl.h>

#include <new>
#include <vector>

// The container side a control needs to show itself and play: client site, in-place site,
// frame (without menus, tool space or accelerators), control site and ambient properties.
// Reference counted on its own, because a control may hold it until it is released; the
// window it belongs to is cut off at teardown, after which it answers without a window.
class AxWindow::Site final : public ComObject<IOleClientSite, WithBases<IOleInPlaceSite, IOleWindow>,
                                              WithBases<IOleInPlaceFrame, IOleInPlaceUIWindow>, IOleControlSite,
                                              IDispatch> {
public:
    explicit Site(HWND window) : window_(window) {}

    void detach() { window_ = nullptr; }
    void setInPlaceObject(IOleInPlaceObject* object) { inPlace_ = object; }

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** out) override
    {
        if (out)
            *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** out) override
    {
        if (out)
            *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (of the in-place site and of the frame)
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override
    {
        if (!out)
            return E_POINTER;
        *out = window_;
        return window_ ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return window_ ? S_OK : S_FALSE; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                               LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) override
    {
        if (!frame || !document || !position || !clip || !info)
            return E_POINTER;
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *document = nullptr;
        RECT client = {0, 0, 0, 0};
        if (window_)
            GetClientRect(window_, &client);
        *position = client;
        *clip = client;
        info->fMDIApp = FALSE;
        info->hwndFrame = window_ ? GetAncestor(window_, GA_ROOT) : nullptr;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT position) override
    {
        // The control fills our window whatever it asks for.
        if (!position || !window_ || !inPlace_)
            return S_OK;
        RECT client;
        GetClientRect(window_, &client);
        return inPlace_->SetObjectRects(&client, &client);
    }

    // IOleInPlaceUIWindow and IOleInPlaceFrame: no tool space, menus or status line.
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS widths) override
    {
        return widths ? OLE_E_INVALIDRECT : S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IOleControlSite
    HRESULT STDMETHODCALLTYPE OnControlInfoChanged() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE LockInPlaceActive(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetExtendedControl(IDispatch** out) override
    {
        if (out)
            *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE TransformCoords(POINTL*, POINTF*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, DWORD) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE OnFocus(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ShowPropertyFrame() override { return E_NOTIMPL; }

    // IDispatch: the ambient properties a control asks its container for. Run mode (not
    // design mode) matters: a control in design mode does not play.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (count)
            *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override
    {
        if (out)
            *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override
    {
        if (!(flags & DISPATCH_PROPERTYGET) || !result)
            return DISP_E_MEMBERNOTFOUND;
        VariantInit(result);
        switch (id) {
        case DISPID_AMBIENT_USERMODE:
            result->vt = VT_BOOL;
            result->boolVal = VARIANT_TRUE;
            return S_OK;
        case DISPID_AMBIENT_UIDEAD:
        case DISPID_AMBIENT_SHOWHATCHING:
        case DISPID_AMBIENT_SHOWGRABHANDLES:
        case DISPID_AMBIENT_MESSAGEREFLECT:
            result->vt = VT_BOOL;
            result->boolVal = VARIANT_FALSE;
            return S_OK;
        case DISPID_AMBIENT_LOCALEID:
            result->vt = VT_I4;
            result->lVal = static_cast<LONG>(GetUserDefaultLCID());
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

private:
    ~Site() override = default;

    HWND window_;
    // Not counted: the window's own reference keeps it while the site may use it.
    IOleInPlaceObject* inPlace_ = nullptr;
};

namespace {

// Our window object is found through the window's user data; it is set from the creation
// parameters before any message that the object answers.
AxWindow* creatingWindow = nullptr;

} // namespace

AxWindow::~AxWindow()
{
    destroy();
}

bool AxWindow::registerClass(const char* className)
{
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(GetModuleHandleA(nullptr), className, &existing))
        return true;
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &AxWindow::staticWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className;
    return RegisterClassExA(&windowClass) != 0;
}

bool AxWindow::createControl(const char* className, const CLSID& clsid, DWORD style, const RECT& rect, HWND parent,
                             int id)
{
    destroy();
    if (!parent || !registerClass(className))
        return false;
    creatingWindow = this;
    HWND window = CreateWindowExA(0, className, "", style, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                  nullptr);
    creatingWindow = nullptr;
    if (!window)
        return false;
    window_ = window;
    if (!activate(clsid)) {
        destroy();
        return false;
    }
    return true;
}

bool AxWindow::activate(const CLSID& clsid)
{
    site_ = new (std::nothrow) Site(window_);
    if (!site_)
        return false;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, object_.putVoid())) ||
        !object_)
        return false;

    IOleClientSite* clientSite = static_cast<IOleClientSite*>(site_);
    DWORD misc = 0;
    object_->GetMiscStatus(DVASPECT_CONTENT, &misc);
    const bool siteFirst = (misc & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (siteFirst && FAILED(object_->SetClientSite(clientSite)))
        return false;
    {
        // No saved state: a fresh control.
        ComPtr<IPersistStreamInit> persist;
        if (SUCCEEDED(object_->QueryInterface(IID_IPersistStreamInit, persist.putVoid())) && persist)
            persist->InitNew();
    }
    if (!siteFirst && FAILED(object_->SetClientSite(clientSite)))
        return false;
    object_->SetHostNames(L"Tesselwork 2", nullptr);

    if (SUCCEEDED(object_->QueryInterface(IID_IOleInPlaceObject, inPlace_.putVoid())) && inPlace_)
        site_->setInPlaceObject(inPlace_.get());
    RECT client;
    GetClientRect(window_, &client);
    if (FAILED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, clientSite, 0, window_, &client)))
        return false;
    if (inPlace_)
        inPlace_->SetObjectRects(&client, &client);
    return SUCCEEDED(object_->QueryInterface(IID_IDispatch, dispatch_.putVoid())) && dispatch_;
}

void AxWindow::releaseControl()
{
    dispatch_.reset();
    if (inPlace_)
        inPlace_->InPlaceDeactivate();
    if (object_) {
        object_->Close(OLECLOSE_NOSAVE);
        object_->SetClientSite(nullptr);
    }
    if (site_)
        site_->setInPlaceObject(nullptr);
    inPlace_.reset();
    object_.reset();
    if (site_) {
        site_->detach();
        site_->Release();
        site_ = nullptr;
    }
}

void AxWindow::destroy()
{
    releaseControl();
    if (window_) {
        HWND window = window_;
        window_ = nullptr;
        if (IsWindow(window)) {
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            DestroyWindow(window);
        }
    }
}

HWND AxWindow::controlWindow() const
{
    HWND control = nullptr;
    if (inPlace_)
        inPlace_->GetWindow(&control);
    return control;
}

void AxWindow::show(bool visible) const
{
    if (window_)
        ShowWindow(window_, visible ? SW_SHOW : SW_HIDE);
}

HRESULT AxWindow::invoke(DISPID id, WORD flags, VARIANT* arguments, UINT count, VARIANT* result) const
{
    if (!dispatch_)
        return E_UNEXPECTED;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS parameters = {arguments, nullptr, count, 0};
    if (flags & DISPATCH_PROPERTYPUT) {
        parameters.rgdispidNamedArgs = &named;
        parameters.cNamedArgs = 1;
    }
    EXCEPINFO exception = {};
    UINT argumentError = 0;
    const HRESULT hr =
        dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, result, &exception, &argumentError);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return hr;
}

HRESULT AxWindow::putBool(DISPID id, bool value) const
{
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_BOOL;
    argument.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return invoke(id, DISPATCH_PROPERTYPUT, &argument, 1, nullptr);
}

HRESULT AxWindow::putText(DISPID id, const std::string& ansi) const
{
    const int units = ansi.empty() ? 0
                                   : MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    BSTR text = SysAllocStringLen(nullptr, static_cast<UINT>(units));
    if (!text)
        return E_OUTOFMEMORY;
    if (units > 0)
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), text, units);
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_BSTR;
    argument.bstrVal = text;
    const HRESULT hr = invoke(id, DISPATCH_PROPERTYPUT, &argument, 1, nullptr);
    VariantClear(&argument);
    return hr;
}

HRESULT AxWindow::getProperty(DISPID id, VARTYPE type, VARIANT& result) const
{
    VariantInit(&result);
    VARIANT raw;
    VariantInit(&raw);
    HRESULT hr = invoke(id, DISPATCH_PROPERTYGET, nullptr, 0, &raw);
    if (SUCCEEDED(hr))
        hr = VariantChangeType(&result, &raw, 0, type);
    VariantClear(&raw);
    return hr;
}

HRESULT AxWindow::callMethod(DISPID id, VARIANT* result) const
{
    return invoke(id, DISPATCH_METHOD, nullptr, 0, result);
}

LRESULT AxWindow::windowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return defaultProc(message, wParam, lParam);
}

LRESULT AxWindow::defaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (inPlace_) {
            RECT client;
            GetClientRect(window_, &client);
            inPlace_->SetObjectRects(&client, &client);
        }
        break;
    case WM_DESTROY:
        // The parent is going: the control goes before the windows it lives in.
        releaseControl();
        break;
    default:
        break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

LRESULT CALLBACK AxWindow::staticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<AxWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self && creatingWindow) {
        self = creatingWindow;
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self)
        return DefWindowProcA(window, message, wParam, lParam);
    try {
        const LRESULT result = self->windowProc(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            self->window_ = nullptr;
        }
        return result;
    } catch (...) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
