#include "regclean/reg_backup.h"

#include "platform/utf8.h"

namespace veltrano::regclean {

namespace {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + '"';
}

// regedit's own wrapping of hex data: a line breaks with '\' after about 76
// characters and goes on indented by two blanks.
std::string hex_data(const std::string& prefix, const std::u16string& text) {
    static const char digits[] = "0123456789abcdef";
    std::string out = prefix;
    std::size_t line_length = prefix.size();
    const auto byte = [&](unsigned value, bool last) {
        out += digits[value >> 4];
        out += digits[value & 15];
        line_length += 2;
        if (last) return;
        out += ',';
        ++line_length;
        if (line_length > 75) {
            out += "\\\r\n  ";
            line_length = 2;
        }
    };
    std::u16string terminated = text;
    terminated += u'\0';
    for (std::size_t i = 0; i < terminated.size(); ++i) {
        byte(terminated[i] & 0xFF, false);
        byte(terminated[i] >> 8, i + 1 == terminated.size());
    }
    return out;
}

bool has_control_characters(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20) return true;
    return false;
}

std::string value_line(const BackupEntry& entry) {
    std::string line = entry.name.empty() ? "@" : quoted(entry.name);
    line += '=';
    const std::string& data = entry.value.text;
    // A line break inside a REG_SZ has no escape regedit reads back; hex(1)
    // is the same type spelled byte by byte.
    if (entry.value.kind == platform::ValueKind::String && !has_control_characters(data))
        return line + quoted(data);
    const char* prefix = entry.value.kind == platform::ValueKind::String ? "hex(1):" : "hex(2):";
    return hex_data(line + prefix, platform::utf8_to_utf16(data));
}

std::string key_name(const BackupEntry& entry) {
    std::string path = entry.key_path;
    while (!path.empty() && path.front() == '\\') path.erase(0, 1);
    return std::string(platform::root_name(entry.root)) + (path.empty() ? "" : "\\" + path);
}

}  // namespace

bool can_back_up(const platform::RegValue& value) {
    return value.kind == platform::ValueKind::String || value.kind == platform::ValueKind::ExpandString;
}

std::string reg_file_text(const std::vector<BackupEntry>& entries) {
    std::string text = "Windows Registry Editor Version 5.00\r\n";
    std::string section;
    for (const BackupEntry& entry : entries) {
        const std::string key = key_name(entry);
        if (key != section) {
            text += "\r\n[" + key + "]\r\n";
            section = key;
        }
        text += value_line(entry) + "\r\n";
    }
    return text + "\r\n";
}

std::vector<std::uint8_t> reg_file(const std::vector<BackupEntry>& entries) {
    const std::u16string text = platform::utf8_to_utf16(reg_file_text(entries));
    std::vector<std::uint8_t> bytes{0xFF, 0xFE};
    bytes.reserve(2 + text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

}  // namespace veltrano::regclean
