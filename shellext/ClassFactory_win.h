#pragma once
// The class factory of the context-menu handler; one cached object per process.

#include "win/ComObject.h"

#include <windows.h>
#include <unknwn.h>

class ClassFactory final : public ComObject<IClassFactory> {
public:
    // Created holding one reference: the module's own, which the cache keeps.
    ClassFactory() = default;

    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;
};
