#include "tips/profile.h"

#include "core/error.h"
#include "i18n/translate.h"
#include "platform/ascii.h"
#include "platform/utf8.h"
#include "tips/catalogue.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace veltrano::tips {

namespace {

using i18n::tr;
using i18n::trf;

[[noreturn]] void refuse(const std::string& file_name, int line, const std::string& why) {
    // TRANSLATORS: a profile's file, the line that stops it, and why
    throw core::VeltranoError(trf("{0}, line {1}: {2}", file_name, std::to_string(line), why));
}

bool blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view text) {
    while (!text.empty() && (blank(text.front()) || text.front() == '\r')) text.remove_prefix(1);
    while (!text.empty() && (blank(text.back()) || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

bool is_utf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = platform::utf8_sequence_length(text, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

// The lines of the text, whatever ends them.
std::vector<std::string_view> split_lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(pos));
            return lines;
        }
        lines.push_back(text.substr(pos, end - pos));
        pos = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
}

bool same_letters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

// The device a name stands for whatever its folder and extension, as
// Windows reads it ("C:\\x\\nul.txt" is NUL), in capitals; empty for a
// file's name.
std::string device_named(const std::string& path) {
    std::string name = platform::ascii_lower(path.substr(path.find_last_of("\\/:") + 1));
    name = name.substr(0, name.find('.'));
    while (!name.empty() && name.back() == ' ') name.pop_back();
    const bool numbered = name.size() == 4 && (name.rfind("com", 0) == 0 || name.rfind("lpt", 0) == 0) &&
                          name[3] >= '1' && name[3] <= '9';
    if (!numbered && name != "con" && name != "prn" && name != "aux" && name != "nul") return "";
    for (char& c : name)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return name;
}

// Why a file that would not open cannot be read, as far as the system says.
std::string why_unreadable(platform::FileSystem& files, const std::string& path) {
    if (const std::string device = device_named(path); !device.empty())
        return trf("the name {0} stands for a device, not a file, whatever follows it", device);
    if (files.is_directory(path)) return tr("this is a folder, not a file");
    if (path.size() >= 2 && path[1] == ':' &&
        files.drive_type(path.substr(0, 2) + "\\") == platform::DriveType::NoRootDir)
        return trf("there is no drive {0}", path.substr(0, 2));
    if (files.probe(path) == platform::PathState::Missing) return tr("there is no such file");
    return tr("the file cannot be read");
}

}  // namespace

std::vector<int> read_profile(platform::FileSystem& files, const std::string& path, const platform::AnsiText& ansi) {
    std::vector<std::uint8_t> bytes;
    if (!files.read_file(path, bytes)) refuse(path, 1, why_unreadable(files, path));
    return parse_profile(path, bytes, ansi);
}

std::vector<int> parse_profile(const std::string& file_name, std::span<const std::uint8_t> bytes,
                               const platform::AnsiText& ansi) {
    std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (const std::size_t eof = raw.find('\x1A'); eof != std::string_view::npos) raw = raw.substr(0, eof);
    if (raw.substr(0, 3) == "\xEF\xBB\xBF") raw.remove_prefix(3);
    // Checked whole before any line is read, so a bad byte late in the file
    // still leaves nothing applied.
    int line = 1;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(raw[i]);
        if ((b < 0x20 && b != '\t' && b != '\r' && b != '\n') || b == 0x7F)
            refuse(file_name, line, tr("this is not a text file"));
        if (b == '\n' || (b == '\r' && raw.compare(i, 2, "\r\n") != 0)) ++line;
    }
    const std::string text = is_utf8(raw) ? std::string(raw) : ansi.to_utf8(raw);

    std::vector<int> tips;
    std::vector<int> seen_on(kTipCount + 1, 0);
    line = 0;
    for (std::string_view content : split_lines(text)) {
        ++line;
        if (const auto hash = content.find('#'); hash != std::string_view::npos) content = content.substr(0, hash);
        content = trim(content);
        if (content.empty()) continue;
        const bool tip_line = content.size() >= 7 && same_letters(content.substr(0, 3), "TIP") &&
                              std::all_of(content.begin() + 3, content.begin() + 7, [](char c) { return c >= '0' && c <= '9'; }) &&
                              (content.size() == 7 || blank(content[7]));
        if (!tip_line) refuse(file_name, line, tr("not a tip line (a tip line starts with its name, as in TIP0017)"));
        const std::string name = "TIP" + std::string(content.substr(3, 4));
        const int tip = std::stoi(name.substr(3));
        if (tip < 1 || tip > kTipCount) refuse(file_name, line, trf("there is no tip {0}", name));
        if (seen_on[tip] != 0)
            refuse(file_name, line, trf("{0} is named a second time (first on line {1})", name, std::to_string(seen_on[tip])));
        seen_on[tip] = line;
        tips.push_back(tip);
    }
    if (tips.empty())
        refuse(file_name, line,
               tr("the profile names no tip (an empty or cut-off file?); a tip line starts with its name, as in "
                  "TIP0017"));
    std::sort(tips.begin(), tips.end());
    return tips;
}

std::string format_profile(std::span<const int> tips, const std::string& comment) {
    std::string out = "# Veltrano profile: " + comment + "\r\n";
    out += "# One tip a line: its name, then its caption. '#' starts a comment.\r\n";
    for (int tip : tips) {
        char name[8];
        std::snprintf(name, sizeof name, "TIP%04d", tip);
        out += std::string(name) + "  " + std::string(trim(tip_display(tip).caption)) + "\r\n";
    }
    return out;
}

}  // namespace veltrano::tips
