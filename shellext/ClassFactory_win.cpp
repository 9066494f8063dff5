// The cached class factory: its reference rule keeps the module loaded exactly while
// someone besides the module's cache holds it.

#include "shellext/ClassFactory_win.h"

#include "shellext/ContextMenuHandler_win.h"
#include "shellext/Module_win.h"

ClassFactory::ClassFactory() { InitializeCriticalSection(&lock_); }

ClassFactory::~ClassFactory() { DeleteCriticalSection(&lock_); }

ULONG STDMETHODCALLTYPE ClassFactory::AddRef()
{
    EnterCriticalSection(&lock_);
    const LONG count = addReference();
    if (count == 2)
        lockModule();
    LeaveCriticalSection(&lock_);
    return static_cast<ULONG>(count);
}

ULONG STDMETHODCALLTYPE ClassFactory::Release()
{
    EnterCriticalSection(&lock_);
    const LONG count = dropReference();
    if (count == 1)
        unlockModule();
    LeaveCriticalSection(&lock_);
    if (count == 0)
        delete this;
    return static_cast<ULONG>(count);
}

HRESULT STDMETHODCALLTYPE ClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (outer != nullptr && !IsEqualIID(riid, IID_IUnknown))
        return CLASS_E_NOAGGREGATION;
    return ContextMenuHandler::create(outer, riid, object);
}

HRESULT STDMETHODCALLTYPE ClassFactory::LockServer(BOOL lock)
{
    if (lock)
        lockModule();
    else
        unlockModule();
    return S_OK;
}
