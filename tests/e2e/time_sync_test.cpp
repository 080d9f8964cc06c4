// The Time Sync page of the admin tools worked from outside. Nothing leaves
// the machine: the interval goes to the registry, a typed server is our
// responder on loopback, the list is pointed at a name that cannot resolve
// (in a build with the seam), and the Release exe is shown to ignore that
// seam.
#include "e2e_environment.h"
#include "tips_session.h"
#include "tests/support/ntp_bad_responder.h"

#include <regex>

namespace veltrano::e2e {
namespace {

using namespace veltrano::driver;

constexpr wchar_t kSeam[] = L"VELTRANO_TIME_SERVER";

class TimeSync : public VeltranoSession {
protected:
    void SetUp() override {
        // Without the seam the list names public servers, which no test may reach.
        if (setting(L"VELTRANO_TEST_SEAMS").empty()) GTEST_SKIP() << "veltrano.exe built without VELTRANO_TEST_SEAMS";
        VeltranoSession::SetUp();
    }
    // The program inherits our environment.
    void seed_machine() override { SetEnvironmentVariableW(kSeam, L"nonexistent.invalid"); }
    void TearDown() override {
        VeltranoSession::TearDown();
        SetEnvironmentVariableW(kSeam, nullptr);
    }
    // The status line is the only static that says "error ...".
    std::wstring error_status() {
        for (const ControlInfo& c : visible_children(main_window()))
            if (c.text.starts_with(L"error ")) return c.text;
        return {};
    }
};

// The time service's settings on the XP-like machine, where the interval is
// a DWORD. Wine keeps CurrentControlSet, which the time service reads, apart
// from ControlSet001, where tip 35 writes: on XP they are one key.
class TimeService : public TipsSession {
protected:
    void open_time_sync() {
        ASSERT_NO_FATAL_FAILURE(go(L"Admin"));
        ASSERT_NO_FATAL_FAILURE(press(L"Time Sync"));
        ASSERT_NE(control(L"Set the interval"), nullptr);
    }
};

TEST_F(TimeService, SetTheIntervalWritesTheDwordAndTip35ReadsAsItDid) {
    const std::wstring ntp_client = L"SYSTEM\\CurrentControlSet\\Services\\W32Time\\TimeProviders\\NtpClient";
    ASSERT_EQ(read_dword(HKEY_LOCAL_MACHINE, ntp_client, L"SpecialPollInterval"), 604800u);
    const std::optional<DWORD> tip35 = tip_flag(35);
    ASSERT_NO_FATAL_FAILURE(open_time_sync());
    ASSERT_TRUE(choose_combo_item(control(Selector::by_class(L"ComboBox", 1)), 10));  // 3600
    ASSERT_NO_FATAL_FAILURE(press(L"Set the interval"));
    ASSERT_TRUE(wait_until([&] { return read_dword(HKEY_LOCAL_MACHINE, ntp_client, L"SpecialPollInterval") == 3600u; }))
        << describe_screen();
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_FALSE(find_message_box(process_id(), Millis{0})) << "an error box";
    EXPECT_EQ(tip_flag(35), tip35);
    EXPECT_TRUE(in_order(log_lines(), {L"Setting the polling interval"}));
}

// A host typed into the server box, our responder's: it answers every
// request as an unsynchronised server, whose time nothing takes.
class TypedServer : public TimeService {
protected:
    // A request of our own, after whatever the program sent: answered, it
    // shows every earlier datagram was counted.
    static void probe(const test::NtpBadResponder& responder) {
        SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(test::NtpBadResponder::kAddressHostOrder);
        to.sin_port = htons(123);
        const char request[48] = {0x23};
        sendto(s, request, sizeof request, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
        const int before = responder.answered();
        EXPECT_TRUE(wait_until([&] { return responder.answered() > before; }));
        closesocket(s);
    }
    std::wstring status() {
        for (const ControlInfo& c : visible_children(main_window()))
            if (c.text.starts_with(L"reply ignored") || c.text.starts_with(L"request held back")) return c.text;
        return {};
    }
};

TEST_F(TypedServer, IsUsedAndAskedOnceForTwoClicksWithinFourSeconds) {
    test::NtpBadResponder responder(test::NtpBadResponder::Fault::LeapAlarm);
    ASSERT_NO_FATAL_FAILURE(open_time_sync());
    ASSERT_TRUE(set_text(control(Selector::by_class(L"ComboBox", 0)), L"127.0.0.1"));
    ASSERT_NO_FATAL_FAILURE(press(L"Synchronize now"));
    ASSERT_NO_FATAL_FAILURE(press(L"Synchronize now"));
    ASSERT_TRUE(wait_until([&] { return responder.answered() > 0; })) << describe_screen();
    ASSERT_TRUE(wait_until([&] { return !status().empty(); })) << describe_screen();
    ASSERT_NO_FATAL_FAILURE(settle());
    probe(responder);
    EXPECT_EQ(responder.answered(), 2) << "the program's one request and the probe";
}

TEST_F(TimeSync, AnUnresolvableServerShowsTheSocketErrorAndClearsTheChoice) {
    click_caption(L"Admin");
    settle();
    ASSERT_TRUE(wait_until([&] { return shown(Selector::by_caption(L"Time Sync")); })) << describe_screen();
    click_caption(L"Time Sync");
    HWND servers = control(Selector::by_class(L"ComboBox", 0));
    HWND intervals = control(Selector::by_class(L"ComboBox", 1));
    ASSERT_TRUE(servers && intervals);
    EXPECT_EQ(combo_selection(servers), -1);
    EXPECT_EQ(text_of(servers), L"NIST Time server: {http://nonexistent.invalid} located at Gaithersburg,Maryland,USA");
    ASSERT_TRUE(choose_combo_item(intervals, 4));
    settle();

    click_caption(L"Synchronize now");
    std::wstring status;
    ASSERT_TRUE(wait_until([&] { return !(status = error_status()).empty(); })) << describe_screen();
    EXPECT_TRUE(std::regex_match(status, std::wregex(L"error [1-9][0-9]*"))) << to_utf8(status);
    EXPECT_EQ(combo_selection(servers), -1);
    EXPECT_EQ(text_of(servers), L"");
    EXPECT_EQ(combo_selection(intervals), 0);

    // Still answering, and the timer does not try the cleared server again.
    click_caption(L"Main");
    settle();
    click_caption(L"Admin");
    click_caption(L"Time Sync");
    settle();
    EXPECT_EQ(error_status(), status);
}

// Run by its own ctest against the Release exe.
class ReleaseExe : public TimeSync {
protected:
    void SetUp() override {
        if (setting(L"VELTRANO_RELEASE_EXE").empty()) GTEST_SKIP() << "for the Release exe only";
        VeltranoSession::SetUp();
    }
    void seed_machine() override { SetEnvironmentVariableW(kSeam, L"127.0.0.1"); }
};

TEST_F(ReleaseExe, IgnoresTheTimeServerVariable) {
    click_caption(L"Admin");
    click_caption(L"Time Sync");
    HWND servers = control(Selector::by_class(L"ComboBox", 0));
    ASSERT_NE(servers, nullptr);
    const std::vector<std::wstring> items = combo_lines(servers);
    ASSERT_EQ(items.size(), 15u);
    EXPECT_EQ(items[0], L"NIST Time server: {http://time-a-g.nist.gov} located at Gaithersburg,Maryland,USA");
    for (const std::wstring& item : items) EXPECT_EQ(item.find(L"127.0.0.1"), std::wstring::npos) << to_utf8(item);
    EXPECT_EQ(text_of(servers), items[0]);
}

}  // namespace
}  // namespace veltrano::e2e
