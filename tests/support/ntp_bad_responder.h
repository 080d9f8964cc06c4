// An NTP server of our own for Windows tests, on 127.0.0.1:123: a worker
// thread answers every request with the fault the test chose, so a test can
// show that each kind of bad reply is refused and leaves the clock alone.
// Healthy answers like a server whose clock is ours, to show the path works.
//
// 127.0.0.1 and no other loopback address: Wine binds a UDP socket asked for
// any other address of lo to 0.0.0.0 instead, which collides with the NTP
// peers on 127.0.0.2 and .3 and would answer from 127.0.0.1 anyway. Only one
// responder can listen at a time: tests that use it take the ctest
// RESOURCE_LOCK ntp_bad_responder.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace veltrano::test {

class NtpBadResponder {
public:
    enum class Fault {
        Healthy,
        WrongOriginate,  // echoes a timestamp that is not the request's
        Short,           // 47 bytes
        Mode3,           // a client packet, not a server reply
        LeapAlarm,       // leap indicator 3
        KissOfDeath,     // stratum 0, "RATE"
        OtherPort,       // a good reply, sent from port 1123
    };

    static constexpr const char* kAddress = "127.0.0.1";
    static constexpr std::uint32_t kAddressHostOrder = 0x7F000001;
    static constexpr std::uint16_t kOtherPort = 1123;

    explicit NtpBadResponder(Fault fault = Fault::Healthy) : fault_(fault) {
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("WSAStartup failed");
        server_ = open(123);
        other_ = open(kOtherPort);
        worker_ = std::thread([this] { serve(); });
    }
    NtpBadResponder(const NtpBadResponder&) = delete;
    NtpBadResponder& operator=(const NtpBadResponder&) = delete;
    ~NtpBadResponder() {
        stop_ = true;
        worker_.join();
        closesocket(server_);
        closesocket(other_);
        WSACleanup();
    }

    void set_fault(Fault fault) { fault_ = fault; }
    // Requests answered so far: a test waits for this to grow.
    int answered() const { return answered_; }

private:
    static SOCKET open(std::uint16_t port) {
        SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_addr.s_addr = htonl(kAddressHostOrder);
        at.sin_port = htons(port);
        if (s == INVALID_SOCKET || bind(s, reinterpret_cast<const sockaddr*>(&at), sizeof at) == SOCKET_ERROR) {
            const int error = WSAGetLastError();
            if (s != INVALID_SOCKET) closesocket(s);
            throw std::runtime_error("bad responder cannot bind 127.0.0.4:" + std::to_string(port) + ", error " +
                                     std::to_string(error) + " (port 123 needs root)");
        }
        return s;
    }

    static void put(std::vector<std::uint8_t>& packet, std::size_t at, std::uint32_t word) {
        for (int i = 0; i < 4; ++i) packet[at + i] = static_cast<std::uint8_t>(word >> (24 - 8 * i));
    }

    static void put_now(std::vector<std::uint8_t>& packet, std::size_t at) {
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        // 100 ns units since 1601; 1900 is 9435484800 s before that.
        const std::uint64_t ticks = (std::uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
        const std::uint64_t since_1900 = ticks / 10000000 + 9435484800ull;
        put(packet, at, static_cast<std::uint32_t>(since_1900));
        put(packet, at + 4, static_cast<std::uint32_t>((ticks % 10000000) * 4294967295ull / 10000000));
    }

    std::vector<std::uint8_t> reply_to(const char* request, Fault fault) const {
        std::vector<std::uint8_t> reply(48, 0);
        reply[0] = 0x24;  // LI 0, version 4, server
        reply[1] = 2;
        std::copy(request + 40, request + 48, reply.begin() + 24);  // originate = their transmit
        put_now(reply, 32);
        put_now(reply, 40);
        switch (fault) {
        case Fault::Healthy:
        case Fault::OtherPort: break;
        case Fault::WrongOriginate: reply[31] ^= 0x01; break;
        case Fault::Short: reply.pop_back(); break;
        case Fault::Mode3: reply[0] = 0x23; break;
        case Fault::LeapAlarm: reply[0] = 0xE4; break;
        case Fault::KissOfDeath:
            reply[0] = 0xE4;
            reply[1] = 0;
            std::copy_n("RATE", 4, reply.begin() + 12);
            break;
        }
        return reply;
    }

    void serve() {
        while (!stop_) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(server_, &readable);
            timeval tick{0, 20000};  // how soon the destructor is heard
            if (select(0, &readable, nullptr, nullptr, &tick) <= 0) continue;
            char request[512];
            sockaddr_in client{};
            int client_length = sizeof client;
            const int length = recvfrom(server_, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&client),
                                        &client_length);
            if (length < 48) continue;
            const Fault fault = fault_;
            const auto reply = reply_to(request, fault);
            const SOCKET from = fault == Fault::OtherPort ? other_ : server_;
            sendto(from, reinterpret_cast<const char*>(reply.data()), static_cast<int>(reply.size()), 0,
                   reinterpret_cast<const sockaddr*>(&client), client_length);
            ++answered_;
        }
    }

    std::atomic<Fault> fault_;
    std::atomic<bool> stop_{false};
    std::atomic<int> answered_{0};
    SOCKET server_ = INVALID_SOCKET;
    SOCKET other_ = INVALID_SOCKET;
    std::thread worker_;
};

}  // namespace veltrano::test
