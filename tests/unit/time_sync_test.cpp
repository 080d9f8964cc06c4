// The Time Sync page against a scripted socket, the fake clock and the
// in-memory registry: when requests go out, what a reply may do to the
// clock, what an error leaves, and what the two time service buttons write.
#include "admin/time_sync.h"
#include "platform/date_time.h"
#include "core/error.h"
#include "platform/memory/memory_registry.h"
#include "support/fake_view.h"
#include "support/fakes.h"
#include "tips/tip_engine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

using namespace veltrano;
using platform::RegValue;
using platform::Root;
using ::testing::ElementsAre;

namespace {

constexpr net::Endpoint kServer{0x7F000002, 123};

struct Datagram {
    std::vector<std::uint8_t> bytes;
    net::Endpoint from = kServer;
};

// Connect succeeds (or fails, with `error` set) at once, as a datagram
// socket's does; the test hands in each datagram.
class ScriptedSocket : public net::TWSocket {
public:
    void Close() override {}
    void Connect() override {
        connects.push_back(Addr);
        error ? OnError() : OnSessionConnected();
    }
    int Send(std::span<const std::uint8_t> d) override {
        sent.emplace_back(d.begin(), d.end());
        return static_cast<int>(d.size());
    }
    int ReceiveFrom(std::span<std::uint8_t> buffer, net::Endpoint& from) override {
        if (read_error) return -1;
        const std::size_t n = std::min(buffer.size(), waiting.bytes.size());
        std::copy_n(waiting.bytes.begin(), n, buffer.begin());
        from = waiting.from;
        return static_cast<int>(n);
    }
    net::Endpoint peer() const override { return kServer; }
    int LastError() const override { return read_error ? read_error : error; }
    void deliver(Datagram d) {
        waiting = std::move(d);
        OnDataAvailable();
    }

    int error = 0, read_error = 0;
    std::vector<std::string> connects;
    std::vector<std::vector<std::uint8_t>> sent;
    Datagram waiting;
};

class TimeSync : public ::testing::Test {
protected:
    platform::MemoryRegistry reg;
    fakes::FakeTime time;
    ui::MemoryLog log;
    fakes::FakeWidgets widgets;
    const std::vector<std::string>& statuses = widgets.texts[std::string(admin::kStatus)];
    core::RegistryPrimitives prim{reg, log};
    core::TipStateStore store{prim, time, tips::flag_rows()};
    ScriptedSocket* socket = nullptr;
    admin::TimeSyncPage page{prim, store, time, widgets, [this] {
                                 auto s = std::make_unique<ScriptedSocket>();
                                 socket = s.get();
                                 return s;
                             }};

    TimeSync() {
        time.now = {2026, 3, 0, 29, 0, 59, 59, 900};  // the night Europe moves its clocks forward
        page.created();
        widgets.set_selected_index(admin::kIntervalList, 0);
        page.shown();
    }

    // The server's answer to our last request, its clock `ahead_ms` ahead
    // of ours now.
    Datagram answer(int ahead_ms, std::uint8_t first_byte = 0x24, std::uint8_t stratum = 2) const {
        const auto server = net::build_request(net::local_ntp_timestamp(
            platform::from_date_time(platform::to_date_time(time.now) + ahead_ms / 86400000.0)));
        std::vector<std::uint8_t> reply(48, 0);
        reply[0] = first_byte;
        reply[1] = stratum;
        std::copy_n(socket->sent.back().begin() + 40, 8, reply.begin() + 24);  // originate: our transmit
        std::copy_n(server.begin() + 40, 8, reply.begin() + 32);                // receive
        std::copy_n(server.begin() + 40, 8, reply.begin() + 40);                // transmit
        return {reply};
    }
    void tick(int times) {
        for (int i = 0; i < times; ++i) page.Timer2Timer();
    }
};

TEST_F(TimeSync, FirstPeriodicRequestThirtySecondsAfterConnectingThenEveryTen) {
    page.BitBtn29Click();
    ASSERT_NE(socket, nullptr);
    EXPECT_THAT(socket->connects, ElementsAre(std::string(admin::kTimeServers[0].host)));
    EXPECT_THAT(statuses, ElementsAre("resolving  ...", "time-a-g.nist.gov resolved.", "requesting time..."));
    EXPECT_EQ(socket->sent.size(), 1u);
    EXPECT_EQ(socket->sent[0][0], 0x23);

    tick(29);
    EXPECT_EQ(socket->sent.size(), 1u);
    EXPECT_EQ(statuses.back(), "1 secs. to next request...");
    tick(1);
    EXPECT_EQ(socket->sent.size(), 2u);
    tick(9);
    EXPECT_EQ(socket->sent.size(), 2u);
    tick(1);
    EXPECT_EQ(socket->sent.size(), 3u);
    EXPECT_EQ(socket->connects.size(), 1u);
}

TEST_F(TimeSync, AnErrorClearsTheChoiceAndNothingIsReopened) {
    widgets.set_selected_index(admin::kServerList, 3);
    widgets.set_selected_index(admin::kIntervalList, 4);
    page.BitBtn29Click();  // makes the socket
    socket->error = 11001;
    page.BitBtn29Click();
    EXPECT_EQ(statuses.back(), "error 11001");
    EXPECT_EQ(widgets.selected_index(admin::kServerList), -1);
    EXPECT_EQ(widgets.selected_index(admin::kIntervalList), 0);
    EXPECT_EQ(page.time_server_host(), "");
    tick(60);
    EXPECT_EQ(socket->connects.size(), 2u);
}

TEST_F(TimeSync, AReplySetsTheClockInUtcAndShowsTheExchange) {
    page.BitBtn29Click();
    time.now.milliseconds += 20;  // the round trip
    socket->deliver(answer(490));
    EXPECT_THAT(statuses, ::testing::IsSupersetOf({"time received.", "clock corrected."}));
    EXPECT_EQ(widgets.text("edtRTT"), "20");
    EXPECT_EQ(widgets.text("edtError"), "  -0.500");
    // 00:59:59.920 UTC + 0.5 s crosses into 01:00, the hour the local clock
    // jumps: set in UTC, the jump is Windows' business and not ours.
    ASSERT_EQ(time.set_utc.size(), 1u);
    EXPECT_EQ(time.set_utc[0], (platform::SystemTime{2026, 3, 0, 29, 1, 0, 0, 420}));
    EXPECT_NEAR(page.server_clock(), platform::to_date_time(time.set_utc[0]), 0.001 / 86400);

    // The same answer again moves nothing.
    socket->deliver(answer(490));
    EXPECT_EQ(time.set_utc.size(), 1u);
}

TEST_F(TimeSync, AClockThatRefusesToBeSetIsNotCalledCorrected) {
    time.refusal = "A required privilege is not held by the client.";
    page.BitBtn29Click();
    socket->deliver(answer(2000));
    EXPECT_EQ(statuses.back(), "clock not corrected: A required privilege is not held by the client.");
    EXPECT_EQ(log.lines.back(), statuses.back());
    EXPECT_EQ(std::count(statuses.begin(), statuses.end(), "clock corrected."), 0);
    // What was measured stays true and is shown.
    EXPECT_EQ(widgets.text("edtError"), "  -2.000");
}

TEST_F(TimeSync, AReplyThatCannotBeReadIsAnError) {
    page.BitBtn29Click();
    socket->read_error = 10054;
    socket->deliver(answer(300));
    EXPECT_EQ(statuses.back(), "error 10054: the reply could not be read");
    EXPECT_TRUE(time.set_utc.empty());
}

struct BadReply {
    const char* what;
    net::ReplyVerdict verdict;
    std::function<void(Datagram&)> spoil;
};

class RefusedReply : public TimeSync, public ::testing::WithParamInterface<BadReply> {};

TEST_P(RefusedReply, LeavesTheClockAndSaysWhy) {
    page.BitBtn29Click();
    Datagram reply = answer(300);
    GetParam().spoil(reply);
    socket->deliver(reply);
    EXPECT_TRUE(time.set_utc.empty());
    EXPECT_EQ(widgets.text("edtRTT"), "");
    const bool stop = GetParam().verdict == net::ReplyVerdict::KissOfDeath;
    EXPECT_EQ(statuses.back(), net::describe(GetParam().verdict) +
                                           (stop ? "; no more requests to time-a-g.nist.gov" : ""));
    // Only the server's own refusal ends the requests to it.
    tick(60);
    EXPECT_EQ(socket->sent.size(), stop ? 1u : 5u);  // at 0, 30, 40, 50, 60 s
}

// What the page decides itself: the sender, the echo of its own request,
// and stopping at the server's word; the packet's own fields are the SNTP
// checks' business.
INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedReply,
    ::testing::ValuesIn(std::vector<BadReply>{
        {"WrongOriginate", net::ReplyVerdict::WrongOriginate, [](Datagram& d) { d.bytes[31] ^= 1; }},
        {"OtherPort", net::ReplyVerdict::WrongSender, [](Datagram& d) { d.from.port = 1123; }},
        {"KissOfDeath", net::ReplyVerdict::KissOfDeath, [](Datagram& d) { d.bytes[1] = 0; }},
    }),
    [](const auto& info) { return std::string(info.param.what); });

// ---- the time service settings ---------------------------------------------

const std::string kRecords = core::kStateKeyBase + "TIMESERVERS";

TEST_F(TimeSync, AddTimeServerWritesTheItemsOwnHostUnderItsNumber) {
    for (int item : {11, 3}) {
        widgets.set_selected_index(admin::kServerList, item);
        page.Button4Click();
    }
    EXPECT_EQ(reg.get(Root::LocalMachine, admin::kTimeServersKey, "14"), RegValue::string("time-e-b.nist.gov"));
    EXPECT_EQ(reg.get(Root::LocalMachine, admin::kTimeServersKey, "6"), RegValue::string("time-b-b.nist.gov"));
    EXPECT_EQ(reg.get(Root::LocalMachine, kRecords + "\\NEW_VALUES", "REGPATH_for_6"),
              RegValue::string("HKEY_LOCAL_MACHINE" + admin::kTimeServersKey));
    EXPECT_EQ(reg.get(Root::LocalMachine, kRecords, "HasThisTipBeenApplied"), RegValue::number(1));

    const std::size_t written = log.lines.size();
    for (int item : {-1, 12, 14}) {
        widgets.set_selected_index(admin::kServerList, item);
        page.Button4Click();
    }
    EXPECT_EQ(log.lines.size(), written);
}

TEST_F(TimeSync, SetTheIntervalWritesADwordWhereTheTimeServiceReadsIt) {
    // As on XP, and as tip 35 leaves it.
    reg.put(Root::LocalMachine, admin::kNtpClientKey, "SpecialPollInterval", RegValue::number(604800));
    widgets.set_selected_index(admin::kIntervalList, 10);
    page.Button5Click();
    EXPECT_EQ(reg.get(Root::LocalMachine, admin::kNtpClientKey, "SpecialPollInterval"), RegValue::number(3600));
    EXPECT_EQ(reg.get(Root::LocalMachine, kRecords + "\\OLD_VALUES", "SpecialPollInterval"), RegValue::number(604800));
    EXPECT_EQ(reg.get(Root::LocalMachine, kRecords + "\\NEW_VALUES", "SpecialPollInterval"), RegValue::number(3600));
    EXPECT_EQ(reg.get(Root::LocalMachine, kRecords + "\\NEW_VALUES", "REGPATH_for_SpecialPollInterval"),
              RegValue::string("HKEY_LOCAL_MACHINE" + admin::kNtpClientKey));
}

TEST_F(TimeSync, SetTheIntervalReplacesTheTextAnEarlierVersionLeft) {
    reg.put(Root::LocalMachine, admin::kNtpClientKey, "SpecialPollInterval", RegValue::string("60"));
    reg.put(Root::LocalMachine, kRecords + "\\OLD_VALUES", "SpecialPollInterval", RegValue::string(""));
    reg.put(Root::LocalMachine, kRecords + "\\NEW_VALUES", "SpecialPollInterval", RegValue::string("60"));
    widgets.set_selected_index(admin::kIntervalList, 3);
    page.Button5Click();
    EXPECT_EQ(reg.get(Root::LocalMachine, admin::kNtpClientKey, "SpecialPollInterval"), RegValue::number(60));
    EXPECT_EQ(reg.get(Root::LocalMachine, kRecords + "\\NEW_VALUES", "SpecialPollInterval"), RegValue::number(60));
    EXPECT_EQ(std::count(log.lines.begin(), log.lines.end(), "Removing the polling interval stored as text"), 3);
}

}  // namespace
