// What the tip pages' tests share: ticking by caption, pressing a page's
// buttons, reading the balloon and the activity log, and the registry
// paths of the tip state store.
#pragma once

#include "veltrano_session.h"

#include "tips/catalogue.h"

#include <optional>
#include <string>
#include <vector>

namespace veltrano::e2e {

inline const std::wstring kStateBase = L"SOFTWARE\\VELTRANO\\VERSION\\2.0";
std::wstring tip_key(int tip);
std::optional<DWORD> tip_flag(int tip);

inline constexpr wchar_t kChoose[] = L"Please make a choice before clicking on Boost Button ! ";
inline constexpr wchar_t kApplied[] = L"Congratulations ! Selected choices have been applied. ";
inline constexpr wchar_t kNoneApplied[] = L"None of the selected choices could be applied. The activity log says why. ";
inline constexpr wchar_t kAllApplied[] = L"All choices have already been selected and applied ";
inline constexpr wchar_t kUndoChoose[] = L"Please make a choice before clicking on Undo button !";
inline constexpr wchar_t kUndone[] = L"Congratulations ! Selected options have been UNDONE. ";

class TipsSession : public VeltranoSession {
protected:
    void go(const wchar_t* navigation_caption) { ASSERT_NO_FATAL_FAILURE(click_caption(navigation_caption)); }
    HWND tip_box(int tip);
    HWND box(const std::wstring& caption);
    void tick(int tip);
    void tick(const std::wstring& caption);
    // Presses a button and waits for the done balloon; returns its message
    // after closing it with a click on its body and waiting for the program
    // to be done with the press. nullopt: no balloon came; the press has
    // then not finished, so a test stops there rather than click on.
    std::optional<std::wstring> press_for_balloon(const wchar_t* button);
    // The same for a balloon brought up some other way (a key, say).
    std::optional<std::wstring> close_balloon();
    void press(const wchar_t* button);
    std::vector<std::wstring> log_lines() const;
    HWND balloon(driver::Millis wait) const;

    bool enabled(HWND control) const { return IsWindowEnabled(control) != FALSE; }
    bool checked(HWND control) const { return driver::is_checked(control).value_or(false); }
};

// The expected lines appear in the log in this order, others between them.
::testing::AssertionResult in_order(const std::vector<std::wstring>& log, const std::vector<std::wstring>& expected);

}  // namespace veltrano::e2e
