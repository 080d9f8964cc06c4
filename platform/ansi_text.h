// Text that is not UTF-8: what XP's Notepad saves as "ANSI", in the code page
// of the machine's language. Only Windows knows which page that is, and how
// its bytes read.
#pragma once

#include <string>
#include <string_view>

namespace veltrano::platform {

class AnsiText {
public:
    virtual ~AnsiText() = default;
    // The bytes read in the machine's ANSI code page, as UTF-8.
    virtual std::string to_utf8(std::string_view bytes) const = 0;
};

}  // namespace veltrano::platform
