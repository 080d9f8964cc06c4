// What the first start of Veltrano leaves on a machine, seen from outside:
// the state store, the flags derived from the machine's settings, the two
// counters and an activity log that keeps none of the set-up's narration.
#include "veltrano_session.h"

#include <algorithm>
#include <string>

namespace veltrano::e2e {
namespace {

using namespace veltrano::driver;

const std::wstring kStore = L"SOFTWARE\\VELTRANO\\VERSION\\2.0";
const std::wstring kDnsCache = L"SYSTEM\\CurrentControlSet\\Services\\Dnscache\\Parameters";
const wchar_t* const kDnsValues[] = {L"CacheHashTableBucketSize", L"CacheHashTableSize", L"MaxCacheEntryTtlLimit",
                                     L"MaxSOACacheEntryTtlLimit"};

std::wstring tip_key(int n) {
    wchar_t buf[16];
    swprintf(buf, 16, L"TIP%04d", n);
    return kStore + L"\\" + buf;
}

std::optional<DWORD> flag(int n) { return read_dword(HKEY_LOCAL_MACHINE, tip_key(n), L"HasThisTipBeenApplied"); }

// The activity log as the user reads it, from a page that shows it.
std::vector<std::wstring> log_lines(HWND main) {
    for (HWND box : find_controls(main, Selector::by_class(L"ListBox")))
        if (text_of(GetParent(box)) == kMainTitle) return listbox_lines(box);
    return {};
}

class FirstRun : public VeltranoSession {
protected:
    // Tip 1's DNS cache values as a machine fresh from setup has them: none.
    void seed_machine() override {
        for (const wchar_t* name : kDnsValues) delete_value(HKEY_LOCAL_MACHINE, kDnsCache, name);
    }
};

TEST_F(FirstRun, CreatesAStateKeyWithRecordsForEveryTip) {
    stop();
    for (int n = 1; n <= 48; ++n) {
        SCOPED_TRACE(n);
        EXPECT_TRUE(key_exists(HKEY_LOCAL_MACHINE, tip_key(n) + L"\\OLD_VALUES"));
        EXPECT_TRUE(key_exists(HKEY_LOCAL_MACHINE, tip_key(n) + L"\\NEW_VALUES"));
        EXPECT_TRUE(flag(n).has_value());
        EXPECT_TRUE(read_string(HKEY_LOCAL_MACHINE, tip_key(n), L"LastDateThisTipApplied").has_value());
    }
    EXPECT_FALSE(key_exists(HKEY_LOCAL_MACHINE, kStore + L"\\TIP0049"));
    EXPECT_EQ(flag(1), std::optional<DWORD>(0));
}

TEST_F(FirstRun, WritesBothCountersWithTheStartCountMatchingTheFlags) {
    stop();
    int applied = 0;
    for (int n = 1; n <= 48; ++n) applied += flag(n) == std::optional<DWORD>(1);
    EXPECT_EQ(read_dword(HKEY_LOCAL_MACHINE, kStore, L"AppliedTipsCounter_start_of_exec"),
              std::optional<DWORD>(applied));
    // Nothing changed during the run, so leaving wrote the same count again.
    EXPECT_EQ(read_dword(HKEY_LOCAL_MACHINE, kStore, L"AppliedTipsCounter_end_of_exec"),
              std::optional<DWORD>(applied));
}

TEST_F(FirstRun, LogKeepsOnlyWhatStartUpWroteAfterTheSetUp) {
    click_caption(L"Network");
    std::vector<std::wstring> lines;
    ASSERT_TRUE(wait_until([&] { return !(lines = log_lines(main_window())).empty(); }));
    EXPECT_EQ(lines.front(), L"Starting the process of writing AppliedTipsCounter_start_of_exec");
    const auto set_up_line = std::find_if(lines.begin(), lines.end(), [](const std::wstring& l) {
        return l.rfind(L"Setting flag for ", 0) == 0 || l.rfind(L"Setting TIP", 0) == 0;
    });
    EXPECT_EQ(set_up_line, lines.end()) << to_utf8(*set_up_line);
    // Three counter writes, each narrated: message, listing, outcome.
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         L"Data value AppliedTipsCounter_start_of_exec already exists but was not enabled and hence "
                         L"enabled") +
                  std::count(lines.begin(), lines.end(),
                             L"Data value AppliedTipsCounter_start_of_exec already exists and enabled"),
              1);
}

class SeededDnsCache : public VeltranoSession {
protected:
    // Only the last of tip 1's four comparisons decides its flag.
    void seed_machine() override {
        for (const wchar_t* name : kDnsValues) delete_value(HKEY_LOCAL_MACHINE, kDnsCache, name);
        ASSERT_TRUE(write_dword(HKEY_LOCAL_MACHINE, kDnsCache, L"MaxSOACacheEntryTtlLimit", 301));
    }
    void TearDown() override {
        VeltranoSession::TearDown();
        delete_value(HKEY_LOCAL_MACHINE, kDnsCache, L"MaxSOACacheEntryTtlLimit");
    }
};

TEST_F(SeededDnsCache, FlagsTipOneAppliedOnTheLastComparisonAlone) {
    stop();
    EXPECT_EQ(flag(1), std::optional<DWORD>(1));
    EXPECT_EQ(read_dword(HKEY_LOCAL_MACHINE, kStore, L"AppliedTipsCounter_start_of_exec").value_or(0) >= 1, true);
}

class WronglyTypedSetting : public VeltranoSession {
protected:
    const std::wstring desktop = L"Control Panel\\Desktop";
    std::optional<RegistryValue> saved;
    bool start_in_setup() const override { return false; }
    void seed_machine() override {
        saved = read_value(HKEY_CURRENT_USER, desktop, L"AutoEndTasks");
        ASSERT_TRUE(write_dword(HKEY_CURRENT_USER, desktop, L"AutoEndTasks", 1));
    }
    void TearDown() override {
        VeltranoSession::TearDown();
        if (saved && saved->as_string())
            write_string(HKEY_CURRENT_USER, desktop, L"AutoEndTasks", *saved->as_string());
        else
            delete_value(HKEY_CURRENT_USER, desktop, L"AutoEndTasks");
    }
};

TEST_F(WronglyTypedSetting, OpensWithoutAnErrorAndLeavesTheValueAlone) {
    ASSERT_NO_FATAL_FAILURE(launch());
    ASSERT_NO_FATAL_FAILURE(attach_main_window());
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_FALSE(find_message_box(process_id(), Millis{0}).has_value()) << "an error box";
    // Nor does showing the page of the value's tip touch it.
    ASSERT_NO_FATAL_FAILURE(click_caption(L"Power"));
    ASSERT_NE(control(L"Your power saving choices"), nullptr);
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_EQ(read_dword(HKEY_CURRENT_USER, desktop, L"AutoEndTasks"), std::optional<DWORD>(1));
    // Tip 10 alone is not applied; the set-up went on past it.
    EXPECT_EQ(flag(10), std::optional<DWORD>(0));
    EXPECT_TRUE(flag(48).has_value());
    EXPECT_TRUE(read_dword(HKEY_LOCAL_MACHINE, kStore, L"AppliedTipsCounter_start_of_exec").has_value());
}

}  // namespace
}  // namespace veltrano::e2e
