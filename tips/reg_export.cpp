#include "tips/reg_export.h"

#include <cctype>
#include <cstdio>

namespace veltrano::tips {

namespace {

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + '"';
}

std::string key_name(Root root, std::string_view key) {
    while (!key.empty() && key.front() == '\\') key.remove_prefix(1);
    return std::string(platform::root_name(root)) + "\\" + std::string(key);
}

std::string value_line(const WriteRow& row) {
    std::string line = quoted(row.value) + "=";
    if (row.type == core::STR_TYPE) return line + quoted(row.str);
    char dword[16];
    std::snprintf(dword, sizeof dword, "dword:%08x", static_cast<unsigned>(row.num));
    return line + dword;
}

bool same_key(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

}  // namespace

std::string reg_export_text(std::span<const int> tips, const std::string& comment) {
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n; " + comment + "\r\n";
    std::string section;
    for (int tip : tips) {
        const GroupTables& tables = group_tables(tip_display(tip).group);
        const std::string name = core::tip_key(tip);
        for (const ExportRow& e : tables.exports) {
            if (e.tip != tip) continue;
            if (e.deleted_key.empty()) {
                text += "\r\n; " + name + " is left out: " + std::string(e.left_out) + ".\r\n";
            } else {
                text += "\r\n; " + name + "\r\n[-" + key_name(e.root, e.deleted_key) + "]\r\n";
            }
            section.clear();
        }
        for (const WriteRow& row : tables.writes) {
            if (row.tip != tip) continue;
            const std::string key = key_name(row.root, row.key);
            if (!same_key(key, section)) {
                text += "\r\n[" + key + "]\r\n";
                section = key;
            }
            text += value_line(row) + "\r\n";
        }
    }
    return text + "\r\n";
}

std::vector<std::uint8_t> reg_export_file(std::span<const int> tips, const std::string& comment) {
    // Every name and value of the catalogue is ASCII: widening is the encoding.
    const std::string text = reg_export_text(tips, comment);
    std::vector<std::uint8_t> bytes{0xFF, 0xFE};
    for (char c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(0);
    }
    return bytes;
}

}  // namespace veltrano::tips
