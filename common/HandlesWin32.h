#pragma once
// Owners of Win32 handles: each closes its handle when it goes out of scope. Non-copyable, movable.
// Windows only. To own another kind of handle, add an alias over HandleTraits.
#include <windows.h>

#include <utility>

template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type handle) noexcept : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    Type Get() const noexcept { return handle_; }
    bool Valid() const noexcept { return handle_ != Traits::Invalid(); }
    explicit operator bool() const noexcept { return Valid(); }

    // Gives up ownership without closing.
    Type Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
    // Closes the handle held (if any) and takes the new one.
    void Reset(Type handle = Traits::Invalid()) noexcept
    {
        const Type old = std::exchange(handle_, handle);
        if (old != Traits::Invalid())
            Traits::Close(old);
    }

private:
    Type handle_ = Traits::Invalid();
};

// How one kind of handle is closed, and whether its failure value is INVALID_HANDLE_VALUE rather than null.
template <typename T, auto CloseFunction, bool FailsAsMinusOne = false>
struct HandleTraits {
    using Type = T;
    static Type Invalid() noexcept
    {
        if constexpr (FailsAsMinusOne)
            return INVALID_HANDLE_VALUE;
        else
            return nullptr;
    }
    static void Close(Type handle) noexcept { CloseFunction(handle); }
};

// CreateFileA, CreateToolhelp32Snapshot.
using FileHandle = UniqueHandle<HandleTraits<HANDLE, CloseHandle, true>>;
// FindFirstFileA.
using FindHandle = UniqueHandle<HandleTraits<HANDLE, FindClose, true>>;
// CreateProcessA's process and thread, OpenProcess, CreateEventA.
using KernelHandle = UniqueHandle<HandleTraits<HANDLE, CloseHandle>>;
// CreateWindowExA: destroyed on the thread that created the window.
using WindowHandle = UniqueHandle<HandleTraits<HWND, DestroyWindow>>;
// CreateFontIndirectA.
using FontHandle = UniqueHandle<HandleTraits<HFONT, DeleteObject>>;
// CreateCompatibleDC.
using MemoryDCHandle = UniqueHandle<HandleTraits<HDC, DeleteDC>>;
// CreateDIBSection.
using BitmapHandle = UniqueHandle<HandleTraits<HBITMAP, DeleteObject>>;
// CreatePalette.
using PaletteHandle = UniqueHandle<HandleTraits<HPALETTE, DeleteObject>>;
