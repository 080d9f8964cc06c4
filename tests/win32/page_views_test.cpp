// Every page whose row makes logic is drawn by a view that takes that
// logic: a page name mistyped or a view bound to the wrong logic would
// otherwise show as an empty page, found only by someone clicking there.
#include "shell/page_table.h"
#include "shell/win32/page_views.h"
#include "support/form_fixture.h"

namespace veltrano {

namespace {

using PageViews = fakes::FormFixture;

TEST_F(PageViews, EveryPageWithLogicHasTheViewForThatLogic) {
    const auto rows = shell::page_table();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(std::string(rows[i].group_box));
        ui::Page* logic = form.page(i);
        ASSERT_NE(logic, nullptr) << "every page of the program has logic";
        const shell::win32::PageView* view = shell::win32::find_page_view(rows[i].group_box);
        ASSERT_NE(view, nullptr);
        EXPECT_TRUE(view->fits(*logic));
    }
}

}  // namespace

}  // namespace veltrano
