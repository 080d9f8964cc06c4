// Loads a regedit export (REGEDIT4 or 5) into a registry through the
// platform interface, so one machine fixture serves the in-memory registry
// natively and the real one under Wine. "[-KEY]" removes a tree, "name"=-
// a value; strings, dword:, hex:, hex(2): and other hex(n): are understood.
#pragma once

#include "platform/registry.h"

#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace veltrano::fakes {

namespace reg_file_detail {

inline std::optional<std::pair<platform::Root, std::string>> split_root(const std::string& full) {
    const auto slash = full.find('\\');
    const std::string root = full.substr(0, slash);
    const std::string rest = slash == std::string::npos ? "" : full.substr(slash + 1);
    if (const auto r = platform::root_from_name(root)) return std::make_pair(*r, rest);
    return std::nullopt;
}

// A quoted text from pos (at the opening quote); pos ends past the closing one.
inline std::string quoted(const std::string& line, std::size_t& pos) {
    std::string out;
    for (++pos; pos < line.size() && line[pos] != '"'; ++pos) {
        if (line[pos] == '\\' && pos + 1 < line.size()) ++pos;
        out += line[pos];
    }
    ++pos;
    return out;
}

inline std::vector<std::uint8_t> hex_bytes(const std::string& text) {
    std::vector<std::uint8_t> out;
    std::stringstream in(text);
    std::string byte;
    while (std::getline(in, byte, ','))
        if (byte.find_first_not_of(" \t") != std::string::npos)
            out.push_back(static_cast<std::uint8_t>(std::stoul(byte, nullptr, 16)));
    return out;
}

inline std::optional<platform::RegValue> value_of(const std::string& data, bool unicode) {
    using platform::RegValue;
    if (!data.empty() && data.front() == '"') {
        std::size_t pos = 0;
        return RegValue::string(quoted(data, pos));
    }
    if (data.rfind("dword:", 0) == 0) return RegValue::number(static_cast<std::uint32_t>(std::stoul(data.substr(6), nullptr, 16)));
    if (data.rfind("hex:", 0) == 0) return RegValue::binary(hex_bytes(data.substr(4)));
    if (data.rfind("hex(", 0) == 0) {
        const auto close = data.find("):");
        const auto type = static_cast<std::uint32_t>(std::stoul(data.substr(4, close - 4), nullptr, 16));
        auto bytes = hex_bytes(data.substr(close + 2));
        if (type == 2) {  // REG_EXPAND_SZ
            std::string text;
            for (std::size_t i = 0; i < bytes.size(); i += unicode ? 2 : 1)
                if (bytes[i]) text += static_cast<char>(bytes[i]);
            return RegValue::expand_string(text);
        }
        return RegValue::other(type, std::move(bytes));
    }
    return std::nullopt;
}

}  // namespace reg_file_detail

// False when the file cannot be read.
inline bool load_reg_file(platform::Registry& registry, const std::string& file) {
    namespace d = reg_file_detail;
    std::ifstream in(file);
    if (!in) return false;
    std::string line, header;
    std::getline(in, header);
    const bool unicode = header.find("Version 5") != std::string::npos;
    std::unique_ptr<platform::RegKey> key;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // Hex data runs over lines ending in a backslash.
        while (!line.empty() && line.back() == '\\' && line.find("=hex") != std::string::npos) {
            std::string next;
            if (!std::getline(in, next)) break;
            line.pop_back();
            line += next.substr(next.find_first_not_of(" \t"));
        }
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const bool remove = line[1] == '-';
            const auto where = d::split_root(line.substr(remove ? 2 : 1, line.rfind(']') - (remove ? 2 : 1)));
            key.reset();
            if (!where) continue;
            if (remove)
                platform::delete_key(registry, where->first, where->second);
            else
                key = registry.open(where->first, where->second, true);
            continue;
        }
        if (!key) continue;
        std::size_t pos = 0;
        std::string name;
        if (line.front() == '@')
            pos = 1;
        else if (line.front() == '"')
            name = d::quoted(line, pos);
        else
            continue;
        if (pos >= line.size() || line[pos] != '=') continue;
        const std::string data = line.substr(pos + 1);
        if (data == "-") {
            key->delete_value(name);
        } else if (auto value = d::value_of(data, unicode)) {
            key->set(name, *value);
        }
    }
    return true;
}

}  // namespace veltrano::fakes
