#include "platform/win32/win32_registry.h"

#include "i18n/translate.h"
#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"

#include <sddl.h>

#include <algorithm>
#include <vector>

namespace veltrano::platform::win32 {

// Both looked up at run time: IsWow64Process arrived with XP SP2 and
// RegDeleteKeyExW with the 64-bit editions, and a static import of either
// stops the exe from loading on the first XP.
View detect_view() {
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (!kernel) return {};
    auto is_wow64 = reinterpret_cast<IsWow64ProcessFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
    BOOL wow64 = FALSE;
    if (!is_wow64 || !is_wow64(GetCurrentProcess(), &wow64) || !wow64) return {};
    View view;
    view.flag = KEY_WOW64_64KEY;
    if (HMODULE advapi = GetModuleHandleW(L"advapi32.dll"))
        view.delete_key_ex = reinterpret_cast<View::DeleteKeyExFn>(
            reinterpret_cast<void*>(GetProcAddress(advapi, "RegDeleteKeyExW")));
    return view;
}

namespace {

// The raw API refuses a leading backslash (ERROR_BAD_PATHNAME) but the paths
// we are given often carry one; one is dropped, a second is still refused.
// Trailing backslashes name the same key and are dropped too.
std::optional<std::wstring> api_path(const std::string& path) {
    std::wstring wide = to_utf16(path);
    if (!wide.empty() && wide.front() == L'\\') wide.erase(0, 1);
    if (!wide.empty() && wide.front() == L'\\') return std::nullopt;
    while (!wide.empty() && wide.back() == L'\\') wide.pop_back();
    return wide;
}

std::string text_from_bytes(const std::vector<BYTE>& data) {
    // Data need not be terminated and may even have an odd length; the
    // buffer is rounded up with a zero byte so the last half character
    // survives as itself.
    std::wstring text((data.size() + 1) / sizeof(wchar_t), L'\0');
    std::copy(data.begin(), data.end(), reinterpret_cast<BYTE*>(text.data()));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return to_utf8(text);
}

// The kind a value of this type is read as; a REG_DWORD of the wrong size
// still counts as a number here, as nothing is read.
ValueKind kind_of(DWORD type) {
    switch (type) {
    case REG_SZ: return ValueKind::String;
    case REG_EXPAND_SZ: return ValueKind::ExpandString;
    case REG_DWORD: return ValueKind::Dword;
    case REG_BINARY: return ValueKind::Binary;
    default: return ValueKind::Other;
    }
}

RegValue value_from_data(DWORD type, std::vector<BYTE> data) {
    switch (type) {
    case REG_SZ: return RegValue::string(text_from_bytes(data));
    case REG_EXPAND_SZ: return RegValue::expand_string(text_from_bytes(data));
    case REG_DWORD:
        // A REG_DWORD of the wrong size is not a number we can trust; it
        // surfaces as Other so the caller reports it as the wrong type.
        if (data.size() == sizeof(DWORD)) {
            DWORD number = 0;
            std::copy(data.begin(), data.end(), reinterpret_cast<BYTE*>(&number));
            return RegValue::number(number);
        }
        break;
    case REG_BINARY: return RegValue::binary({data.begin(), data.end()});
    default: break;
    }
    // The type code goes with the bytes, so the value can be put back as it was.
    return RegValue::other(type, {data.begin(), data.end()});
}

// Names stay UTF-16 here: the tree delete passes them straight back, and a
// name holding an unpaired surrogate would not survive a trip through UTF-8.
template <typename EnumFn, typename Visit = void (*)(const std::wstring&)>
std::vector<std::wstring> enumerate(EnumFn next, Visit visit = [](const std::wstring&) {}) {
    std::vector<std::wstring> names;
    // Names may be up to 16383 characters; start small and grow on
    // ERROR_MORE_DATA rather than trusting a maximum queried earlier.
    std::vector<wchar_t> buffer(256);
    for (DWORD index = 0;;) {
        DWORD length = static_cast<DWORD>(buffer.size());
        const LONG rc = next(index, buffer.data(), &length);
        if (rc == ERROR_MORE_DATA && buffer.size() < 32768) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (rc != ERROR_SUCCESS) break;  // ERROR_NO_MORE_ITEMS, or the key was deleted
        names.emplace_back(buffer.data(), length);
        visit(names.back());
        ++index;
    }
    return names;
}

std::vector<std::wstring> subkeys_of(HKEY key) {
    return enumerate([key](DWORD index, wchar_t* name, DWORD* length) {
        return RegEnumKeyExW(key, index, name, length, nullptr, nullptr, nullptr, nullptr);
    });
}

std::vector<std::wstring> values_of(HKEY key) {
    return enumerate([key](DWORD index, wchar_t* name, DWORD* length) {
        return RegEnumValueW(key, index, name, length, nullptr, nullptr, nullptr, nullptr);
    });
}

std::vector<std::string> utf8_names(const std::vector<std::wstring>& names) {
    std::vector<std::string> out;
    out.reserve(names.size());
    for (const auto& name : names) out.push_back(to_utf8(name));
    return out;
}

class Win32Key : public RegKey {
public:
    Win32Key(unique_hkey key, const View& view) : key_(std::move(key)), view_(view) {}

    std::vector<std::string> value_names() const override { return utf8_names(values_of(key_.get())); }
    std::vector<std::string> subkey_names() const override { return utf8_names(subkeys_of(key_.get())); }

    std::vector<ValueEntry> value_entries() const override {
        std::vector<ValueEntry> entries;
        DWORD type = REG_NONE;
        const auto names = enumerate([this, &type](DWORD index, wchar_t* name, DWORD* length) {
            return RegEnumValueW(key_.get(), index, name, length, nullptr, &type, nullptr, nullptr);
        }, [&](const std::wstring& name) { entries.push_back({to_utf8(name), kind_of(type)}); });
        return entries;
    }

    std::unique_ptr<RegKey> open_subkey(const std::string& name) const override {
        const std::wstring wide = to_utf16(name);
        if (wide.empty() || wide.find(L'\\') != std::wstring::npos) return nullptr;
        unique_hkey child;
        if (RegOpenKeyExW(key_.get(), wide.c_str(), 0, KEY_READ | view_.flag, child.put()) != ERROR_SUCCESS)
            return nullptr;
        return std::make_unique<Win32Key>(std::move(child), view_);
    }

    std::optional<RegValue> query(const std::string& name) const override {
        const std::wstring wide = to_utf16(name);
        std::vector<BYTE> data(256);
        DWORD type = REG_NONE;
        for (;;) {
            DWORD length = static_cast<DWORD>(data.size());
            const LONG rc = RegQueryValueExW(key_.get(), wide.c_str(), nullptr, &type, data.data(), &length);
            if (rc == ERROR_SUCCESS) {
                data.resize(length);
                return value_from_data(type, std::move(data));
            }
            if (rc != ERROR_MORE_DATA) return std::nullopt;
            // Someone may grow the value between two calls, so ask again with
            // the size just reported (plus room for the terminator Windows
            // appends to unterminated strings) until it fits.
            data.resize(std::max<std::size_t>(length, data.size()) + sizeof(wchar_t));
        }
    }

    bool set(const std::string& name, const RegValue& value) override {
        const std::wstring wide_name = to_utf16(name);
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
        switch (value.kind) {
        case ValueKind::String:
        case ValueKind::ExpandString: {
            type = value.kind == ValueKind::String ? REG_SZ : REG_EXPAND_SZ;
            const std::wstring text = to_utf16(value.text);
            const auto* first = reinterpret_cast<const BYTE*>(text.c_str());
            data.assign(first, first + (text.size() + 1) * sizeof(wchar_t));  // with its terminator
            break;
        }
        case ValueKind::Dword: {
            type = REG_DWORD;
            const auto* first = reinterpret_cast<const BYTE*>(&value.dword);
            data.assign(first, first + sizeof(DWORD));
            break;
        }
        case ValueKind::Binary:
            type = REG_BINARY;
            data.assign(value.bytes.begin(), value.bytes.end());
            break;
        case ValueKind::Other:
            // Without the type code there is nothing honest to write.
            if (value.raw_type == 0) return record(ERROR_INVALID_PARAMETER);
            type = value.raw_type;
            data.assign(value.bytes.begin(), value.bytes.end());
            break;
        }
        static const BYTE nothing = 0;
        return record(RegSetValueExW(key_.get(), wide_name.c_str(), 0, type, data.empty() ? &nothing : data.data(),
                                     static_cast<DWORD>(data.size())));
    }

    bool delete_value(const std::string& name) override {
        return record(RegDeleteValueW(key_.get(), to_utf16(name).c_str()));
    }

    bool delete_subtree(const std::string& subkey) override {
        const auto path = api_path(subkey);
        if (!path || path->empty()) return record(ERROR_BAD_PATHNAME);
        return delete_tree(key_.get(), *path);
    }

    std::string last_error_text() const override { return error_text(error_); }

    std::uint64_t last_write_time() const override {
        FILETIME written{};
        if (RegQueryInfoKeyW(key_.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr, &written) != ERROR_SUCCESS)
            return 0;
        return (static_cast<std::uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    }

private:
    // XP has no RegDeleteTree, and RegDeleteKey refuses keys with subkeys:
    // children go first, depth first. Names are gathered before deleting so
    // the enumeration indices do not shift under us.
    bool delete_tree(HKEY parent, const std::wstring& path) {
        unique_hkey key;
        if (!record(RegOpenKeyExW(parent, path.c_str(), 0, KEY_ALL_ACCESS | view_.flag, key.put()))) return false;
        for (const auto& child : subkeys_of(key.get()))
            if (!delete_tree(key.get(), child)) return false;
        key.reset();
        return record(delete_key(parent, path));
    }

    bool record(LONG rc) {
        error_ = rc;
        return rc == ERROR_SUCCESS;
    }

    LONG delete_key(HKEY parent, const std::wstring& path) const {
        // In WOW64, RegDeleteKeyW works on the 32-bit view whatever view the
        // parent was opened in; only RegDeleteKeyExW takes the view flag.
        if (view_.delete_key_ex) return view_.delete_key_ex(parent, path.c_str(), view_.flag, 0);
        return RegDeleteKeyW(parent, path.c_str());
    }

    unique_hkey key_;
    View view_;
    LONG error_ = ERROR_SUCCESS;
};

}  // namespace

std::string error_text(LONG code) {
    if (code == ERROR_SUCCESS) return {};
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<LPWSTR>(&buffer), 0,
                                        nullptr);
    std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
    if (buffer) LocalFree(buffer);
    // The system ends its texts with a line break, which a log line must not carry.
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    // TRANSLATORS: a system error that has no words of its own, by its number
    if (text.empty()) return i18n::trf("Error {0}", std::to_string(code));
    return to_utf8(text);
}

HKEY root_handle(Root root) {
    switch (root) {
    case Root::ClassesRoot: return HKEY_CLASSES_ROOT;
    case Root::CurrentUser: return HKEY_CURRENT_USER;
    case Root::LocalMachine: return HKEY_LOCAL_MACHINE;
    case Root::Users: return HKEY_USERS;
    }
    return nullptr;
}

Win32Registry::Win32Registry() : view_(detect_view()) {}

std::string Win32Registry::last_error_text() const { return error_text(open_error_); }

std::unique_ptr<RegKey> Win32Registry::open_with(Root root, const std::string& path, REGSAM access, bool create) {
    const auto wide = api_path(path);
    if (!wide) {
        open_error_ = ERROR_BAD_PATHNAME;
        return nullptr;
    }
    unique_hkey key;
    access |= view_.flag;
    open_error_ = create ? RegCreateKeyExW(root_handle(root), wide->c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           access, nullptr, key.put(), nullptr)
                         : RegOpenKeyExW(root_handle(root), wide->c_str(), 0, access, key.put());
    if (open_error_ != ERROR_SUCCESS) return nullptr;
    return std::make_unique<Win32Key>(std::move(key), view_);
}

std::unique_ptr<RegKey> Win32Registry::open(Root root, const std::string& path, bool create) {
    return open_with(root, path, KEY_ALL_ACCESS, create);
}

std::unique_ptr<RegKey> Win32Registry::open_existing(Root root, const std::string& path, Access access) {
    return open_with(root, path, access == Access::Read ? KEY_READ : KEY_READ | KEY_SET_VALUE, false);
}

// The user's SID as text names the copy of the user's hive below
// HKEY_USERS; "_Classes" after it the copy of the user's classes.
std::vector<std::string> Win32Registry::current_user_hives() const {
    unique_kernel_handle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return {};
    DWORD length = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &length);
    if (length == 0) return {};
    std::vector<BYTE> buffer(length);
    if (!GetTokenInformation(token.get(), TokenUser, buffer.data(), length, &length)) return {};
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text) || !text) return {};
    const std::string sid = to_utf8(text);
    LocalFree(text);
    return {sid, sid + "_Classes"};
}

}  // namespace veltrano::platform::win32
