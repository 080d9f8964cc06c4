#include "tips/reg_export.h"

#include "platform/registry_path.h"

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

// The value as the machine holds it, when it holds it as the tip writes it:
// a plain string or a DWORD, without characters a .reg line cannot carry.
std::string value_line(platform::Registry& registry, const WriteRow& row) {
    const std::string left_out = "; " + std::string(row.value) + " (" + core::tip_key(row.tip) +
                                 ") is left out: this machine does not hold it as the tip writes it\r\n";
    auto key = registry.open_existing(row.root, std::string(row.key), platform::Access::Read);
    const auto value = key ? key->query(std::string(row.value)) : std::nullopt;
    if (!value) return left_out;
    std::string line = quoted(row.value) + "=";
    if (row.type == core::STR_TYPE && value->kind == platform::ValueKind::String) {
        for (char c : value->text)
            if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x80) return left_out;
        return line + quoted(value->text) + "\r\n";
    }
    if (row.type == core::INT_TYPE && value->kind == platform::ValueKind::Dword) {
        char dword[16];
        std::snprintf(dword, sizeof dword, "dword:%08x", static_cast<unsigned>(value->dword));
        return line + dword + "\r\n";
    }
    return left_out;
}

bool same_key(const std::string& a, const std::string& b) {
    return platform::registry_fold(a) == platform::registry_fold(b);
}

}  // namespace

std::string reg_export_text(platform::Registry& registry, std::span<const int> tips, const std::string& comment) {
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
            text += value_line(registry, row);
        }
    }
    return text + "\r\n";
}

std::vector<std::uint8_t> reg_export_file(platform::Registry& registry, std::span<const int> tips,
                                          const std::string& comment) {
    // Every name of the catalogue is ASCII, and so is every value taken:
    // widening is the encoding.
    const std::string text = reg_export_text(registry, tips, comment);
    std::vector<std::uint8_t> bytes{0xFF, 0xFE};
    for (char c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(0);
    }
    return bytes;
}

}  // namespace veltrano::tips
