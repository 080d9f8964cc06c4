// The Time Sync sub-page of the admin tools (GroupBox28): asks a chosen NIST
// time server for the time over SNTP, shows the round trip, the error of the
// local clock and the server's time, corrects the clock, and asks again at
// the chosen polling interval while the page is open. Its two buttons hand
// the server and the interval to the Windows time service.
#pragma once

#include "core/registry_primitives.h"
#include "core/tip_state_store.h"
#include "i18n/translate.h"
#include "net/sntp.h"
#include "net/tw_socket.h"
#include "platform/time.h"
#include "ui/page.h"
#include "ui/widgets.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrano::admin {

struct TimeServer {
    std::string_view label;
    std::string_view host;
    std::string_view location;
};

// ComboBox1's servers, in order; each row's "Servers" value name is its
// index + 3. The locations are the ones the list has always shown; the
// labels are translated where the list shows them.
inline constexpr std::array<TimeServer, 12> kTimeServers{{
    {i18n::N_("NIST Time server"), "time-a-g.nist.gov", "Gaithersburg,Maryland,USA"},
    {i18n::N_("NIST Time server"), "time-b-g.nist.gov", "Gaithersburg,Maryland,USA"},
    {i18n::N_("NIST Time server"), "time-a-b.nist.gov", "Boulder,Colorado,USA"},
    {i18n::N_("NIST Time server"), "time-b-b.nist.gov", "Boulder,Colorado,USA"},
    {i18n::N_("NIST Time server"), "time-c-b.nist.gov", "Boulder,Colorado,USA"},
    {i18n::N_("NIST Univ of Colorado Time server"), "utcnist.colorado.edu", "Boulder,Colorado,USA"},
    {i18n::N_("NIST NCAR Time server"), "time-d-b.nist.gov", "Boulder,Colorado,USA"},
    {i18n::N_("NIST Microsoft Time server"), "time.nist.gov", "Redmond,Washington,USA"},
    {i18n::N_("NIST Time server"), "time-c-g.nist.gov", "SanJose,California,USA"},
    {i18n::N_("NIST Time server"), "time-d-g.nist.gov", "Abovnet,Virginia,USA"},
    {i18n::N_("NIST Time server"), "time-e-g.nist.gov", "Abovnet,NewYork City,Newyork,USA"},
    {i18n::N_("NIST Time server"), "time-e-b.nist.gov", "Abovnet,Sanjose,California,USA"},
}};
// Blank items after the servers, for the user's own entries.
inline constexpr int kEmptyServerItems = 3;

// ComboBox2: seconds between periodic requests.
inline constexpr std::array<std::string_view, 11> kPollIntervals{
    "10", "20", "30", "60", "120", "240", "300", "1500", "1800", "3000", "3600"};

inline constexpr ui::ComboBox kServerList{"ComboBox1"};
inline constexpr ui::ComboBox kIntervalList{"ComboBox2"};
inline constexpr ui::Label kStatus{"stStatus"};
// The one-second clock of the page; the admin page stops it when it hides.
inline constexpr ui::Timer kTimer{"Timer2"};
inline constexpr ui::Label kLocalTime{"Label36"};
// The exchange's results.
inline constexpr ui::Label kServerTime{"edtServerTime"}, kOffset{"edtError"}, kRoundTrip{"edtRTT"};

inline const std::string kTimeServersKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\DateTime\\Servers";
// The set the time service reads, which the record names too. The value
// used to go below ControlSet001, which is that set only while Windows
// starts from it.
inline const std::string kNtpClientKey =
    "\\SYSTEM\\CurrentControlSet\\Services\\W32Time\\TimeProviders\\NtpClient";
inline const std::string kSpecialPollInterval = "SpecialPollInterval";

// The host every server item names instead of its own: set for the tests,
// which must never reach a public time server. Read from the environment
// variable VELTRANO_TIME_SERVER once, and only in a build made with
// VELTRANO_TEST_SEAMS; empty otherwise.
const std::string& time_server_override();

// "2026-12-07 15:04:05".
std::string date_time_text(double days);

// Public servers refuse a client that asks more often than this.
inline constexpr std::uint32_t kMinRequestGapMs = 4000;
// A request with no reply by then is given up.
inline constexpr std::uint32_t kReplyTimeoutMs = 5000;

// A name a resolver takes: letters, digits and hyphens in dot-separated
// labels of up to 63 characters, none starting or ending with a hyphen, 253
// characters at most (a dotted IPv4 address is one).
bool is_host_name(std::string_view text);

// What the server box names: an item of the list, or a host the user typed.
struct ServerChoice {
    std::string host;   // empty: refused, `problem` says why
    int item = -1;      // the list's item; -1 for a typed host
    std::string problem;
};

using SocketFactory = std::function<std::unique_ptr<net::TWSocket>()>;

class TimeSyncPage : public ui::Page {
public:
    // `host_override`: every server item names this host instead (the
    // tests' seam); empty for the real servers. The socket is made at the
    // first request, so a visit that never synchronises costs nothing.
    TimeSyncPage(core::RegistryPrimitives& primitives, core::TipStateStore& store, platform::Time& time,
                 ui::Widgets& widgets, SocketFactory make_socket, std::string host_override = {});

    void created() override;
    void shown() override;

    // ComboBox1's items, as the view fills the list.
    std::vector<std::string> server_items() const;
    // The host of an item; item 0's for none (-1) or a blank item.
    std::string host_of(int item) const;
    // The box's text decides: an item's text is that item, anything else is
    // a host typed by the user, checked; the selection alone is not trusted,
    // as typing leaves it on whichever item the text began like.
    ServerChoice chosen_server() const;

    void synchronize_now();
    // Each second while the sub-page shows: the clocks, the countdown to the
    // next request, a reply overdue.
    void on_second();
    void polling_interval_select();
    // "Add TimeServer": the server chosen goes into the time service's list.
    void add_time_server();
    // "Set the interval": the time service polls at the interval chosen.
    void set_polling_interval();

    // The socket's events: its host found, a datagram in, a failure.
    void on_connected();
    void on_reply();
    void on_socket_error();

    const std::string& time_server_host() const { return time_server_host_; }
    double server_clock() const { return server_clock_; }

private:
    void open_time_server();
    void send_time_request();
    void countdown_step();
    int selected_interval() const;
    void forget_server();
    void drop_text_interval();
    void check_reply_deadline();
    // Where "Add TimeServer" writes a typed host: the number already naming
    // it, or the first free one after the list's own.
    std::string servers_value_for(const std::string& host);
    net::NtpTimestamp now_ntp() const;

    core::RegistryPrimitives& primitives_;
    core::TipStateStore& store_;
    platform::Time& time_;
    ui::Widgets& widgets_;
    SocketFactory make_socket_;
    std::unique_ptr<net::TWSocket> socket_;
    std::string host_override_;

    std::string time_server_host_;
    bool time_server_connected_ = false;
    // A name lookup is under way: the connection comes, or fails, later.
    bool resolving_ = false;
    int poll_countdown_ = 30;
    double server_clock_ = 0;
    // The transmit time of the request in flight as sent, its low-order bits
    // random: a reply must echo it. Gone once a reply was taken, so the same
    // answer cannot move the clock twice.
    std::optional<net::NtpTimestamp> request_sent_stamp_;
    // The clock's own reading then (T1), for the arithmetic.
    net::NtpTimestamp request_t1_;
    std::uint32_t request_sent_ms_ = 0;
    // The request in flight is the retry of one that got no reply: no
    // further retry for it, the countdown asks next.
    bool retrying_ = false;
    // When each server was last asked, on the tick clock.
    std::map<std::string, std::uint32_t> last_request_ms_;
};

// The page as the program makes it: the real servers, or the host the
// environment names for the tests.
std::unique_ptr<TimeSyncPage> make_time_sync_page(core::RegistryPrimitives& primitives,
                                                  core::TipStateStore& store, platform::Time& time,
                                                  ui::Widgets& widgets, SocketFactory make_socket);

}  // namespace veltrano::admin
