// The program used with the keyboard alone: keys reach only the page on
// screen, Tab and Shift+Tab go round every page and leave every control,
// each page's underlined letters are its own, the navigation bar is reached
// and shows where the user is, and a dialog closed gives the focus back.
#include "tips_session.h"

#include <commctrl.h>

#include <map>
#include <set>

namespace veltrano::e2e {
namespace {

using namespace veltrano::driver;

using Keys = std::initializer_list<std::pair<WORD, bool>>;

HWND focus_of(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

void press_key(WORD key) { send_keys({{key, true}, {key, false}}); }
void press_with(WORD modifier, WORD key) { send_keys({{modifier, true}, {key, true}, {key, false}, {modifier, false}}); }

// The page group boxes, in navigation order, with the entry's shortcut digit.
struct Page {
    const wchar_t* frame;
    WORD digit;
};
constexpr Page kPages[] = {
    {L"Main Screen", '1'},
    {L"Your network boosting choices", '2'},
    {L"Your power saving choices", '3'},
    {L"Your system tuning choices", '4'},
    {L"Your customization choices", '5'},
    {L"Undo Options", '6'},
    {L"Registry Analyser and Cleaner", '7'},
    {L"List of processes in memory", '8'},
    {L"Admin Options", '9'},
};

class KeyboardOnly : public TipsSession {
protected:
    HWND focus() const { return focus_of(main_window()); }

    // Keys go through the input queue: the program has taken them once it
    // is idle again, and then it must answer at once.
    ::testing::AssertionResult answers() const {
        if (!wait_until_idle(main_window())) return ::testing::AssertionFailure() << "still busy";
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(main_window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result))
            return ::testing::AssertionFailure() << "no answer within a second";
        return ::testing::AssertionSuccess();
    }

    void show_page(const Page& page) {
        press_with(VK_CONTROL, page.digit);
        ASSERT_TRUE(wait_until([&] { return shown(Selector::by_caption(page.frame)); })) << to_utf8(page.frame);
        ASSERT_TRUE(answers());
    }

    HWND navigation_bar() const {
        auto entry = find_toolbar_button(main_window(), L"Main");
        return entry ? entry->toolbar : nullptr;
    }

    // One Tab (or Shift+Tab), waited for: the focus must move.
    ::testing::AssertionResult tab(bool backwards = false) const {
        HWND before = focus();
        if (backwards)
            send_keys({{VK_SHIFT, true}, {VK_TAB, true}, {VK_TAB, false}, {VK_SHIFT, false}});
        else
            press_key(VK_TAB);
        if (wait_until([&] { return focus() != before; })) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "Tab stayed on a " << to_utf8(class_of(before)) << " \""
                                             << to_utf8(text_of(before)) << "\"";
    }
    ::testing::AssertionResult tab_to(HWND target, bool backwards = false) const {
        for (int i = 0; i < 80 && focus() != target; ++i)
            if (auto moved = tab(backwards); !moved) return moved;
        if (focus() == target) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "Tab never reached the " << to_utf8(class_of(target));
    }

    HWND terms_window() const {
        auto windows = windows_of_process(process_id(), shell::win32::kTermsOfUseClass, true);
        return windows.empty() ? nullptr : windows.front();
    }
};

TEST_F(KeyboardOnly, KeysNeverReachAHiddenPageAndTheWindowKeepsAnswering) {
    // Focus on the welcome page, then its page hidden under the focus.
    send_keys({{VK_TAB, true}, {VK_TAB, false}, {VK_TAB, true}, {VK_TAB, false}});
    ASSERT_NO_FATAL_FAILURE(show_page(kPages[1]));
    // A letter alone is an underlined letter to the dialog manager: "&Terms
    // of use" is the hidden page's. (Space would press the help button that
    // now has the focus, rightly.)
    press_key('T');
    ASSERT_TRUE(answers());
    EXPECT_EQ(terms_window(), nullptr) << "a hidden page's button acted";
    EXPECT_TRUE(shown(Selector::by_caption(kPages[1].frame)));

    // Select All of the Power page, from the System page on screen.
    ASSERT_NO_FATAL_FAILURE(show_page(kPages[2]));
    press_key(VK_TAB);
    ASSERT_NO_FATAL_FAILURE(show_page(kPages[3]));
    press_with(VK_MENU, 'S');
    ASSERT_TRUE(answers());
    EXPECT_TRUE(wait_until([&] { return checked(tip_box(13)) && checked(tip_box(30)); })) << "Alt+S on the page shown";
    ASSERT_NO_FATAL_FAILURE(show_page(kPages[2]));
    // An applied tip's box stands checked and disabled; the others were
    // for Select All to tick.
    for (int tip = 8; tip <= 12; ++tip)
        if (enabled(tip_box(tip))) EXPECT_FALSE(checked(tip_box(tip))) << "hidden Power page ticked tip " << tip;
}

TEST_F(KeyboardOnly, AltAAppliesOnEveryTipPageAndAltSSelectsAll) {
    for (const Page& page : {kPages[1], kPages[2], kPages[3], kPages[4]}) {
        SCOPED_TRACE(to_utf8(page.frame));
        ASSERT_NO_FATAL_FAILURE(show_page(page));
        press_with(VK_MENU, 'S');
        press_with(VK_MENU, 'A');
        const auto said = close_balloon();
        ASSERT_TRUE(said.has_value()) << "Alt+A brought no balloon";
        EXPECT_NE(*said, kChoose) << "Alt+A did not come after Alt+S ticked the tips";
    }
    for (int tip : {1, 8, 13, 31}) EXPECT_TRUE(tip_flag(tip).value_or(0)) << "tip " << tip << " not applied";
}

// Every page: Tab and Shift+Tab always move on, never onto a control out of
// view, and come back round; no two controls share an underlined letter.
TEST_F(KeyboardOnly, TabGoesRoundEveryPageAndEachLetterIsThePagesOwn) {
    for (const Page& page : kPages) {
        SCOPED_TRACE(to_utf8(page.frame));
        ASSERT_NO_FATAL_FAILURE(show_page(page));
        HWND panel = find_control(main_window(), Selector::by_caption(page.frame));
        ASSERT_TRUE(panel);
        EXPECT_TRUE(IsChild(panel, focus())) << "the page shown has no focus";

        std::map<wchar_t, std::wstring> letters;
        for (const ControlInfo& c : visible_children(main_window())) {
            if (c.class_name != L"Button" || !IsChild(panel, c.hwnd)) continue;
            const auto amp = c.text.find(L'&');
            if (amp == std::wstring::npos || amp + 1 >= c.text.size()) continue;
            const wchar_t letter = static_cast<wchar_t>(towupper(c.text[amp + 1]));
            auto [at, fresh] = letters.emplace(letter, c.text);
            EXPECT_TRUE(fresh) << "Alt+" << static_cast<char>(letter) << ": \"" << to_utf8(at->second) << "\" and \""
                               << to_utf8(c.text) << "\"";
        }

        for (bool backwards : {false, true}) {
            std::set<HWND> visited;
            HWND start = focus();
            for (int step = 0; step < 80; ++step) {
                ASSERT_TRUE(tab(backwards));
                HWND now = focus();
                EXPECT_TRUE(IsWindowVisible(now)) << "focus on a hidden " << to_utf8(class_of(now));
                visited.insert(now);
                if (now == start) break;
            }
            EXPECT_EQ(focus(), start) << "Tab never came round";
            EXPECT_TRUE(visited.count(navigation_bar())) << "the navigation bar is no Tab stop: " << [&] {
                std::string seen;
                for (HWND hwnd : visited) seen += to_utf8(class_of(hwnd)) + " \"" + to_utf8(text_of(hwnd)) + "\"; ";
                return seen;
            }();
        }
    }
}

// Going round the pages both ways is the logic's, tested natively; here the
// keys reach it and the bar shows the page.
TEST_F(KeyboardOnly, TheBarShowsThePageShownAndCtrlTabMovesOn) {
    HWND bar = navigation_bar();
    ASSERT_TRUE(bar);
    auto pressed = [&](int index) { return toolbar_button_checked(bar, index); };
    EXPECT_TRUE(pressed(0));
    press_with(VK_CONTROL, VK_TAB);
    ASSERT_TRUE(wait_until([&] { return shown(Selector::by_caption(kPages[1].frame)); }));
    EXPECT_TRUE(wait_until([&] { return pressed(1) && !pressed(0); }));

    // On the bar the arrows pick an entry and Enter shows it.
    ASSERT_TRUE(answers());
    ASSERT_TRUE(tab_to(bar));
    press_key(VK_END);
    press_key(VK_HOME);
    press_key(VK_RIGHT);
    press_key(VK_RETURN);
    EXPECT_TRUE(wait_until([&] { return shown(Selector::by_caption(kPages[1].frame)); }));
    EXPECT_EQ(focus(), bar) << "going along the bar, the focus stays on it";
}

TEST_F(KeyboardOnly, CtrlZeroAsksAndNoKeepsTheProgram) {
    press_with(VK_CONTROL, '0');
    auto box = find_message_box(process_id());
    ASSERT_TRUE(box.has_value()) << "Ctrl+0 asked nothing";
    EXPECT_EQ(box->text, L"Do you want to close Veltrano now?");
    EXPECT_EQ(box->default_button, L"No");
    ASSERT_TRUE(press_message_box_button(box->hwnd, L"No"));
    EXPECT_TRUE(answers());
    EXPECT_TRUE(IsWindowVisible(main_window()));
}

TEST_F(KeyboardOnly, EscClosesTheTermsOfUseAndTheFocusGoesBack) {
    HWND terms_button = control(Selector::by_caption(L"Terms of use"));
    ASSERT_TRUE(tab_to(terms_button));
    press_key(VK_SPACE);
    ASSERT_TRUE(wait_until([&] { return terms_window() != nullptr; }));
    press_key(VK_ESCAPE);
    ASSERT_TRUE(wait_until([&] { return terms_window() == nullptr; })) << "Esc left the Terms of use open";
    ASSERT_TRUE(answers()) << "the program ended or hung";
    EXPECT_TRUE(wait_until([&] { return focus() == terms_button; })) << "the focus did not come back";
}

// The cleaner from start to finish: a scan started and stopped by their
// letters, then rows picked with the keys and described as a click would.
class KeyboardCleaner : public KeyboardOnly {
protected:
    const std::wstring key = L"Software\\VeltranoE2E";
    void seed_machine() override {
        ASSERT_TRUE(delete_tree(HKEY_CURRENT_USER, key));
        ASSERT_TRUE(write_string(HKEY_CURRENT_USER, key + L"\\Refs", L"Folder", L"C:\\NoSuchFolder"));
        ASSERT_TRUE(write_string(HKEY_CURRENT_USER, key + L"\\Refs", L"File", L"C:\\NoSuchFolder\\x.dll"));
    }
    void TearDown() override {
        KeyboardOnly::TearDown();
        delete_tree(HKEY_CURRENT_USER, key);
    }
};

TEST_F(KeyboardCleaner, TheCleanerIsUsedStartToFinishFromTheKeyboard) {
    ASSERT_NO_FATAL_FAILURE(show_page(kPages[6]));
    HWND start = control(Selector::by_caption(L"Start Registry Scan"));
    HWND stop = control(Selector::by_caption(L"Stop Registry Scan"));
    HWND grid = control(L"@SysListView32");
    HWND description = FindWindowExW(control(Selector::by_caption(L"Selected Entry")), nullptr, L"Edit", nullptr);
    ASSERT_TRUE(start && stop && grid && description);

    // A scan of the prefix takes seconds: long enough to see it running.
    auto scanning = [&] { return wait_until([&] { return !IsWindowEnabled(start); }, Millis{60000}); };
    auto scanned = [&] { return wait_until([&] { return IsWindowEnabled(start); }, Millis{60000}); };
    press_with(VK_MENU, 'S');
    ASSERT_TRUE(scanning());
    EXPECT_TRUE(wait_until([&] { return focus() == stop; })) << "the focus did not go to Stop";
    press_with(VK_MENU, 'T');
    ASSERT_TRUE(scanned());
    EXPECT_TRUE(wait_until([&] { return focus() == start; })) << "after the scan the focus is nowhere";

    press_with(VK_MENU, 'S');
    ASSERT_TRUE(scanning());
    ASSERT_TRUE(scanned());
    ASSERT_GT(SendMessageW(grid, LVM_GETITEMCOUNT, 0, 0), 1);
    ASSERT_TRUE(answers());
    ASSERT_TRUE(tab_to(grid, true));
    // Each row reached by a key is described as a click would.
    for (WORD key : {VK_DOWN, VK_END, VK_HOME}) {
        const std::wstring before = text_of(description);
        press_key(key);
        EXPECT_TRUE(wait_until([&] { return text_of(description) != before; }))
            << "key " << key << " picked a row and said nothing: " << to_utf8(before);
    }
}

}  // namespace
}  // namespace veltrano::e2e
