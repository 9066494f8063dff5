// The context-menu handler: collects Explorer's selection, adds the menu item, and hands
// the selection to a newly started program through the handoff file.

#include "shellext/ContextMenuHandler_win.h"

#include "base/Identity.h"
#include "base/UserFolder_win.h"
#include "base/Utf8.h"
#include "base/WideText_win.h"
#include "shellext/HandlerText.h"
#include "shellext/Module_win.h"
#include "win/Handles.h"

#include <shellapi.h>

#include <new>
#include <vector>

namespace {

// Starts the program shown, as WinExec would, but with a wide command line.
void startProgram(std::wstring commandLine)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION started = {};
    if (CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &started)) {
        const UniqueHandle process(started.hProcess);
        const UniqueHandle thread(started.hThread);
    }
}

} // namespace

HRESULT ContextMenuHandler::create(IUnknown* outer, REFIID riid, void** object)
{
    *object = nullptr;
    // Aggregated, the object hands out only its inner unknown: any other interface would
    // count on the outer object, and giving up our reference below would delete it.
    if (outer != nullptr && !IsEqualIID(riid, IID_IUnknown))
        return CLASS_E_NOAGGREGATION;
    ContextMenuHandler* handler = new (std::nothrow) ContextMenuHandler(outer);
    if (handler == nullptr)
        return E_OUTOFMEMORY;
    // Created holding one reference, ours: the creator's QueryInterface adds its own, and
    // giving ours up leaves just that one, or after a failed query no object.
    const HRESULT hr = handler->inner_.QueryInterface(riid, object);
    handler->inner_.Release();
    return hr;
}

ContextMenuHandler::ContextMenuHandler(IUnknown* outer)
    : controlling_(outer ? outer : static_cast<IUnknown*>(&inner_)), aggregated_(outer != nullptr)
{
    inner_.self = this;
    lockModule();
}

ContextMenuHandler::~ContextMenuHandler() { unlockModule(); }

HRESULT STDMETHODCALLTYPE ContextMenuHandler::Inner::QueryInterface(REFIID riid, void** object)
{
    // The aggregated object's identity is the outer one's; ours is only handed to it.
    if (object != nullptr && self->aggregated_ && IsEqualIID(riid, IID_IUnknown)) {
        *object = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    return self->Own::QueryInterface(riid, object);
}

ULONG STDMETHODCALLTYPE ContextMenuHandler::Inner::AddRef() { return self->Own::AddRef(); }

ULONG STDMETHODCALLTYPE ContextMenuHandler::Inner::Release() { return self->Own::Release(); }

HRESULT STDMETHODCALLTYPE ContextMenuHandler::QueryInterface(REFIID riid, void** object)
{
    return controlling_->QueryInterface(riid, object);
}

ULONG STDMETHODCALLTYPE ContextMenuHandler::AddRef() { return controlling_->AddRef(); }

ULONG STDMETHODCALLTYPE ContextMenuHandler::Release() { return controlling_->Release(); }

HRESULT STDMETHODCALLTYPE ContextMenuHandler::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY)
{
    if (data == nullptr)
        return E_FAIL;
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    const HRESULT hr = data->GetData(&format, &medium);
    if (FAILED(hr))
        return E_FAIL;
    HRESULT result = hr;
    if (medium.tymed != TYMED_HGLOBAL || medium.hGlobal == nullptr) {
        result = E_FAIL;
    } else {
        HDROP drop = static_cast<HDROP>(medium.hGlobal);
        try {
            // Asked in UTF-16 and handed over in UTF-8: Explorer's ANSI code page cannot
            // spell every name the file system holds.
            const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
            std::string collected;
            std::u16string path;
            for (UINT i = 0; i < count; ++i) {
                // Each path is asked for its own length: a fixed buffer would hand over long
                // paths cut short, naming some other file.
                const UINT length = DragQueryFileW(drop, i, nullptr, 0);
                if (length == 0)
                    continue;
                path.assign(length + 1, u'\0');
                const UINT got = DragQueryFileW(drop, i, reinterpret_cast<WCHAR*>(&path[0]), length + 1);
                if (got == 0)
                    continue;
                path.resize(got);
                appendHandoffRecord(collected, utf8::fromUtf16(path));
            }
            selectedFiles_ += collected;
        } catch (...) {
            result = E_OUTOFMEMORY;
        }
    }
    ReleaseStgMedium(&medium);
    return result;
}

HRESULT STDMETHODCALLTYPE ContextMenuHandler::QueryContextMenu(HMENU menu, UINT position, UINT firstId, UINT,
                                                               UINT)
{
    // Also offered when Explorer asks only for the default item: the command never is one,
    // and offering it costs nothing.
    InsertMenuA(menu, position, MF_BYPOSITION | MF_STRING, firstId, menuItemText);
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);
}

namespace {

// Adds the records to the handoff file, which may still hold those of an earlier command
// that no program has read yet: truncating it would lose that selection. The program holds
// the file without sharing only while it takes it over, so a refused open is tried again
// for a moment. A write that fails leaves the file as it was. Returns the open's error,
// ERROR_SUCCESS once the records are in.
DWORD appendToHandoff(const std::wstring& path, const std::string& records)
{
    UniqueHandle file;
    for (int attempt = 0;; ++attempt) {
        file.reset(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file || GetLastError() != ERROR_SHARING_VIOLATION || attempt == 50)
            break;
        Sleep(20);
    }
    if (!file)
        return GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_OPEN_FAILED;
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFF0)
        return ERROR_WRITE_FAULT;
    // An earlier writer that ended mid-record left a cut path: our records start after its
    // last whole one, or the cut path and our first one would read as one wrong path.
    std::string earlier(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!earlier.empty()
        && (!ReadFile(file.get(), &earlier[0], static_cast<DWORD>(earlier.size()), &got, nullptr) || got != earlier.size()))
        return ERROR_WRITE_FAULT;
    const std::size_t lastEnd = earlier.rfind("\r\n");
    LARGE_INTEGER keep = {};
    keep.QuadPart = lastEnd == std::string::npos ? 0 : static_cast<LONGLONG>(lastEnd + 2);
    if (!SetFilePointerEx(file.get(), keep, nullptr, FILE_BEGIN) || !SetEndOfFile(file.get()))
        return ERROR_WRITE_FAULT;
    DWORD written = 0;
    const DWORD count = static_cast<DWORD>(records.size());
    if (!WriteFile(file.get(), records.data(), count, &written, nullptr) || written != count) {
        // A partial record would hand the program a cut path.
        SetFilePointerEx(file.get(), keep, nullptr, FILE_BEGIN);
        SetEndOfFile(file.get());
        file.reset();
        if (keep.QuadPart == 0)
            DeleteFileW(path.c_str());
        return ERROR_WRITE_FAULT;
    }
    return CloseHandle(file.release()) ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

} // namespace

HRESULT STDMETHODCALLTYPE ContextMenuHandler::InvokeCommand(CMINVOKECOMMANDINFO* info)
{
    if (info == nullptr)
        return E_INVALIDARG;
    // A verb string is never ours (the command has no verb name): an error hands it on to
    // the other handlers of the menu. A string is a pointer, so testing the low 16 bits
    // alone would take one at an address ending in sixteen zero bits for offset 0.
    if (!IS_INTRESOURCE(info->lpVerb))
        return E_FAIL;
    // Only command offset 0 is ours.
    if (reinterpret_cast<UINT_PTR>(info->lpVerb) != 0)
        return S_OK;
    try {
        // The installation folder may have a name Explorer's ANSI code page cannot spell.
        const std::string& dir = installDir();
        DWORD error = appendToHandoff(widen(dir + handoffFileName, CP_UTF8), selectedFiles_);
        // An installation folder the user may not write to (Program Files for an ordinary
        // user, a read-only medium): the handoff goes into the user's own folder of the
        // program, where the program looks too. Any other failure starts nothing.
        if (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT) {
            const std::wstring folder = userDataFolderWide(true);
            if (!folder.empty())
                error = appendToHandoff(folder + widen(handoffFileName, CP_UTF8), selectedFiles_);
        }
        if (error != ERROR_SUCCESS)
            return S_OK;
        startProgram(widen(programCommandLine(dir), CP_UTF8));
    } catch (...) {
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ContextMenuHandler::GetCommandString(UINT_PTR offset, UINT type, UINT*, CHAR* buffer,
                                                               UINT size)
{
    switch (classifyCommandString(offset, type)) {
    case CommandStringAnswer::HelpAnsi:
        copyCommandText(buffer, size, helpText);
        return S_OK;
    case CommandStringAnswer::HelpWide:
        copyCommandText(reinterpret_cast<WCHAR*>(buffer), size, helpText);
        return S_OK;
    case CommandStringAnswer::Validate:
        return S_OK;
    case CommandStringAnswer::Invalid:
        break;
    }
    return E_INVALIDARG;
}
