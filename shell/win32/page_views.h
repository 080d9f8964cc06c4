// The views, one per page's logic: each draws its page's controls into the
// builder's group box and binds every one to a member of the logic.
#pragma once

#include "admin/admin_page.h"
#include "admin/time_sync.h"
#include "procmon/process_monitor.h"
#include "regclean/regclean_page.h"
#include "shell/welcome.h"
#include "shell/win32/page_builder.h"
#include "tips/tip_page.h"
#include "tips/undo.h"

namespace veltrano::shell::win32 {

void build_welcome_page(const PageBuilder& b, WelcomePage& logic);         // welcome_page.cpp
void build_tip_page(const PageBuilder& b, tips::TipPage& logic);           // tip_pages.cpp
void build_undo_page(const PageBuilder& b, tips::UndoPage& logic);         // tip_pages.cpp
void build_regclean_page(const PageBuilder& b, regclean::RegCleanPage& logic);  // regclean_page.cpp
void build_process_monitor(const PageBuilder& b, procmon::ProcessMonitor& logic);  // procmon_page.cpp
void build_admin_page(const PageBuilder& b, admin::AdminPage& logic);      // admin_page.cpp
// Into the admin page's GroupBox28, by the admin page's view.
void build_time_sync_page(const PageBuilder& b, admin::TimeSyncPage& logic);  // time_sync_page.cpp

}  // namespace veltrano::shell::win32
