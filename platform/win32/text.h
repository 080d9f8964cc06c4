// The logic speaks UTF-8; Windows speaks UTF-16. These convert at the border.
#pragma once

#include <string>

namespace veltrano::platform::win32 {

// Invalid UTF-8 is not an error: a name we cannot spell exactly still has to
// reach the API so it can answer "not found". (Vista and later put U+FFFD in
// place of bad bytes; XP drops them.)
std::wstring to_utf16(const std::string& utf8);
// Unpaired surrogates, which registry names may hold, become U+FFFD.
std::string to_utf8(const std::wstring& utf16);
std::string to_utf8(const wchar_t* utf16, std::size_t count);

}  // namespace veltrano::platform::win32
