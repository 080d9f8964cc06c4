#include "net/sntp.h"

#include <gtest/gtest.h>

#include <vector>

namespace veltrano::net {
namespace {

constexpr std::uint32_t kWholeFraction = 4294967295u;

NtpTimestamp at(double seconds) {
    const auto whole = static_cast<std::uint32_t>(seconds);
    return {whole, static_cast<std::uint32_t>((seconds - whole) * kWholeFraction + 0.5)};
}

TEST(NtpTimestampTest, ConvertsTheClockAndBack) {
    EXPECT_EQ(ntp_timestamp_to_seconds({0, kWholeFraction}), 1.0);
    EXPECT_EQ(ntp_timestamp_to_seconds({1000, 0}), 1000.0);

    struct Row {
        platform::SystemTime utc;
        NtpTimestamp expected;
    };
    const std::vector<Row> rows = {
        {{1900, 1, 0, 1, 0, 0, 0, 0}, {0, 0}},
        {{1970, 1, 0, 1, 0, 0, 0, 500}, {2208988800u, 2147483648u}},  // half of 2^32 - 1, rounded up
        {{2000, 3, 0, 1, 12, 0, 1, 999}, {3160900801u, 4290672328u}},  // after a leap century's 29 February
        {{2036, 2, 0, 7, 6, 28, 15, 0}, {4294967295u, 0}},
        {{2036, 2, 0, 7, 6, 28, 16, 0}, {0, 0}},  // the seconds word wraps
        {{2040, 1, 0, 1, 0, 0, 0, 0}, {0x0754FD00u, 0}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(local_ntp_timestamp(row.utc), row.expected) << row.utc.year << "-" << row.utc.month << "-" << row.utc.day;
    }
}

TEST(NtpRequestTest, IsAVersion4ClientRequestCarryingOurTransmitTime) {
    const NtpPacket request = build_request({0x01020304, 0xA0B0C0D0});
    NtpPacket expected{};
    expected[0] = 0x23;
    expected[40] = 0x01, expected[41] = 0x02, expected[42] = 0x03, expected[43] = 0x04;
    expected[44] = 0xA0, expected[45] = 0xB0, expected[46] = 0xC0, expected[47] = 0xD0;
    EXPECT_EQ(request, expected);
}

// A reply as a healthy server sends it: LI 0, version 4, mode 4, stratum 2,
// originate = our transmit time.
std::vector<std::uint8_t> good_reply(NtpTimestamp sent) {
    std::vector<std::uint8_t> reply(kNtpPacketSize, 0);
    reply[0] = 0x24;
    reply[1] = 2;
    auto put = [&](std::size_t at, NtpTimestamp t) {
        for (int i = 0; i < 4; ++i) {
            reply[at + i] = static_cast<std::uint8_t>(t.seconds >> (24 - 8 * i));
            reply[at + 4 + i] = static_cast<std::uint8_t>(t.fraction >> (24 - 8 * i));
        }
    };
    put(24, sent);
    put(32, {3900000000u, 0x40000000});
    put(40, {3900000000u, 0x80000000});
    return reply;
}

TEST(NtpReplyCheckTest, RefusesEveryDatagramThatCouldNotBeOurServersAnswer) {
    const NtpTimestamp sent{3900000000u, 123456};
    struct Row {
        const char* name;
        void (*spoil)(std::vector<std::uint8_t>&);
        bool from_server;
        ReplyVerdict verdict;
    };
    const std::vector<Row> rows = {
        {"healthy", [](auto&) {}, true, ReplyVerdict::Accepted},
        {"version 3", [](auto& r) { r[0] = 0x1C; }, true, ReplyVerdict::Accepted},
        {"stratum 15", [](auto& r) { r[1] = 15; }, true, ReplyVerdict::Accepted},
        {"longer than 48 bytes", [](auto& r) { r.resize(68, 0); }, true, ReplyVerdict::Accepted},
        {"another sender", [](auto&) {}, false, ReplyVerdict::WrongSender},
        {"47 bytes", [](auto& r) { r.pop_back(); }, true, ReplyVerdict::TooShort},
        {"mode 3 (our own request echoed)", [](auto& r) { r[0] = 0x23; }, true, ReplyVerdict::WrongMode},
        {"version 6", [](auto& r) { r[0] = 0x34; }, true, ReplyVerdict::WrongVersion},
        {"version 2", [](auto& r) { r[0] = 0x14; }, true, ReplyVerdict::WrongVersion},
        {"leap indicator 3", [](auto& r) { r[0] = 0xE4; }, true, ReplyVerdict::Unsynchronised},
        {"kiss-o'-death", [](auto& r) { r[0] = 0xE4, r[1] = 0; }, true, ReplyVerdict::KissOfDeath},
        {"stratum 16", [](auto& r) { r[1] = 16; }, true, ReplyVerdict::BadStratum},
        {"no transmit time", [](auto& r) { std::fill(r.begin() + 40, r.begin() + 48, 0); }, true, ReplyVerdict::NoTransmitTime},
        {"another request's originate", [](auto& r) { r[31] ^= 1; }, true, ReplyVerdict::WrongOriginate},
        {"a forged kiss-o'-death", [](auto& r) { r[0] = 0xE4, r[1] = 0, r[31] ^= 1; }, true, ReplyVerdict::WrongOriginate},
    };
    for (const auto& row : rows) {
        auto datagram = good_reply(sent);
        row.spoil(datagram);
        const CheckedReply checked = check_reply(datagram, row.from_server, sent);
        EXPECT_EQ(checked.verdict, row.verdict) << row.name;
        EXPECT_FALSE(describe(checked.verdict).empty()) << row.name;
        if (checked.verdict == ReplyVerdict::Accepted) {
            EXPECT_EQ(checked.reply.receive, (NtpTimestamp{3900000000u, 0x40000000})) << row.name;
            EXPECT_EQ(checked.reply.transmit, (NtpTimestamp{3900000000u, 0x80000000})) << row.name;
        }
    }
}

TEST(NtpExchangeTest, GivesOffsetAndRoundTrip) {
    struct Row {
        const char* name;
        NtpTimestamp t1, t2, t3, t4;
        double offset, delay;
    };
    // 2036-02-07 06:28:16 UTC is second 0 again; `wrap(x)` is x seconds after it.
    auto wrap = [](double after) { return at(after); };
    auto before_wrap = [](double before) {
        const NtpTimestamp t = at(before);
        return NtpTimestamp{0u - t.seconds - (t.fraction ? 1 : 0), t.fraction ? kWholeFraction - t.fraction + 1 : 0};
    };
    const std::vector<Row> rows = {
        {"the classic example", at(1000.0), at(1000.6), at(1000.6), at(1001.0), 0.1, 1.0},
        {"server holds the request", at(1000.0), at(1000.5), at(1000.7), at(1001.0), 0.1, 0.8},
        {"local clock 2 s ahead", at(5000.0), at(4998.1), at(4998.1), at(5000.2), -2.0, 0.2},
        {"across the wrap", before_wrap(0.5), wrap(0.1), wrap(0.1), wrap(0.5), 0.1, 1.0},
        {"server past the wrap, we before", before_wrap(3.0), wrap(7.0), wrap(7.0), before_wrap(2.0), 9.5, 1.0},
    };
    for (const auto& row : rows) {
        const Exchange e = exchange(row.t1, row.t2, row.t3, row.t4);
        EXPECT_NEAR(e.offset, row.offset, 1e-6) << row.name;
        EXPECT_NEAR(e.delay, row.delay, 1e-6) << row.name;
    }
}

}  // namespace
}  // namespace veltrano::net
