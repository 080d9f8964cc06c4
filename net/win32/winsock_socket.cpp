#include "net/win32/winsock_socket.h"

// winsock2.h before windows.h: the other order drags in the old winsock.h.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include "platform/win32/unique_handle.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <utility>

namespace veltrano::net::win32 {

namespace {

using platform::win32::unique_handle;

struct socket_traits {
    using pointer = SOCKET;
    static pointer invalid() noexcept { return INVALID_SOCKET; }
    static void close(pointer s) noexcept { closesocket(s); }
};
using unique_socket = unique_handle<socket_traits>;

struct window_traits {
    using pointer = HWND;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { DestroyWindow(h); }
};
using unique_window = unique_handle<window_traits>;

// Ws2_32 counts its users: every socket object holds one start-up and gives
// it back, so the library stays loaded exactly as long as someone needs it.
class WinsockSession {
public:
    WinsockSession() {
        WSADATA data;
        error_ = WSAStartup(MAKEWORD(2, 2), &data);
    }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
    ~WinsockSession() {
        if (error_ == 0) WSACleanup();
    }
    int error() const { return error_; }

private:
    int error_ = 0;
};

// Each connection has its own message number: a handle value can come back
// for the next socket, a message number only after 4096 connections.
constexpr UINT kFirstSocketMessage = WM_APP + 1;
constexpr UINT kSocketMessageCount = 0x1000;
// A name lookup's answer; the task handle in wParam tells lookups apart.
constexpr UINT kLookupMessage = kFirstSocketMessage + kSocketMessageCount;
constexpr wchar_t kWindowClass[] = L"VeltranoSocketWindow";

// Not in every mingw-w64 header set; XP SP2 and later know it.
#ifndef SIO_UDP_CONNRESET
#define SIO_UDP_CONNRESET _WSAIOW(IOC_VENDOR, 12)
#endif

bool parse_port(const std::string& text, std::uint16_t& port) {
    if (text.empty() || text.size() > 5) return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value > 65535) return false;
    port = static_cast<std::uint16_t>(value);
    return true;
}

class WinsockSocket final : public TWSocket {
public:
    WinsockSocket() {
        register_window_class();
        // A message-only window: no taskbar entry, never shown, but its
        // messages wait in this thread's queue like any other window's.
        window_.reset(CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleW(nullptr), this));
    }

    ~WinsockSocket() override {
        Close();
        // A lookup Winsock did not cancel (Wine's cancel does nothing) may
        // still write its answer: its buffer outlives us rather than be
        // written after it was freed.
        for (auto& pending : lookups_) static_cast<void>(pending.second.release());
    }

    void Close() override {
        if (lookup_) WSACancelAsyncRequest(lookup_);
        lookup_ = nullptr;
        socket_.reset();
        connected_ = false;
    }

    void Connect() override {
        Close();
        peer_ = {};
        if (session_.error() != 0) return fail(session_.error());
        if (!window_) return fail(WSAENETDOWN);
        if (Proto != "udp") return fail(WSAEPROTONOSUPPORT);

        if (!parse_port(Port, remote_port_) || !parse_port(LocalPort, local_port_)) return fail(WSAEINVAL);
        // inet_addr rather than inet_pton, which XP's ws2_32 lacks.
        local_address_ = inet_addr(LocalAddr.c_str());
        if (local_address_ == INADDR_NONE && LocalAddr != "255.255.255.255") return fail(WSAEINVAL);

        // A resolver takes "" as this computer's own name.
        if (Addr.empty()) return fail(WSAHOST_NOT_FOUND);
        // An address needs no lookup: connected before Connect returns.
        if (const unsigned long address = inet_addr(Addr.c_str()); address != INADDR_NONE)
            return open(ntohl(address));
        // A name may take seconds to resolve, or to fail: Winsock looks it
        // up on a thread of its own and posts the answer, so the window
        // keeps answering meanwhile (getaddrinfo would hold it). XP has the
        // call; it knows IPv4 only, which is all SNTP here needs.
        auto buffer = std::make_unique<char[]>(MAXGETHOSTSTRUCT);
        HANDLE task = WSAAsyncGetHostByName(window_.get(), kLookupMessage, Addr.c_str(), buffer.get(), MAXGETHOSTSTRUCT);
        if (task == nullptr) return fail(WSAGetLastError());
        lookup_ = task;
        lookups_[task] = std::move(buffer);
    }

    int Send(std::span<const std::uint8_t> datagram) override {
        if (!connected_) {
            fail(WSAENOTCONN);
            return -1;
        }
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(peer_.address);
        to.sin_port = htons(peer_.port);
        const int sent = sendto(socket_.get(), reinterpret_cast<const char*>(datagram.data()),
                                static_cast<int>(datagram.size()), 0, reinterpret_cast<const sockaddr*>(&to),
                                sizeof to);
        if (sent == SOCKET_ERROR) {
            fail(WSAGetLastError());
            return -1;
        }
        return sent;
    }

    int ReceiveFrom(std::span<std::uint8_t> buffer, Endpoint& from) override {
        if (!connected_) return -1;
        sockaddr_in sender{};
        int sender_length = sizeof sender;
        int received = recvfrom(socket_.get(), reinterpret_cast<char*>(buffer.data()), static_cast<int>(buffer.size()),
                                0, reinterpret_cast<sockaddr*>(&sender), &sender_length);
        if (received == SOCKET_ERROR) {
            const int error = WSAGetLastError();
            // A datagram longer than the buffer: Windows fills the buffer,
            // drops the rest and says so; the first bytes are what we read.
            if (error != WSAEMSGSIZE) {
                last_error_ = error;
                return -1;
            }
            received = static_cast<int>(buffer.size());
        }
        from = {ntohl(sender.sin_addr.s_addr), ntohs(sender.sin_port)};
        return received;
    }

    Endpoint peer() const override { return peer_; }
    int LastError() const override { return last_error_; }

private:
    static void register_window_class() {
        WNDCLASSEXW window_class{};
        window_class.cbSize = sizeof window_class;
        window_class.lpfnWndProc = window_procedure;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.lpszClassName = kWindowClass;
        // A second socket registers again and is told the class exists.
        RegisterClassExW(&window_class);
    }

    static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        } else if (message == kLookupMessage) {
            auto* self = reinterpret_cast<WinsockSocket*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            if (self != nullptr) self->on_lookup(reinterpret_cast<HANDLE>(wparam), lparam);
            return 0;
        } else if (message >= kFirstSocketMessage && message < kFirstSocketMessage + kSocketMessageCount) {
            auto* self = reinterpret_cast<WinsockSocket*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            if (self != nullptr) self->on_socket_message(message, static_cast<SOCKET>(wparam), lparam);
            return 0;
        }
        return DefWindowProcW(window, message, wparam, lparam);
    }

    void on_lookup(HANDLE task, LPARAM answer) {
        auto found = lookups_.find(task);
        if (found == lookups_.end()) return;
        const std::unique_ptr<char[]> buffer = std::move(found->second);
        lookups_.erase(found);
        // The answer to a lookup since given up: a Close or a new Connect.
        if (task != lookup_) return;
        lookup_ = nullptr;
        if (const int error = WSAGETASYNCERROR(answer); error != 0) return fail(error);
        const auto* host = reinterpret_cast<const hostent*>(buffer.get());
        if (host->h_addrtype != AF_INET || host->h_addr_list == nullptr || host->h_addr_list[0] == nullptr)
            return fail(WSANO_DATA);
        in_addr address;
        std::memcpy(&address, host->h_addr_list[0], sizeof address);
        open(ntohl(address.s_addr));
    }

    // The peer's address known: the socket is made, bound and connected.
    void open(std::uint32_t address) {
        peer_ = {address, remote_port_};
        unique_socket created{socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP)};
        if (!created) return fail(WSAGetLastError());
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = local_address_;
        local.sin_port = htons(local_port_);
        if (bind(created.get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) == SOCKET_ERROR) {
            return fail(WSAGetLastError());
        }
        // A datagram that meets a closed port comes back as an ICMP error,
        // which Windows then reports from the next recvfrom as
        // WSAECONNRESET, as though a datagram had arrived. Ask for the plain
        // behaviour; where the call is unknown the reply checks still hold.
        BOOL report_resets = FALSE;
        DWORD returned = 0;
        WSAIoctl(created.get(), SIO_UDP_CONNRESET, &report_resets, sizeof report_resets, nullptr, 0, &returned,
                 nullptr, nullptr);
        // Not connect(): replies are taken from any sender and judged by the
        // caller against peer(), so a stranger's datagram is refused visibly
        // rather than dropped unseen by the kernel.
        message_ = kFirstSocketMessage + (message_ + 1 - kFirstSocketMessage) % kSocketMessageCount;
        if (WSAAsyncSelect(created.get(), window_.get(), message_, FD_READ) == SOCKET_ERROR) {
            return fail(WSAGetLastError());
        }
        socket_ = std::move(created);
        connected_ = true;
        raise(OnSessionConnected);
    }

    void on_socket_message(UINT message, SOCKET from, LPARAM event) {
        // Posted before a Close or a new Connect, delivered after: the socket
        // it speaks of is gone.
        if (!connected_ || message != message_ || from != socket_.get()) return;
        if (WSAGETSELECTEVENT(event) != FD_READ) return;
        if (const int error = WSAGETSELECTERROR(event); error != 0) return fail(error);
        // Winsock posts FD_READ again after each recvfrom while datagrams
        // remain, so one event per datagram follows from the caller reading one.
        raise(OnDataAvailable);
    }

    void fail(int error) {
        last_error_ = error;
        raise(OnError);
    }

    // A handler may Close, Connect again or replace the handlers: it runs on
    // a copy.
    static void raise(const std::function<void()>& event) {
        if (auto handler = event) handler();
    }

    // Destroyed in reverse: the socket first (closing it ends the
    // asynchronous selection, so nothing is posted to a window going away),
    // then the window, then our hold on Winsock.
    WinsockSession session_;
    unique_window window_;
    unique_socket socket_;
    bool connected_ = false;
    UINT message_ = kFirstSocketMessage;
    Endpoint peer_;
    int last_error_ = 0;
    std::uint16_t remote_port_ = 0, local_port_ = 0;
    unsigned long local_address_ = INADDR_ANY;
    // The lookup under way, and the answer buffer of every lookup not yet
    // answered (a given-up one is still written into).
    HANDLE lookup_ = nullptr;
    std::map<HANDLE, std::unique_ptr<char[]>> lookups_;
};

}  // namespace

std::unique_ptr<TWSocket> create_tw_socket() {
    return std::make_unique<WinsockSocket>();
}

}  // namespace veltrano::net::win32
