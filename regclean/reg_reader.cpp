#include "regclean/reg_reader.h"

#include "core/error.h"
#include "i18n/translate.h"
#include "platform/registry_path.h"
#include "platform/utf8.h"
#include "regclean/reg_scanner.h"

#include <algorithm>
#include <optional>
#include <set>
#include <tuple>

namespace veltrano::regclean {

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";

class Refusal {
public:
    Refusal(const std::string& file, std::size_t line) : file_(file), line_(line) {}
    // `why` is a sentence already translated.
    [[noreturn]] void operator()(const std::string& why) const {
        throw core::VeltranoError(
            // TRANSLATORS: {0} the backup file, {1} the number of its line that strays, {2} a sentence saying how
            i18n::trf("The backup {0} cannot be read at line {1}. {2} Nothing was written to the registry.", file_,
                      std::to_string(line_), why));
    }

private:
    const std::string& file_;
    std::size_t line_;
};

struct Line {
    std::string text;
    std::size_t number;  // from 1
};

// UTF-8 of UTF-16 text; nullopt for a surrogate out of its pair, which the
// writer, reading UTF-8, never makes.
std::optional<std::string> utf8_of(std::u16string_view units) {
    std::string text;
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDFFF) {
            if (c > 0xDBFF || i + 1 == units.size() || units[i + 1] < 0xDC00 || units[i + 1] > 0xDFFF)
                return std::nullopt;
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        }
        platform::encode_utf8(c, text);
    }
    return text;
}

// UTF-16LE after its byte order mark, in lines that end in CR LF; a line
// the file ends in without its CR LF is cut off.
std::vector<Line> lines_of(const std::vector<std::uint8_t>& bytes, const std::string& file) {
    if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE)
        Refusal(file, 1)(i18n::tr("The file does not start as a registry file written in Unicode does."));
    std::u16string units;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        units += static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
    std::vector<Line> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= units.size(); ++i) {
        const bool end = i == units.size();
        if (!end && units[i] != u'\r' && units[i] != u'\n') continue;
        const Refusal refuse(file, lines.size() + 1);
        if (!end && units[i] == u'\n') refuse(i18n::tr("This line ends without its carriage return."));
        if (!end && (i + 1 == units.size() || units[i + 1] != u'\n'))
            refuse(i18n::tr("This line ends without its line feed."));
        const std::optional<std::string> text = utf8_of(std::u16string_view(units).substr(start, i - start));
        if (!text) refuse(i18n::tr("This line holds a character that is not Unicode."));
        lines.push_back({*text, lines.size() + 1});
        start = ++i + 1;
    }
    // The writer ends with a blank line, then nothing: a file cut in a line
    // or at a line's end lacks it, and the line the cut is in or follows is
    // named.
    const auto cut_off = [&](std::size_t line) {
        Refusal(file, line)(i18n::tr("The file is cut off: it ends in the middle of this line."));
    };
    if (bytes.size() % 2 || !lines.back().text.empty()) cut_off(lines.back().number);
    if (lines.size() < 3 || !lines[lines.size() - 2].text.empty()) cut_off(std::max<std::size_t>(lines.size() - 1, 1));
    lines.pop_back();
    return lines;
}

// The text between quotes from `pos` (at the opening one); `pos` ends past
// the closing one. Only \\ and \" are escapes, as the writer writes them.
std::string quoted_text(const std::string& line, std::size_t& pos, const Refusal& refuse) {
    std::string out;
    for (++pos; pos < line.size(); ++pos) {
        const char c = line[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c == '\\') {
            if (++pos == line.size() || (line[pos] != '\\' && line[pos] != '"'))
                refuse(i18n::tr("A backslash in this line escapes nothing that a backup escapes."));
        }
        out += line[pos];
    }
    refuse(i18n::tr("A quoted text in this line has no closing quote."));
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "43,00,3a,00,...,00,00": UTF-16LE text ending in its null.
std::string hex_text(const std::string& data, const Refusal& refuse) {
    std::u16string units;
    std::optional<std::uint8_t> low;
    for (std::size_t pos = 0;; pos += 3) {
        if (pos + 2 > data.size()) refuse(i18n::tr("The hex data in this line is not pairs of digits between commas."));
        const int high_digit = hex_digit(data[pos]), low_digit = hex_digit(data[pos + 1]);
        if (high_digit < 0 || low_digit < 0)
            refuse(i18n::tr("The hex data in this line is not pairs of digits between commas."));
        const auto byte = static_cast<std::uint8_t>(high_digit << 4 | low_digit);
        if (low) {
            units += static_cast<char16_t>(*low | byte << 8);
            low.reset();
        } else {
            low = byte;
        }
        if (pos + 2 == data.size()) break;
        if (data[pos + 2] != ',') refuse(i18n::tr("The hex data in this line is not pairs of digits between commas."));
    }
    if (low || units.empty() || units.back() != u'\0')
        refuse(i18n::tr("The text data in this line does not end in its null character."));
    units.pop_back();
    std::optional<std::string> text = utf8_of(units);
    if (!text) refuse(i18n::tr("The text data in this line is not Unicode."));
    return *text;
}

platform::RegValue value_of(const std::string& data, const Refusal& refuse) {
    if (!data.empty() && data.front() == '"') {
        std::size_t pos = 0;
        std::string text = quoted_text(data, pos, refuse);
        if (pos != data.size()) refuse(i18n::tr("This line goes on after the value's closing quote."));
        return platform::RegValue::string(std::move(text));
    }
    if (data.starts_with("hex(1):")) return platform::RegValue::string(hex_text(data.substr(7), refuse));
    if (data.starts_with("hex(2):")) return platform::RegValue::expand_string(hex_text(data.substr(7), refuse));
    refuse(i18n::tr("This line holds a kind of value the cleaner never removes."));
}

// Only where a scan looks: a backup edited to reach elsewhere is refused.
bool scanned(platform::Root root, const std::string& path) {
    const std::u16string folded = platform::registry_fold(path);
    for (const ScanStart& start : kScanStarts) {
        if (start.root != root) continue;
        const std::u16string top = platform::registry_fold(std::string(start.path.substr(1)));
        if (top.empty() || folded == top || (folded.starts_with(top) && folded[top.size()] == u'\\')) return true;
    }
    return false;
}

std::pair<platform::Root, std::string> section_of(const std::string& line, const Refusal& refuse) {
    if (line.size() < 3 || line.back() != ']') refuse(i18n::tr("The key in this line has no closing bracket."));
    const std::string full = line.substr(1, line.size() - 2);
    if (full.starts_with("-")) refuse(i18n::tr("This line deletes a key, which a backup never does."));
    const std::size_t slash = full.find('\\');
    const std::optional<platform::Root> root = platform::root_from_name(full.substr(0, slash));
    if (!root) refuse(i18n::tr("The key in this line starts with no registry root."));
    const std::string path = slash == std::string::npos ? std::string() : full.substr(slash + 1);
    if (path.empty() || path.front() == '\\' || path.back() == '\\' || path.find("\\\\") != std::string::npos)
        refuse(i18n::tr("The key in this line has an empty part in its path."));
    if (!scanned(*root, path)) refuse(i18n::tr("The key in this line is outside the places the cleaner scans."));
    return {*root, path};
}

}  // namespace

std::vector<BackupEntry> read_backup(const std::vector<std::uint8_t>& bytes, const std::string& file) {
    const std::vector<Line> lines = lines_of(bytes, file);
    if (lines.front().text != kHeader) Refusal(file, 1)(i18n::tr("This line is not the header of a registry file."));
    std::vector<BackupEntry> entries;
    std::optional<std::pair<platform::Root, std::string>> section;
    std::set<std::tuple<platform::Root, std::u16string, std::u16string>> seen;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const Refusal refuse(file, lines[i].number);
        std::string line = lines[i].text;
        if (line.empty()) continue;
        if (line.front() == '[') {
            section = section_of(line, refuse);
            continue;
        }
        if (!section) refuse(i18n::tr("This line is a value before any key."));
        // Hex data goes on in the lines after one that ends in a backslash.
        while (line.back() == '\\' && line.find("=hex(") != std::string::npos) {
            if (++i == lines.size() || lines[i].text.empty())
                refuse(i18n::tr("The file is cut off: the hex data of this line goes on in no line after it."));
            const std::size_t start = lines[i].text.find_first_not_of(' ');
            line.pop_back();
            line += lines[i].text.substr(start == std::string::npos ? lines[i].text.size() : start);
        }
        std::size_t pos = 0;
        std::string name;
        if (line.front() == '@')
            pos = 1;
        else if (line.front() == '"')
            name = quoted_text(line, pos, refuse);
        else
            refuse(i18n::tr("This line is neither a key nor a value."));
        if (pos >= line.size() || line[pos] != '=') refuse(i18n::tr("This line has no '=' after the value's name."));
        const std::string data = line.substr(pos + 1);
        if (data == "-") refuse(i18n::tr("This line deletes a value, which a backup never does."));
        BackupEntry entry{section->first, section->second, name, value_of(data, refuse)};
        if (!seen.insert({entry.root, platform::registry_fold(entry.key_path), platform::registry_fold(name)}).second)
            refuse(i18n::tr("This line holds a value that the file holds already."));
        entries.push_back(std::move(entry));
    }
    // A removal writes a backup only of something: an empty one was cut.
    if (entries.empty())
        Refusal(file, lines.back().number)(i18n::tr("The file ends here without any entry to restore."));
    return entries;
}

}  // namespace veltrano::regclean
