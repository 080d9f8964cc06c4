// The registry through advapi32, limited to what Windows XP exports.
#pragma once

#include "platform/registry.h"

#include <windows.h>

namespace veltrano::platform::win32 {

// Which registry view the keys are opened in. A tuning tool must change the
// settings Windows itself reads, so the 32-bit build on 64-bit Windows asks
// for the 64-bit view, not the copies under Wow6432Node.
struct View {
    using DeleteKeyExFn = LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);
    REGSAM flag = 0;                         // KEY_WOW64_64KEY in WOW64, else 0
    DeleteKeyExFn delete_key_ex = nullptr;   // RegDeleteKeyExW in WOW64, else null
};
View detect_view();

class Win32Registry : public Registry {
public:
    Win32Registry();
    std::unique_ptr<RegKey> open(Root root, const std::string& path, bool create) override;
    std::unique_ptr<RegKey> open_existing(Root root, const std::string& path, Access access) override;
    std::string last_error_text() const override;
    std::vector<std::string> current_user_hives() const override;
    const View& view() const { return view_; }

private:
    std::unique_ptr<RegKey> open_with(Root root, const std::string& path, REGSAM access, bool create);
    View view_;
    LONG open_error_ = ERROR_SUCCESS;
};

// The system's text for a registry error code, without its line break.
std::string error_text(LONG code);

HKEY root_handle(Root root);

}  // namespace veltrano::platform::win32
