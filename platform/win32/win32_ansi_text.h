#pragma once

#include "platform/ansi_text.h"

namespace veltrano::platform::win32 {

class Win32AnsiText : public AnsiText {
public:
    std::string to_utf8(std::string_view bytes) const override;
};

}  // namespace veltrano::platform::win32
