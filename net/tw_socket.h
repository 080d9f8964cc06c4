// The asynchronous socket component the time synchronisation talks through:
// a datagram socket that resolves its host, opens, sends and receives, and
// reports what happens as events on the user-interface thread (through the
// window's message queue), never from a thread of its own.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace veltrano::net {

struct Endpoint {
    std::uint32_t address = 0;  // IPv4, host byte order (127.0.0.1 = 0x7F000001)
    std::uint16_t port = 0;     // host byte order
    bool operator==(const Endpoint&) const = default;
};

class TWSocket {
public:
    virtual ~TWSocket() = default;

    // Set before Connect; reading Addr gives back the host text as set.
    std::string Proto = "udp";
    std::string Port = "123";
    std::string Addr;
    std::string LocalAddr = "0.0.0.0";
    std::string LocalPort = "0";

    // Raised once the host is resolved and the socket bound: before Connect
    // returns for an address, later (from the message queue) for a name.
    std::function<void()> OnSessionConnected;
    // Once per datagram waiting to be read.
    std::function<void()> OnDataAvailable;
    // Any failure (resolution, creation, binding, sending); LastError() then
    // holds the socket error code.
    std::function<void()> OnError;

    // Ends any previous connection; harmless when none is open.
    virtual void Close() = 0;
    // Resolves Addr without holding the thread, creates and binds the
    // socket; a failure, the lookup's too, comes through OnError.
    virtual void Connect() = 0;
    // One datagram to Addr:Port. Returns the bytes sent, or -1 (after OnError).
    virtual int Send(std::span<const std::uint8_t> datagram) = 0;
    // Takes one waiting datagram, at most buffer.size() bytes; returns its
    // length (-1 when none) and where it came from.
    virtual int ReceiveFrom(std::span<std::uint8_t> buffer, Endpoint& from) = 0;
    // The address Addr resolved to, and Port: where replies must come from.
    virtual Endpoint peer() const = 0;
    // The socket error code of the last failure (WSAGetLastError).
    virtual int LastError() const = 0;
};

}  // namespace veltrano::net
