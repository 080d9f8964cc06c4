#include "platform/win32/win32_system_restore.h"

#include "i18n/translate.h"
#include "platform/win32/text.h"

#include <windows.h>
#include <srrestoreptapi.h>

#include <algorithm>
#include <cwchar>

namespace veltrano::platform::win32 {

namespace {

using SetRestorePointFn = BOOL(WINAPI*)(PRESTOREPOINTINFOW, PSTATEMGRSTATUS);

// Looked up once and kept: the library stays loaded for the process's life,
// as the begin and its end must reach the same service.
SetRestorePointFn set_restore_point() {
    static const SetRestorePointFn fn = [] {
        HMODULE library = LoadLibraryW(L"srclient.dll");
        return library ? reinterpret_cast<SetRestorePointFn>(
                             reinterpret_cast<void*>(GetProcAddress(library, "SRSetRestorePointW")))
                       : nullptr;
    }();
    return fn;
}

std::string reason(DWORD status) {
    switch (status) {
    case ERROR_SERVICE_DISABLED: return i18n::tr("System Restore is turned off");
    case ERROR_DISK_FULL: return i18n::tr("System Restore has no room left on the disk");
    case ERROR_ACCESS_DENIED: return i18n::tr("Windows refused it: Veltrano is not running as an administrator");
    case ERROR_SUCCESS: return i18n::tr("System Restore did not make one");
    default: break;
    }
    wchar_t text[256] = {};
    if (!FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, status, 0, text,
                        static_cast<DWORD>(std::size(text)), nullptr))
        return i18n::trf("System Restore refused it (error {0})", std::to_string(status));
    std::string said = to_utf8(text);
    while (!said.empty() && (said.back() == '\n' || said.back() == '\r' || said.back() == ' ' || said.back() == '.'))
        said.pop_back();
    return i18n::trf("System Restore refused it: {0}", said);
}

// A refusal that holds for the whole run.
bool lasts_the_run(DWORD status) {
    // No reason given: a System Restore that makes no points at all (as
    // Wine's). Access denied: the process's rights do not change while it
    // runs. Turned off or out of room the user may mend meanwhile: asked again.
    return status == ERROR_SUCCESS || status == ERROR_ACCESS_DENIED;
}

}  // namespace

bool Win32SystemRestore::begin(const std::string& description, std::string& why) {
    open_ = false;
    // Asking again would cost a call into the service, and the first time
    // the load of srclient.dll, for the same answer.
    if (!refused_for_the_run_.empty()) {
        why = refused_for_the_run_;
        return false;
    }
    const SetRestorePointFn fn = set_restore_point();
    if (!fn) {
        why = refused_for_the_run_ = i18n::tr("System Restore is not available on this system");
        return false;
    }
    RESTOREPOINTINFOW info{};
    info.dwEventType = BEGIN_SYSTEM_CHANGE;
    info.dwRestorePtType = MODIFY_SETTINGS;
    // XP shows at most MAX_DESC characters of the name.
    const std::wstring name = to_utf16(description).substr(0, MAX_DESC - 1);
    std::wcsncpy(info.szDescription, name.c_str(), MAX_DESC_W - 1);
    STATEMGRSTATUS status{};
    if (!fn(&info, &status)) {
        why = reason(status.nStatus);
        if (lasts_the_run(status.nStatus)) refused_for_the_run_ = why;
        return false;
    }
    sequence_ = status.llSequenceNumber;
    open_ = true;
    return true;
}

void Win32SystemRestore::end(bool succeeded) {
    if (!open_) return;
    open_ = false;
    RESTOREPOINTINFOW info{};
    info.dwEventType = END_SYSTEM_CHANGE;
    // A batch that failed may still have changed part of what it set out
    // to: the point before it is what the user goes back to, so it is kept.
    // CANCELLED_OPERATION, the only failure Windows knows, would delete it.
    (void)succeeded;
    info.dwRestorePtType = MODIFY_SETTINGS;
    info.llSequenceNumber = sequence_;
    STATEMGRSTATUS status{};
    set_restore_point()(&info, &status);
}

}  // namespace veltrano::platform::win32
