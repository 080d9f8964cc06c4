// The registry analyser and cleaner's view, inside GroupBox14.
#pragma once

#include "regclean/regclean_page.h"
#include "ui/win32/page_builder.h"

namespace veltrano::regclean::win32 {

void build_regclean_page(const ui::win32::PageBuilder& b, regclean::RegCleanPage& logic);

}  // namespace veltrano::regclean::win32
