// The Winsock socket component under Wine: events through this thread's
// message queue, one exchange against chrony and NTPsec on loopback (started
// by the ntp_peers fixture), a name that does not resolve, and every bad reply
// of our own responder refused by the reply checks.
#include "net/sntp.h"
#include "net/win32/winsock_socket.h"
#include "tests/support/ntp_bad_responder.h"
#include "tools/driver/driver.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cmath>
#include <string>
#include <vector>

namespace veltrano::net {
namespace {

platform::SystemTime utc_now() {
    SYSTEMTIME t;
    GetSystemTime(&t);
    return {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

// The events come as messages: run this thread's loop until the condition
// holds or the driver's deadline passes.
bool pump_until(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + driver::kDefaultTimeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    return true;
}

// One request and its reply as the time synchronisation makes them.
struct Round {
    std::unique_ptr<TWSocket> socket = win32::create_tw_socket();
    int connected = 0, errors = 0, arrivals = 0;
    NtpTimestamp t1, t4;
    std::vector<std::uint8_t> datagram;
    Endpoint from;

    explicit Round(const std::string& host) {
        socket->OnSessionConnected = [this] { ++connected; };
        socket->OnError = [this] { ++errors; };
        socket->OnDataAvailable = [this] {
            t4 = local_ntp_timestamp(utc_now());
            datagram.assign(512, 0);
            const int length = socket->ReceiveFrom(datagram, from);
            datagram.resize(length < 0 ? 0 : length);
            ++arrivals;
        };
        socket->Addr = host;
        socket->Connect();
    }

    void request() {
        t1 = local_ntp_timestamp(utc_now());
        const NtpPacket packet = build_request(t1);
        ASSERT_EQ(socket->Send(packet), 48);
        ASSERT_TRUE(pump_until([this] { return arrivals > 0; })) << "no reply from " << socket->Addr;
    }

    CheckedReply checked() const { return check_reply(datagram, from == socket->peer(), t1); }
};

TEST(TwSocketPeersTest, ExchangesTimeWithChronyAndNtpsec) {
    for (const char* host : {"127.0.0.2", "127.0.0.3"}) {
        SCOPED_TRACE(host);
        Round round(host);
        ASSERT_EQ(round.connected, 1);
        ASSERT_EQ(round.errors, 0);
        EXPECT_EQ(round.socket->Addr, host);
        EXPECT_EQ(round.socket->peer().port, 123);
        round.request();
        const CheckedReply reply = round.checked();
        ASSERT_EQ(reply.verdict, ReplyVerdict::Accepted) << describe(reply.verdict);
        const Exchange e = exchange(round.t1, reply.reply.receive, reply.reply.transmit, round.t4);
        // They serve this machine's own clock: what remains is our
        // millisecond clock reading and the loopback's round trip.
        EXPECT_LT(e.delay, 0.050);
        EXPECT_LT(std::fabs(e.offset), 0.005);
        EXPECT_EQ(round.errors, 0);
    }
}

TEST(TwSocketLookupTest, ANameIsResolvedWhileTheThreadGoesOn) {
    Round round("localhost");
    EXPECT_EQ(round.connected, 0) << "Connect waited for the lookup";
    ASSERT_TRUE(pump_until([&] { return round.connected + round.errors > 0; }));
    EXPECT_EQ(round.connected, 1);
    EXPECT_EQ(round.socket->peer(), (Endpoint{0x7F000001, 123}));

    // A lookup given up for another Connect is never heard of.
    round.socket->Addr = "nonexistent.invalid";
    round.socket->Connect();
    round.socket->Addr = "127.0.0.2";
    round.socket->Connect();
    EXPECT_EQ(round.connected, 2);
    round.request();
    EXPECT_EQ(round.errors, 0);
}

TEST(TwSocketErrorTest, AnUnresolvableNameFailsThroughOnErrorAndSendsNothing) {
    for (const char* host : {"nonexistent.invalid", ""}) {
        SCOPED_TRACE(host);
        Round round(host);
        EXPECT_EQ(round.connected, 0);
        ASSERT_TRUE(pump_until([&] { return round.errors > 0; }));
        EXPECT_EQ(round.errors, 1);
        EXPECT_NE(round.socket->LastError(), 0);
        EXPECT_EQ(round.socket->Send(build_request({1, 2})), -1);
        EXPECT_EQ(round.errors, 2);
        EXPECT_EQ(round.socket->LastError(), WSAENOTCONN);
    }
}

TEST(TwSocketBadReplyTest, EachBadReplyIsRefused) {
    using Fault = test::NtpBadResponder::Fault;
    test::NtpBadResponder responder;
    const std::vector<std::pair<Fault, ReplyVerdict>> rows = {
        {Fault::Healthy, ReplyVerdict::Accepted},
        {Fault::WrongOriginate, ReplyVerdict::WrongOriginate},
        {Fault::Short, ReplyVerdict::TooShort},
        {Fault::Mode3, ReplyVerdict::WrongMode},
        {Fault::LeapAlarm, ReplyVerdict::Unsynchronised},
        {Fault::KissOfDeath, ReplyVerdict::KissOfDeath},
        {Fault::OtherPort, ReplyVerdict::WrongSender},
    };
    for (const auto& [fault, verdict] : rows) {
        SCOPED_TRACE(static_cast<int>(fault));
        responder.set_fault(fault);
        Round round(test::NtpBadResponder::kAddress);
        ASSERT_EQ(round.connected, 1);
        round.request();
        EXPECT_EQ(round.checked().verdict, verdict) << describe(round.checked().verdict) << ", from " << std::hex << round.from.address << std::dec
                                                      << " port " << round.from.port;
    }
}

// Drains what is already in this thread's queue, so a test can look once for
// an event that must not have come.
void pump_pending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

TEST(TwSocketEventTest, OneEventPerDatagramAndNoneAfterClose) {
    test::NtpBadResponder responder;
    Round round(test::NtpBadResponder::kAddress);
    ASSERT_EQ(round.connected, 1);
    const NtpPacket request = build_request({1, 2});
    for (int i = 0; i < 3; ++i) ASSERT_EQ(round.socket->Send(request), 48);
    ASSERT_TRUE(pump_until([&] { return responder.answered() == 3 && round.arrivals == 3; }));
    pump_pending();
    EXPECT_EQ(round.arrivals, 3);
    Endpoint from;
    std::uint8_t buffer[48];
    EXPECT_EQ(round.socket->ReceiveFrom(buffer, from), -1);

    // A reply already announced when the socket is closed, and then
    // replaced by a new connection, belongs to no one.
    ASSERT_EQ(round.socket->Send(request), 48);
    ASSERT_TRUE(driver::wait_until([] {
        MSG message;
        return PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) != 0;
    }));
    round.socket->Close();
    round.socket->Close();
    round.socket->Connect();
    ASSERT_EQ(round.connected, 2);
    pump_pending();
    EXPECT_EQ(round.arrivals, 3);
    EXPECT_EQ(round.errors, 0);
}

}  // namespace
}  // namespace veltrano::net
