#pragma once
// Owners of Win32 handles: each closes its handle when it goes out of scope. Non-copyable, movable.
// Windows only. To own another kind of handle, add a traits struct (Type, Invalid(), Close()) and an alias.
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

// Handles whose failure value is INVALID_HANDLE_VALUE and that CloseHandle closes: CreateFileA,
// CreateToolhelp32Snapshot.
struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type handle) noexcept { CloseHandle(handle); }
};
using FileHandle = UniqueHandle<FileHandleTraits>;

// Search handles of FindFirstFileA, closed by FindClose.
struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type handle) noexcept { FindClose(handle); }
};
using FindHandle = UniqueHandle<FindHandleTraits>;

// Kernel object handles whose failure value is null and that CloseHandle closes: CreateProcessA's process
// and thread, OpenProcess, CreateEventA.
struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type handle) noexcept { CloseHandle(handle); }
};
using KernelHandle = UniqueHandle<KernelHandleTraits>;

// Windows made by CreateWindowExA, destroyed with DestroyWindow (on the thread that created them).
struct WindowHandleTraits {
    using Type = HWND;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type handle) noexcept { DestroyWindow(handle); }
};
using WindowHandle = UniqueHandle<WindowHandleTraits>;

// Fonts made by CreateFontIndirectA, deleted with DeleteObject.
struct FontHandleTraits {
    using Type = HFONT;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type handle) noexcept { DeleteObject(handle); }
};
using FontHandle = UniqueHandle<FontHandleTraits>;

// Memory device contexts made by CreateCompatibleDC, deleted with DeleteDC.
struct MemoryDCHandleTraits {
    using Type = HDC;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type handle) noexcept { DeleteDC(handle); }
};
using MemoryDCHandle = UniqueHandle<MemoryDCHandleTraits>;

// Bitmaps made by CreateDIBSection, deleted with DeleteObject.
struct BitmapHandleTraits {
    using Type = HBITMAP;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type handle) noexcept { DeleteObject(handle); }
};
using BitmapHandle = UniqueHandle<BitmapHandleTraits>;

// Logical palettes made by CreatePalette, deleted with DeleteObject.
struct PaletteHandleTraits {
    using Type = HPALETTE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type handle) noexcept { DeleteObject(handle); }
};
using PaletteHandle = UniqueHandle<PaletteHandleTraits>;
