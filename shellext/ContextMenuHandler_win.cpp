// The context-menu handler: collects Explorer's selection, adds the menu item, and hands
// the selection to a newly started program through the handoff file.

#include "shellext/ContextMenuHandler_win.h"

#include "base/Identity.h"
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

HRESULT STDMETHODCALLTYPE ContextMenuHandler::InvokeCommand(CMINVOKECOMMANDINFO* info)
{
    if (info == nullptr)
        return E_INVALIDARG;
    // Only command offset 0 is ours. A verb string is a pointer and never ours: testing the
    // low 16 bits alone would take a string at an address ending in sixteen zero bits for
    // offset 0.
    if (reinterpret_cast<UINT_PTR>(info->lpVerb) != 0)
        return S_OK;
    try {
        // The installation folder may have a name Explorer's ANSI code page cannot spell.
        const std::string& dir = installDir();
        const std::wstring handoff = widen(dir + handoffFileName, CP_UTF8);
        UniqueHandle file(CreateFileW(handoff.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return S_OK;
        DWORD written = 0;
        const DWORD size = static_cast<DWORD>(selectedFiles_.size());
        const BOOL wrote = WriteFile(file.get(), selectedFiles_.data(), size, &written, nullptr);
        const BOOL closed = CloseHandle(file.release());
        if (!wrote || written != size || !closed) {
            // A partial file would hand the next start of the program a cut path: remove it
            // and start nothing.
            DeleteFileW(handoff.c_str());
            return S_OK;
        }
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
