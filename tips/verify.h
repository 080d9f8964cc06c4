// Whether a tip is in effect on this machine, told value by value: the same
// comparisons the store derives its flags from, each one that fails said in
// words an administrator can act on. Reads only.
#pragma once

#include "platform/registry.h"

#include <string>
#include <vector>

namespace veltrano::tips {

// What of the tip is not as it writes it: each value that holds something
// else ("...\CacheHashTableSize holds 200; the tip writes 384"), each key it
// deletes that stands. Empty when the tip is in effect.
std::vector<std::string> not_in_effect(platform::Registry& registry, int tip);

// Where a value lives, as regedit names it: the key, then the value's name
// or "(Default)".
std::string value_path(const std::string& key, std::string_view name);

// A value as a person reads it, its data as reg query shows it: 384 (REG_DWORD),
// "2", 0102FF (REG_BINARY), "a\0b" (REG_MULTI_SZ), 0x1 (REG_QWORD).
std::string describe_value(const platform::RegValue& value);

// Whether the tip changes the settings of the account that runs it
// (HKEY_CURRENT_USER) rather than the machine's.
bool per_user(int tip);

}  // namespace veltrano::tips
