// Numbers written as the user's regional settings write them. The
// separators are read from Windows at start (platform/win32); until then,
// and in the tests, English (United States).
#pragma once

#include <cstdint>
#include <string>

namespace veltrano::i18n {

void use_thousands_separator(std::string separator);

// 1234567 -> "1,234,567" (or "1.234.567", "1 234 567", ...).
std::string grouped(std::uint64_t number);

}  // namespace veltrano::i18n
