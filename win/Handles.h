#pragma once
// RAII owners for Win32 handles, GDI objects, modules and COM interfaces; none can be copied.

#include <windows.h>
#include <objbase.h>

#include <utility>

// One owner template for every handle kind that is closed by a single function and has
// one or two "none" values.
template <typename Traits>
class UniqueResource {
public:
    using Handle = typename Traits::Handle;

    UniqueResource() noexcept = default;
    explicit UniqueResource(Handle handle) noexcept : handle_(handle) {}
    ~UniqueResource() { reset(); }

    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    UniqueResource(UniqueResource&& other) noexcept : handle_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    Handle get() const noexcept { return handle_; }
    bool valid() const noexcept { return Traits::valid(handle_); }
    explicit operator bool() const noexcept { return valid(); }

    Handle release() noexcept { return std::exchange(handle_, Traits::none()); }

    void reset(Handle handle = Traits::none()) noexcept
    {
        Handle old = std::exchange(handle_, handle);
        if (Traits::valid(old))
            Traits::close(old);
    }

    // For APIs that return the handle through an out-parameter.
    Handle* put() noexcept
    {
        reset();
        return &handle_;
    }

private:
    Handle handle_ = Traits::none();
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle none() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(Handle h) { CloseHandle(h); }
};

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle none() { return INVALID_HANDLE_VALUE; }
    static bool valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(Handle h) { FindClose(h); }
};

struct HKeyTraits {
    using Handle = HKEY;
    static Handle none() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr; }
    static void close(Handle h) { RegCloseKey(h); }
};

struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle none() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr; }
    static void close(Handle h) { DeleteObject(h); }
};

struct IconTraits {
    using Handle = HICON;
    static Handle none() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr; }
    static void close(Handle h) { DestroyIcon(h); }
};

struct ModuleTraits {
    using Handle = HMODULE;
    static Handle none() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr; }
    static void close(Handle h) { FreeLibrary(h); }
};

struct WindowTraits {
    using Handle = HWND;
    static Handle none() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr; }
    static void close(Handle h) { DestroyWindow(h); }
};

struct GlobalMemoryTraits {
    using Handle = HGLOBAL;
    static Handle none() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr; }
    static void close(Handle h) { GlobalFree(h); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueFindHandle = UniqueResource<FindHandleTraits>;
using UniqueHKey = UniqueResource<HKeyTraits>;
using UniqueGdiObject = UniqueResource<GdiObjectTraits>;
using UniqueIcon = UniqueResource<IconTraits>;
using UniqueModule = UniqueResource<ModuleTraits>;
using UniqueWindow = UniqueResource<WindowTraits>;
using UniqueGlobal = UniqueResource<GlobalMemoryTraits>;

// A counted reference to a COM interface.
template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    ~ComPtr() { reset(); }

    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    ComPtr(ComPtr&& other) noexcept : ptr_(other.detach()) {}
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        if (this != &other) {
            reset();
            ptr_ = other.detach();
        }
        return *this;
    }

    // Takes over a reference the caller already holds.
    static ComPtr attach(T* ptr) noexcept
    {
        ComPtr p;
        p.ptr_ = ptr;
        return p;
    }

    T* get() const noexcept { return ptr_; }
    T* operator->() const noexcept { return ptr_; }
    explicit operator bool() const noexcept { return ptr_ != nullptr; }

    T* detach() noexcept { return std::exchange(ptr_, nullptr); }

    void reset() noexcept
    {
        if (T* old = std::exchange(ptr_, nullptr))
            old->Release();
    }

    T** put() noexcept
    {
        reset();
        return &ptr_;
    }

    void** putVoid() noexcept { return reinterpret_cast<void**>(put()); }

private:
    T* ptr_ = nullptr;
};
