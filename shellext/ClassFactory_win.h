#pragma once
// The class factory of the context-menu handler; one cached object per process.

#include "win/ComObject.h"

#include <windows.h>
#include <unknwn.h>

class ClassFactory final : public ComObject<IClassFactory> {
public:
    // Created holding one reference: the module's own, which the cache keeps.
    ClassFactory();
    ~ClassFactory() override;

    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    // A change of the count and the module lock that goes with it happen together.
    CRITICAL_SECTION lock_;
};
