#include "i18n/languages.h"

#include <array>
#include <cctype>

namespace veltrano::i18n {
namespace {

// Primary language ids from Windows' winnt.h LANG_* values.
constexpr std::array kLanguages{
    Language{"en", "English", "English", 0x09, false},
    Language{"de", "German", "Deutsch", 0x07, false},
    Language{"fr", "French", "Fran\xc3\xa7" "ais", 0x0c, false},
    Language{"es", "Spanish", "Espa\xc3\xb1ol", 0x0a, false},
    Language{"it", "Italian", "Italiano", 0x10, false},
    Language{"pt-BR", "Portuguese (Brazil)", "Portugu\xc3\xaas (Brasil)", 0x16, false},
    Language{"nl", "Dutch", "Nederlands", 0x13, false},
    Language{"pl", "Polish", "Polski", 0x15, false},
    Language{"ru", "Russian", "\xd0\xa0\xd1\x83\xd1\x81\xd1\x81\xd0\xba\xd0\xb8\xd0\xb9", 0x19, false},
    Language{"tr", "Turkish", "T\xc3\xbcrk\xc3\xa7" "e", 0x1f, false},
    Language{"ja", "Japanese", "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e", 0x11, true},
    Language{"zh-CN", "Chinese (Simplified)", "\xe7\xae\x80\xe4\xbd\x93\xe4\xb8\xad\xe6\x96\x87", 0x04, true},
    Language{"ko", "Korean", "\xed\x95\x9c\xea\xb5\xad\xec\x96\xb4", 0x12, true},
};

bool same_code(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

std::span<const Language> languages() { return kLanguages; }

const Language& english() { return kLanguages.front(); }

const Language* language_by_code(std::string_view code) {
    // The language alone stands for the one variant we have: "zh", "pt".
    for (const Language& language : kLanguages)
        if (same_code(code, language.code) || same_code(code, language.code.substr(0, language.code.find('-'))))
            return &language;
    return nullptr;
}

const Language& language_for_windows(std::uint16_t language_id) {
    const std::uint16_t primary = language_id & 0x3ff;
    for (const Language& language : kLanguages)
        if (language.primary_language == primary) return language;
    return english();
}

const Language& choose_language(std::string_view command_line_code, std::string_view remembered_code,
                                std::uint16_t windows_language_id) {
    for (std::string_view code : {command_line_code, remembered_code})
        if (const Language* chosen = language_by_code(code)) return *chosen;
    return language_for_windows(windows_language_id);
}

}  // namespace veltrano::i18n
