// Which view draws which page. The pages are named by the constants their
// logic and the page table use, so a page cannot lose its view to a typo.
#include "shell/win32/page_views.h"

#include <array>

namespace veltrano::shell::win32 {

using namespace ui::win32;

namespace {

using tips::Group;
using tips::group_display;

const std::array<PageView, 9> kPageViews{{
    view(kWelcomePage, build_welcome_page),
    view(group_display(Group::Network).group_box, tips::win32::build_tip_page),
    view(group_display(Group::Power).group_box, tips::win32::build_tip_page),
    view(group_display(Group::System).group_box, tips::win32::build_tip_page),
    view(group_display(Group::Customization).group_box, tips::win32::build_tip_page),
    view(tips::kUndoGroupBox, tips::win32::build_undo_page),
    view(regclean::kPage, regclean::win32::build_regclean_page),
    view(procmon::kPage, procmon::win32::build_process_monitor),
    view(admin::kPage, admin::win32::build_admin_page),
}};

}  // namespace

const PageView* find_page_view(std::string_view page) {
    for (const PageView& v : kPageViews)
        if (v.page == page) return &v;
    return nullptr;
}

}  // namespace veltrano::shell::win32
