#include "veltrano_session.h"

#include "e2e_environment.h"

#include <string>

namespace veltrano::e2e {

using namespace veltrano::driver;

void VeltranoSession::SetUp() {
    exe_ = setting(L"VELTRANO_EXE");
    if (exe_.empty()) GTEST_SKIP() << "VELTRANO_EXE is not set: no veltrano.exe in this build yet";
    ASSERT_NO_FATAL_FAILURE(reset_machine());
    seed_machine();
    if (HasFatalFailure()) return;
    if (start_in_setup()) start();
}

void VeltranoSession::TearDown() {
    if (HasFailure() && app_.running()) {
        // Each read of the screen waits for the program's answer: ask once
        // first, so a hung program costs one deadline here, not one a control.
        DWORD_PTR ignored = 0;
        const bool answers = !main_ || SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_BLOCK,
                                                           static_cast<UINT>(kDefaultTimeout.count()), &ignored);
        std::string report = answers ? "screen at the failure:\n" + describe_screen() : "veltrano.exe does not answer\n";
        for (HWND dialog : answers ? dialogs_of_process(app_.id()) : std::vector<HWND>{})
            if (auto box = read_message_box(dialog))
                report += "message box \"" + to_utf8(box->title) + "\": " + to_utf8(box->text) + "\n";
        std::fputs(report.c_str(), stderr);
    }
    app_.terminate();
}

void VeltranoSession::reset_machine() {
    ASSERT_TRUE(delete_tree(HKEY_LOCAL_MACHINE, kStoreKey)) << "cannot clear HKLM\\SOFTWARE\\VELTRANO";
    const std::wstring fixture = setting(L"VELTRANO_MACHINE_REG");
    if (fixture.empty()) return;
    // Wine's own reg.exe is the importer: a second .reg parser of ours would
    // only be one more thing to test. /reg:64 because the program works on
    // the 64-bit view even as a 32-bit build, whose reg.exe would otherwise
    // write the redirected 32-bit one.
    const std::wstring command = L"reg.exe import \"" + to_windows_path(fixture) + L"\" /reg:64";
    // Under Wine a start of reg.exe right after the last test's program
    // was ended has once failed at CreateProcess. A run that did not start
    // or did not end is tried again (the import writes the same each time);
    // an import that reg.exe itself says failed is not.
    std::optional<DWORD> code;
    std::string refusals;
    for (int attempt = 0; attempt < 3 && !code; ++attempt) {
        code = run_to_completion(command);
        if (!code) refusals += " " + std::to_string(GetLastError());
    }
    ASSERT_EQ(code, std::optional<DWORD>(0))
        << "importing " << to_utf8(fixture) << " failed (not started or not ended, error" << refusals << ")";
}

void VeltranoSession::start() {
    ASSERT_NO_FATAL_FAILURE(launch());
    attach_main_window();
    // The window shows before the program has finished starting: the store's
    // set-up, the counters and the other pages come from its first message,
    // and its small windows last of all. A test that reads or writes the
    // registry itself waits for them.
    ASSERT_TRUE(wait_until([&] { return !windows_of_process(app_.id(), shell::win32::kBalloonClass, false).empty(); }))
        << "veltrano.exe never finished its start\n" << describe_screen();
}

void VeltranoSession::launch() {
    ASSERT_TRUE(app_.start(exe_, arguments())) << "cannot start " << to_utf8(exe_) << ": error " << GetLastError();
}

void VeltranoSession::attach_main_window() {
    if (english_title()) {
        main_ = find_top_window(kMainTitle, app_.id());
    } else {
        wait_until([&] { return !windows_of_process(app_.id(), shell::win32::kMainWindowClass, true).empty(); });
        const auto found = windows_of_process(app_.id(), shell::win32::kMainWindowClass, true);
        main_ = found.empty() ? nullptr : found.front();
    }
    ASSERT_NE(main_, nullptr) << "the main window never appeared";
}

void VeltranoSession::stop() {
    // Closing as the user would lets the program save what it saves on exit.
    if (main_ && IsWindow(main_)) PostMessageW(main_, WM_CLOSE, 0, 0);
    if (!app_.wait_for_exit()) ADD_FAILURE() << "veltrano.exe did not end after WM_CLOSE";
    app_.terminate();
    main_ = nullptr;
}

HWND VeltranoSession::control(const Selector& selector) {
    HWND found = find_control(main_, selector);
    EXPECT_NE(found, nullptr) << "no visible " << to_utf8(selector.describe()) << "\n" << describe_screen();
    return found;
}

std::vector<std::wstring> VeltranoSession::navigation_entries() const {
    const auto bars = find_controls(main_, Selector::by_class(L"ToolbarWindow32"));
    return bars.empty() ? std::vector<std::wstring>{} : toolbar_buttons(bars.front());
}

void VeltranoSession::click_caption(const wchar_t* caption) {
    // The navigation bar's entries are the buttons of a toolbar.
    if (const auto entry = find_toolbar_button(main_, caption)) {
        ASSERT_TRUE(click_toolbar_button(entry->toolbar, entry->index))
            << "the click on \"" << to_utf8(caption) << "\" was not delivered";
        return;
    }
    HWND target = control(Selector::by_caption(caption));
    ASSERT_NE(target, nullptr);
    ASSERT_TRUE(click(target)) << "the click on \"" << to_utf8(caption) << "\" was not delivered";
}

void VeltranoSession::settle() {
    ASSERT_TRUE(wait_until_idle(main_)) << "the program never came back to its main window\n" << describe_screen();
}

std::string VeltranoSession::describe_screen() const {
    std::string out;
    for (const ControlInfo& c : visible_children(main_))
        out += std::string(c.depth * 2, ' ') + to_utf8(c.class_name) + " \"" + to_utf8(c.text) + "\"\n";
    for (const std::wstring& entry : navigation_entries()) out += "navigation entry \"" + to_utf8(entry) + "\"\n";
    return out;
}

}  // namespace veltrano::e2e
