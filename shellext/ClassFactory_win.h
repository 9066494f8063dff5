#pragma once
// The class factory of the context-menu handler; one cached object per process.

#include <windows.h>
#include <unknwn.h>

class ClassFactory final : public IClassFactory {
public:
    // Created holding one reference: the module's own, which the cache keeps.
    ClassFactory();
    ~ClassFactory();
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    CRITICAL_SECTION lock_;
    LONG references_ = 1;
};
