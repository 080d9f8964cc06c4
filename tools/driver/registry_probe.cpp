#include "driver/registry_probe.h"

#include "platform/win32/unique_handle.h"

#include <cstring>

namespace veltrano::driver {

namespace {

// Veltrano works on the 64-bit view of the registry even as a 32-bit build,
// so the tests look where it looks. Both calls are looked up at run time:
// neither exists on the first XP.
struct View {
    REGSAM flag = 0;
    using DeleteKeyExFn = LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);
    DeleteKeyExFn delete_key_ex = nullptr;
};

const View& view() {
    static const View detected = [] {
        View v;
        using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
        auto is_wow64 = reinterpret_cast<IsWow64ProcessFn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
        BOOL wow64 = FALSE;
        if (!is_wow64 || !is_wow64(GetCurrentProcess(), &wow64) || !wow64) return v;
        v.flag = KEY_WOW64_64KEY;
        v.delete_key_ex = reinterpret_cast<View::DeleteKeyExFn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"advapi32.dll"), "RegDeleteKeyExW")));
        return v;
    }();
    return detected;
}

using platform::win32::unique_hkey;

// What a failed open leaves in its out-parameter is not ours to close.
unique_hkey open_key(HKEY root, const std::wstring& path, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, access | view().flag, &key) != ERROR_SUCCESS) return {};
    return unique_hkey(key);
}

unique_hkey create_key(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view().flag, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return {};
    return unique_hkey(key);
}

std::vector<std::wstring> enumerate(HKEY root, const std::wstring& path, bool subkeys) {
    std::vector<std::wstring> names;
    unique_hkey key = open_key(root, path, KEY_READ);
    if (!key) return names;
    for (DWORD index = 0;; ++index) {
        // Key names stop at 255 characters, value names at 16383.
        wchar_t name[16384];
        DWORD length = 16384;
        const LONG status = subkeys ? RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr)
                                    : RegEnumValueW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    return names;
}

}  // namespace

std::optional<DWORD> RegistryValue::as_dword() const {
    if (type != REG_DWORD || data.size() != sizeof(DWORD)) return std::nullopt;
    DWORD value = 0;
    std::memcpy(&value, data.data(), sizeof value);
    return value;
}

std::optional<std::wstring> RegistryValue::as_string() const {
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    // Stored strings may or may not carry their terminator; callers want
    // the text a person would read.
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
}

bool key_exists(HKEY root, const std::wstring& path) { return static_cast<bool>(open_key(root, path, KEY_READ)); }

std::optional<RegistryValue> read_value(HKEY root, const std::wstring& path, const std::wstring& name) {
    unique_hkey key = open_key(root, path, KEY_READ);
    if (!key) return std::nullopt;
    RegistryValue value;
    DWORD length = 0;
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.type, nullptr, &length) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(length);
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.type, value.data.data(), &length) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(length);
    return value;
}

std::optional<DWORD> read_dword(HKEY root, const std::wstring& path, const std::wstring& name) {
    const auto value = read_value(root, path, name);
    return value ? value->as_dword() : std::nullopt;
}

std::optional<std::wstring> read_string(HKEY root, const std::wstring& path, const std::wstring& name) {
    const auto value = read_value(root, path, name);
    return value ? value->as_string() : std::nullopt;
}

std::vector<std::wstring> subkey_names(HKEY root, const std::wstring& path) { return enumerate(root, path, true); }
std::vector<std::wstring> value_names(HKEY root, const std::wstring& path) { return enumerate(root, path, false); }

bool write_dword(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value) {
    unique_hkey key = create_key(root, path);
    return key && RegSetValueExW(key.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                 sizeof value) == ERROR_SUCCESS;
}

bool write_string(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value,
                  DWORD type) {
    unique_hkey key = create_key(root, path);
    const DWORD length = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return key && RegSetValueExW(key.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                                 length) == ERROR_SUCCESS;
}

bool delete_value(HKEY root, const std::wstring& path, const std::wstring& name) {
    unique_hkey key = open_key(root, path, KEY_SET_VALUE);
    return key && RegDeleteValueW(key.get(), name.c_str()) == ERROR_SUCCESS;
}

bool delete_tree(HKEY root, const std::wstring& path) {
    if (!key_exists(root, path)) return true;
    // Children first: deleting changes the enumeration, so collect before.
    for (const std::wstring& child : subkey_names(root, path))
        if (!delete_tree(root, path + L"\\" + child)) return false;
    // Under WOW64 RegDeleteKeyW deletes from the 32-bit view whatever view
    // we read; only the Ex form takes the view.
    if (view().delete_key_ex) return view().delete_key_ex(root, path.c_str(), view().flag, 0) == ERROR_SUCCESS;
    return RegDeleteKeyW(root, path.c_str()) == ERROR_SUCCESS;
}

std::optional<RegistryPath> parse_registry_path(const std::wstring& full) {
    static const struct {
        const wchar_t* name;
        HKEY root;
    } kRoots[] = {
        {L"HKLM", HKEY_LOCAL_MACHINE},   {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {L"HKCU", HKEY_CURRENT_USER},    {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {L"HKCR", HKEY_CLASSES_ROOT},    {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {L"HKU", HKEY_USERS},            {L"HKEY_USERS", HKEY_USERS},
    };
    const size_t slash = full.find(L'\\');
    const std::wstring head = full.substr(0, slash);
    for (const auto& entry : kRoots)
        if (_wcsicmp(head.c_str(), entry.name) == 0)
            return RegistryPath{entry.root, slash == std::wstring::npos ? std::wstring() : full.substr(slash + 1)};
    return std::nullopt;
}

}  // namespace veltrano::driver
