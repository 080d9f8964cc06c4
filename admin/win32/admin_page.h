// The admin page's view, inside GroupBox18, and its Time Sync sub-page's,
// which the admin page's view draws into GroupBox28.
#pragma once

#include "admin/admin_page.h"
#include "admin/time_sync.h"
#include "ui/win32/page_builder.h"

namespace veltrano::admin::win32 {

void build_admin_page(const ui::win32::PageBuilder& b, admin::AdminPage& logic);
void build_time_sync_page(const ui::win32::PageBuilder& b, admin::TimeSyncPage& logic);

}  // namespace veltrano::admin::win32
