// The language Windows shows its user, and a language's catalogue from the
// exe's own resources.
#pragma once

#include <cstdint>
#include <string>

#include "i18n/catalogue.h"
#include "i18n/languages.h"

namespace veltrano::platform::win32 {

// GetUserDefaultUILanguage: the display language of the user's Windows
// (Wine takes it from LANG).
std::uint16_t windows_display_language();

// How the user's regional settings group a number's thousands.
std::string thousands_separator();

// English, or a catalogue the exe lacks or cannot read, gives the empty
// catalogue: the texts as written.
i18n::Catalogue catalogue_from_resources(const i18n::Language& language);

}  // namespace veltrano::platform::win32
