// The four operations every registry read and write of the program goes
// through. The writers narrate each step in the activity log and never fail
// to their caller: a key that cannot be opened is a log line, not an error.
// Only a value of the wrong type stops them, with VeltranoError.
#pragma once

#include "platform/registry.h"
#include "ui/activity_log.h"

#include <cstdint>
#include <memory>
#include <string>

namespace veltrano::core {

using platform::Root;

using ui::ActivityLog;

// What a write handles the value as: a DWORD read and written as a signed
// 32-bit integer, or a plain string.
enum class ValueType { Int, Str };
inline constexpr ValueType INT_TYPE = ValueType::Int;
inline constexpr ValueType STR_TYPE = ValueType::Str;

// What a deletion removes below its key: a subkey with its subtree, or a value.
enum class DeleteKind { Key, value_name };
inline constexpr DeleteKind KEY = DeleteKind::Key;
inline constexpr DeleteKind VALUENAME = DeleteKind::value_name;

class RegistryPrimitives {
public:
    RegistryPrimitives(platform::Registry& registry, ActivityLog& log) : registry_(registry), log_(log) {}

    std::string read_text(Root root, const std::string& key_path,
                                            const std::string& value_name);
    std::int32_t read_number(Root root, const std::string& key_path,
                                              const std::string& value_name);
    void write_value(Root root, const std::string& key_path, const std::string& value_name,
                             ValueType type, const std::string& text, std::int32_t number,
                             const std::string& log_message, bool create_if_missing);
    // As write_value, for a value of any type written exactly as
    // given (a REG_EXPAND_SZ stays one): what the records put back.
    void write_exact_value(Root root, const std::string& key_path, const std::string& value_name,
                              const platform::RegValue& value, const std::string& log_message, bool create_if_missing);
    void delete_entry(Root root, const std::string& key_path, const std::string& target_name,
                         DeleteKind kind, const std::string& log_message);

    ActivityLog& log() { return log_; }
    platform::Registry& registry() { return registry_; }

private:
    void list_values(const platform::RegKey& key, const std::string& key_path);
    // The key, created when asked and allowed, its values listed; nullptr
    // with the reason logged when it cannot be had.
    std::unique_ptr<platform::RegKey> open_for_write(Root root, const std::string& key_path, bool create_if_missing);
    // A refused write is logged with the system's reason instead of a success.
    bool set_or_say_why(platform::RegKey& key, const std::string& value_name, const platform::RegValue& value);
    static std::string why(const std::string& system_text);
    platform::Registry& registry_;
    ActivityLog& log_;
};

// Typed reads of a value already fetched; a value of another type ends the
// operation in progress with "Invalid data type for '<name>'".
std::string read_string(const platform::RegValue& value, const std::string& name);
std::int32_t read_integer(const platform::RegValue& value, const std::string& name);

}  // namespace veltrano::core
