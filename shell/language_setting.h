// The language a user chose for Veltrano's window, remembered per user, and
// the /lang option that overrides it for one run.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/languages.h"
#include "platform/registry.h"

namespace veltrano::shell {

// HKEY_CURRENT_USER\Software\VELTRANO, value Language: a code of
// i18n::languages(), "" when the user never chose.
std::string remembered_language(platform::Registry& registry);
bool remember_language(platform::Registry& registry, const i18n::Language& language);

struct LanguageOption {
    std::string code;      // after /lang; "" without it
    bool only_option = false;  // /lang CODE and nothing else: the window, in that language
};

// The arguments as the program got them, without the program's name.
LanguageOption language_option(std::span<const std::string> args);

// The arguments split as Windows' programs split a command line, for the
// simple cases a user types: blanks separate, double quotes group. The
// program's name first.
std::vector<std::string> split_command_line(std::string_view line);

}  // namespace veltrano::shell
