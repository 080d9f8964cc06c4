#include "tips/verify.h"

#include "core/registry_primitives.h"
#include "core/tip_state_store.h"
#include "platform/registry_path.h"
#include "tips/tip_engine.h"

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
    return value_path(where, name) + (found ? " holds " + describe_value(*found) : " is absent") +
           "; the tip writes " + describe_value(wanted);
}

}  // namespace

std::string value_path(const std::string& key, std::string_view name) {
    return key + "\\" + (name.empty() ? std::string("(Default)") : std::string(name));
}

std::string describe_value(const RegValue& value) {
    switch (value.kind) {
    case ValueKind::Dword: return std::to_string(static_cast<std::int32_t>(value.dword));
    case ValueKind::String: return "\"" + value.text + "\"";
    case ValueKind::ExpandString: return "\"" + value.text + "\" (REG_EXPAND_SZ)";
    case ValueKind::Binary: return "a REG_BINARY value";
    case ValueKind::Other: break;
    }
    return "a value of type " + std::to_string(value.raw_type);
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
            if (!any) out.push_back("no network adapter holds " + std::string(row.value));
            checked = true;
            break;
        }
        case core::FlagRow::Kind::Absence:
            if (registry.open_existing(row.root, std::string(row.key), platform::Access::Read))
                out.push_back(full_path(row.root, row.key) + " is there; the tip deletes it");
            checked = true;
            break;
        }
    }
    if (!checked) out.push_back("nothing tells whether it is in effect");
    return out;
}

bool per_user(int tip) {
    for (const core::FlagRow& row : flag_rows())
        if (row.tip == tip && row.root == platform::Root::CurrentUser) return true;
    return false;
}

}  // namespace veltrano::tips
