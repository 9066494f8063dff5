// A stand-in for Explorer: drives Tessel.dll through the real COM runtime as the shell does
// and writes what it saw, one "key=value" line each, to a report file for the tests.
//
//   tessel_shellhost register|unregister DLL REPORT
//   tessel_shellhost explore REPORT [--ansi-drop] [--twice] [--shell-data] [--invoke]
//                    [--utf8-list FILE] PATH...
//
// "started" reports how many processes the handler started (they join the host's job).
// --shell-data takes the selection from the shell's own folder object instead of the
// host's small CF_HDROP data object; the paths must then exist and share one folder.
// --utf8-list adds the paths listed in FILE, one a line in UTF-8: names the host's code
// page cannot spell, handed over wide as Explorer does.

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const CLSID clsidTessel2 = {0xB2D2B1ED, 0xEC81, 0x4009, {0x9B, 0x4C, 0xE4, 0xAC, 0xFF, 0x4C, 0x5C, 0x4B}};

std::string hex(HRESULT hr)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

// Bytes other than printable ASCII become \xNN so that buffers can be compared exactly.
template <class Char>
std::string escaped(const Char* chars, std::size_t count)
{
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned long c = static_cast<unsigned long>(chars[i]);
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char text[12];
            std::snprintf(text, sizeof text, "\\x%02lX", c);
            out += text;
        }
    }
    return out;
}

class Report {
public:
    explicit Report(const char* path) : file_(std::fopen(path, "wb")) {}
    ~Report()
    {
        if (file_)
            std::fclose(file_);
    }
    bool ok() const { return file_ != nullptr; }
    void line(const std::string& key, const std::string& value)
    {
        std::fprintf(file_, "%s=%s\n", key.c_str(), value.c_str());
        std::fflush(file_);
    }

private:
    FILE* file_;
};

// The shell hands the selection over as CF_HDROP in global memory; Wine lacks
// SHCreateDataObject, so this is the smallest data object that does the same.
class DropDataObject final : public IDataObject {
public:
    DropDataObject(const std::vector<std::string>& paths, bool wide, bool offerDrop, UINT codePage)
        : paths_(paths), wide_(wide), offerDrop_(offerDrop), codePage_(codePage) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
            *object = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG n = --refs_;
        if (n == 0)
            delete this;
        return n;
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        ++getDataCalls;
        if (QueryGetData(format) != S_OK)
            return DV_E_FORMATETC;
        std::vector<char> block(sizeof(DROPFILES));
        for (const std::string& p : paths_) {
            if (wide_) {
                const int n = MultiByteToWideChar(codePage_, 0, p.c_str(), -1, nullptr, 0);
                std::vector<WCHAR> w(static_cast<std::size_t>(n));
                MultiByteToWideChar(codePage_, 0, p.c_str(), -1, w.data(), n);
                const char* bytes = reinterpret_cast<const char*>(w.data());
                block.insert(block.end(), bytes, bytes + w.size() * sizeof(WCHAR));
            } else {
                block.insert(block.end(), p.c_str(), p.c_str() + p.size() + 1);
            }
        }
        // The list ends with an empty string; an empty list gets a second terminator, which
        // the shell's readers of an empty list look for.
        block.insert(block.end(), wide_ ? 2 : 1, '\0');
        if (paths_.empty())
            block.insert(block.end(), wide_ ? 2 : 1, '\0');
        DROPFILES* header = reinterpret_cast<DROPFILES*>(block.data());
        header->pFiles = sizeof(DROPFILES);
        header->fWide = wide_;
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, block.size());
        if (!memory)
            return E_OUTOFMEMORY;
        std::memcpy(GlobalLock(memory), block.data(), block.size());
        GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override
    {
        if (offerDrop_ && format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) &&
            format->dwAspect == DVASPECT_CONTENT)
            return S_OK;
        return DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        if (out)
            out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

    int getDataCalls = 0;

private:
    ULONG refs_ = 1;
    std::vector<std::string> paths_;
    bool wide_;
    UINT codePage_;
    bool offerDrop_;
};

// The shell's own data object for files of one folder, as Explorer gets it from the folder
// view: IShellFolder::GetUIObjectOf for the items' relative ID lists.
IDataObject* shellDataObject(const std::vector<std::string>& paths, UINT codePage)
{
    if (paths.empty())
        return nullptr;
    const std::string& first = paths[0];
    const std::string folder = first.substr(0, first.find_last_of('\\') + 1);
    IShellFolder* desktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&desktop)))
        return nullptr;
    auto wide = [codePage](const std::string& text) {
        std::vector<WCHAR> w(text.size() + 1);
        MultiByteToWideChar(codePage, 0, text.c_str(), -1, w.data(), static_cast<int>(w.size()));
        return w;
    };
    IDataObject* data = nullptr;
    LPITEMIDLIST folderList = nullptr;
    std::vector<WCHAR> folderName = wide(folder);
    if (SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, folderName.data(), nullptr, &folderList, nullptr))) {
        IShellFolder* parent = nullptr;
        if (SUCCEEDED(desktop->BindToObject(folderList, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&parent)))) {
            std::vector<LPITEMIDLIST> items;
            for (const std::string& p : paths) {
                std::vector<WCHAR> name = wide(p.substr(folder.size()));
                LPITEMIDLIST item = nullptr;
                if (SUCCEEDED(parent->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, &item, nullptr)))
                    items.push_back(item);
            }
            if (items.size() == paths.size())
                parent->GetUIObjectOf(nullptr, static_cast<UINT>(items.size()),
                                      const_cast<LPCITEMIDLIST*>(items.data()), IID_IDataObject, nullptr,
                                      reinterpret_cast<void**>(&data));
            for (LPITEMIDLIST item : items)
                CoTaskMemFree(item);
            parent->Release();
        }
        CoTaskMemFree(folderList);
    }
    desktop->Release();
    return data;
}

void reportMenu(Report& report, const std::string& prefix, HMENU menu)
{
    const int count = GetMenuItemCount(menu);
    report.line(prefix + ".count", std::to_string(count));
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        report.line(prefix + "." + std::to_string(i), std::to_string(GetMenuItemID(menu, i)) + " " + text);
    }
}

void reportCommandStrings(Report& report, IContextMenu* menu)
{
    // Every type of request, with buffer sizes around the text's length; the buffer is
    // prefilled so that what was written, and where it stopped, shows.
    const UINT types[] = {0, 1, 2, 4, 5, 6, 7};
    const UINT sizes[] = {0, 1, 5, 38, 39, 40, 64};
    for (UINT_PTR offset = 0; offset < 2; ++offset) {
        for (UINT type : types) {
            for (UINT size : sizes) {
                const std::string key = "gcs." + std::to_string(offset) + "." + std::to_string(type) + "." +
                                        std::to_string(size);
                if (type & 4) {
                    WCHAR buffer[80];
                    for (WCHAR& c : buffer)
                        c = L'#';
                    const HRESULT hr = menu->GetCommandString(offset, type, nullptr,
                                                              reinterpret_cast<CHAR*>(buffer), size);
                    report.line(key, hex(hr) + " " + escaped(buffer, size + 2));
                } else {
                    char buffer[80];
                    std::memset(buffer, '#', sizeof buffer);
                    const HRESULT hr = menu->GetCommandString(offset, type, nullptr, buffer, size);
                    report.line(key, hex(hr) + " " + escaped(buffer, size + 2));
                }
            }
        }
    }
}

HRESULT invoke(IContextMenu* menu, LPCSTR verb)
{
    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof info;
    info.lpVerb = verb;
    info.nShow = SW_SHOWNORMAL;
    return menu->InvokeCommand(&info);
}

int explore(Report& report, const std::vector<std::string>& args)
{
    bool wide = true, twice = false, doInvoke = false, shellData = false;
    UINT codePage = CP_ACP;
    std::vector<std::string> paths;
    bool listNext = false;
    for (const std::string& a : args) {
        if (listNext) {
            listNext = false;
            codePage = CP_UTF8;
            std::FILE* list = std::fopen(a.c_str(), "rb");
            char line[4096];
            while (list && std::fgets(line, sizeof line, list)) {
                std::string path(line);
                while (!path.empty() && (path.back() == '\n' || path.back() == '\r'))
                    path.pop_back();
                if (!path.empty())
                    paths.push_back(path);
            }
            if (list)
                std::fclose(list);
        } else if (a == "--utf8-list")
            listNext = true;
        else if (a == "--ansi-drop")
            wide = false;
        else if (a == "--twice")
            twice = true;
        else if (a == "--invoke")
            doInvoke = true;
        else if (a == "--shell-data")
            shellData = true;
        else
            paths.push_back(a);
    }
    // Every process the handler starts joins the host's job: "started" counts them.
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    report.line("job", job && AssignProcessToJobObject(job, GetCurrentProcess()) ? "ok" : "failed");
    report.line("coinit", hex(CoInitialize(nullptr)));

    IShellExtInit* init = nullptr;
    HRESULT hr = CoCreateInstance(clsidTessel2, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit,
                                  reinterpret_cast<void**>(&init));
    report.line("create", hex(hr));
    if (FAILED(hr)) {
        CoUninitialize();
        return 0;
    }
    IUnknown* unknown = nullptr;
    report.line("qi.unknown", hex(init->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown))));
    IDispatch* dispatch = nullptr;
    report.line("qi.dispatch", hex(init->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))));
    IContextMenu* menu = nullptr;
    report.line("qi.contextmenu", hex(init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu))));
    IShellExtInit* initAgain = nullptr;
    if (menu)
        menu->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&initAgain));
    IUnknown* unknownFromMenu = nullptr;
    if (menu)
        menu->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknownFromMenu));
    report.line("identity", unknown && unknown == unknownFromMenu && initAgain == init ? "same" : "different");
    if (initAgain)
        initAgain->Release();
    if (unknownFromMenu)
        unknownFromMenu->Release();
    if (unknown)
        unknown->Release();

    report.line("init.null", hex(init->Initialize(nullptr, nullptr, nullptr)));
    DropDataObject* empty = new DropDataObject(paths, wide, false, codePage);
    report.line("init.nodrop", hex(init->Initialize(nullptr, empty, nullptr)));
    empty->Release();

    if (shellData) {
        IDataObject* data = shellDataObject(paths, codePage);
        report.line("shelldata", data ? "ok" : "failed");
        if (data) {
            report.line("init", hex(init->Initialize(nullptr, data, nullptr)));
            data->Release();
        }
    } else {
        DropDataObject* data = new DropDataObject(paths, wide, true, codePage);
        report.line("init", hex(init->Initialize(nullptr, data, nullptr)));
        if (twice)
            report.line("init.second", hex(init->Initialize(nullptr, data, nullptr)));
        report.line("getdata.calls", std::to_string(data->getDataCalls));
        data->Release();
    }

    if (menu) {
        HMENU popup = CreatePopupMenu();
        AppendMenuA(popup, MF_STRING, 1, "First");
        AppendMenuA(popup, MF_STRING, 2, "Second");
        report.line("query", hex(menu->QueryContextMenu(popup, 1, 100, 200, CMF_NORMAL)));
        reportMenu(report, "menu", popup);
        DestroyMenu(popup);
        HMENU defaultOnly = CreatePopupMenu();
        report.line("query.default", hex(menu->QueryContextMenu(defaultOnly, 0, 7, 7, CMF_DEFAULTONLY)));
        reportMenu(report, "menu.default", defaultOnly);
        DestroyMenu(defaultOnly);

        reportCommandStrings(report, menu);

        report.line("invoke.offset1", hex(invoke(menu, MAKEINTRESOURCEA(1))));
        report.line("invoke.verb", hex(invoke(menu, "open")));
        report.line("invoke.null", hex(menu->InvokeCommand(nullptr)));
        if (doInvoke)
            report.line("invoke", hex(invoke(menu, MAKEINTRESOURCEA(0))));
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
        if (job && QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting,
                                             sizeof accounting, nullptr))
            report.line("started", std::to_string(accounting.TotalProcesses - 1));
        report.line("release.menu", std::to_string(menu->Release()));
    }
    report.line("release", std::to_string(init->Release()));
    CoUninitialize();
    report.line("done", "1");
    return 0;
}

int registration(Report& report, const std::string& command, const std::string& dll)
{
    HMODULE module = LoadLibraryA(dll.c_str());
    report.line("load", module ? "ok" : "failed " + std::to_string(GetLastError()));
    if (!module)
        return 0;
    typedef HRESULT(STDAPICALLTYPE * Function)();
    const char* name = command == "register" ? "DllRegisterServer" : "DllUnregisterServer";
    auto function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    report.line(command, function ? hex(function()) : "missing");
    FreeLibrary(module);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const std::string command = argv[1];
    if ((command == "register" || command == "unregister") && argc == 4) {
        Report report(argv[3]);
        return report.ok() ? registration(report, command, argv[2]) : 3;
    }
    if (command == "explore") {
        Report report(argv[2]);
        if (!report.ok())
            return 3;
        return explore(report, std::vector<std::string>(argv + 3, argv + argc));
    }
    return 2;
}
