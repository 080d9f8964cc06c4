#include "shell/win32/win32_dialogs.h"

#include "i18n/translate.h"
#include "platform/win32/text.h"
#include "shell/startup_stages.h"
#include "ui/win32/error_box.h"

#include <commdlg.h>

namespace veltrano::shell::win32 {

using namespace ui::win32;

Win32Dialogs::Win32Dialogs(HINSTANCE instance)
    : terms_of_use_(instance), not_compatible_(instance), help_viewer_(instance), balloon_(instance) {}

bool Win32Dialogs::create(HWND owner) {
    owner_ = owner;
    return terms_of_use_.create(owner) && not_compatible_.create(owner) && help_viewer_.create(owner) &&
           balloon_.create(owner);
}

ui::TermsAnswer Win32Dialogs::show_terms_of_use() { return terms_of_use_.show_terms(); }

void Win32Dialogs::show_not_compatible() { not_compatible_.show_modal(); }

void Win32Dialogs::show_help(const std::string& address) { help_viewer_.show_help(address); }

void Win32Dialogs::show_balloon(const std::string& text) {
    VELTRANO_STAGE("balloon asked");
    balloon_.show_message(text);
}

void Win32Dialogs::show_error(const std::string& message) { show_error_box(owner_, message); }

namespace {

int box(HWND owner, const std::string& text, UINT kind) {
    return MessageBoxW(owner, platform::win32::to_utf16(text).c_str(), L"Veltrano", kind);
}

}  // namespace

void Win32Dialogs::show_message(const std::string& message) { box(owner_, message, MB_OK); }

void Win32Dialogs::show_information(const std::string& message) { box(owner_, message, MB_OK | MB_ICONINFORMATION); }

bool Win32Dialogs::ask_yes_no(const std::string& question) {
    return box(owner_, question, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool Win32Dialogs::warn_yes_no(const std::string& question) {
    // What cannot be taken back is not done by a hasty Enter.
    return box(owner_, question, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

namespace {

// The common Open or Save box for profiles; "" when the user cancels.
std::string choose_profile(HWND owner, bool save) {
    wchar_t path[MAX_PATH] = L"";
    // The structure of the Windows 2000 headers: XP's comdlg32 takes it, and
    // the larger one is refused by older comdlg32 builds.
    OPENFILENAMEW ofn{};
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    ofn.hwndOwner = owner;
    // The filter: pairs of a description and its pattern, each ended by a
    // NUL, the list by another.
    const std::wstring filter = platform::win32::to_utf16(i18n::tr("Veltrano profiles (*.txt)")) + L'\0' + L"*.txt" +
                                L'\0' + platform::win32::to_utf16(i18n::tr("All files (*.*)")) + L'\0' + L"*.*" + L'\0';
    const std::wstring title = platform::win32::to_utf16(save ? i18n::tr("Save profile") : i18n::tr("Load profile"));
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = L"txt";
    ofn.lpstrTitle = title.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    return chosen ? platform::win32::to_utf8(path) : std::string();
}

}  // namespace

std::string Win32Dialogs::choose_profile_to_open() { return choose_profile(owner_, false); }
std::string Win32Dialogs::choose_profile_to_save() { return choose_profile(owner_, true); }

}  // namespace veltrano::shell::win32
