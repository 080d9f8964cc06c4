// The languages Veltrano speaks, and which of them a user gets.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace veltrano::i18n {

struct Language {
    std::string_view code;         // what /lang takes and the catalogue's file is named: "de", "zh-CN"
    std::string_view english_name;
    std::string_view own_name;     // as its speakers write it, for the choice of language
    std::uint16_t primary_language;  // Windows' PRIMARYLANGID
    // Japanese, Chinese and Korean need a font with their glyphs.
    bool east_asian;
};

std::span<const Language> languages();  // English first
const Language& english();

// /lang's code, whatever its case ("DE", "zh-cn"); a bare "zh" is
// Chinese (Simplified). Nothing for a code Veltrano does not speak.
const Language* language_by_code(std::string_view code);

// The language for a Windows language id (GetUserDefaultUILanguage): a
// regional variant gives its language (de-AT German, pt-PT Portuguese),
// English where Veltrano has none.
const Language& language_for_windows(std::uint16_t language_id);

// Which language a run speaks: /lang, else the user's remembered choice,
// else Windows' display language. A code that is not one of ours is passed
// over.
const Language& choose_language(std::string_view command_line_code, std::string_view remembered_code,
                                std::uint16_t windows_language_id);

}  // namespace veltrano::i18n
