// Owners for GDI objects and accelerator tables, on the same template as
// every other handle.
#pragma once

#include "platform/win32/unique_handle.h"

namespace veltrano::shell::win32 {

struct gdi_traits {
    using pointer = HGDIOBJ;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { DeleteObject(h); }
};

using unique_gdi = platform::win32::unique_handle<gdi_traits>;

struct accelerator_traits {
    using pointer = HACCEL;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { DestroyAcceleratorTable(h); }
};

using unique_accelerators = platform::win32::unique_handle<accelerator_traits>;

}  // namespace veltrano::shell::win32
