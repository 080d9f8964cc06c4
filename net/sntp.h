// SNTP (version 4, client mode) as the time synchronisation uses it: the
// request, the checks a reply must pass before it may move the clock, and the
// offset and round trip of one exchange. Pure arithmetic, no sockets.
#pragma once

#include "platform/time.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace veltrano::net {

inline constexpr std::size_t kNtpPacketSize = 48;
using NtpPacket = std::array<std::uint8_t, kNtpPacketSize>;

// The two 32-bit words of an NTP timestamp, in host order: whole seconds
// since 1900-01-01 00:00 UTC (modulo 2^32, so they wrap on 2036-02-07) and
// the fraction of a second scaled by 2^32 - 1.
struct NtpTimestamp {
    std::uint32_t seconds = 0;
    std::uint32_t fraction = 0;
    bool operator==(const NtpTimestamp&) const = default;
};

// The UTC clock reading as an NTP timestamp.
NtpTimestamp local_ntp_timestamp(const platform::SystemTime& utc);

// Seconds since 1900 of a timestamp, as a double; fraction 4294967295 is
// exactly one second.
double ntp_timestamp_to_seconds(NtpTimestamp t);

// A client request: first byte 0x23 (no leap warning, version 4, client),
// `transmit` in bytes 40 to 47, everything else zero.
NtpPacket build_request(NtpTimestamp transmit);

// What a datagram said, once it passed every check.
struct NtpReply {
    NtpTimestamp receive;   // T2, bytes 32-39
    NtpTimestamp transmit;  // T3, bytes 40-47
};

// Why a datagram was refused; Accepted when it was not.
enum class ReplyVerdict {
    Accepted,
    WrongSender,      // not from the server's address and port 123
    TooShort,         // fewer than 48 bytes
    WrongMode,        // not 4 (server)
    WrongVersion,     // not 3 or 4
    Unsynchronised,   // leap indicator 3: the server has no time to give
    KissOfDeath,      // stratum 0: the server asks us to stop
    BadStratum,       // above 15
    NoTransmitTime,   // transmit timestamp zero
    WrongOriginate,   // not an answer to our last request
};

struct CheckedReply {
    ReplyVerdict verdict;
    NtpReply reply;  // meaningful when Accepted
};

CheckedReply check_reply(std::span<const std::uint8_t> datagram, bool from_server, NtpTimestamp sent);

// The status line's reason for a refused reply.
std::string describe(ReplyVerdict verdict);

// Offset of the local clock against the server (add it to the local clock)
// and the round trip, both in seconds, from the four timestamps of one
// exchange; right across the 2036 wrap of the seconds word.
struct Exchange {
    double offset;
    double delay;
};
Exchange exchange(NtpTimestamp t1, NtpTimestamp t2, NtpTimestamp t3, NtpTimestamp t4);

}  // namespace veltrano::net
