// The help pages, drawn from the tip tables the program itself runs on: each
// tip's section names exactly the values its Apply writes and its Undo puts
// back, so the help and the program cannot drift apart.
#pragma once

#include "i18n/languages.h"

#include <map>
#include <string>

namespace veltrano::helpgen {

// File name ("tip0025.htm") to HTML text, one entry per help page that the
// tips' help links name, in the catalogue in use (i18n::use_language); the
// page says it is in the language given, English naming none.
std::map<std::string, std::string> render_help_pages(const i18n::Language& language = i18n::english());

}  // namespace veltrano::helpgen
