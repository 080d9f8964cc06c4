// Windows' line ends for a text kept with "\n" alone: the catalogue's texts
// carry no "\r", which translators' tools refuse, and the console and the
// message boxes get "\r\n" as they always did.
#pragma once

#include <string>
#include <string_view>

namespace veltrano::shell {

inline std::string with_crlf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 64);
    for (const char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

}  // namespace veltrano::shell
