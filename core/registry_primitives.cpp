#include "core/registry_primitives.h"

#include "core/error.h"
#include "i18n/translate.h"

namespace veltrano::core {

using platform::RegValue;
using platform::ValueKind;
using i18n::tr;
using i18n::trf;

namespace {

[[noreturn]] void invalid_type(const std::string& name) {
    throw VeltranoError(trf("Invalid data type for '{0}'", name));
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
        log_.add(trf("Key: [{0}] has an Entry Called {1}", KeyPath, name));
}

void RegistryPrimitives::Manipulate_Registry(Root RootKey, const std::string& KeyPath,
                                             const std::string& ValueName, ValueType type,
                                             const std::string& StrValue, std::int32_t IntValue,
                                             const std::string& LogMessage, bool CreateIfMissing) {
    log_.add(LogMessage);
    auto key = open_for_write(RootKey, KeyPath, CreateIfMissing);
    if (!key) return;

    const bool is_str = type == STR_TYPE;
    const RegValue wanted = is_str ? RegValue::string(StrValue)
                                   : RegValue::number(static_cast<std::uint32_t>(IntValue));
    if (auto existing = key->query(ValueName)) {
        const bool same = is_str ? read_string(*existing, ValueName) == StrValue
                                 : read_integer(*existing, ValueName) == IntValue;
        if (same)
            log_.add(trf("Data value {0} already exists and enabled", ValueName));
        else if (set_or_say_why(*key, ValueName, wanted))
            log_.add(trf("Data value {0} already exists but was not enabled and hence enabled", ValueName));
    } else if (set_or_say_why(*key, ValueName, wanted)) {
        log_.add(trf("Data value {0} did not exist and hence added and enabled", ValueName));
    }
}

void RegistryPrimitives::Write_Registry_value(Root RootKey, const std::string& KeyPath,
                                              const std::string& ValueName, const RegValue& Value,
                                              const std::string& LogMessage, bool CreateIfMissing) {
    log_.add(LogMessage);
    auto key = open_for_write(RootKey, KeyPath, CreateIfMissing);
    if (!key) return;
    const auto existing = key->query(ValueName);
    if (existing && *existing == Value)
        log_.add(trf("Data value {0} already exists and enabled", ValueName));
    else if (set_or_say_why(*key, ValueName, Value))
        log_.add(existing ? trf("Data value {0} already exists but was not enabled and hence enabled", ValueName)
                          : trf("Data value {0} did not exist and hence added and enabled", ValueName));
}

std::unique_ptr<platform::RegKey> RegistryPrimitives::open_for_write(Root RootKey, const std::string& KeyPath,
                                                                     bool CreateIfMissing) {
    auto key = registry_.open(RootKey, KeyPath, false);
    if (!key && CreateIfMissing) {
        log_.add(trf("Error opening key: [{0}]", KeyPath));
        // Said only once the key is there: a refused creation used to read
        // as done, and the user took the tip for applied.
        key = registry_.open(RootKey, KeyPath, true);
        if (key)
            log_.add(trf("[{0}] key did not exist but has been created", KeyPath));
        else
            log_.add(trf("Serious problem creating key: [{0}] - cannot proceed: {1}", KeyPath,
                         why(registry_.last_error_text())));
    }
    if (!key) {
        log_.add(trf("Error opening key: [{0}]", KeyPath));
        return nullptr;
    }
    list_values(*key, KeyPath);
    return key;
}

bool RegistryPrimitives::set_or_say_why(platform::RegKey& key, const std::string& ValueName, const RegValue& value) {
    if (key.set(ValueName, value)) return true;
    log_.add(trf("Data value {0} could not be written: {1}", ValueName, why(key.last_error_text())));
    return false;
}

std::string RegistryPrimitives::why(const std::string& system_text) {
    return system_text.empty() ? tr("the system gave no reason") : system_text;
}

void RegistryPrimitives::Delete_Registry(Root RootKey, const std::string& KeyPath,
                                         const std::string& TargetName, DeleteKind DeleteKind,
                                         const std::string& LogMessage) {
    log_.add(LogMessage);
    auto key = registry_.open(RootKey, KeyPath, false);
    if (!key) {
        log_.add(trf("Error opening key: [{0}]", KeyPath));
        return;
    }
    list_values(*key, KeyPath);
    const std::string path = KeyPath + "\\" + TargetName;

    if (DeleteKind == KEY) {
        // A missing subkey is as good as deleted; one that is there and
        // stays there is a failure with the system's reason. An empty name
        // would make the registry take the key itself.
        const bool present = !TargetName.empty() && registry_.open(RootKey, path, false);
        if (present && !key->delete_subtree(TargetName) &&
            registry_.open(RootKey, path, false)) {
            log_.add(trf("{0} key could not be deleted: {1}", path, why(key->last_error_text())));
            return;
        }
        log_.add(trf("{0} key has been deleted", path));
    } else if (key->query(TargetName)) {
        if (!key->delete_value(TargetName)) {
            log_.add(trf("{0} data value could not be deleted: {1}", path, why(key->last_error_text())));
            return;
        }
        log_.add(trf("{0} data value has been deleted", path));
    } else {
        log_.add(trf("{0} data value does not exist or has already been deleted", path));
    }
}

}  // namespace veltrano::core
