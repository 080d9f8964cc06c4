#include "shell/language_setting.h"

#include "platform/ascii.h"

#include <cctype>

namespace veltrano::shell {
namespace {

constexpr const char* kSettingKey = "Software\\VELTRANO";
constexpr const char* kLanguageValue = "Language";

bool is_lang_switch(std::string_view arg) {
    if (arg.size() != 5 || (arg[0] != '/' && arg[0] != '-')) return false;
    return platform::ascii_lower(std::string(arg.substr(1))) == "lang";
}

}  // namespace

std::string remembered_language(platform::Registry& registry) {
    const auto key = registry.open(platform::Root::CurrentUser, kSettingKey, false);
    if (!key) return {};
    const auto value = key->query(kLanguageValue);
    // Anything else than a text of ours, an administrator's or a stranger's, is passed over.
    if (!value || value->kind != platform::ValueKind::String || !i18n::language_by_code(value->text)) return {};
    return value->text;
}

bool remember_language(platform::Registry& registry, const i18n::Language& language) {
    const auto key = registry.open(platform::Root::CurrentUser, kSettingKey, true);
    return key && key->set(kLanguageValue, platform::RegValue::string(std::string(language.code)));
}

LanguageOption language_option(std::span<const std::string> args) {
    LanguageOption option;
    for (std::size_t i = 0; i + 1 < args.size(); ++i)
        if (is_lang_switch(args[i])) {
            option.code = args[i + 1];
            option.only_option = args.size() == 2;
            break;
        }
    return option;
}

std::vector<std::string> split_command_line(std::string_view line) {
    std::vector<std::string> args;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
        if (at == line.size()) break;
        std::string arg;
        bool quoted = false;
        for (; at < line.size() && (quoted || (line[at] != ' ' && line[at] != '\t')); ++at) {
            if (line[at] == '"') quoted = !quoted;
            else arg += line[at];
        }
        args.push_back(std::move(arg));
    }
    return args;
}

}  // namespace veltrano::shell
