// One move-only owner for every kind of Windows handle. A kind is a small
// traits struct: its null value and how to close it. Keys, kernel objects and
// toolhelp snapshots each get a name below; add more kinds the same way.
#pragma once

#include <windows.h>

#include <utility>

namespace veltrano::platform::win32 {

template <typename Traits>
class unique_handle {
public:
    using pointer = typename Traits::pointer;

    unique_handle() noexcept = default;
    explicit unique_handle(pointer h) noexcept : handle_(h) {}
    unique_handle(const unique_handle&) = delete;
    unique_handle& operator=(const unique_handle&) = delete;
    unique_handle(unique_handle&& other) noexcept : handle_(other.release()) {}
    unique_handle& operator=(unique_handle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~unique_handle() { reset(); }

    [[nodiscard]] pointer get() const noexcept { return handle_; }
    [[nodiscard]] explicit operator bool() const noexcept { return handle_ != Traits::invalid(); }

    [[nodiscard]] pointer release() noexcept { return std::exchange(handle_, Traits::invalid()); }

    void reset(pointer h = Traits::invalid()) noexcept {
        const pointer old = std::exchange(handle_, h);
        if (old == Traits::invalid()) return;
        // Callers read GetLastError after a failed call that made them drop the
        // handle; closing must not overwrite that code.
        const DWORD saved = GetLastError();
        Traits::close(old);
        SetLastError(saved);
    }

    // For APIs that hand the handle out through a pointer (RegOpenKeyExW,
    // OpenProcessToken): the old one is closed first.
    [[nodiscard]] pointer* put() noexcept {
        reset();
        return &handle_;
    }

private:
    pointer handle_ = Traits::invalid();
};

// A kind whose null is nullptr and that one function closes.
template <typename Handle, auto Close>
struct closed_by {
    using pointer = Handle;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { Close(h); }
};

struct key_traits {
    using pointer = HKEY;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept {
        // HKEY_CURRENT_USER and friends are pseudo handles; closing one would
        // close the process-wide cached key under everyone else's feet.
        if (is_predefined(h)) return;
        RegCloseKey(h);
    }
    static bool is_predefined(pointer h) noexcept {
        const auto value = reinterpret_cast<ULONG_PTR>(h);
        // The predefined keys (0x80000000 to 0x80000060, sign-extended on
        // 64-bit) are never handed out by RegOpenKeyEx.
        return (value & ~static_cast<ULONG_PTR>(0xFF)) == reinterpret_cast<ULONG_PTR>(HKEY_CLASSES_ROOT);
    }
};

struct kernel_handle_traits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { CloseHandle(h); }
};

// CreateToolhelp32Snapshot and CreateFile answer INVALID_HANDLE_VALUE, not
// null, when they fail.
struct file_handle_traits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(pointer h) noexcept { CloseHandle(h); }
};

using unique_hkey = unique_handle<key_traits>;
using unique_kernel_handle = unique_handle<kernel_handle_traits>;
using unique_file_handle = unique_handle<file_handle_traits>;

}  // namespace veltrano::platform::win32
