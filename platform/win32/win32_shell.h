#pragma once

#include "platform/shell.h"

#include <windows.h>

namespace veltrano::platform::win32 {

class Win32Shell : public Shell {
public:
    long open(const std::string& file) override;
    std::string system_folder() const override;
    // The window any message of the shell's belongs to (a missing file's,
    // say); none until the main window is there.
    void set_owner(HWND owner) { owner_ = owner; }

private:
    HWND owner_ = nullptr;
};

}  // namespace veltrano::platform::win32
