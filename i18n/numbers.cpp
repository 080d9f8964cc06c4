#include "i18n/numbers.h"

#include <utility>

namespace veltrano::i18n {
namespace {

std::string& thousands_separator() {
    static std::string separator = ",";
    return separator;
}

}  // namespace

void use_thousands_separator(std::string separator) { thousands_separator() = std::move(separator); }

std::string grouped(std::uint64_t number) {
    std::string digits = std::to_string(number);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), thousands_separator());
    return digits;
}

}  // namespace veltrano::i18n
