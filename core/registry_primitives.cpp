#include "core/registry_primitives.h"

#include "core/error.h"

namespace veltrano::core {

using platform::RegValue;
using platform::ValueKind;

namespace {

[[noreturn]] void invalid_type(const std::string& name) {
    throw VeltranoError("Invalid data type for '" + name + "'");
}

}  // namespace

std::string read_string(const RegValue& value, const std::string& name) {
    // Expandable strings come back as stored: nothing here expands them.
    if (value.kind != ValueKind::String && value.kind != ValueKind::ExpandString) invalid_type(name);
    return value.text;
}

std::int32_t read_integer(const RegValue& value, const std::string& name) {
    if (value.kind != ValueKind::Dword) invalid_type(name);
    return static_cast<std::int32_t>(value.dword);
}

std::string RegistryPrimitives::Get_Sysinfo_Registry_string(Root RootKey, const std::string& KeyPath,
                                                            const std::string& ValueName) {
    auto key = registry_.open(RootKey, KeyPath, false);
    if (!key) return "";
    auto value = key->query(ValueName);
    if (!value) return "";
    return read_string(*value, ValueName);
}

std::int32_t RegistryPrimitives::Get_Sysinfo_Registry_integer(Root RootKey, const std::string& KeyPath,
                                                              const std::string& ValueName) {
    auto key = registry_.open(RootKey, KeyPath, false);
    if (!key) return 0;
    auto value = key->query(ValueName);
    if (!value) return 0;
    return read_integer(*value, ValueName);
}

void RegistryPrimitives::list_values(const platform::RegKey& key, const std::string& KeyPath) {
    for (const auto& name : key.value_names())
        log_.add("Key: [" + KeyPath + "]" + " has an Entry Called " + name);
}

void RegistryPrimitives::Manipulate_Registry(Root RootKey, const std::string& KeyPath,
                                             const std::string& ValueName, ValueType ValueType,
                                             const std::string& StrValue, std::int32_t IntValue,
                                             const std::string& LogMessage, bool CreateIfMissing) {
    log_.add(LogMessage);

    if (!registry_.open(RootKey, KeyPath, false) && CreateIfMissing) {
        log_.add("Error opening key: [" + KeyPath + "]");
        // Said before the attempt, so a failed creation reads as a promise broken.
        log_.add("[" + KeyPath + "] key did not exist but has been created");
        if (!registry_.open(RootKey, KeyPath, true))
            log_.add("Serious problem creating key: [" + KeyPath + "] - cannot proceed");
    }

    auto key = registry_.open(RootKey, KeyPath, false);
    if (!key) {
        log_.add("Error opening key: [" + KeyPath + "]");
        return;
    }
    list_values(*key, KeyPath);

    const bool is_str = ValueType == STR_TYPE;

    const RegValue wanted = is_str ? RegValue::string(StrValue)
                                   : RegValue::number(static_cast<std::uint32_t>(IntValue));
    if (auto existing = key->query(ValueName)) {
        const bool same = is_str ? read_string(*existing, ValueName) == StrValue
                                 : read_integer(*existing, ValueName) == IntValue;
        if (same) {
            log_.add("Data value " + ValueName + " already exists and enabled");
        } else {
            key->set(ValueName, wanted);
            log_.add("Data value " + ValueName + " already exists but was not enabled and hence enabled");
        }
    } else {
        key->set(ValueName, wanted);
        log_.add("Data value " + ValueName + " did not exist and hence added and enabled");
    }
}

void RegistryPrimitives::Delete_Registry(Root RootKey, const std::string& KeyPath,
                                         const std::string& TargetName, DeleteKind DeleteKind,
                                         const std::string& LogMessage) {
    log_.add(LogMessage);
    auto key = registry_.open(RootKey, KeyPath, false);
    if (!key) {
        log_.add("Error opening key: [" + KeyPath + "]");
        return;
    }
    list_values(*key, KeyPath);

    if (DeleteKind == KEY) {
        // Reported as done either way: a missing subkey is as good as deleted.
        // An empty name would make the registry take the key itself.
        if (!TargetName.empty()) key->delete_subtree(TargetName);
        log_.add(KeyPath + "\\" + TargetName + " key has been deleted");
    } else if (key->query(TargetName)) {
        key->delete_value(TargetName);
        log_.add(KeyPath + "\\" + TargetName + " data value has been deleted");
    } else {
        log_.add(KeyPath + "\\" + TargetName + " data value does not exist or has already been deleted");
    }
}

}  // namespace veltrano::core
