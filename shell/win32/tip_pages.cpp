#include "shell/win32/page_builder.h"

namespace veltrano::shell::win32 {

void build_tip_pages(const PageBuilder&) {}

}  // namespace veltrano::shell::win32
