#include "regclean/ignore_list.h"
#include "i18n/translate.h"

#include "platform/registry_path.h"
#include "platform/utf8.h"

#include <algorithm>

namespace veltrano::regclean {

namespace {

using platform::registry_fold;

constexpr std::string_view kHeading =
    "# The registry cleaner of Veltrano leaves these entries out of its scans.\r\n"
    "# One entry a line: root, key and value name, separated by tabs.\r\n"
    "# A line without a value name leaves out the key and everything below it;\r\n"
    "# the default value of a key has an empty name (the line ends with a tab).\r\n";

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Mark = "\xFF\xFE";

// Little-endian UTF-16 bytes as UTF-8; a lone surrogate as U+FFFD.
std::string utf16_bytes_to_utf8(std::string_view bytes) {
    std::string out;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        auto unit = [&](std::size_t at) {
            return static_cast<char32_t>(static_cast<unsigned char>(bytes[at]) |
                                         (static_cast<unsigned char>(bytes[at + 1]) << 8));
        };
        char32_t point = unit(i);
        if (point >= 0xD800 && point < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 &&
            unit(i + 2) < 0xE000) {
            point = 0x10000 + ((point - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (point >= 0xD800 && point < 0xE000) {
            point = 0xFFFD;
        }
        platform::encode_utf8(point, out);
    }
    return out;
}

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
    list.from_file_ = !text.empty();
    list.utf16_ = text.substr(0, 2) == kUtf16Mark;
    if (list.utf16_ || text.substr(0, 3) == kUtf8Mark) list.byte_order_mark_ = text.substr(0, list.utf16_ ? 2 : 3);
    const std::size_t unit = list.utf16_ ? 2 : 1;
    // A character of the file: a byte, or a UTF-16 code unit (so that the
    // bytes 0D and 0A inside a character never pass for a line end).
    auto at = [&](std::size_t i) -> char16_t {
        const auto low = static_cast<unsigned char>(text[i]);
        return list.utf16_ ? static_cast<char16_t>(low | (static_cast<unsigned char>(text[i + 1]) << 8)) : low;
    };
    std::size_t pos = list.byte_order_mark_.size();
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end + unit <= text.size() && at(end) != u'\r' && at(end) != u'\n') end += unit;
        std::size_t next = end;
        if (next + unit > text.size()) {
            next = text.size();  // the last line, without an end (or an odd byte after it)
        } else {
            const bool cr = at(next) == u'\r';
            next += unit;
            if (cr && next + unit <= text.size() && at(next) == u'\n') next += unit;
        }
        const std::string content = list.utf16_ ? utf16_bytes_to_utf8(text.substr(pos, end - pos))
                                                : std::string(text.substr(pos, end - pos));
        Line line{std::string(text.substr(pos, next - pos)), std::nullopt};
        if (!content.empty() && content.front() != '#') {
            if (auto entry = parse_line(content)) {
                if (list.add_entry(*entry)) line.entry = list.entries_.size() - 1;
            } else {
                list.unread_.push_back(content);
            }
        }
        list.lines_.push_back(std::move(line));
        pos = next;
    }
    return list;
}

std::string IgnoreList::encode(std::string_view utf8) const {
    if (!utf16_) return std::string(utf8);
    std::string out;
    for (char16_t unit : platform::utf8_to_utf16(utf8)) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    }
    return out;
}

std::string IgnoreList::text() const {
    // A new file with a byte order mark, so that Notepad reads the names as UTF-8.
    std::string out = from_file_ ? byte_order_mark_ : std::string(kUtf8Mark) + std::string(kHeading);
    for (const Line& line : lines_) out += line.bytes;
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

bool IgnoreList::add_entry(IgnoredEntry& entry) {
    entry.key_path = trimmed_path(std::move(entry.key_path));
    if (entry.name ? ignores(entry.root, entry.key_path, *entry.name) : key_ignored(entry.root, entry.key_path))
        return false;
    index(entry);
    entries_.push_back(entry);
    return true;
}

bool IgnoreList::add(IgnoredEntry entry) {
    if (!add_entry(entry)) return false;
    // A last line without its end gets one, or the entry would run into it.
    if (!lines_.empty()) {
        const std::string& last = lines_.back().bytes;
        const std::string cr = encode("\r"), lf = encode("\n");
        const bool ended = last.size() >= cr.size() && (last.compare(last.size() - cr.size(), cr.size(), cr) == 0 ||
                                                          last.compare(last.size() - lf.size(), lf.size(), lf) == 0);
        if (!ended) lines_.back().bytes += encode("\r\n");
    }
    std::string line = std::string(platform::root_name(entry.root)) + "\t" + entry.key_path;
    if (entry.name) line += "\t" + *entry.name;
    lines_.push_back({encode(line + "\r\n"), entries_.size() - 1});
    return true;
}

void IgnoreList::remove(std::size_t at) {
    if (at >= entries_.size()) return;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(at));
    std::erase_if(lines_, [at](const Line& line) { return line.entry == at; });
    for (Line& line : lines_)
        if (line.entry && *line.entry > at) --*line.entry;
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
    // TRANSLATORS: a key on the ignore list that leaves out everything below it
    if (!entry.name) return i18n::trf("{0} (and everything below)", key);
    // TRANSLATORS: the default value of a key, which has no name
    return key + ": " + (entry.name->empty() ? i18n::tr("(Default)") : *entry.name);
}

}  // namespace veltrano::regclean
