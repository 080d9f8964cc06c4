// The views, one per page's logic: each draws its page's controls into the
// builder's group box and binds every one to a member of the logic. Each
// page's view lives beside its logic (tips/win32, regclean/win32, ...); the
// main screen's is the shell's own.
#pragma once

#include "admin/win32/admin_page.h"
#include "procmon/win32/procmon_page.h"
#include "regclean/win32/regclean_page.h"
#include "shell/welcome.h"
#include "tips/win32/tip_pages.h"
#include "ui/win32/page_builder.h"

namespace veltrano::shell::win32 {

void build_welcome_page(const ui::win32::PageBuilder& b, WelcomePage& logic);  // welcome_page.cpp

// The view of a page; null for a page that is a frame only.
const ui::win32::PageView* find_page_view(std::string_view page);

}  // namespace veltrano::shell::win32
