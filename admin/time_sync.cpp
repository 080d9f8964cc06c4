#include "admin/time_sync.h"

#include "net/random.h"
#include "platform/date_time.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace veltrano::admin {

namespace {

constexpr double kSecondsPerDay = 86400.0;
const std::string kLocalMachine = "HKEY_LOCAL_MACHINE";

std::string trimmed_text(std::string_view text) {
    std::size_t first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
    return std::string(text.substr(first, last - first));
}

std::string item_text(const TimeServer& server, std::string_view host) {
    // TRANSLATORS: a time server in the list: {0} what it is, {1} its host name, {2} where it stands
    return i18n::trf("{0}: {{http://{1}}} located at {2}", i18n::tr(server.label), host, server.location);
}

}  // namespace

const std::string& time_server_override() {
    static const std::string host = [] {
#ifdef VELTRANO_TIME_SERVER_SEAM
        const char* value = std::getenv("VELTRANO_TIME_SERVER");
        return std::string(value ? value : "");
#else
        return std::string();
#endif
    }();
    return host;
}

std::string date_time_text(double days) {
    const platform::SystemTime t = platform::from_date_time(days);
    char text[48];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", unsigned{t.year}, unsigned{t.month},
                  unsigned{t.day}, unsigned{t.hour}, unsigned{t.minute}, unsigned{t.second});
    return text;
}

TimeSyncPage::TimeSyncPage(core::RegistryPrimitives& primitives, core::TipStateStore& store, platform::Time& time,
                           ui::Widgets& widgets, SocketFactory make_socket, std::string host_override)
    : primitives_(primitives), store_(store), time_(time), widgets_(widgets), make_socket_(std::move(make_socket)),
      host_override_(std::move(host_override)) {}

std::unique_ptr<TimeSyncPage> make_time_sync_page(core::RegistryPrimitives& primitives,
                                                  core::TipStateStore& store, platform::Time& time,
                                                  ui::Widgets& widgets, SocketFactory make_socket) {
    return std::make_unique<TimeSyncPage>(primitives, store, time, widgets, std::move(make_socket),
                                          time_server_override());
}

// The page is drawn later, when first shown: state only here.
void TimeSyncPage::created() {
    time_server_host_.clear();
    time_server_connected_ = false;
    poll_countdown_ = 30;
    server_clock_ = 0;
}

void TimeSyncPage::shown() {
    widgets_.set_text(kLocalTime, date_time_text(platform::to_date_time(time_.local_time())));
    widgets_.set_enabled(kTimer, true);
    // The socket may have been left open while away; the next tick reopens
    // it and asks again.
    time_server_connected_ = false;
}

std::vector<std::string> TimeSyncPage::server_items() const {
    std::vector<std::string> items;
    for (const TimeServer& server : kTimeServers)
        items.push_back(item_text(server, host_override_.empty() ? server.host : host_override_));
    items.resize(items.size() + kEmptyServerItems);
    return items;
}

std::string TimeSyncPage::host_of(int item) const {
    if (!host_override_.empty()) return host_override_;
    if (item < 0 || item >= static_cast<int>(kTimeServers.size())) item = 0;
    return std::string(kTimeServers[static_cast<std::size_t>(item)].host);
}

bool is_host_name(std::string_view text) {
    if (text.empty() || text.size() > 253) return false;
    std::size_t label = 0;
    char previous = '.';
    for (char c : text) {
        const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (c == '.') {
            if (label == 0 || previous == '-') return false;
            label = 0;
        } else if (alnum || (c == '-' && label > 0)) {
            if (++label > 63) return false;
        } else {
            return false;
        }
        previous = c;
    }
    return label > 0 && previous != '-';
}

ServerChoice TimeSyncPage::chosen_server() const {
    const std::string text = trimmed_text(widgets_.text(kServerList));
    const std::vector<std::string> items = server_items();
    const int selected = widgets_.selected_index(kServerList);
    // The chosen item first: with the seam every item names the same host.
    if (selected >= 0 && selected < static_cast<int>(kTimeServers.size()) &&
        text == items[static_cast<std::size_t>(selected)])
        return {host_of(selected), selected, {}};
    for (std::size_t i = 0; i < kTimeServers.size(); ++i)
        if (text == items[i]) return {host_of(static_cast<int>(i)), static_cast<int>(i), {}};
    if (text.empty()) return {{}, -1, i18n::tr("no time server: choose one from the list or type its host name")};
    if (!is_host_name(text)) return {{}, -1, i18n::trf("not a host name: {0}", text)};
    return {text, -1, {}};
}

int TimeSyncPage::selected_interval() const {
    int item = widgets_.selected_index(kIntervalList);
    if (item < 0 || item >= static_cast<int>(kPollIntervals.size())) item = 0;
    return std::atoi(kPollIntervals[static_cast<std::size_t>(item)].data());
}

net::NtpTimestamp TimeSyncPage::now_ntp() const { return net::local_ntp_timestamp(time_.system_time_utc()); }

void TimeSyncPage::open_time_server() {
    widgets_.set_text(kStatus, i18n::trf("resolving {0} ...", time_server_host_));
    if (!socket_) {
        socket_ = make_socket_();
        socket_->OnSessionConnected = [this] { on_connected(); };
        socket_->OnDataAvailable = [this] { on_reply(); };
        socket_->OnError = [this] { on_socket_error(); };
    }
    socket_->Close();
    socket_->Proto = "udp";
    socket_->Port = "123";
    socket_->Addr = time_server_host_;
    // A name is looked up while the window goes on: the connection, or the
    // error, comes later as an event (at once for an address).
    resolving_ = true;
    socket_->Connect();
}

void TimeSyncPage::on_connected() {
    resolving_ = false;
    // TRANSLATORS: a status: {0} the time server's host name, now found on the network
    widgets_.set_text(kStatus, i18n::trf("{0} resolved.", socket_->Addr));
    time_server_connected_ = true;
    send_time_request();
}

void TimeSyncPage::send_time_request() {
    const std::uint32_t now_ms = time_.tick_count_ms();
    // Whatever asks (a click, the countdown, a new interval), the server
    // hears from us at most once in kMinRequestGapMs: its operators turn
    // away clients that ask more often.
    if (auto last = last_request_ms_.find(time_server_host_);
        last != last_request_ms_.end() && now_ms - last->second < kMinRequestGapMs) {
        widgets_.set_text(kStatus, i18n::trf("request held back: {0} takes one request every {1} seconds",
                                             time_server_host_, std::to_string(kMinRequestGapMs / 1000)));
        return;
    }
    widgets_.set_text(kStatus, i18n::tr("requesting time..."));
    // Version 4 with our transmit time in it: servers of today drop the old
    // version 6 request unanswered, and the echo of our time is what tells
    // an answer from a forgery. Below the millisecond the clock says
    // nothing, so those bits are random: a forger who cannot see the
    // request has to guess them.
    request_t1_ = now_ntp();
    constexpr std::uint32_t kBelowMillisecond = (1u << 22) - 1;  // 2^32 / 1000 is just above 2^22
    const net::NtpTimestamp sent{request_t1_.seconds,
                                 (request_t1_.fraction & ~kBelowMillisecond) |
                                     (net::unpredictable_bits() & kBelowMillisecond)};
    request_sent_stamp_ = sent;
    request_sent_ms_ = now_ms;
    last_request_ms_[time_server_host_] = now_ms;
    const net::NtpPacket request = net::build_request(sent);
    socket_->Send(request);
}

void TimeSyncPage::check_reply_deadline() {
    if (!request_sent_stamp_ || time_.tick_count_ms() - request_sent_ms_ < kReplyTimeoutMs) return;
    // A late answer no longer counts: the status said there was none.
    request_sent_stamp_.reset();
    widgets_.set_text(kStatus, i18n::trf("no reply from {0}", time_server_host_));
    // One retry, at the next tick; a retry that is not answered either
    // leaves the next request to the countdown.
    if (!retrying_ && time_server_connected_) poll_countdown_ = 1;
    retrying_ = !retrying_;
}

void TimeSyncPage::on_reply() {
    const net::NtpTimestamp t4 = now_ntp();  // before reading: the read is not part of the trip
    widgets_.set_text(kStatus, i18n::tr("time received."));
    // Room for a longer answer (a server may append a key id and digest):
    // a datagram larger than the buffer is an error on Windows, not a cut.
    std::array<std::uint8_t, 512> buffer{};
    net::Endpoint from;
    const int length = socket_->ReceiveFrom(buffer, from);
    if (length < 0) {
        // The request stays in flight: a reply that can be read may follow.
        widgets_.set_text(kStatus,
                          // TRANSLATORS: {0} the number of a Windows Sockets error
                          i18n::trf("error {0}: the reply could not be read", std::to_string(socket_->LastError())));
        return;
    }
    const bool from_server = from == socket_->peer();
    // With no request in flight nothing can match; a zero stamp stands in.
    const net::CheckedReply checked =
        net::check_reply(std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(length)), from_server,
                         request_sent_stamp_.value_or(net::NtpTimestamp{}));
    const bool expected = request_sent_stamp_.has_value();
    if (checked.verdict != net::ReplyVerdict::Accepted || !expected) {
        // Anyone on the network can send us a datagram: the clock moves only
        // for the server's own answer to our own request.
        const net::ReplyVerdict verdict = expected ? checked.verdict : net::ReplyVerdict::WrongOriginate;
        std::string why = net::describe(verdict);
        if (verdict == net::ReplyVerdict::KissOfDeath) {
            // The server asked us to go away: no more requests to it until
            // the user chooses again.
            // TRANSLATORS: {0} why the reply was refused (the server said to go away), {1} the server's host name
            why = i18n::trf("{0}; no more requests to {1}", why, time_server_host_);
            forget_server();
            if (socket_) socket_->Close();
        }
        widgets_.set_text(kStatus, why);
        return;
    }
    request_sent_stamp_.reset();
    retrying_ = false;

    const net::Exchange result = net::exchange(request_t1_, checked.reply.receive, checked.reply.transmit, t4);
    char error[32];
    std::snprintf(error, sizeof error, "%8.3f", -result.offset);
    widgets_.set_text(kOffset, error);
    widgets_.set_text(kRoundTrip, std::to_string(std::llround(result.delay * 1000.0)));
    // The server's time from our clock before it is corrected: read after,
    // the offset would count twice.
    server_clock_ = platform::to_date_time(time_.local_time()) + result.offset / kSecondsPerDay;
    // Set in UTC: a local time set near a daylight-saving change is read
    // under the rule in force before it and lands an hour off.
    const double corrected = platform::to_date_time(time_.system_time_utc()) + result.offset / kSecondsPerDay;
    if (!time_.set_system_time_utc(platform::from_date_time(corrected))) {
        // TRANSLATORS: {0} the system's reason
        const std::string why = i18n::trf("clock not corrected: {0}", time_.last_error_text());
        primitives_.log().add(why);
        widgets_.set_text(kStatus, why);
        return;
    }
    widgets_.set_text(kStatus, i18n::tr("clock corrected."));
}

void TimeSyncPage::synchronize_now() {
    const ServerChoice server = chosen_server();
    if (server.host.empty()) {
        // The exchange under way, if any, goes on with its own server.
        widgets_.set_text(kStatus, server.problem);
        return;
    }
    // Item 0 leaves the countdown as it is: the first periodic request then
    // comes 30 s after connecting.
    if (widgets_.selected_index(kIntervalList) > 0) poll_countdown_ = selected_interval();
    if (server.host == time_server_host_ && time_server_connected_) {
        // The same server again: its socket stays, so an answer on its way
        // to it is still heard.
        send_time_request();
        return;
    }
    time_server_connected_ = false;
    time_server_host_ = server.host;
    // Connecting sends the first request; the countdown starts with the
    // next tick, so the first periodic request comes 30 s later, not 29.
    open_time_server();
}

void TimeSyncPage::on_second() {
    widgets_.set_text(kLocalTime, date_time_text(platform::to_date_time(time_.local_time())));
    if (server_clock_ != 0) {
        server_clock_ += 1.0 / kSecondsPerDay;
        widgets_.set_text(kServerTime, date_time_text(server_clock_));
    }
    if (!time_server_host_.empty() && !time_server_connected_ && !resolving_) {
        open_time_server();  // sends a request: this tick counts no further
        return;
    }
    countdown_step();
    check_reply_deadline();
}

void TimeSyncPage::countdown_step() {
    if (!time_server_connected_ || poll_countdown_ <= 0) return;
    --poll_countdown_;
    widgets_.set_text(kStatus, i18n::trf("{0} secs. to next request...", std::to_string(poll_countdown_)));
    if (poll_countdown_ == 0) {
        send_time_request();
        poll_countdown_ = selected_interval();
    }
}

void TimeSyncPage::polling_interval_select() {
    widgets_.set_enabled(kTimer, false);
    poll_countdown_ = selected_interval();
    widgets_.set_enabled(kTimer, true);
    if (time_server_connected_) send_time_request();
}

void TimeSyncPage::forget_server() {
    widgets_.set_selected_index(kServerList, -1);
    widgets_.set_text(kServerList, "");
    time_server_host_.clear();
    time_server_connected_ = false;
    resolving_ = false;
    widgets_.set_selected_index(kIntervalList, 0);
    request_sent_stamp_.reset();
    retrying_ = false;
}

void TimeSyncPage::on_socket_error() {
    // TRANSLATORS: {0} the number of a Windows Sockets error
    widgets_.set_text(kStatus, i18n::trf("error {0}", std::to_string(socket_->LastError())));
    // With the host gone the timer no longer reopens the socket.
    forget_server();
}

std::string TimeSyncPage::servers_value_for(const std::string& host) {
    auto key = primitives_.registry().open(core::Root::LocalMachine, kTimeServersKey, false);
    std::vector<std::string> names = key ? key->value_names() : std::vector<std::string>{};
    auto same_host = [](std::string a, std::string b) {
        for (std::string* s : {&a, &b})
            for (char& c : *s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return a == b;
    };
    for (const std::string& name : names)
        if (auto value = key->query(name); !name.empty() && value && value->kind == platform::ValueKind::String &&
                                           same_host(value->text, host))
            return name;
    // After "3" to "14", the numbers the list's items write.
    for (int number = static_cast<int>(kTimeServers.size()) + 3;; ++number) {
        const std::string name = std::to_string(number);
        if (std::find(names.begin(), names.end(), name) == names.end()) return name;
    }
}

void TimeSyncPage::add_time_server() {
    const ServerChoice server = chosen_server();
    if (server.host.empty()) {
        widgets_.set_text(kStatus, server.problem);
        return;
    }
    const std::string name = server.item >= 0 ? std::to_string(server.item + 3) : servers_value_for(server.host);
    store_.record_value(core::kTimeServersRecord, core::Root::LocalMachine, kLocalMachine, kTimeServersKey, name,
                        core::STR_TYPE, server.host, 0, true);
    primitives_.write_value(core::Root::LocalMachine, kTimeServersKey, name, core::STR_TYPE, server.host, 0,
                                    i18n::tr("Setting Time Server"), true);
}

void TimeSyncPage::set_polling_interval() {
    const int item = widgets_.selected_index(kIntervalList);
    if (item < 0 || item >= static_cast<int>(kPollIntervals.size())) return;
    const std::int32_t seconds = std::atoi(kPollIntervals[static_cast<std::size_t>(item)].data());
    drop_text_interval();
    // A DWORD, as XP keeps it and tip 35 writes it: the time service reads
    // no number from text, and a text value stopped this button for good.
    store_.record_value(core::kTimeServersRecord, core::Root::LocalMachine, kLocalMachine, kNtpClientKey,
                        kSpecialPollInterval, core::INT_TYPE, "", seconds, true);
    primitives_.write_value(core::Root::LocalMachine, kNtpClientKey, kSpecialPollInterval, core::INT_TYPE,
                                    "", seconds, i18n::tr("Setting the polling interval"), true);
}

void TimeSyncPage::drop_text_interval() {
    // Earlier versions wrote the interval, and its records, as text where no
    // value was. Read as numbers they would stop every later click, so they
    // go (each removal in the log); the time service never used them.
    std::vector<std::string> keys = core::value_record_keys(core::kTimeServersRecord);
    keys.insert(keys.begin(), kNtpClientKey);
    for (const std::string& key : keys) {
        const auto open = primitives_.registry().open(core::Root::LocalMachine, key, false);
        const auto value = open ? open->query(kSpecialPollInterval) : std::nullopt;
        if (value && value->kind != platform::ValueKind::Dword)
            primitives_.delete_entry(core::Root::LocalMachine, key, kSpecialPollInterval, core::VALUENAME,
                                        i18n::tr("Removing the polling interval stored as text"));
    }
}

}  // namespace veltrano::admin
