#include "admin/time_sync.h"

#include "platform/date_time.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace veltrano::admin {

namespace {

constexpr double kSecondsPerDay = 86400.0;
const std::string kRecordKey = "TIMESERVERS";
const std::string kLocalMachine = "HKEY_LOCAL_MACHINE";

std::string item_text(const TimeServer& server, std::string_view host) {
    return std::string(server.label) + ": {http://" + std::string(host) + "} located at " +
           std::string(server.location);
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
    widgets_.set_text("Label36", date_time_text(platform::to_date_time(time_.local_time())));
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

int TimeSyncPage::selected_interval() const {
    int item = widgets_.selected_index(kIntervalList);
    if (item < 0 || item >= static_cast<int>(kPollIntervals.size())) item = 0;
    return std::atoi(kPollIntervals[static_cast<std::size_t>(item)].data());
}

net::NtpTimestamp TimeSyncPage::now_ntp() const { return net::local_ntp_timestamp(time_.system_time_utc()); }

void TimeSyncPage::open_time_server() {
    const int item = widgets_.selected_index(kServerList);
    const std::vector<std::string> items = server_items();
    const std::string chosen = item >= 0 && item < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(item)] : "";
    widgets_.set_text(kStatus, "resolving " + chosen + " ...");
    if (!socket_) {
        socket_ = make_socket_();
        socket_->OnSessionConnected = [this] { UDPSockSessionConnected(); };
        socket_->OnDataAvailable = [this] { UDPSockDataAvailable(); };
        socket_->OnError = [this] { UDPSockError(); };
    }
    socket_->Close();
    socket_->Proto = "udp";
    socket_->Port = "123";
    socket_->Addr = time_server_host_;
    // Resolves the name before it returns, the window waiting: the events
    // below come from inside it.
    socket_->Connect();
}

void TimeSyncPage::UDPSockSessionConnected() {
    widgets_.set_text(kStatus, socket_->Addr + " resolved.");
    time_server_connected_ = true;
    send_time_request();
}

void TimeSyncPage::send_time_request() {
    widgets_.set_text(kStatus, "requesting time...");
    // Version 4 with our transmit time in it: servers of today drop the old
    // version 6 request unanswered, and the echo of our time is what tells
    // an answer from a forgery.
    request_sent_stamp_ = now_ntp();
    const net::NtpPacket request = net::build_request(*request_sent_stamp_);
    socket_->Send(request);
}

void TimeSyncPage::UDPSockDataAvailable() {
    const net::NtpTimestamp t4 = now_ntp();  // before reading: the read is not part of the trip
    widgets_.set_text(kStatus, "time received.");
    // Room for a longer answer (a server may append a key id and digest):
    // a datagram larger than the buffer is an error on Windows, not a cut.
    std::array<std::uint8_t, 512> buffer{};
    net::Endpoint from;
    const int length = socket_->ReceiveFrom(buffer, from);
    if (length < 0) {
        // The request stays in flight: a reply that can be read may follow.
        widgets_.set_text(kStatus, "error " + std::to_string(socket_->LastError()) + ": the reply could not be read");
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
            why += "; no more requests to " + time_server_host_;
            forget_server();
            if (socket_) socket_->Close();
        }
        widgets_.set_text(kStatus, why);
        return;
    }
    const net::NtpTimestamp t1 = *request_sent_stamp_;
    request_sent_stamp_.reset();

    const net::Exchange result = net::exchange(t1, checked.reply.receive, checked.reply.transmit, t4);
    char error[32];
    std::snprintf(error, sizeof error, "%8.3f", -result.offset);
    widgets_.set_text("edtError", error);
    widgets_.set_text("edtRTT", std::to_string(std::llround(result.delay * 1000.0)));
    // The server's time from our clock before it is corrected: read after,
    // the offset would count twice.
    server_clock_ = platform::to_date_time(time_.local_time()) + result.offset / kSecondsPerDay;
    // Set in UTC: a local time set near a daylight-saving change is read
    // under the rule in force before it and lands an hour off.
    const double corrected = platform::to_date_time(time_.system_time_utc()) + result.offset / kSecondsPerDay;
    if (!time_.set_system_time_utc(platform::from_date_time(corrected))) {
        const std::string why = "clock not corrected: " + time_.last_error_text();
        primitives_.log().add(why);
        widgets_.set_text(kStatus, why);
        return;
    }
    widgets_.set_text(kStatus, "clock corrected.");
}

void TimeSyncPage::BitBtn29Click() {
    time_server_connected_ = false;
    time_server_host_ = host_of(widgets_.selected_index(kServerList));
    // Item 0 leaves the countdown as it is: the first periodic request then
    // comes 30 s after connecting.
    if (widgets_.selected_index(kIntervalList) > 0) poll_countdown_ = selected_interval();
    // Connecting sends the first request at once; the countdown starts with
    // the next tick, so the first periodic request comes 30 s later, not 29.
    if (!time_server_host_.empty() && !time_server_connected_) open_time_server();
}

void TimeSyncPage::Timer2Timer() {
    widgets_.set_text("Label36", date_time_text(platform::to_date_time(time_.local_time())));
    if (server_clock_ != 0) {
        server_clock_ += 1.0 / kSecondsPerDay;
        widgets_.set_text("edtServerTime", date_time_text(server_clock_));
    }
    if (!time_server_host_.empty() && !time_server_connected_) {
        open_time_server();  // sends a request: this tick counts no further
        return;
    }
    countdown_step();
}

void TimeSyncPage::countdown_step() {
    if (!time_server_connected_ || poll_countdown_ <= 0) return;
    --poll_countdown_;
    widgets_.set_text(kStatus, std::to_string(poll_countdown_) + " secs. to next request...");
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
    time_server_host_.clear();
    time_server_connected_ = false;
    widgets_.set_selected_index(kIntervalList, 0);
    request_sent_stamp_.reset();
}

void TimeSyncPage::UDPSockError() {
    widgets_.set_text(kStatus, "error " + std::to_string(socket_->LastError()));
    // With the host gone the timer no longer reopens the socket.
    forget_server();
}

void TimeSyncPage::Button4Click() {
    const int item = widgets_.selected_index(kServerList);
    if (item < 0 || item >= static_cast<int>(kTimeServers.size())) return;
    const std::string host = host_of(item);
    const std::string name = std::to_string(item + 3);
    store_.create_veltrano_log(kRecordKey, core::Root::LocalMachine, kLocalMachine, kTimeServersKey, name,
                               core::STR_TYPE, host, 0, true);
    primitives_.Manipulate_Registry(core::Root::LocalMachine, kTimeServersKey, name, core::STR_TYPE, host, 0,
                                    "Setting Time Server", true);
}

void TimeSyncPage::Button5Click() {
    const int item = widgets_.selected_index(kIntervalList);
    if (item < 0 || item >= static_cast<int>(kPollIntervals.size())) return;
    const std::int32_t seconds = std::atoi(kPollIntervals[static_cast<std::size_t>(item)].data());
    drop_text_interval();
    // A DWORD, as XP keeps it and tip 35 writes it: the time service reads
    // no number from text, and a text value stopped this button for good.
    store_.create_veltrano_log(kRecordKey, core::Root::LocalMachine, kLocalMachine, kNtpClientKey,
                               kSpecialPollInterval, core::INT_TYPE, "", seconds, true);
    primitives_.Manipulate_Registry(core::Root::LocalMachine, kNtpClientKey, kSpecialPollInterval, core::INT_TYPE,
                                    "", seconds, "Setting the polling interval", true);
}

void TimeSyncPage::drop_text_interval() {
    // Earlier versions wrote the interval, and its records, as text where no
    // value was. Read as numbers they would stop every later click, so they
    // go (each removal in the log); the time service never used them.
    const std::string keys[] = {kNtpClientKey, core::kStateKeyBase + kRecordKey + "\\OLD_VALUES",
                                core::kStateKeyBase + kRecordKey + "\\NEW_VALUES"};
    for (const std::string& key : keys) {
        const auto open = primitives_.registry().open(core::Root::LocalMachine, key, false);
        const auto value = open ? open->query(kSpecialPollInterval) : std::nullopt;
        if (value && value->kind != platform::ValueKind::Dword)
            primitives_.Delete_Registry(core::Root::LocalMachine, key, kSpecialPollInterval, core::VALUENAME,
                                        "Removing the polling interval stored as text");
    }
}

}  // namespace veltrano::admin
