// The analyser's walk: the current user's keys, the users' keys and the
// machine's software keys, depth first in the order the registry lists
// them, one open key per level, each opened for reading below its parent.
#pragma once

#include "platform/file_system.h"
#include "platform/registry.h"
#include "regclean/finds.h"

#include <array>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace veltrano::regclean {

// Where a scan starts, in order. Of the machine's keys only Software.
struct ScanStart {
    platform::Root root;
    std::string_view path;
};
inline constexpr std::array<ScanStart, 3> kScanStarts{{
    {platform::Root::CurrentUser, "\\"},
    {platform::Root::Users, "\\"},
    {platform::Root::LocalMachine, "\\Software"},
}};

// How far a scan got.
struct ScanProgress {
    std::string_view root_name;     // the root being walked, or walked last
    std::uint64_t keys = 0;         // opened and read
    std::uint64_t values = 0;       // of every kind
    std::uint64_t unreadable = 0;   // keys that refused to be read, with all below them
    std::uint64_t found = 0;
    std::uint64_t ignored = 0;      // found, but on the user's ignore list
};

class RegScanner {
public:
    struct Events {
        // Asked before each key and each string value: lets the window's
        // messages in, false once the user asked to stop.
        std::function<bool()> keep_going;
        std::function<void(Find)> found;
        // Whether a find is on the user's ignore list: counted, not reported.
        std::function<bool(const Find&)> ignored;
    };

    RegScanner(platform::Registry& registry, platform::FileSystem& files) : registry_(registry), files_(files) {}

    // Walks every start; false when stopped before the end.
    bool scan(const Events& events);
    const ScanProgress& progress() const { return progress_; }

private:
    void walk(const platform::RegKey& key, const std::string& path, int depth, bool below_wow6432node);
    void scan_values(const platform::RegKey& key, const std::string& path, bool below_wow6432node);
    bool skipped(const std::string& path, std::string_view name, int depth) const;
    bool keep_going();

    platform::Registry& registry_;
    platform::FileSystem& files_;
    const Events* events_ = nullptr;
    const ScanStart* start_ = nullptr;
    ScanProgress progress_;
    bool stopped_ = false;
    std::vector<std::u16string> user_hives_;  // folded
    // Each value once, however many views of the registry show it.
    std::set<std::pair<std::u16string, std::string>> seen_;
};

// The path with a '\' in front unless it has one.
std::string ensure_leading_backslash(const std::string& path);

}  // namespace veltrano::regclean
