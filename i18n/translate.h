// The program's texts in the user's language. Every text a person reads is
// written in the code in English and looked up in the catalogue of the
// language in use; English is the catalogue's source, so a text without a
// translation shows as written. scripts/update-pot.sh collects the texts
// (the keywords below) into po/veltrano.pot.
//
//   tr("Apply")                        now, in the language in use
//   trf("Profile {0} loaded", path)    the same, then {0}..{9} filled in
//   N_("Apply")                        only marked: a table keeps English and
//                                      is translated where it is shown
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "i18n/catalogue.h"
#include "i18n/languages.h"

namespace veltrano::i18n {

// The catalogue every tr() reads: set once at start, before any window or
// thread; empty (English) until then and in the tests that do not set it.
void use_catalogue(Catalogue catalogue);
const Catalogue& catalogue_in_use();
// The language the catalogue is of: the window's font follows it.
void use_language(const Language& language, Catalogue catalogue);
const Language& language_in_use();

std::string tr(std::string_view english);

// Fills {0}..{9} in a text; "{{" and "}}" stand for braces, and a
// placeholder without an argument is left as it is.
std::string fill_placeholders(std::string_view text, std::initializer_list<std::string_view> arguments);

template <typename... Arguments>
std::string trf(std::string_view english, const Arguments&... arguments) {
    return fill_placeholders(tr(english), {std::string_view(arguments)...});
}

// The sentence for a count, {0} filled with it: `one` for 1, `many` for
// any other number. The catalogue has no plural forms; translators word the
// plural so that it reads for every other number.
std::string for_count(std::uint64_t n, std::string_view one, std::string_view many);

template <typename Text>
constexpr Text N_(Text english) {
    return english;
}

}  // namespace veltrano::i18n
