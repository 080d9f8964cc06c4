#include "tips_session.h"

namespace veltrano::e2e {

using namespace veltrano::driver;

std::wstring tip_key(int tip) {
    wchar_t name[16];
    swprintf(name, 16, L"\\TIP%04d", tip);
    return kStateBase + name;
}

std::optional<DWORD> tip_flag(int tip) {
    return read_dword(HKEY_LOCAL_MACHINE, tip_key(tip), L"HasThisTipBeenApplied");
}

HWND TipsSession::box(const std::wstring& caption) { return control(Selector::by(L"Button", caption)); }

HWND TipsSession::tip_box(int tip) { return box(from_utf8(tips::tip_display(tip).caption)); }

void TipsSession::tick(const std::wstring& caption) {
    HWND target = box(caption);
    ASSERT_NE(target, nullptr);
    ASSERT_TRUE(click(target, ClickMethod::ButtonMessage));
    ASSERT_TRUE(wait_until([&] { return checked(target); })) << to_utf8(caption) << " not ticked";
}

void TipsSession::tick(int tip) { tick(from_utf8(tips::tip_display(tip).caption)); }

void TipsSession::press(const wchar_t* button) {
    HWND target = control(Selector::by(L"Button", button));
    ASSERT_NE(target, nullptr);
    ASSERT_TRUE(click(target, ClickMethod::ButtonMessage)) << to_utf8(button);
}

// By its class: its title, "Done", is in the language shown.
HWND TipsSession::balloon(Millis wait) const {
    HWND found = nullptr;
    wait_until(
        [&] {
            const auto shown = windows_of_process(process_id(), shell::win32::kBalloonClass, true);
            found = shown.empty() ? nullptr : shown.front();
            return found != nullptr;
        },
        wait);
    return found;
}

std::optional<std::wstring> TipsSession::press_for_balloon(const wchar_t* button) {
    press(button);
    return close_balloon();
}

std::optional<std::wstring> TipsSession::close_balloon() {
    HWND shown = balloon(kDefaultTimeout);
    if (!shown) return std::nullopt;
    // Label1 is the balloon's first control.
    HWND label = find_control(shown, Selector::by_class(L"Static"));
    const std::wstring text = label ? text_of(label) : L"";
    // The shape as the mouse meets it: the ellipse and the tail are the
    // balloon's, the corner above the ellipse is not.
    const RECT r = screen_rect_of(shown);
    EXPECT_EQ(WindowFromPoint(POINT{r.left + 20, r.top + 120}), shown) << "ellipse";
    EXPECT_EQ(WindowFromPoint(POINT{r.left + 240, r.top + 205}), shown) << "tail";
    EXPECT_NE(WindowFromPoint(POINT{r.left + 5, r.top + 40}), shown) << "corner";
    // A click on the body, inside the ellipse and off its texts.
    PostMessageW(shown, WM_LBUTTONUP, 0, MAKELPARAM(20, 120));
    EXPECT_TRUE(wait_until([&] { return !is_visible(shown); })) << "a click did not close the balloon";
    EXPECT_TRUE(wait_until_idle(main_window())) << "the program stayed busy after the balloon";
    return text;
}

std::vector<std::wstring> TipsSession::log_lines() const {
    for (HWND list : find_controls(main_window(), Selector::by_class(L"ListBox")))
        if (GetParent(list) == main_window()) return listbox_lines(list);
    return {};
}

::testing::AssertionResult in_order(const std::vector<std::wstring>& log, const std::vector<std::wstring>& expected) {
    std::size_t at = 0;
    for (const std::wstring& want : expected) {
        while (at < log.size() && log[at] != want) ++at;
        if (at == log.size()) {
            auto failure = ::testing::AssertionFailure() << "missing or out of order: \"" << to_utf8(want)
                                                         << "\"\nlog:\n";
            for (const auto& line : log) failure << "  " << to_utf8(line) << "\n";
            return failure;
        }
        ++at;
    }
    return ::testing::AssertionSuccess();
}

}  // namespace veltrano::e2e
