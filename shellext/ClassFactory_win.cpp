// The cached class factory: its reference rule keeps the module loaded exactly while
// someone besides the module's cache holds it.

#include "shellext/ClassFactory_win.h"

#include "shellext/ContextMenuHandler_win.h"
#include "shellext/Module_win.h"

// Each count is taken on exactly one transition, so the module's lock count follows the
// references beyond the cache's without a lock of its own.
ULONG STDMETHODCALLTYPE ClassFactory::AddRef()
{
    const ULONG count = ComObject::AddRef();
    if (count == 2)
        lockModule();
    return count;
}

ULONG STDMETHODCALLTYPE ClassFactory::Release()
{
    const ULONG count = ComObject::Release();
    if (count == 1)
        unlockModule();
    return count;
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
