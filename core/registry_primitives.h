// The four operations every registry read and write of the program goes
// through. The writers narrate each step in the activity log and never fail
// to their caller: a key that cannot be opened is a log line, not an error.
// Only a value of the wrong type stops them, with VeltranoError.
#pragma once

#include "core/activity_log.h"
#include "platform/registry.h"

#include <cstdint>
#include <string>

namespace veltrano::core {

using platform::Root;

// Value type and deletion selectors, compared exactly.
inline const std::string INT_TYPE = "INT_TYPE";
inline const std::string STR_TYPE = "STR_TYPE";
inline const std::string KEY = "KEY";
inline const std::string VALUENAME = "VALUENAME";

class RegistryPrimitives {
public:
    RegistryPrimitives(platform::Registry& registry, ActivityLog& log) : registry_(registry), log_(log) {}

    std::string Get_Sysinfo_Registry_string(Root RootKey, const std::string& KeyPath,
                                            const std::string& ValueName);
    std::int32_t Get_Sysinfo_Registry_integer(Root RootKey, const std::string& KeyPath,
                                              const std::string& ValueName);
    bool Manipulate_Registry(Root RootKey, const std::string& KeyPath, const std::string& ValueName,
                             const std::string& ValueType, const std::string& StrValue,
                             std::int32_t IntValue, const std::string& LogMessage,
                             bool CreateIfMissing);
    bool Delete_Registry(Root RootKey, const std::string& KeyPath, const std::string& TargetName,
                         const std::string& DeleteKind, const std::string& LogMessage);

    ActivityLog& log() { return log_; }
    platform::Registry& registry() { return registry_; }

private:
    void list_values(const platform::RegKey& key, const std::string& KeyPath);
    platform::Registry& registry_;
    ActivityLog& log_;
};

// Typed reads of a value already fetched; a value of another type ends the
// operation in progress with "Invalid data type for '<name>'".
std::string read_string(const platform::RegValue& value, const std::string& name);
std::int32_t read_integer(const platform::RegValue& value, const std::string& name);

}  // namespace veltrano::core
