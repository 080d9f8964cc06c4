// The Time Sync page against a scripted socket, the fake clock and the
// in-memory registry: when requests go out, what a reply may do to the
// clock, what an error leaves, and what the two time service buttons write.
#include "admin/time_sync.h"
#include "core/error.h"
#include "platform/date_time.h"
#include "support/fake_view.h"
#include "support/fakes.h"
#include "support/memory_log.h"
#include "support/memory_registry.h"
#include "tips/tip_engine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
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
    fakes::MemoryRegistry reg;
    fakes::FakeTime time;
    fakes::MemoryLog log;
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
        widgets.set_text(admin::kServerList, page.server_items()[0]);  // as the view shows it
        page.shown();
    }

    // As a pick from the list does: the item chosen, its text in the box.
    void choose_server(int item) {
        widgets.set_selected_index(admin::kServerList, item);
        widgets.set_text(admin::kServerList, item < 0 ? "" : page.server_items().at(static_cast<std::size_t>(item)));
    }
    void type_server(const std::string& text) {
        widgets.set_selected_index(admin::kServerList, -1);
        widgets.set_text(admin::kServerList, text);
    }
    void wait_ms(int ms) {
        time.now = platform::from_date_time(platform::to_date_time(time.now) + ms / 86400000.0);
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
    // One second each; `answered`: every request gets its answer at once.
    void tick(int times, bool answered = false) {
        for (int i = 0; i < times; ++i) {
            wait_ms(1000);
            const std::size_t before = socket ? socket->sent.size() : 0;
            page.on_second();
            if (answered && socket && socket->sent.size() > before) socket->deliver(answer(0));
        }
    }
};

TEST_F(TimeSync, FirstPeriodicRequestThirtySecondsAfterConnectingThenEveryTen) {
    page.synchronize_now();
    ASSERT_NE(socket, nullptr);
    EXPECT_THAT(socket->connects, ElementsAre(std::string(admin::kTimeServers[0].host)));
    EXPECT_THAT(statuses, ElementsAre("resolving time-a-g.nist.gov ...", "time-a-g.nist.gov resolved.",
                                      "requesting time..."));
    ASSERT_EQ(socket->sent.size(), 1u);
    EXPECT_EQ(socket->sent[0][0], 0x23);
    socket->deliver(answer(0));

    tick(29, true);
    EXPECT_EQ(socket->sent.size(), 1u);
    EXPECT_EQ(statuses.back(), "1 secs. to next request...");
    tick(1, true);
    EXPECT_EQ(socket->sent.size(), 2u);
    tick(9, true);
    EXPECT_EQ(socket->sent.size(), 2u);
    tick(1, true);
    EXPECT_EQ(socket->sent.size(), 3u);
    EXPECT_EQ(socket->connects.size(), 1u);
}

TEST_F(TimeSync, AnErrorClearsTheChoiceAndNothingIsReopened) {
    choose_server(3);
    widgets.set_selected_index(admin::kIntervalList, 4);
    page.synchronize_now();  // makes the socket
    socket->error = 11001;
    choose_server(4);
    page.synchronize_now();
    EXPECT_EQ(statuses.back(), "error 11001");
    EXPECT_EQ(widgets.selected_index(admin::kServerList), -1);
    EXPECT_EQ(widgets.selected_index(admin::kIntervalList), 0);
    EXPECT_EQ(page.time_server_host(), "");
    EXPECT_EQ(widgets.text(admin::kServerList), "");
    tick(60);
    EXPECT_EQ(socket->connects.size(), 2u);
}

TEST_F(TimeSync, AReplySetsTheClockInUtcAndShowsTheExchange) {
    page.synchronize_now();
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
    page.synchronize_now();
    socket->deliver(answer(2000));
    EXPECT_EQ(statuses.back(), "clock not corrected: A required privilege is not held by the client.");
    EXPECT_EQ(log.lines.back(), statuses.back());
    EXPECT_EQ(std::count(statuses.begin(), statuses.end(), "clock corrected."), 0);
    // What was measured stays true and is shown.
    EXPECT_EQ(widgets.text("edtError"), "  -2.000");
}

TEST_F(TimeSync, AReplyThatCannotBeReadIsAnError) {
    page.synchronize_now();
    socket->read_error = 10054;
    socket->deliver(answer(300));
    EXPECT_EQ(statuses.back(), "error 10054: the reply could not be read");
    EXPECT_TRUE(time.set_utc.empty());
}

TEST_F(TimeSync, OneServerHearsFromUsAtMostOnceInFourSeconds) {
    page.synchronize_now();
    wait_ms(3999);
    page.synchronize_now();
    widgets.set_selected_index(admin::kIntervalList, 2);
    page.polling_interval_select();  // asks at once, as a click does
    EXPECT_EQ(socket->sent.size(), 1u);
    EXPECT_EQ(statuses.back(), "request held back: time-a-g.nist.gov takes one request every 4 seconds");
    socket->deliver(answer(0));
    EXPECT_EQ(statuses.back(), "clock corrected.") << "the first request's answer still counts";

    wait_ms(1);
    page.synchronize_now();
    EXPECT_EQ(socket->sent.size(), 2u);
    EXPECT_EQ(socket->connects.size(), 1u) << "the same server keeps its socket";
}

TEST_F(TimeSync, NoReplyInFiveSecondsIsSaidAndTriedOnceMore) {
    page.synchronize_now();
    tick(4);
    EXPECT_EQ(statuses.back(), "26 secs. to next request...");
    tick(1);
    EXPECT_EQ(statuses.back(), "no reply from time-a-g.nist.gov");
    tick(1);
    EXPECT_EQ(socket->sent.size(), 2u);
    tick(5);
    EXPECT_EQ(statuses.back(), "no reply from time-a-g.nist.gov");
    tick(4);
    EXPECT_EQ(socket->sent.size(), 2u) << "the retry's silence waits for the countdown";
    tick(1);
    EXPECT_EQ(socket->sent.size(), 3u);  // the interval's 10 s after the retry
    // An answer to a request given up moves nothing.
    Datagram late = answer(0);
    tick(6);
    socket->deliver(late);
    EXPECT_TRUE(time.set_utc.empty());
}

TEST_F(TimeSync, TheTransmitTimeCarriesRandomBitsBelowTheMillisecond) {
    const net::NtpTimestamp clock = net::local_ntp_timestamp(time.now);
    std::set<std::uint32_t> low_bits;
    for (int i = 0; i < 4; ++i) {
        admin::TimeSyncPage fresh{prim, store, time, widgets, [this] {
                                      auto s = std::make_unique<ScriptedSocket>();
                                      socket = s.get();
                                      return s;
                                  }};
        fresh.synchronize_now();
        const auto& sent = socket->sent.back();
        const std::uint32_t seconds = sent[40] << 24 | sent[41] << 16 | sent[42] << 8 | sent[43];
        const std::uint32_t fraction = sent[44] << 24 | sent[45] << 16 | sent[46] << 8 | sent[47];
        EXPECT_EQ(seconds, clock.seconds);
        EXPECT_EQ(fraction >> 22, clock.fraction >> 22);
        low_bits.insert(fraction & 0x3FFFFF);
    }
    EXPECT_GT(low_bits.size(), 1u);
}

TEST_F(TimeSync, ATypedHostIsUsedAndAMalformedOneRefused) {
    type_server(" ntp.corp.example ");
    page.synchronize_now();
    EXPECT_THAT(socket->connects, ElementsAre("ntp.corp.example"));
    page.add_time_server();
    EXPECT_EQ(reg.get(Root::LocalMachine, admin::kTimeServersKey, "15"), RegValue::string("ntp.corp.example"));
    reg.put(Root::LocalMachine, admin::kTimeServersKey, "16", RegValue::string("other.example"));
    type_server("NTP.corp.example");
    page.add_time_server();  // already listed: no second entry
    type_server("ntp2.corp.example");
    page.add_time_server();
    EXPECT_EQ(reg.get(Root::LocalMachine, admin::kTimeServersKey, "17"), RegValue::string("ntp2.corp.example"));

    const std::size_t written = log.lines.size();
    for (const char* text : {"   ", "http://ntp.example"}) {
        type_server(text);
        page.synchronize_now();
        page.add_time_server();
        EXPECT_THAT(statuses.back(), ::testing::StartsWith(text[0] == ' ' ? "no time server: " : "not a host name: "));
    }
    EXPECT_EQ(socket->connects.size(), 1u);
    EXPECT_EQ(log.lines.size(), written);
}

TEST(TimeSyncHostName, TakesNamesAndAddressesOnly) {
    for (const char* good : {"127.0.0.2", "time-a-g.nist.gov", "localhost", "a1.b-2.example"})
        EXPECT_TRUE(admin::is_host_name(good)) << good;
    const std::string too_long(64, 'a');
    for (const char* bad : {"", ".", "a..b", "a.", ".a", "-a", "a-", "a-.b", "a b", "a_b", "a:123", "http://a",
                            too_long.c_str()})
        EXPECT_FALSE(admin::is_host_name(bad)) << bad;
    EXPECT_TRUE(admin::is_host_name(std::string(63, 'a')));
}

struct BadReply {
    const char* what;
    net::ReplyVerdict verdict;
    std::function<void(Datagram&)> spoil;
};

class RefusedReply : public TimeSync, public ::testing::WithParamInterface<BadReply> {};

TEST_P(RefusedReply, LeavesTheClockAndSaysWhy) {
    page.synchronize_now();
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
    if (stop)
        EXPECT_EQ(socket->sent.size(), 1u);
    else
        EXPECT_GT(socket->sent.size(), 1u);
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
        choose_server(item);
        page.add_time_server();
    }
    EXPECT_EQ(reg.get(Root::LocalMachine, admin::kTimeServersKey, "14"), RegValue::string("time-e-b.nist.gov"));
    EXPECT_EQ(reg.get(Root::LocalMachine, admin::kTimeServersKey, "6"), RegValue::string("time-b-b.nist.gov"));
    EXPECT_EQ(reg.get(Root::LocalMachine, kRecords + "\\NEW_VALUES", "REGPATH_for_6"),
              RegValue::string("HKEY_LOCAL_MACHINE" + admin::kTimeServersKey));
    EXPECT_EQ(reg.get(Root::LocalMachine, kRecords, "HasThisTipBeenApplied"), RegValue::number(1));

    const std::size_t written = log.lines.size();
    for (int item : {-1, 12, 14}) {
        choose_server(item);
        page.add_time_server();
    }
    EXPECT_EQ(log.lines.size(), written);
}

TEST_F(TimeSync, SetTheIntervalWritesADwordWhereTheTimeServiceReadsIt) {
    // As on XP, and as tip 35 leaves it.
    reg.put(Root::LocalMachine, admin::kNtpClientKey, "SpecialPollInterval", RegValue::number(604800));
    widgets.set_selected_index(admin::kIntervalList, 10);
    page.set_polling_interval();
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
    page.set_polling_interval();
    EXPECT_EQ(reg.get(Root::LocalMachine, admin::kNtpClientKey, "SpecialPollInterval"), RegValue::number(60));
    EXPECT_EQ(reg.get(Root::LocalMachine, kRecords + "\\NEW_VALUES", "SpecialPollInterval"), RegValue::number(60));
    EXPECT_EQ(std::count(log.lines.begin(), log.lines.end(), "Removing the polling interval stored as text"), 3);
}

}  // namespace
