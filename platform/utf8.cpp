#include "platform/utf8.h"

namespace veltrano::platform {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

}  // namespace

std::size_t utf8_sequence_length(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80                   ? 1
                               : lead >= 0xC2 && lead < 0xE0 ? 2
                               : lead >= 0xE0 && lead < 0xF0 ? 3
                               : lead >= 0xF0 && lead < 0xF5 ? 4
                                                             : 0;
    if (length == 0 || i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k)
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
    return length;
}

std::u32string decode_utf8(std::string_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8_sequence_length(text, i);
        if (length == 0) {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        const auto lead = static_cast<unsigned char>(text[i]);
        char32_t code_point = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k)
            code_point = (code_point << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out.push_back(code_point);
        i += length;
    }
    return out;
}

std::u16string utf8_to_utf16(std::string_view text) {
    std::u16string out;
    for (char32_t code_point : decode_utf8(text)) encode_utf16(code_point, out);
    return out;
}

void encode_utf8(char32_t code_point, std::string& out) {
    if (code_point < 0x80) {
        out += static_cast<char>(code_point);
    } else if (code_point < 0x800) {
        out += static_cast<char>(0xC0 | (code_point >> 6));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    } else if (code_point < 0x10000) {
        out += static_cast<char>(0xE0 | (code_point >> 12));
        out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code_point >> 18));
        out += static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    }
}

void encode_utf16(char32_t code_point, std::u16string& out) {
    if (code_point >= 0x10000) {
        code_point -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (code_point >> 10));
        out += static_cast<char16_t>(0xDC00 + (code_point & 0x3FF));
    } else {
        out += static_cast<char16_t>(code_point);
    }
}

}  // namespace veltrano::platform
