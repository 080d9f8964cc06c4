// What a screen reader finds: every control the user can work has a name,
// on every page and in every dialog, and each dialog is named by what it is.
#include "tips_session.h"

#include "driver/accessibility.h"

namespace veltrano::e2e {
namespace {

using namespace veltrano::driver;

// The navigation's entries, and on the Admin page the buttons of its
// sub-pages: each shows controls of its own.
const wchar_t* const kPages[] = {L"Main",     L"Network", L"Power",  L"System",       L"Customize",
                                 L"Undo ",    L"RegClean", L"Process", L"Admin",       L"&Auto logon",
                                 L"&Control Panel", L"U&tility Apps", L"Ti&me Sync"};

::testing::AssertionResult all_named(HWND top, const std::wstring& where) {
    const std::vector<ControlInfo> unnamed = unnamed_controls(top);
    if (unnamed.empty()) return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure() << unnamed.size() << " unnamed on " << to_utf8(where) << ":";
    for (const ControlInfo& c : unnamed)
        failure << "\n  " << to_utf8(c.class_name) << " \"" << to_utf8(c.text) << "\" at " << c.screen_rect.left << ","
                << c.screen_rect.top;
    return failure;
}

class Accessibility : public TipsSession {};

TEST_F(Accessibility, EveryPageHasNoUnnamedControl) {
    for (const wchar_t* page : kPages) {
        ASSERT_NO_FATAL_FAILURE(go(page));
        ASSERT_TRUE(wait_until_idle(main_window()));
        EXPECT_TRUE(all_named(main_window(), page));
    }
}

TEST_F(Accessibility, EveryDialogIsNamedByWhatItIsAndHasNoUnnamedControl) {
    // Shown from the welcome page.
    ASSERT_NO_FATAL_FAILURE(click_caption(L"&Terms of use"));
    HWND terms = find_top_window(L"Terms of use", process_id());
    ASSERT_NE(terms, nullptr);
    EXPECT_TRUE(all_named(terms, L"Terms of use"));
    ASSERT_TRUE(click(find_control(terms, Selector::by_caption(L"&Yes, I Agree"))));
    ASSERT_TRUE(wait_until_idle(main_window()));

    // Shown after an Apply with nothing ticked.
    ASSERT_NO_FATAL_FAILURE(go(L"Network"));
    ASSERT_NO_FATAL_FAILURE(press(L"&Apply"));
    HWND done = balloon(kDefaultTimeout);
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(class_of(done), shell::win32::kBalloonClass);
    EXPECT_TRUE(all_named(done, L"the balloon"));

    // The help viewer finds no browser engine under Wine, and this system
    // is of the NT family: those two are read while hidden, as they would show.
    const struct {
        const wchar_t* cls;
        const wchar_t* name;
    } hidden[] = {{shell::win32::kNotCompatibleClass, L"Not compatible"}, {shell::win32::kHelpViewerClass, L"Help"}};
    for (const auto& dialog : hidden) {
        const std::vector<HWND> found = windows_of_process(process_id(), dialog.cls, false);
        ASSERT_EQ(found.size(), 1u) << to_utf8(dialog.cls);
        EXPECT_EQ(text_of(found.front()), dialog.name);
        EXPECT_TRUE(all_named(found.front(), dialog.name));
    }
}

}  // namespace
}  // namespace veltrano::e2e
