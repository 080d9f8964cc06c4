// The rig every end-to-end test stands on: a machine reset to the XP
// fixture with no Veltrano state, veltrano.exe started as our own child, its
// main window found, and the child ended after the test whatever happened.
#pragma once

#include "driver/driver.h"
#include "driver/process.h"
#include "driver/registry_probe.h"
#include "shell/win32/window_classes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace veltrano::e2e {

inline constexpr wchar_t kMainTitle[] = L"Veltrano 3.1 for Micrsoft Windows XP Professional";
inline constexpr wchar_t kStoreKey[] = L"SOFTWARE\\VELTRANO";

class VeltranoSession : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs between the reset and the start: a test that needs state in the
    // registry before the program sees it writes it here.
    virtual void seed_machine() {}
    // A test that wants to start the program itself (twice, say) says so.
    virtual bool start_in_setup() const { return true; }
    // What the program is started with: a test in another language says
    // /lang and its code, and finds the window by its class, whatever its
    // title then says.
    virtual std::vector<std::wstring> arguments() const { return {}; }
    virtual bool english_title() const { return true; }

    // Starts veltrano.exe and waits for its main window.
    void start();
    // The two halves of start(), for a test that has to answer something
    // (an error box, say) before the main window shows.
    void launch();
    void attach_main_window();
    // Ends the program and waits until it is gone; its registry writes are
    // then all visible to us.
    void stop();

    HWND main_window() const { return main_; }
    DWORD process_id() const { return app_.id(); }
    // Waits for a visible control inside the main window; fails the test if
    // it never shows.
    HWND control(const driver::Selector& selector);
    HWND control(const wchar_t* selector) { return control(driver::Selector::parse(selector)); }
    bool shown(const driver::Selector& selector) const { return !driver::find_controls(main_, selector).empty(); }
    // A control's, or a navigation entry's.
    void click_caption(const wchar_t* caption);
    // The navigation bar's entries, in order.
    std::vector<std::wstring> navigation_entries() const;
    // Waits until the program has finished handling the last step: nothing
    // modal over the main window and its thread back at the message loop.
    // What must not have happened is checked after this, without waiting.
    void settle();

    // Every visible control, one a line, for failure reports.
    std::string describe_screen() const;

private:
    void reset_machine();

    std::wstring exe_;
    driver::ChildProcess app_;
    HWND main_ = nullptr;
};

}  // namespace veltrano::e2e
