#include "net/sntp.h"

#include "i18n/translate.h"
#include "platform/date_time.h"

#include <cmath>

namespace veltrano::net {

namespace {

constexpr double kFractionScale = 4294967295.0;  // 2^32 - 1: the wire's scale, not 2^32

std::uint32_t read_word(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
           std::uint32_t{bytes[at + 2]} << 8 | std::uint32_t{bytes[at + 3]};
}

NtpTimestamp read_timestamp(std::span<const std::uint8_t> bytes, std::size_t at) {
    return {read_word(bytes, at), read_word(bytes, at + 4)};
}

void write_word(NtpPacket& packet, std::size_t at, std::uint32_t word) {
    packet[at] = static_cast<std::uint8_t>(word >> 24);
    packet[at + 1] = static_cast<std::uint8_t>(word >> 16);
    packet[at + 2] = static_cast<std::uint8_t>(word >> 8);
    packet[at + 3] = static_cast<std::uint8_t>(word);
}

// Seconds from `base` to `t`, taking the seconds words as a signed 32-bit
// difference: the four timestamps of one exchange lie within seconds of each
// other, so this stays right when the seconds word wraps between them
// (2036-02-07), where absolute values would jump by 2^32 s.
double seconds_after(NtpTimestamp base, NtpTimestamp t) {
    const auto whole = static_cast<std::int32_t>(t.seconds - base.seconds);
    return whole + (static_cast<double>(t.fraction) - base.fraction) / kFractionScale;
}

}  // namespace

NtpTimestamp local_ntp_timestamp(const platform::SystemTime& utc) {
    // 1900-01-01 is day 2 of the program's calendar (days since 1899-12-30).
    const std::int64_t days_since_1900 = platform::day_number(utc.year, utc.month, utc.day) - 2;
    const std::int64_t seconds = days_since_1900 * 86400 + utc.hour * 3600 + utc.minute * 60 + utc.second;
    const double fraction = std::round(utc.milliseconds / 1000.0 * kFractionScale);
    return {static_cast<std::uint32_t>(seconds), static_cast<std::uint32_t>(fraction)};
}

double ntp_timestamp_to_seconds(NtpTimestamp t) {
    return t.seconds + t.fraction / kFractionScale;
}

NtpPacket build_request(NtpTimestamp transmit) {
    NtpPacket packet{};
    // Leap indicator 0, version 4, mode 3 (client). The old first byte 0x33
    // claimed version 6, which chrony and NTPsec drop without a word.
    packet[0] = 0x23;
    // Our transmit time, which the server echoes as the originate time: the
    // proof that a reply answers this request.
    write_word(packet, 40, transmit.seconds);
    write_word(packet, 44, transmit.fraction);
    return packet;
}

CheckedReply check_reply(std::span<const std::uint8_t> datagram, bool from_server, NtpTimestamp sent) {
    // A reply moves the clock, so anything on the network that could answer
    // in the server's place must not: each check refuses one such datagram.
    if (!from_server) return {ReplyVerdict::WrongSender, {}};
    if (datagram.size() < kNtpPacketSize) return {ReplyVerdict::TooShort, {}};
    const int leap = datagram[0] >> 6;
    const int version = (datagram[0] >> 3) & 7;
    const int mode = datagram[0] & 7;
    const int stratum = datagram[1];
    if (mode != 4) return {ReplyVerdict::WrongMode, {}};
    if (version != 3 && version != 4) return {ReplyVerdict::WrongVersion, {}};
    // Only an answer to our own request may say anything more, a
    // kiss-o'-death included: otherwise a forged one could silence us.
    if (read_timestamp(datagram, 24) != sent) return {ReplyVerdict::WrongOriginate, {}};
    // Kiss-o'-death before the alarm: such a reply carries LI 3 as well, and
    // it is the one that must stop further requests.
    if (stratum == 0) return {ReplyVerdict::KissOfDeath, {}};
    if (leap == 3) return {ReplyVerdict::Unsynchronised, {}};
    if (stratum > 15) return {ReplyVerdict::BadStratum, {}};
    const NtpReply reply{read_timestamp(datagram, 32), read_timestamp(datagram, 40)};
    if (reply.transmit == NtpTimestamp{}) return {ReplyVerdict::NoTransmitTime, {}};
    return {ReplyVerdict::Accepted, reply};
}

std::string describe(ReplyVerdict verdict) {
    // The time sync's status line shows these.
    switch (verdict) {
    case ReplyVerdict::Accepted: return i18n::tr("reply accepted");
    case ReplyVerdict::WrongSender: return i18n::tr("reply ignored: not from the time server");
    case ReplyVerdict::TooShort: return i18n::tr("reply ignored: too short");
    case ReplyVerdict::WrongMode: return i18n::tr("reply ignored: not a server reply");
    case ReplyVerdict::WrongVersion: return i18n::tr("reply ignored: unknown NTP version");
    case ReplyVerdict::Unsynchronised: return i18n::tr("reply ignored: server not synchronized");
    case ReplyVerdict::KissOfDeath: return i18n::tr("server refused service (kiss-o'-death)");
    case ReplyVerdict::BadStratum: return i18n::tr("reply ignored: invalid stratum");
    case ReplyVerdict::NoTransmitTime: return i18n::tr("reply ignored: no server time");
    case ReplyVerdict::WrongOriginate: return i18n::tr("reply ignored: not an answer to our request");
    }
    return i18n::tr("reply ignored");
}

Exchange exchange(NtpTimestamp t1, NtpTimestamp t2, NtpTimestamp t3, NtpTimestamp t4) {
    const double t2_1 = seconds_after(t1, t2);
    const double t3_1 = seconds_after(t1, t3);
    const double t4_1 = seconds_after(t1, t4);
    // The round trip less the time the server held the request (T3 - T2);
    // the old (T2 - T3) added that time instead of taking it off.
    return {(t2_1 + (t3_1 - t4_1)) / 2, t4_1 - (t3_1 - t2_1)};
}

}  // namespace veltrano::net
