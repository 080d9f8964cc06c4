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

std::string RegistryPrimitives::read_text(Root root, const std::string& key_path,
                                                            const std::string& value_name) {
    auto key = registry_.open(root, key_path, false);
    if (!key) return "";
    auto value = key->query(value_name);
    if (!value) return "";
    return read_string(*value, value_name);
}

std::int32_t RegistryPrimitives::read_number(Root root, const std::string& key_path,
                                                              const std::string& value_name) {
    auto key = registry_.open(root, key_path, false);
    if (!key) return 0;
    auto value = key->query(value_name);
    if (!value) return 0;
    return read_integer(*value, value_name);
}

void RegistryPrimitives::list_values(const platform::RegKey& key, const std::string& key_path) {
    for (const auto& name : key.value_names())
        log_.add(trf("Key: [{0}] has an Entry Called {1}", key_path, name));
}

void RegistryPrimitives::write_value(Root root, const std::string& key_path,
                                             const std::string& value_name, ValueType type,
                                             const std::string& text, std::int32_t number,
                                             const std::string& log_message, bool create_if_missing) {
    log_.add(log_message);
    auto key = open_for_write(root, key_path, create_if_missing);
    if (!key) return;

    const bool is_str = type == STR_TYPE;
    const RegValue wanted = is_str ? RegValue::string(text)
                                   : RegValue::number(static_cast<std::uint32_t>(number));
    if (auto existing = key->query(value_name)) {
        const bool same = is_str ? read_string(*existing, value_name) == text
                                 : read_integer(*existing, value_name) == number;
        if (same)
            log_.add(trf("Data value {0} already exists and enabled", value_name));
        else if (set_or_say_why(*key, value_name, wanted))
            log_.add(trf("Data value {0} already exists but was not enabled and hence enabled", value_name));
    } else if (set_or_say_why(*key, value_name, wanted)) {
        log_.add(trf("Data value {0} did not exist and hence added and enabled", value_name));
    }
}

void RegistryPrimitives::write_exact_value(Root root, const std::string& key_path,
                                              const std::string& value_name, const RegValue& value,
                                              const std::string& log_message, bool create_if_missing) {
    log_.add(log_message);
    auto key = open_for_write(root, key_path, create_if_missing);
    if (!key) return;
    const auto existing = key->query(value_name);
    if (existing && *existing == value)
        log_.add(trf("Data value {0} already exists and enabled", value_name));
    else if (set_or_say_why(*key, value_name, value))
        log_.add(existing ? trf("Data value {0} already exists but was not enabled and hence enabled", value_name)
                          : trf("Data value {0} did not exist and hence added and enabled", value_name));
}

std::unique_ptr<platform::RegKey> RegistryPrimitives::open_for_write(Root root, const std::string& key_path,
                                                                     bool create_if_missing) {
    auto key = registry_.open(root, key_path, false);
    if (!key && create_if_missing) {
        log_.add(trf("Error opening key: [{0}]", key_path));
        // Said only once the key is there: a refused creation used to read
        // as done, and the user took the tip for applied.
        key = registry_.open(root, key_path, true);
        if (key)
            log_.add(trf("[{0}] key did not exist but has been created", key_path));
        else
            log_.add(trf("Serious problem creating key: [{0}] - cannot proceed: {1}", key_path,
                         why(registry_.last_error_text())));
    }
    if (!key) {
        log_.add(trf("Error opening key: [{0}]", key_path));
        return nullptr;
    }
    list_values(*key, key_path);
    return key;
}

bool RegistryPrimitives::set_or_say_why(platform::RegKey& key, const std::string& value_name, const RegValue& value) {
    if (key.set(value_name, value)) return true;
    log_.add(trf("Data value {0} could not be written: {1}", value_name, why(key.last_error_text())));
    return false;
}

std::string RegistryPrimitives::why(const std::string& system_text) {
    return system_text.empty() ? tr("the system gave no reason") : system_text;
}

void RegistryPrimitives::delete_entry(Root root, const std::string& key_path,
                                         const std::string& target_name, DeleteKind kind,
                                         const std::string& log_message) {
    log_.add(log_message);
    auto key = registry_.open(root, key_path, false);
    if (!key) {
        log_.add(trf("Error opening key: [{0}]", key_path));
        return;
    }
    list_values(*key, key_path);
    const std::string path = key_path + "\\" + target_name;

    if (kind == KEY) {
        // A missing subkey is as good as deleted; one that is there and
        // stays there is a failure with the system's reason. An empty name
        // would make the registry take the key itself.
        const bool present = !target_name.empty() && registry_.open(root, path, false);
        if (present && !key->delete_subtree(target_name) &&
            registry_.open(root, path, false)) {
            log_.add(trf("{0} key could not be deleted: {1}", path, why(key->last_error_text())));
            return;
        }
        log_.add(trf("{0} key has been deleted", path));
    } else if (key->query(target_name)) {
        if (!key->delete_value(target_name)) {
            log_.add(trf("{0} data value could not be deleted: {1}", path, why(key->last_error_text())));
            return;
        }
        log_.add(trf("{0} data value has been deleted", path));
    } else {
        log_.add(trf("{0} data value does not exist or has already been deleted", path));
    }
}

}  // namespace veltrano::core
