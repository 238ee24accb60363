// Move-only owners of system resources: one template, a traits struct per kind.
// Whatever an owner holds is freed on every way out of its scope.
#pragma once

#include <windows.h>

#include <utility>

namespace platform {

template <typename Traits>
class Owner {
public:
    using Type = typename Traits::Type;

    Owner() noexcept : value_(Traits::Invalid()) {}
    explicit Owner(Type value) noexcept : value_(value) {}
    ~Owner() { reset(); }

    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
    Owner(Owner&& other) noexcept : value_(other.release()) {}
    Owner& operator=(Owner&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    Type get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::Invalid(); }

    Type release() noexcept { return std::exchange(value_, Traits::Invalid()); }

    void reset(Type value = Traits::Invalid()) noexcept
    {
        Type old = std::exchange(value_, value);
        if (old != Traits::Invalid())
            Traits::Close(old);
    }

private:
    Type value_;
};

struct HandleTraits {  // process, thread, event: null when absent
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::CloseHandle(h); }
};

struct FileHandleTraits {  // files and snapshots: INVALID_HANDLE_VALUE when absent
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::CloseHandle(h); }
};

struct KeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static void Close(Type k) { ::RegCloseKey(k); }
};

struct LibraryTraits {
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static void Close(Type m) { ::FreeLibrary(m); }
};

struct WindowTraits {
    using Type = HWND;
    static Type Invalid() { return nullptr; }
    static void Close(Type w) { ::DestroyWindow(w); }
};

struct GdiObjectTraits {
    using Type = HGDIOBJ;
    static Type Invalid() { return nullptr; }
    static void Close(Type o) { ::DeleteObject(o); }
};

using UniqueHandle = Owner<HandleTraits>;
using FileHandle = Owner<FileHandleTraits>;
using RegKey = Owner<KeyTraits>;
using Library = Owner<LibraryTraits>;
using Window = Owner<WindowTraits>;
using GdiObject = Owner<GdiObjectTraits>;

// For the rare cleanup that is not an owner. Only for one that cannot throw:
// a destructor is noexcept, so a throw from it ends the process in std::terminate.
template <typename F>
class ScopeGuard {
public:
    explicit ScopeGuard(F f) : f_(std::move(f)) {}
    ~ScopeGuard() { f_(); }
    ScopeGuard(const ScopeGuard&) = delete;
    ScopeGuard& operator=(const ScopeGuard&) = delete;

private:
    F f_;
};

}  // namespace platform
