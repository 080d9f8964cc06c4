#include "shell/win32/language.h"

#include "i18n/numbers.h"
#include "i18n/translate.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_language.h"
#include "platform/win32/win32_registry.h"
#include "shell/language_setting.h"

#include <windows.h>

namespace veltrano::shell::win32 {

bool speak_chosen_language() {
    const auto args = split_command_line(platform::win32::to_utf8(GetCommandLineW()));
    const LanguageOption option =
        language_option(std::span<const std::string>(args).subspan(args.empty() ? 0 : 1));
    platform::win32::Win32Registry registry;
    const i18n::Language& language =
        i18n::choose_language(option.code, remembered_language(registry), platform::win32::windows_display_language());
    i18n::use_language(language, platform::win32::catalogue_from_resources(language));
    i18n::use_thousands_separator(platform::win32::thousands_separator());
    return option.only_option;
}

}  // namespace veltrano::shell::win32
