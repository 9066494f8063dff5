#pragma once
// IUnknown for our own COM objects: counted references and QueryInterface over a list of interfaces.

#include <windows.h>
#include <unknwn.h>

// An entry of the interface list that is handed out for the interfaces it derives from as
// well (WithBases<IStream, ISequentialStream>); a plain entry answers only its own IID.
template <typename Interface, typename... Bases>
struct WithBases {};

namespace comobject {

template <typename Entry>
struct Listed {
    using Interface = Entry;
    static bool answers(REFIID iid) { return IsEqualIID(iid, __uuidof(Entry)); }
};

template <typename Entry, typename... Bases>
struct Listed<WithBases<Entry, Bases...>> {
    using Interface = Entry;
    static bool answers(REFIID iid)
    {
        return IsEqualIID(iid, __uuidof(Entry)) || (IsEqualIID(iid, __uuidof(Bases)) || ...);
    }
};

template <typename First, typename...>
struct FirstOf {
    using Type = typename Listed<First>::Interface;
};

} // namespace comobject

// Derive from ComObject<IFoo, IBar> instead of IFoo and IBar. An IID answered by several
// entries gets the first of them, and IUnknown (the object's identity) the first entry.
// The object is created holding one reference, its creator's.
template <typename... Entries>
class ComObject : public comobject::Listed<Entries>::Interface... {
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        IUnknown* found = nullptr;
        if (IsEqualIID(iid, IID_IUnknown))
            found = static_cast<typename comobject::FirstOf<Entries...>::Type*>(this);
        else
            (void)((comobject::Listed<Entries>::answers(iid) &&
                    (found = static_cast<typename comobject::Listed<Entries>::Interface*>(this))) ||
                   ...);
        if (!found)
            return E_NOINTERFACE;
        // Counted through the interface handed out: an object whose interfaces delegate
        // (an aggregated one) counts where they do.
        found->AddRef();
        *out = found;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(addReference()); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = dropReference();
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

protected:
    ComObject() = default;
    virtual ~ComObject() = default;

    // The count alone, for an object that does more on a change of it and deletes itself
    // once that is done.
    LONG addReference() { return InterlockedIncrement(&references_); }
    LONG dropReference() { return InterlockedDecrement(&references_); }

private:
    LONG references_ = 1;
};
