// How much the registry analyser's scan costs over the work it cannot avoid:
// a full scan of a large generated registry against a bare walk of the same
// roots that reads the same string values and makes the same file-system
// probes, measured in the same run, the scan with an ignore list of 1 000
// entries in the user's file; and how soon a Stop is honoured.
// Prints figures and ratios; nothing asserts on time.
#include "bench/null_widgets.h"
#include "bench/timing.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_time.h"
#include "regclean/ignore_list.h"
#include "regclean/path_reference.h"
#include "regclean/regclean_page.h"
#include "ui/win32/pump_throttle.h"
#include "support/fake_view.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <thread>
#include <vector>

using namespace veltrano;
using bench::Clock;
using bench::median;
using bench::ms_since;

namespace {

// Below HKLM\Software, which the scan walks once, as it walks the current
// user's keys once although HKEY_USERS holds them again.
const wchar_t kBenchKey[] = L"Software\\VeltranoBench";
constexpr int kTop = 50, kMiddle = 40, kLeaves = 50;  // 100 000 leaf keys
constexpr int kBrokenEvery = 300;                     // about 330 broken references

struct Counts {
    long keys = 0, values = 0, broken = 0;
};

bool set_string(HKEY key, const wchar_t* name, const std::wstring& data, DWORD type = REG_SZ) {
    return RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

HKEY create(HKEY parent, const std::wstring& name) {
    HKEY key = nullptr;
    RegCreateKeyExW(parent, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return key;
}

// Three values a key, as many registries hold: a path that is there, a
// plain text, a number; now and then a path that is not.
Counts generate() {
    Counts counts;
    HKEY root = create(HKEY_LOCAL_MACHINE, kBenchKey);
    long serial = 0;
    for (int a = 0; a < kTop; ++a) {
        HKEY top = create(root, L"Vendor" + std::to_wstring(a));
        ++counts.keys;
        for (int b = 0; b < kMiddle; ++b) {
            HKEY middle = create(top, L"Product" + std::to_wstring(b));
            ++counts.keys;
            for (int c = 0; c < kLeaves; ++c, ++serial) {
                HKEY leaf = create(middle, L"Item" + std::to_wstring(c));
                ++counts.keys;
                const bool broken = serial % kBrokenEvery == 0;
                set_string(leaf, L"Path",
                           broken ? L"C:\\NoSuchFolder\\item" + std::to_wstring(serial) + L".dll"
                                  : std::wstring(L"C:\\windows\\system32\\kernel32.dll"));
                set_string(leaf, L"Description", L"An item of product " + std::to_wstring(b));
                const DWORD number = static_cast<DWORD>(serial);
                RegSetValueExW(leaf, L"Order", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
                counts.values += 3;
                counts.broken += broken;
                RegCloseKey(leaf);
            }
            RegCloseKey(middle);
        }
        RegCloseKey(top);
    }
    RegCloseKey(root);
    return counts;
}

void remove_generated() {
    platform::win32::Win32Registry registry;
    if (auto software = registry.open(platform::Root::LocalMachine, "Software", false))
        software->delete_subtree("VeltranoBench");
}

// ---- the bare walk ------------------------------------------------------------

// The keys the scan leaves out because it has walked them already: the
// current user's hives again below HKEY_USERS, the 32-bit classes again
// below the machine's classes.
struct BareWalk {
    platform::FileSystem& files;
    std::vector<std::wstring> user_hives;
    std::vector<wchar_t> name = std::vector<wchar_t>(16384);
    std::vector<BYTE> data = std::vector<BYTE>(65536);
    long found = 0;
    bool wow = false;

    void values(HKEY key) {
        for (DWORD i = 0;; ++i) {
            DWORD length = static_cast<DWORD>(name.size()), type = 0;
            if (RegEnumValueW(key, i, name.data(), &length, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) break;
            if (type != REG_SZ && type != REG_EXPAND_SZ) continue;
            DWORD size = static_cast<DWORD>(data.size());
            if (RegQueryValueExW(key, name.data(), nullptr, nullptr, data.data(), &size) != ERROR_SUCCESS) continue;
            const std::string value_name = platform::win32::to_utf8(name.data(), length);
            const std::string text =
                platform::win32::to_utf8(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
            if (!regclean::is_valid_path_reference(value_name, files, wow) ||
                !regclean::is_valid_path_reference(text.c_str(), files, wow))
                ++found;
        }
    }
    void tree(HKEY key, const std::vector<std::wstring>& skip = {}) {
        std::vector<std::wstring> names;
        for (DWORD i = 0;; ++i) {
            DWORD length = static_cast<DWORD>(name.size());
            if (RegEnumKeyExW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            names.emplace_back(name.data(), length);
        }
        for (const std::wstring& child_name : names) {
            if (std::any_of(skip.begin(), skip.end(),
                            [&](const std::wstring& s) { return lstrcmpiW(s.c_str(), child_name.c_str()) == 0; }))
                continue;
            HKEY child = nullptr;
            if (RegOpenKeyExW(key, child_name.c_str(), 0, KEY_READ, &child) != ERROR_SUCCESS) continue;
            const bool was_wow = wow;
            wow = wow || lstrcmpiW(child_name.c_str(), L"Wow6432Node") == 0;
            values(child);
            tree(child, lstrcmpiW(child_name.c_str(), L"Classes") == 0 ? std::vector<std::wstring>{L"Wow6432Node"}
                                                                       : std::vector<std::wstring>{});
            wow = was_wow;
            RegCloseKey(child);
        }
    }
    void run() {
        tree(HKEY_CURRENT_USER);
        tree(HKEY_USERS, user_hives);
        HKEY software = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_READ, &software) == ERROR_SUCCESS) {
            tree(software);
            RegCloseKey(software);
        }
    }
};

// ---- the ignore list, where the page reads it ---------------------------------

std::string ignore_file() {
    platform::win32::Win32FileSystem files;
    return files.app_data_folder() + "\\" + std::string(regclean::kBackupFolder) + "\\" +
           std::string(regclean::kIgnoreFile);
}

// As a user's grows: values and whole keys, most of them never met again,
// one key holding a vendor's broken references.
void write_ignore_list(int entries) {
    regclean::IgnoreList list;
    list.add({platform::Root::LocalMachine, "Software\\VeltranoBench\\Vendor0", std::nullopt});
    for (int i = 1; i < entries; ++i) {
        if (i % 2)
            list.add({platform::Root::LocalMachine, "Software\\VeltranoBench\\Vendor" + std::to_string(i % kTop) +
                                                        "\\Product" + std::to_string(i),
                      "NoSuchValue" + std::to_string(i)});
        else
            list.add({platform::Root::CurrentUser, "Software\\Ignored" + std::to_string(i), std::nullopt});
    }
    platform::win32::Win32FileSystem files;
    const std::string text = list.text();
    const std::string file = ignore_file();
    files.create_directories(file.substr(0, file.find_last_of('\\')));
    files.replace_file(file, std::vector<std::uint8_t>(text.begin(), text.end()));
}

// ---- the page, off the screen ----------------------------------------------------

class MemoryGrid : public ui::Grid {
public:
    void set_column_count(int count) override { columns_ = count; }
    int column_count() const override { return columns_; }
    void set_column_width(int, int) override {}
    void set_row_count(int count) override { cells_.resize(static_cast<std::size_t>(count) * 4); }
    int row_count() const override { return static_cast<int>(cells_.size() / 4); }
    void set_cell(int column, int row, const std::string& text) override { cells_[row * 4 + column] = text; }
    std::string cell(int column, int row) const override { return cells_[row * 4 + column]; }
    int current_row() const override { return selection_.empty() ? 0 : selection_.front(); }
    void set_current_row(int row) override { selection_ = {row}; }
    std::vector<int> selected_rows() const override { return selection_; }
    void select_rows(int top, int bottom) override {
        selection_.clear();
        for (int r = top; r <= bottom; ++r) selection_.push_back(r);
    }
    void set_busy(bool) override {}

private:
    int columns_ = 4;
    std::vector<std::string> cells_ = std::vector<std::string>(4);
    std::vector<int> selection_;
};

constexpr UINT kStop = WM_APP + 7;

// Pumps the thread's queue as the main window does, as often as it does; a
// posted kStop is the click on "Stop Registry Scan".
class BenchWidgets : public bench::NullWidgets {
public:
    ui::Grid& grid(ui::StringGrid) override { return grid_; }
    void pump_messages() override {
        if (!throttle_.due()) return;
        ++pumps;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == kStop && page) page->stop_scan();
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    regclean::RegCleanPage* page = nullptr;
    long pumps = 0;
    MemoryGrid grid_;
    ui::win32::PumpThrottle throttle_;
};

class NoShell : public platform::Shell {
public:
    long open(const std::string&) override { return 0; }
    std::string system_folder() const override { return {}; }
};

struct ScanResult {
    double ms;
    long rows, pumps;
};

ScanResult full_scan(int stop_after_ms = -1, double* stop_latency_ms = nullptr) {
    platform::win32::Win32Registry registry;
    platform::win32::Win32FileSystem files;
    platform::win32::Win32Time time;
    BenchWidgets widgets;
    fakes::FakeDialogs dialogs;  // answers No, shows nothing
    NoShell shell;
    regclean::RegCleanPage page(registry, files, time, shell, widgets, dialogs);
    widgets.page = &page;
    page.created();

    // The click comes from elsewhere, as the user's would: a thread posts it.
    const DWORD self = GetCurrentThreadId();
    Clock::time_point posted{};
    std::thread clicker;
    if (stop_after_ms >= 0)
        clicker = std::thread([&] {
            Sleep(static_cast<DWORD>(stop_after_ms));
            posted = Clock::now();
            PostThreadMessageW(self, kStop, 0, 0);
        });
    const auto start = Clock::now();
    page.start_scan();
    const double ms = ms_since(start);
    if (clicker.joinable()) {
        clicker.join();
        if (stop_latency_ms) *stop_latency_ms = ms_since(posted);
    }
    return {ms, widgets.grid_.row_count() - 1, widgets.pumps};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int runs = 1;
    for (int i = 1; i + 1 < argc; i += 2)
        if (std::wstring(argv[i]) == L"--runs") runs = std::max(1, _wtoi(argv[i + 1]));
    // The thread needs a queue before another thread can post to it.
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);

    remove_generated();
    auto start = Clock::now();
    const Counts counts = generate();
    std::printf("generated %ld keys, %ld values, %ld broken references below HKLM\\%ls in %.1f s\n", counts.keys,
                counts.values, counts.broken, kBenchKey, ms_since(start) / 1000);

    constexpr int kIgnored = 1000;
    write_ignore_list(kIgnored);
    std::vector<double> scan_ms, bare_ms;
    long rows = 0, pumps = 0, bare_found = 0;
    // Taken in turns, first one then the other first, so that a machine
    // busy with something else weighs on both alike.
    for (int i = 0; i < runs; ++i) {
        const auto scan_once = [&] {
            const ScanResult scan = full_scan();
            scan_ms.push_back(scan.ms);
            rows = scan.rows;
            pumps = scan.pumps;
        };
        const auto walk_once = [&] {
            platform::win32::Win32FileSystem files;
            BareWalk bare{files, {}};
            for (const std::string& hive : platform::win32::Win32Registry().current_user_hives())
                bare.user_hives.push_back(platform::win32::to_utf16(hive));
            const auto begin = Clock::now();
            bare.run();
            bare_ms.push_back(ms_since(begin));
            bare_found = bare.found;
        };
        if (i % 2 == 0) {
            scan_once();
            walk_once();
        } else {
            walk_once();
            scan_once();
        }
    }
    const double scan = median(scan_ms), bare = median(bare_ms);
    std::printf("full scan      %9.1f ms (median of %d), %ld rows, %ld looks at the queue, %d entries ignored\n",
                scan, runs, rows, pumps, kIgnored);
    std::printf("bare walk      %9.1f ms (median of %d), %ld found\n", bare, runs, bare_found);
    std::printf("ratio          %9.2fx (goal: within 1.2x)\n", scan / bare);

    std::vector<double> latencies;
    for (int after : {300, 900, 1700, 2300, 3100}) {
        double latency = 0;
        const ScanResult stopped = full_scan(after, &latency);
        if (stopped.ms >= after) latencies.push_back(latency);
    }
    std::sort(latencies.begin(), latencies.end());
    if (!latencies.empty())
        std::printf("stop honoured  %9.1f ms median, %.1f ms worst of %zu (goal: within 100 ms)\n",
                    latencies[latencies.size() / 2], latencies.back(), latencies.size());

    remove_generated();
    DeleteFileW(platform::win32::to_utf16(ignore_file()).c_str());
    return 0;
}
