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

// A kind whose absent value is null (or 0, for the handles that are numbers), closed by the given function.
template <typename T, auto CloseFunction>
struct NullTraits {
    using Type = T;
    static Type Invalid() { return Type(); }
    static void Close(Type value) { CloseFunction(value); }
};

// A handle kind that is INVALID_HANDLE_VALUE when absent (files, snapshots, searches).
template <auto CloseFunction>
struct InvalidHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type value) { CloseFunction(value); }
};

using UniqueHandle = Owner<NullTraits<HANDLE, &::CloseHandle>>;  // process, thread, event, mutex
using FileHandle = Owner<InvalidHandleTraits<&::CloseHandle>>;   // files and snapshots
using FindHandle = Owner<InvalidHandleTraits<&::FindClose>>;     // FindFirstFile searches
using RegKey = Owner<NullTraits<HKEY, &::RegCloseKey>>;
using Library = Owner<NullTraits<HMODULE, &::FreeLibrary>>;
using Window = Owner<NullTraits<HWND, &::DestroyWindow>>;
using GdiObject = Owner<NullTraits<HGDIOBJ, &::DeleteObject>>;
using MemoryDc = Owner<NullTraits<HDC, &::DeleteDC>>;  // CreateCompatibleDC

// The device context of one WM_PAINT, from BeginPaint to EndPaint. Not an
// Owner: ending the paint takes the window and the paint record as well.
class PaintDc {
public:
    explicit PaintDc(HWND window) noexcept : window_(window), dc_(::BeginPaint(window, &paint_)) {}
    ~PaintDc() { ::EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;

    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// An object selected into a device context for a scope; the object it
// replaced is selected again at the end, so that the context can be deleted
// and the object freed. Declare it after the owners of both.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
    ~Selection() { ::SelectObject(dc_, old_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

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
