#pragma once
// The Explorer context-menu handler: one object per context menu Explorer builds.

#include "win/ComObject.h"

#include <windows.h>
#include <shlobj.h>

#include <string>

class ContextMenuHandler final : public ComObject<IContextMenu, IShellExtInit> {
public:
    // Builds a plain object (outer null) or the aggregated form, and hands out the
    // interface asked for; the object is destroyed again when that fails.
    static HRESULT create(IUnknown* outer, REFIID riid, void** object);

    // IUnknown of the two interfaces: delegated to the controlling unknown (the outer
    // object when aggregated, our own non-delegating unknown otherwise).
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU menu, UINT position, UINT firstId, UINT lastId,
                                               UINT flags) override;
    HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO* info) override;
    HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR offset, UINT type, UINT* reserved, CHAR* buffer,
                                               UINT size) override;

    HRESULT STDMETHODCALLTYPE Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY progId) override;

private:
    using Own = ComObject<IContextMenu, IShellExtInit>;

    explicit ContextMenuHandler(IUnknown* outer);
    ~ContextMenuHandler() override;

    // The non-delegating unknown: owns the object's life and answers its interfaces, through
    // ComObject's count and interface list.
    struct Inner final : IUnknown {
        ContextMenuHandler* self;
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;
    };

    Inner inner_;
    IUnknown* controlling_;
    bool aggregated_;
    // Every selected path followed by CR LF, appended by each Initialize.
    std::string selectedFiles_;
};
