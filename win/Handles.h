#pragma once
// RAII owners for Win32 handles (kernel handles from base/UniqueResource.h), GDI objects and
// device contexts, modules and COM interfaces; none can be copied.

#include "base/UniqueResource.h"

#include <windows.h>
#include <objbase.h>

#include <utility>

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

using UniqueHKey = UniqueResource<HKeyTraits>;
using UniqueGdiObject = UniqueResource<GdiObjectTraits>;
using UniqueIcon = UniqueResource<IconTraits>;
using UniqueModule = UniqueResource<ModuleTraits>;
using UniqueWindow = UniqueResource<WindowTraits>;
using UniqueGlobal = UniqueResource<GlobalMemoryTraits>;

// A window's device context: its client area, or with wholeWindow its frame too (for
// non-client painting); a null window gives the screen's.
class WindowDc {
public:
    enum Area { clientArea, wholeWindow };

    explicit WindowDc(HWND window, Area area = clientArea) noexcept
        : window_(window), dc_(area == wholeWindow ? GetWindowDC(window) : GetDC(window))
    {
    }
    ~WindowDc()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// The device context of one WM_PAINT: BeginPaint on construction, EndPaint on destruction.
class PaintDc {
public:
    explicit PaintDc(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDc() { EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;

    HDC get() const noexcept { return dc_; }
    const PAINTSTRUCT& paint() const noexcept { return paint_; }

private:
    HWND window_;
    PAINTSTRUCT paint_ = {};
    HDC dc_;
};

// A memory device context compatible with another (with the screen for null), deleted on
// destruction.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith) noexcept : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc()
    {
        if (dc_)
            DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;

    HDC get() const noexcept { return dc_; }

private:
    HDC dc_;
};

// A DC's state (objects, colours, modes) saved now and restored on destruction.
class SavedDcState {
public:
    explicit SavedDcState(HDC dc) noexcept : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDcState() { RestoreDC(dc_, saved_); }
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;

private:
    HDC dc_;
    int saved_;
};

// An object selected into a DC for the life of the owner; the object it displaced goes back
// in on destruction. A null DC or object selects nothing. The owner of the object itself
// must outlive this one.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr)
    {
    }
    ~SelectedObject()
    {
        if (old_)
            SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

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
