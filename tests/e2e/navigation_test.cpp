// The first thing a user does: open the program and walk the navigation bar.
// Each entry shows its own page and no other; the activity log shows only
// beside the pages short enough to leave room for it.
#include "veltrano_session.h"

#include <algorithm>
#include <cstdio>

namespace veltrano::e2e {
namespace {

using namespace veltrano::driver;

constexpr wchar_t kLogLabel[] = L"Log of activities carried out in this session";

struct Entry {
    const wchar_t* caption;
    const wchar_t* page;
    bool shows_log;
};

constexpr Entry kNavigation[] = {
    {L"Main", L"Main Screen", false},
    {L"Network", L"Your network boosting choices", true},
    {L"Power", L"Your power saving choices", true},
    {L"System", L"Your system tuning choices", true},
    {L"Customize", L"Your customization choices", true},
    {L"Undo ", L"Undo Options", true},
    {L"RegClean", L"Registry Analyser and Cleaner", false},
    // Opening the process monitor lists the processes and says so on its frame.
    {L"Process", L"List of processes in memory", false},
    {L"Admin", L"Admin Options", true},
};

class Navigation : public VeltranoSession {
protected:
    // The captions of the pages on screen now. Any class will do: a page is
    // known by the caption on its frame, as the user knows it.
    std::vector<std::wstring> visible_pages() const {
        std::vector<std::wstring> pages;
        for (const Entry& entry : kNavigation)
            if (shown(Selector::by_caption(entry.page))) pages.push_back(entry.page);
        return pages;
    }

    ::testing::AssertionResult only_page_shown(const wchar_t* page) const {
        const bool settled = wait_until([&] { return visible_pages() == std::vector<std::wstring>{page}; });
        if (settled) return ::testing::AssertionSuccess();
        auto failure = ::testing::AssertionFailure() << "expected only \"" << to_utf8(page) << "\"; shown:";
        for (const auto& p : visible_pages()) failure << " \"" << to_utf8(p) << "\"";
        return failure;
    }

    // The log list box is the one outside every page.
    HWND activity_log() const {
        for (HWND box : find_controls(main_window(), Selector::by_class(L"ListBox"))) {
            const std::wstring parent_text = text_of(GetParent(box));
            const bool on_a_page = std::any_of(std::begin(kNavigation), std::end(kNavigation),
                                               [&](const Entry& e) { return parent_text == e.page; });
            if (!on_a_page) return box;
        }
        return nullptr;
    }
};

TEST_F(Navigation, StartsWithOnePageAndListsItsControls) {
    std::printf("visible controls at start:\n%s", describe_screen().c_str());
    EXPECT_EQ(visible_pages().size(), 1u);
    std::vector<std::wstring> entries;
    for (const Entry& entry : kNavigation) entries.push_back(entry.caption);
    entries.push_back(L"Exit");
    EXPECT_EQ(navigation_entries(), entries);
}

TEST_F(Navigation, EachEntryShowsItsPageAloneAndTheLogWhereItFits) {
    // Forwards and then backwards, so no page depends on the one before it.
    std::vector<Entry> walk(std::begin(kNavigation), std::end(kNavigation));
    walk.insert(walk.end(), std::rbegin(kNavigation), std::rend(kNavigation));
    for (const Entry& entry : walk) {
        SCOPED_TRACE(to_utf8(entry.caption));
        ASSERT_NO_FATAL_FAILURE(click_caption(entry.caption));
        ASSERT_TRUE(only_page_shown(entry.page));
        ASSERT_NO_FATAL_FAILURE(settle());
        EXPECT_EQ(activity_log() != nullptr, entry.shows_log) << "activity log";
        EXPECT_EQ(shown(Selector::by_caption(kLogLabel)), entry.shows_log) << "log label";
    }
}

TEST_F(Navigation, ControlWithADigitReachesEachEntryFromTheKeyboard) {
    // The bar's pictures take no focus; Ctrl+1 to Ctrl+9 are its entries in
    // order (Ctrl+0 would be Exit).
    ASSERT_NO_FATAL_FAILURE(click_caption(L"Main"));
    for (std::size_t i = std::size(kNavigation); i-- > 0;) {
        SCOPED_TRACE(to_utf8(kNavigation[i].caption));
        const WORD digit = static_cast<WORD>('1' + i);
        send_keys({{VK_CONTROL, true}, {digit, true}, {digit, false}, {VK_CONTROL, false}});
        EXPECT_TRUE(only_page_shown(kNavigation[i].page));
    }
}

}  // namespace
}  // namespace veltrano::e2e
