#include "regclean/reg_scanner.h"

#include "platform/registry_path.h"
#include "regclean/path_reference.h"

#include <memory>
#include <vector>

namespace veltrano::regclean {

namespace {

using platform::registry_fold;

const std::u16string& wow6432node() {
    static const std::u16string name = registry_fold("Wow6432Node");
    return name;
}

bool is_string(platform::ValueKind kind) {
    return kind == platform::ValueKind::String || kind == platform::ValueKind::ExpandString;
}

// A value's identity across the registry's views: 64-bit Windows shows some
// keys of the machine's software both in place and below Wow6432Node.
std::pair<std::u16string, std::string> identity(const Find& find) {
    std::u16string path;
    for (const std::string& part : platform::split_registry_path(find.key_path)) {
        std::u16string name = registry_fold(part);
        if (name != wow6432node()) path += u'\\' + name;
    }
    return {registry_fold(find.root_name) + path + u'\n' + registry_fold(find.name), find.data};
}

}  // namespace

bool RegScanner::scan(const Events& events) {
    events_ = &events;
    progress_ = {};
    stopped_ = false;
    seen_.clear();
    user_hives_.clear();
    for (const std::string& hive : registry_.current_user_hives()) user_hives_.push_back(registry_fold(hive));
    for (const ScanStart& start : kScanStarts) {
        if (!keep_going()) break;
        start_ = &start;
        progress_.root_name = platform::root_name(start.root);
        const std::unique_ptr<platform::RegKey> key =
            registry_.open_existing(start.root, std::string(start.path), platform::Access::Read);
        if (!key) {
            ++progress_.unreadable;
            continue;
        }
        // The start key's own values are not examined, only those below it.
        walk(*key, std::string(start.path == "\\" ? "" : start.path.substr(1)), 0, false);
        if (stopped_) break;
    }
    events_ = nullptr;
    return !stopped_;
}

bool RegScanner::keep_going() {
    if (!stopped_ && events_->keep_going && !events_->keep_going()) stopped_ = true;
    return !stopped_;
}

// The current user's hives appear again below HKEY_USERS, and the machine's
// 32-bit classes again below Software\Classes\Wow6432Node: the same keys,
// walked once.
bool RegScanner::skipped(const std::string& path, std::string_view name, int depth) const {
    if (start_->root == platform::Root::Users && depth == 0) {
        const std::u16string folded_name = registry_fold(std::string(name));
        for (const std::u16string& hive : user_hives_)
            if (hive == folded_name) return true;
    }
    static const std::u16string classes_view = registry_fold("Software\\Classes\\Wow6432Node");
    return start_->root == platform::Root::LocalMachine && depth == 1 && registry_fold(path) == classes_view;
}

// Recursion one level per key level: a frame holds a path, the list of
// names and one open key, so the registry's 512 levels stay far from the
// end of the stack.
void RegScanner::walk(const platform::RegKey& key, const std::string& path, int depth, bool below_wow6432node) {
    const std::vector<std::string> names = key.subkey_names();
    for (const std::string& name : names) {
        if (!keep_going()) return;
        const std::string child_path = path + '\\' + name;
        if (skipped(child_path, name, depth)) continue;
        const std::unique_ptr<platform::RegKey> child = key.open_subkey(name);
        // A key we may not read is passed over with all below it, and counted.
        if (!child) {
            ++progress_.unreadable;
            continue;
        }
        ++progress_.keys;
        const bool wow = below_wow6432node || registry_fold(name) == wow6432node();
        scan_values(*child, child_path, wow);
        if (stopped_) return;
        walk(*child, child_path, depth + 1, wow);
        if (stopped_) return;
    }
}

void RegScanner::scan_values(const platform::RegKey& key, const std::string& path, bool below_wow6432node) {
    for (const platform::ValueEntry& entry : key.value_entries()) {
        ++progress_.values;
        if (!is_string(entry.kind)) continue;
        // Once per string value: often enough for Stop to be honoured at
        // once and the window to repaint, whatever the registry holds.
        if (!keep_going()) return;
        const std::optional<platform::RegValue> value = key.query(entry.name);
        if (!value || !is_string(value->kind)) continue;
        const Missing name_missing = missing_reference(entry.name, files_, below_wow6432node);
        const Missing data_missing =
            name_missing == Missing::None ? missing_reference(value->text, files_, below_wow6432node) : Missing::None;
        if (name_missing == Missing::None && data_missing == Missing::None) continue;
        Find find{start_->root, platform::root_name(start_->root), path, entry.name, value->text,
                  key.last_write_time(), below_wow6432node, name_missing != Missing::None,
                  name_missing != Missing::None ? name_missing : data_missing};
        if (!seen_.insert(identity(find)).second) continue;
        if (events_->ignored && events_->ignored(find)) {
            ++progress_.ignored;
            continue;
        }
        ++progress_.found;
        if (events_->found) events_->found(std::move(find));
    }
}

std::string ensure_leading_backslash(const std::string& path) {
    return !path.empty() && path.front() == '\\' ? path : '\\' + path;
}

}  // namespace veltrano::regclean
