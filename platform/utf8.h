// UTF-8, the program's text everywhere but at the Windows API and in .reg
// files: one decoder for every place that reads it byte by byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace veltrano::platform {

// The length (1 to 4) of the well-formed UTF-8 sequence that starts at
// text[i], or 0 when none does there: a continuation byte out of place, a
// lead byte that starts no sequence (C0, C1, F5 to FF), a sequence cut short
// or broken by a byte that does not continue it.
std::size_t utf8_sequence_length(std::string_view text, std::size_t i);
// The code points of the text. Malformed bytes each become U+FFFD, as
// Windows' own conversion does, and decoding goes on at the next byte.
std::u32string decode_utf8(std::string_view text);
// The text as UTF-16, by the same rules.
std::u16string utf8_to_utf16(std::string_view text);
// Appends one code point.
void encode_utf8(char32_t code_point, std::string& out);
// Appends one code point, beyond the BMP as a surrogate pair.
void encode_utf16(char32_t code_point, std::u16string& out);

}  // namespace veltrano::platform
