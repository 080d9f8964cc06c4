// The process monitor's view, inside GroupBox17.
#pragma once

#include "procmon/process_monitor.h"
#include "ui/win32/page_builder.h"

namespace veltrano::procmon::win32 {

void build_process_monitor(const ui::win32::PageBuilder& b, procmon::ProcessMonitor& logic);

}  // namespace veltrano::procmon::win32
