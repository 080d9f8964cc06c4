// The Time Sync page's exchange over the real socket, under Wine: against
// chrony and NTPsec on loopback, and against our responder of bad replies.
// The page's clock reads the machine's time and writes down what it would
// set; nothing sets it.
#include "admin/time_sync.h"
#include "net/win32/winsock_socket.h"
#include "platform/win32/win32_time.h"
#include "support/fake_view.h"
#include "support/memory_log.h"
#include "support/memory_registry.h"
#include "support/ntp_bad_responder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>

namespace veltrano {
namespace {

using Fault = test::NtpBadResponder::Fault;

class RecordingClock : public platform::win32::Win32Time {
public:
    bool set_system_time_utc(const platform::SystemTime& utc) override {
        set_utc.push_back(utc);
        return true;
    }
    // The gap a server wants between two requests, passed without waiting for it.
    std::uint32_t tick_count_ms() const override { return Win32Time::tick_count_ms() + skipped_ms; }
    std::vector<platform::SystemTime> set_utc;
    std::uint32_t skipped_ms = 0;
};

// Runs this thread's messages, which carry the socket's events, until the
// condition holds; false after the generous deadline.
bool pump_until(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

class Exchange : public ::testing::Test {
protected:
    void open(const std::string& host) {
        page = std::make_unique<admin::TimeSyncPage>(
            prim, store, clock, widgets, [] { return net::win32::create_tw_socket(); }, host);
        page->created();
        widgets.set_text(admin::kServerList, page->server_items()[0]);  // as the view shows it
        page->synchronize_now();
    }
    bool saw(const std::string& status) const {
        return std::find(statuses.begin(), statuses.end(), status) != statuses.end();
    }
    bool corrected() const { return saw("clock corrected."); }

    fakes::MemoryRegistry reg;
    RecordingClock clock;
    fakes::MemoryLog log;
    fakes::FakeWidgets widgets;
    const std::vector<std::string>& statuses = widgets.texts[std::string(admin::kStatus)];
    core::RegistryPrimitives prim{reg, log};
    core::TipStateStore store{prim, clock, {}};
    std::unique_ptr<admin::TimeSyncPage> page;
};

class Peer : public Exchange, public ::testing::WithParamInterface<const char*> {};

// The peers serve this machine's own clock: the offset is all error.
TEST_P(Peer, CorrectsTheClockByWhatTheServerSees) {
    open(GetParam());
    ASSERT_TRUE(pump_until([&] { return corrected() || statuses.back().starts_with("error "); }))
        << statuses.back();
    ASSERT_TRUE(corrected()) << statuses.back();
    const auto received = std::find(statuses.begin(), statuses.end(), "time received.");
    EXPECT_EQ(*std::next(received), "clock corrected.");
    EXPECT_LT(std::stoi(widgets.text("edtRTT")), 50);
    EXPECT_LE(std::fabs(std::stod(widgets.text("edtError"))), 0.005);
    EXPECT_EQ(clock.set_utc.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Loopback, Peer, ::testing::Values("127.0.0.2", "127.0.0.3"),
                         [](const auto& info) { return std::string(info.index == 0 ? "chrony" : "NTPsec"); });

struct BadCase {
    const char* name;
    Fault fault;
    net::ReplyVerdict verdict;
};

class BadReply : public Exchange, public ::testing::WithParamInterface<BadCase> {};

// Each bad reply is refused; then a good one on the same socket shows it was
// heard (a reply from another port may never reach us at all) and that only
// the good one moved the clock.
TEST_P(BadReply, IsRefusedAndLeavesTheClock) {
    test::NtpBadResponder responder(GetParam().fault);
    open(test::NtpBadResponder::kAddress);
    const std::string why = net::describe(GetParam().verdict);
    if (GetParam().verdict == net::ReplyVerdict::KissOfDeath) {
        ASSERT_TRUE(pump_until([&] { return statuses.back().starts_with(why); }));
        EXPECT_TRUE(clock.set_utc.empty());
        EXPECT_EQ(page->time_server_host(), "");
        return;
    }
    // The refusal must be seen before the next request: a bad reply read
    // after it no longer answers the request in flight, and is refused for that.
    if (GetParam().fault == Fault::OtherPort)
        ASSERT_TRUE(pump_until([&] { return responder.answered() > 0; }));
    else
        ASSERT_TRUE(pump_until([&] { return saw(why); })) << why << " / " << statuses.back();
    EXPECT_TRUE(clock.set_utc.empty());
    responder.set_fault(Fault::Healthy);
    clock.skipped_ms += admin::kMinRequestGapMs;
    page->polling_interval_select();  // asks again at once
    ASSERT_TRUE(pump_until([&] { return corrected(); })) << statuses.back();
    EXPECT_EQ(clock.set_utc.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadReply,
    ::testing::Values(BadCase{"WrongOriginate", Fault::WrongOriginate, net::ReplyVerdict::WrongOriginate},
                      BadCase{"Short", Fault::Short, net::ReplyVerdict::TooShort},
                      BadCase{"Mode3", Fault::Mode3, net::ReplyVerdict::WrongMode},
                      BadCase{"LeapAlarm", Fault::LeapAlarm, net::ReplyVerdict::Unsynchronised},
                      BadCase{"KissOfDeath", Fault::KissOfDeath, net::ReplyVerdict::KissOfDeath},
                      BadCase{"OtherPort", Fault::OtherPort, net::ReplyVerdict::WrongSender}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace veltrano
