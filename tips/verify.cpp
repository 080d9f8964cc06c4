#include "tips/verify.h"

#include "core/registry_primitives.h"
#include "core/tip_state_store.h"
#include "i18n/translate.h"
#include "platform/registry_path.h"
#include "platform/utf8.h"
#include "tips/tip_engine.h"

#include <cstdio>

namespace veltrano::tips {

namespace {

using platform::RegValue;
using platform::ValueKind;

// The adapters' list says nothing the caller asked for.
class SilentLog : public ui::ActivityLog {
public:
    void add(const std::string&) override {}
    void clear() override {}
};

std::string full_path(platform::Root root, std::string_view key) {
    return std::string(platform::root_name(root)) + "\\" + platform::strip_leading_backslash(std::string(key));
}

std::optional<RegValue> read(platform::Registry& registry, platform::Root root, const std::string& key,
                             std::string_view name) {
    auto k = registry.open_existing(root, key, platform::Access::Read);
    return k ? k->query(std::string(name)) : std::nullopt;
}

// As the store compares: an absent value counts as 0 or "".
bool holds(const std::optional<RegValue>& found, const core::FlagRow& row) {
    if (row.type == core::STR_TYPE)
        return found ? (found->kind == ValueKind::String || found->kind == ValueKind::ExpandString) && found->text == row.str
                     : row.str.empty();
    return found ? found->kind == ValueKind::Dword && static_cast<std::int32_t>(found->dword) == row.num : row.num == 0;
}

std::string mismatch(const std::string& where, std::string_view name, const std::optional<RegValue>& found,
                     const core::FlagRow& row) {
    const RegValue wanted = row.type == core::STR_TYPE ? RegValue::string(std::string(row.str))
                                                        : RegValue::number(static_cast<std::uint32_t>(row.num));
    const std::string path = value_path(where, name);
    return found ? i18n::trf("{0} holds {1}; the tip writes {2}", path, describe_value(*found), describe_value(wanted))
                 : i18n::trf("{0} is absent; the tip writes {1}", path, describe_value(wanted));
}

}  // namespace

std::string value_path(const std::string& key, std::string_view name) {
    // TRANSLATORS: the name Registry Editor shows for a key's unnamed value
    return key + "\\" + (name.empty() ? i18n::tr("(Default)") : std::string(name));
}

namespace {

// REG_BINARY as reg query shows it: two upper-case hex digits a byte.
std::string hex_bytes(const std::vector<std::uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (std::uint8_t b : bytes) {
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}

// REG_MULTI_SZ as reg query shows it: the strings joined by "\0".
std::string multi_string(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::string> strings(1);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char16_t unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0) {
            strings.emplace_back();
            continue;
        }
        char32_t point = unit;
        // A surrogate pair: one code point beyond the BMP.
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            const char16_t low = static_cast<char16_t>(bytes[i + 2] | (bytes[i + 3] << 8));
            if (low >= 0xDC00 && low < 0xE000) {
                point = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        platform::encode_utf8(point, strings.back());
    }
    // The list ends with an empty string, and each string with a NUL.
    while (!strings.empty() && strings.back().empty()) strings.pop_back();
    std::string out;
    for (std::size_t i = 0; i < strings.size(); ++i) out += (i ? "\\0" : "") + strings[i];
    return out;
}

std::string qword(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t n = 0;
    for (std::size_t i = 0; i < bytes.size() && i < 8; ++i) n |= std::uint64_t{bytes[i]} << (8 * i);
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(n));
    return text;
}

constexpr std::uint32_t kRegMultiSz = 7, kRegQword = 11;

}  // namespace

std::string describe_value(const RegValue& value) {
    switch (value.kind) {
    case ValueKind::Dword: return std::to_string(static_cast<std::int32_t>(value.dword)) + " (REG_DWORD)";
    case ValueKind::String: return "\"" + value.text + "\"";
    case ValueKind::ExpandString: return "\"" + value.text + "\" (REG_EXPAND_SZ)";
    case ValueKind::Binary: return hex_bytes(value.bytes) + " (REG_BINARY)";
    case ValueKind::Other: break;
    }
    if (value.raw_type == kRegMultiSz) return "\"" + multi_string(value.bytes) + "\" (REG_MULTI_SZ)";
    if (value.raw_type == kRegQword && value.bytes.size() == 8) return qword(value.bytes) + " (REG_QWORD)";
    return i18n::trf("{0} (a value of type {1})", hex_bytes(value.bytes), std::to_string(value.raw_type));
}

std::vector<std::string> not_in_effect(platform::Registry& registry, int tip) {
    std::vector<std::string> out;
    bool checked = false;
    for (const core::FlagRow& row : flag_rows()) {
        if (row.tip != tip) continue;
        switch (row.kind) {
        case core::FlagRow::Kind::Compare: {
            const auto found = read(registry, row.root, std::string(row.key), row.value);
            if (!holds(found, row)) out.push_back(mismatch(full_path(row.root, row.key), row.value, found, row));
            checked = true;
            break;
        }
        case core::FlagRow::Kind::Adapters: {
            SilentLog quiet;
            core::RegistryPrimitives primitives(registry, quiet);
            bool any = false;
            for (const core::TcpipAdapter& adapter : core::tcpip_adapters(primitives)) {
                const auto found = read(registry, platform::Root::LocalMachine, adapter.interface_key(), row.value);
                if (!holds(found, row) || !found)
                    out.push_back(mismatch(full_path(platform::Root::LocalMachine, adapter.interface_key()), row.value,
                                           found, row));
                any = true;
            }
            if (!any) out.push_back(i18n::trf("no network adapter holds {0}", row.value));
            checked = true;
            break;
        }
        case core::FlagRow::Kind::Absence:
            if (registry.open_existing(row.root, std::string(row.key), platform::Access::Read))
                out.push_back(i18n::trf("{0} is there; the tip deletes it", full_path(row.root, row.key)));
            checked = true;
            break;
        }
    }
    if (!checked) out.push_back(i18n::tr("nothing tells whether it is in effect"));
    return out;
}

bool per_user(int tip) {
    for (const core::FlagRow& row : flag_rows())
        if (row.tip == tip && row.root == platform::Root::CurrentUser) return true;
    return false;
}

}  // namespace veltrano::tips
