// Reads and prepares the registry around a test, independently of the
// program's own registry code, so a test never checks the program against
// itself. Paths are relative to the root and take no leading backslash; a
// 32-bit build reads and writes the 64-bit view, as the program does.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace veltrano::driver {

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<std::uint8_t> data;

    std::optional<DWORD> as_dword() const;
    // REG_SZ and REG_EXPAND_SZ, unexpanded, without the terminating null.
    std::optional<std::wstring> as_string() const;
};

bool key_exists(HKEY root, const std::wstring& path);
std::optional<RegistryValue> read_value(HKEY root, const std::wstring& path, const std::wstring& name);
std::optional<DWORD> read_dword(HKEY root, const std::wstring& path, const std::wstring& name);
std::optional<std::wstring> read_string(HKEY root, const std::wstring& path, const std::wstring& name);
// Names as the registry enumerates them; empty when the key is missing.
std::vector<std::wstring> subkey_names(HKEY root, const std::wstring& path);
std::vector<std::wstring> value_names(HKEY root, const std::wstring& path);

// Creating the key path as needed.
bool write_dword(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value);
bool write_string(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value,
                  DWORD type = REG_SZ);
bool delete_value(HKEY root, const std::wstring& path, const std::wstring& name);
// Removes the key and everything below it, depth first, as XP needs (it has
// no one-call tree delete). True also when the key was not there.
bool delete_tree(HKEY root, const std::wstring& path);

// "HKLM\\SOFTWARE\\X" split into its root and the rest; nullopt for an
// unknown root name. Accepts the short and the long root names.
struct RegistryPath {
    HKEY root;
    std::wstring path;
};
std::optional<RegistryPath> parse_registry_path(const std::wstring& full);

}  // namespace veltrano::driver
