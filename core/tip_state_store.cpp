#include "core/tip_state_store.h"

#include <cstdio>
#include <functional>

namespace veltrano::core {

std::string tip_key(int tip) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "TIP%04d", tip);
    return buf;
}

std::vector<TcpipAdapter> tcpip_adapters(RegistryPrimitives& primitives) {
    auto key = primitives.registry().open(Root::LocalMachine, kAdaptersKey, false);
    if (!key) {
        primitives.log().add("Error opening key: [" + kAdaptersKey + "]");
        return {};
    }
    const auto names = key->subkey_names();
    std::vector<TcpipAdapter> adapters;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] != "NdisWanIp") adapters.push_back({names[i], static_cast<int>(i)});  // dial-up, no interface
    return adapters;
}

void TipStateStore::check_for_previous_install() {
    if (!reg_.registry().open(Root::LocalMachine, kStoreRoot, false)) create_veltrano_key_structure();
}

void TipStateStore::create_veltrano_key_structure() {
    if (reg_.registry().open(Root::LocalMachine, "SOFTWARE", false)) {
        for (int n = 1; n <= kTipCount; ++n) {
            const std::string state_key = kStateKeyBase + tip_key(n);
            reg_.registry().open(Root::LocalMachine, state_key, true);
            reg_.registry().open(Root::LocalMachine, state_key + "\\OLD_VALUES", true);
            reg_.registry().open(Root::LocalMachine, state_key + "\\NEW_VALUES", true);
        }
    }
    set_veltrano_flags();
    // The derivation narrates several hundred lines the user never asked for.
    reg_.log().clear();
}

void TipStateStore::set_veltrano_flags() {
    for (const FlagRow& row : flags_) {
        const std::string tip = tip_key(row.tip);
        switch (row.kind) {
        case FlagRow::Kind::Compare:
            compare_and_set(tip, row.root, platform::root_name(row.root), std::string(row.key),
                            std::string(row.value), row.type, std::string(row.str), row.num,
                            true);
            break;
        case FlagRow::Kind::Adapters:
            compare_adapters(tip, std::string(row.value), row.num);
            break;
        case FlagRow::Kind::Absence:
            flag_by_absence(tip, std::string(row.key));
            break;
        }
    }
}

void TipStateStore::compare_adapters(const std::string& tip, const std::string& value, std::int32_t data) {
    // Every adapter writes the flag in turn; the last one decides.
    for (const auto& adapter : tcpip_adapters(reg_))
        compare_and_set(tip, Root::LocalMachine, "HKEY_LOCAL_MACHINE", adapter.interface_key(), value,
                        INT_TYPE, "", data, true);
}

void TipStateStore::flag_by_absence(const std::string& tip, const std::string& probe_key) {
    const bool present = reg_.registry().open(Root::LocalMachine, probe_key, false) != nullptr;
    const std::string state_key = kStateKeyBase + tip;
    reg_.registry().open(Root::LocalMachine, state_key, true);
    reg_.Manipulate_Registry(Root::LocalMachine, state_key, kAppliedFlag, INT_TYPE, "", present ? 0 : 1,
                             "Setting " + tip, true);
    reg_.Manipulate_Registry(Root::LocalMachine, state_key, kAppliedDate, STR_TYPE,
                             time_.short_date_today(), 0, "Setting " + tip, true);
}

void TipStateStore::compare_and_set(const std::string& TipKey, Root RootKey, const std::string& /*RootName*/,
                                    const std::string& KeyPath, const std::string& ValueName, ValueType ValueType,
                                    const std::string& StrValue, std::int32_t IntValue, bool CreateIfMissing) {
    const int flag = ValueType == STR_TYPE
                         ? reg_.Get_Sysinfo_Registry_string(RootKey, KeyPath, ValueName) == StrValue
                         : reg_.Get_Sysinfo_Registry_integer(RootKey, KeyPath, ValueName) == IntValue;

    const std::string state_key = kStateKeyBase + TipKey;
    reg_.Manipulate_Registry(Root::LocalMachine, state_key, kAppliedFlag, INT_TYPE, "", flag,
                             "Setting flag for " + TipKey, CreateIfMissing);
    reg_.Manipulate_Registry(Root::LocalMachine, state_key, kAppliedDate, STR_TYPE, time_.short_date_today(), 0,
                             "Setting LASTDATE for " + TipKey, CreateIfMissing);
}

void TipStateStore::mark_applied(const std::string& TipKey, bool CreateIfMissing) {
    const std::string state_key = kStateKeyBase + TipKey;
    reg_.Manipulate_Registry(Root::LocalMachine, state_key, kAppliedFlag, INT_TYPE, "", 1,
                             "Setting flag for " + TipKey, CreateIfMissing);
    reg_.Manipulate_Registry(Root::LocalMachine, state_key, kAppliedDate, STR_TYPE, time_.short_date_today(), 0,
                             "Setting LASTDATE for " + TipKey, CreateIfMissing);
}

void TipStateStore::write_records(const std::string& TipKey, const std::string& RootName,
                                  const std::string& KeyPath, const std::string& ValueName,
                                  ValueType ValueType, const std::function<Data()>& old_data,
                                  const Data& new_data, bool CreateIfMissing) {
    const std::string old_values = kStateKeyBase + TipKey + "\\OLD_VALUES";
    const std::string new_values = kStateKeyBase + TipKey + "\\NEW_VALUES";
    const std::string where = RootName + KeyPath;
    const std::string regpath = "REGPATH_for_" + ValueName;

    reg_.Manipulate_Registry(Root::LocalMachine, old_values, regpath, STR_TYPE, where, 0,
                             "Storing REGPATH for " + ValueName, CreateIfMissing);
    // The old data is read only now, after its path is stored: a wrongly typed
    // system value stops the apply with that much recorded.
    const Data old = old_data();
    reg_.Manipulate_Registry(Root::LocalMachine, old_values, ValueName, ValueType, old.str, old.num,
                             "Storing old value of " + ValueName, CreateIfMissing);
    reg_.Manipulate_Registry(Root::LocalMachine, new_values, regpath, STR_TYPE, where, 0,
                             "Storing REGPATH for " + ValueName, CreateIfMissing);
    reg_.Manipulate_Registry(Root::LocalMachine, new_values, ValueName, ValueType, new_data.str, new_data.num,
                             "Storing new value of " + ValueName, CreateIfMissing);
}

void TipStateStore::create_veltrano_log(const std::string& TipKey, Root RootKey, const std::string& RootName,
                                        const std::string& KeyPath, const std::string& ValueName,
                                        ValueType ValueType, const std::string& StrValue,
                                        std::int32_t IntValue, bool CreateIfMissing) {
    mark_applied(TipKey, CreateIfMissing);
    auto current = [&]() -> Data {
        if (ValueType == STR_TYPE) return {reg_.Get_Sysinfo_Registry_string(RootKey, KeyPath, ValueName), 0};
        return {"", reg_.Get_Sysinfo_Registry_integer(RootKey, KeyPath, ValueName)};
    };
    write_records(TipKey, RootName, KeyPath, ValueName, ValueType, current, {StrValue, IntValue},
                  CreateIfMissing);
}

void TipStateStore::mto_create_veltrano_log(const std::string& TipKey, Root /*RootKey*/,
                                            const std::string& RootName, const std::string& KeyPath,
                                            const std::string& ValueName, ValueType ValueType,
                                            const std::string& OldStrValue, std::int32_t OldIntValue,
                                            const std::string& NewStrValue, std::int32_t NewIntValue,
                                            bool CreateIfMissing) {
    mark_applied(TipKey, CreateIfMissing);
    write_records(TipKey, RootName, KeyPath, ValueName, ValueType,
                  [&]() -> Data { return {OldStrValue, OldIntValue}; }, {NewStrValue, NewIntValue},
                  CreateIfMissing);
}

int TipStateStore::count_applied_tips() {
    int applied = 0;
    for (int n = 1; n <= kTipCount; ++n)
        if (reg_.Get_Sysinfo_Registry_integer(Root::LocalMachine, kStateKeyBase + tip_key(n), kAppliedFlag) == 1)
            ++applied;
    return applied;
}

}  // namespace veltrano::core
