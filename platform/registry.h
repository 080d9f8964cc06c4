// The registry as the logic sees it: predefined roots, keys opened by path,
// typed values. One implementation talks to advapi32, one lives in memory for
// the native tests (tests/support); the contract suite keeps the two honest.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrano::platform {

enum class Root { ClassesRoot, CurrentUser, LocalMachine, Users };

// Every root, in the order of the enum.
inline constexpr Root kAllRoots[] = {Root::ClassesRoot, Root::CurrentUser, Root::LocalMachine, Root::Users};

// The root spelled out as it stands in a full registry path.
const char* root_name(Root root);
// The root a full name spells ("HKEY_LOCAL_MACHINE"), exactly as root_name
// gives it; nullopt for any other text.
std::optional<Root> root_from_name(std::string_view name);

enum class ValueKind { String, ExpandString, Dword, Binary, Other };

struct RegValue {
    ValueKind kind = ValueKind::String;
    std::string text;            // String and ExpandString (UTF-8, unexpanded)
    std::uint32_t dword = 0;     // Dword
    std::vector<std::uint8_t> bytes;  // Binary and Other: the raw data
    // Other: the registry's own type code (REG_MULTI_SZ, REG_QWORD...), so a
    // value read can be written back as it was; 0 when not known.
    std::uint32_t raw_type = 0;

    static RegValue string(std::string s) { return {ValueKind::String, std::move(s), 0, {}, 0}; }
    static RegValue expand_string(std::string s) { return {ValueKind::ExpandString, std::move(s), 0, {}, 0}; }
    static RegValue number(std::uint32_t d) { return {ValueKind::Dword, {}, d, {}, 0}; }
    static RegValue binary(std::vector<std::uint8_t> b) { return {ValueKind::Binary, {}, 0, std::move(b), 0}; }
    static RegValue other(std::uint32_t type, std::vector<std::uint8_t> b) {
        return {ValueKind::Other, {}, 0, std::move(b), type};
    }
    bool operator==(const RegValue&) const = default;
};

// A value's name and kind, read without its data.
struct ValueEntry {
    std::string name;
    ValueKind kind = ValueKind::String;
};

// An open key. Closing happens when the object goes away.
class RegKey {
public:
    virtual ~RegKey() = default;
    // Names in the order the registry enumerates them, case as stored.
    virtual std::vector<std::string> value_names() const = 0;
    virtual std::vector<std::string> subkey_names() const = 0;
    // The values with their kinds, in the order of value_names(), without
    // reading any data: a walk over thousands of keys reads only what it needs.
    virtual std::vector<ValueEntry> value_entries() const = 0;
    // A subkey, by its name below this key, opened for reading; nullptr when
    // it is missing or refuses to be read. One open per level, not one walk
    // down from the root for every key.
    virtual std::unique_ptr<RegKey> open_subkey(const std::string& name) const = 0;
    // The empty name is the key's default value. nullopt when it does not exist.
    virtual std::optional<RegValue> query(const std::string& name) const = 0;
    virtual bool set(const std::string& name, const RegValue& value) = 0;
    virtual bool delete_value(const std::string& name) = 0;
    // Removes the subkey and everything below it.
    virtual bool delete_subtree(const std::string& subkey) = 0;
    // Last write time of the key as FILETIME ticks (100 ns since 1601), 0 if unknown.
    virtual std::uint64_t last_write_time() const = 0;
    // Why the last set or delete on this key failed, in the system's words;
    // empty when nothing failed or nothing is known.
    virtual std::string last_error_text() const { return {}; }
};

// What a key is opened for, when it need not be everything: a user who is
// no administrator may read most of the machine's keys but change none.
enum class Access {
    Read,          // list and read; every change is refused
    ChangeValues,  // read, set and delete values; no subkeys made or deleted
};

class Registry {
public:
    virtual ~Registry() = default;
    // Opens root\path with full access; a single leading backslash is
    // accepted. With create, missing keys along the path come into being.
    // nullptr when the key is missing (and not created) or cannot be opened.
    virtual std::unique_ptr<RegKey> open(Root root, const std::string& path, bool create) = 0;
    // An existing key, asking for no more than `access`.
    virtual std::unique_ptr<RegKey> open_existing(Root root, const std::string& path, Access access) = 0;
    // The names below HKEY_USERS under which the current user's own hives
    // are loaded a second time (the user's SID, and "_Classes" after it);
    // empty when not known.
    virtual std::vector<std::string> current_user_hives() const { return {}; }
    // Why the last open of this thread's caller failed, in the system's
    // words; empty when it did not fail or nothing is known.
    virtual std::string last_error_text() const { return {}; }
};

// Deletes root\path with everything below it, through its parent key.
// False when the parent cannot be opened or the deletion is refused.
bool delete_key(Registry& registry, Root root, const std::string& path);

}  // namespace veltrano::platform
