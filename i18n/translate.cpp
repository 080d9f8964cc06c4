#include "i18n/translate.h"

#include <utility>
#include <vector>

namespace veltrano::i18n {
namespace {

Catalogue& in_use() {
    static Catalogue catalogue;
    return catalogue;
}

const Language*& language() {
    static const Language* language = &english();
    return language;
}

}  // namespace

void use_catalogue(Catalogue catalogue) { in_use() = std::move(catalogue); }

void use_language(const Language& chosen, Catalogue catalogue) {
    language() = &chosen;
    use_catalogue(std::move(catalogue));
}

const Language& language_in_use() { return *language(); }

const Catalogue& catalogue_in_use() { return in_use(); }

std::string tr(std::string_view english) { return std::string(in_use().find(english)); }

std::string for_count(std::uint64_t n, std::string_view one, std::string_view many) {
    return fill_placeholders(tr(n == 1 ? one : many), {std::to_string(n)});
}

std::string fill_placeholders(std::string_view text, std::initializer_list<std::string_view> arguments) {
    const std::vector<std::string_view> args(arguments);
    std::string out;
    out.reserve(text.size() + 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((c == '{' || c == '}') && i + 1 < text.size() && text[i + 1] == c) {
            out += c;
            ++i;
        } else if (c == '{' && i + 2 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9' && text[i + 2] == '}' &&
                   static_cast<std::size_t>(text[i + 1] - '0') < args.size()) {
            out += args[static_cast<std::size_t>(text[i + 1] - '0')];
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace veltrano::i18n
