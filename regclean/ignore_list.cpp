#include "regclean/ignore_list.h"

#include "platform/registry_path.h"

#include <algorithm>

namespace veltrano::regclean {

namespace {

using platform::registry_fold;

constexpr std::string_view kHeading =
    "# The registry cleaner of Veltrano leaves these entries out of its scans.\r\n"
    "# One entry a line: root, key and value name, separated by tabs.\r\n"
    "# A line without a value name leaves out the key and everything below it;\r\n"
    "# the default value of a key has an empty name (the line ends with a tab).\r\n";

std::string trimmed_path(std::string path) {
    while (!path.empty() && path.front() == '\\') path.erase(path.begin());
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

std::u16string key_id(platform::Root root, const std::string& key_path) {
    return registry_fold(std::string(platform::root_name(root)) + "\\" + trimmed_path(key_path));
}

std::u16string value_id(platform::Root root, const std::string& key_path, const std::string& name) {
    return key_id(root, key_path) + u'\n' + registry_fold(name);
}

std::optional<IgnoredEntry> parse_line(std::string_view line) {
    const std::size_t first = line.find('\t');
    if (first == std::string_view::npos) return std::nullopt;
    const auto root = platform::root_from_name(line.substr(0, first));
    if (!root) return std::nullopt;
    const std::string_view rest = line.substr(first + 1);
    const std::size_t second = rest.find('\t');
    IgnoredEntry entry{*root, trimmed_path(std::string(rest.substr(0, second))), std::nullopt};
    if (entry.key_path.empty()) return std::nullopt;
    if (second != std::string_view::npos) entry.name = std::string(rest.substr(second + 1));
    return entry;
}

}  // namespace

IgnoreList IgnoreList::parse(std::string_view text) {
    IgnoreList list;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        if (end == std::string_view::npos)
            text = {};
        else
            text.remove_prefix(end + (text.substr(end, 2) == "\r\n" ? 2 : 1));
        if (line.empty() || line.front() == '#') continue;
        if (auto entry = parse_line(line))
            list.add(std::move(*entry));
        else
            list.unread_.emplace_back(line);
    }
    return list;
}

std::string IgnoreList::text() const {
    // With a byte order mark, so that Notepad reads the names as UTF-8.
    std::string out = "\xEF\xBB\xBF" + std::string(kHeading);
    for (const std::string& line : unread_) out += line + "\r\n";
    for (const IgnoredEntry& entry : entries_) {
        out += std::string(platform::root_name(entry.root)) + "\t" + entry.key_path;
        if (entry.name) out += "\t" + *entry.name;
        out += "\r\n";
    }
    return out;
}

bool IgnoreList::ignores(platform::Root root, const std::string& key_path, const std::string& name) const {
    return (!values_.empty() && values_.count(value_id(root, key_path, name))) || key_ignored(root, key_path);
}

bool IgnoreList::key_ignored(platform::Root root, const std::string& key_path) const {
    if (keys_.empty()) return false;
    // The key itself, then each key above it.
    std::u16string key = key_id(root, key_path);
    for (;;) {
        if (keys_.count(key)) return true;
        const std::size_t up = key.find_last_of(u'\\');
        if (up == std::u16string::npos) return false;
        key.resize(up);
    }
}

bool IgnoreList::add(IgnoredEntry entry) {
    entry.key_path = trimmed_path(std::move(entry.key_path));
    if (entry.name ? ignores(entry.root, entry.key_path, *entry.name) : key_ignored(entry.root, entry.key_path))
        return false;
    index(entry);
    entries_.push_back(std::move(entry));
    return true;
}

void IgnoreList::remove(std::size_t at) {
    if (at >= entries_.size()) return;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(at));
    reindex();
}

void IgnoreList::index(const IgnoredEntry& entry) {
    if (entry.name)
        values_.insert(value_id(entry.root, entry.key_path, *entry.name));
    else
        keys_.insert(key_id(entry.root, entry.key_path));
}

void IgnoreList::reindex() {
    keys_.clear();
    values_.clear();
    for (const IgnoredEntry& entry : entries_) index(entry);
}

std::string entry_text(const IgnoredEntry& entry) {
    const std::string key = std::string(platform::root_name(entry.root)) + "\\" + entry.key_path;
    if (!entry.name) return key + " (and everything below)";
    return key + ": " + (entry.name->empty() ? std::string("(Default)") : *entry.name);
}

}  // namespace veltrano::regclean
