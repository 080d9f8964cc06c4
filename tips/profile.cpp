#include "tips/profile.h"

#include "core/error.h"
#include "platform/utf8.h"
#include "tips/catalogue.h"

#include <algorithm>
#include <cstdio>

namespace veltrano::tips {

namespace {

[[noreturn]] void refuse(const std::string& file_name, int line, const std::string& why) {
    throw core::VeltranoError(file_name + ", line " + std::to_string(line) + ": " + why);
}

bool blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view text) {
    while (!text.empty() && (blank(text.front()) || text.front() == '\r')) text.remove_prefix(1);
    while (!text.empty() && (blank(text.back()) || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

}  // namespace

std::vector<int> parse_profile(const std::string& file_name, std::span<const std::uint8_t> bytes) {
    std::size_t start = 0;
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) start = 3;
    // Checked whole before any line is read, so a bad byte late in the file
    // still leaves nothing applied.
    const std::string_view chars(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    int line = 1;
    for (std::size_t i = start; i < bytes.size();) {
        const std::uint8_t b = bytes[i];
        const std::size_t n = platform::utf8_sequence_length(chars, i);
        if (n == 0 || (b < 0x20 && b != '\t' && b != '\r' && b != '\n') || b == 0x7F)
            refuse(file_name, line, "this is not a text file");
        if (b == '\n') ++line;
        i += n;
    }

    const std::string text(bytes.begin() + static_cast<std::ptrdiff_t>(start), bytes.end());
    std::vector<int> tips;
    std::vector<int> seen_on(kTipCount + 1, 0);
    line = 0;
    for (std::size_t pos = 0; pos <= text.size();) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        std::string_view content = std::string_view(text).substr(pos, end - pos);
        pos = end + 1;
        ++line;
        if (const auto hash = content.find('#'); hash != std::string_view::npos) content = content.substr(0, hash);
        content = trim(content);
        if (content.empty()) continue;
        const bool tip_line = content.size() >= 7 && content.substr(0, 3) == "TIP" &&
                              std::all_of(content.begin() + 3, content.begin() + 7, [](char c) { return c >= '0' && c <= '9'; }) &&
                              (content.size() == 7 || blank(content[7]));
        if (!tip_line) refuse(file_name, line, "not a tip line (a tip line starts with its name, as in TIP0017)");
        const std::string name(content.substr(0, 7));
        const int tip = std::stoi(name.substr(3));
        if (tip < 1 || tip > kTipCount) refuse(file_name, line, "there is no tip " + name);
        if (seen_on[tip] != 0)
            refuse(file_name, line, name + " is named a second time (first on line " + std::to_string(seen_on[tip]) + ")");
        seen_on[tip] = line;
        tips.push_back(tip);
    }
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
