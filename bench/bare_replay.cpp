#include "bench/bare_replay.h"

#include "platform/win32/text.h"
#include "platform/win32/win32_registry.h"

#include <chrono>
#include <map>

namespace veltrano::bench {

using platform::win32::to_utf16;
using Kind = RegistryCall::Kind;

std::wstring api_path(const std::string& path) {
    std::wstring wide = to_utf16(path);
    if (!wide.empty() && wide.front() == L'\\') wide.erase(0, 1);
    while (!wide.empty() && wide.back() == L'\\') wide.pop_back();
    return wide;
}

bool delete_tree_bare(HKEY parent, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
    // Names first: deleting while enumerating shifts the indices.
    std::vector<std::wstring> children;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        children.emplace_back(name, length);
    }
    for (const auto& child : children) delete_tree_bare(key, child);
    RegCloseKey(key);
    return RegDeleteKeyW(parent, path.c_str()) == ERROR_SUCCESS;
}

namespace {

void set_bare(HKEY key, const RegistryCall& c, const std::wstring& name) {
    switch (c.value.kind) {
    case platform::ValueKind::Dword: {
        const DWORD d = c.value.dword;
        RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&d), sizeof d);
        break;
    }
    case platform::ValueKind::String:
    case platform::ValueKind::ExpandString: {
        const std::wstring text = to_utf16(c.value.text);
        RegSetValueExW(key, name.c_str(), 0, c.value.kind == platform::ValueKind::String ? REG_SZ : REG_EXPAND_SZ,
                       reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        break;
    }
    case platform::ValueKind::Binary:
    case platform::ValueKind::Other:
        RegSetValueExW(key, name.c_str(), 0, REG_BINARY, c.value.bytes.data(),
                       static_cast<DWORD>(c.value.bytes.size()));
        break;
    }
}

}  // namespace

ReplayResult replay_bare(const std::vector<RegistryCall>& calls) {
    // Converted before the clock starts: the program converts too, but the
    // floor is the registry's share alone.
    std::vector<std::wstring> paths, names;
    paths.reserve(calls.size());
    names.reserve(calls.size());
    for (const auto& c : calls) {
        paths.push_back(api_path(c.path));
        names.push_back(to_utf16(c.name));
    }
    ReplayResult result;
    std::map<int, HKEY> keys;
    wchar_t name[512];
    BYTE data[4096];
    auto key_of = [&](int handle) {
        auto it = keys.find(handle);
        if (it != keys.end()) return it->second;
        ++result.orphan_calls;
        return HKEY{};
    };
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const RegistryCall& c = calls[i];
        switch (c.kind) {
        case Kind::Open:
        case Kind::Create: {
            HKEY key = nullptr;
            HKEY root = platform::win32::root_handle(c.root);
            const LONG rc = c.kind == Kind::Open
                                ? RegOpenKeyExW(root, paths[i].c_str(), 0, KEY_ALL_ACCESS, &key)
                                : RegCreateKeyExW(root, paths[i].c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                  &key, nullptr);
            if (rc == ERROR_SUCCESS) keys[c.handle] = key;
            break;
        }
        case Kind::ValueNames:
            for (DWORD index = 0;; ++index) {
                DWORD length = 512;
                if (RegEnumValueW(key_of(c.handle), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
                    ERROR_SUCCESS)
                    break;
            }
            break;
        case Kind::SubkeyNames:
            for (DWORD index = 0;; ++index) {
                DWORD length = 512;
                if (RegEnumKeyExW(key_of(c.handle), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
                    ERROR_SUCCESS)
                    break;
            }
            break;
        case Kind::Query: {
            DWORD type = 0, length = sizeof data;
            RegQueryValueExW(key_of(c.handle), names[i].c_str(), nullptr, &type, data, &length);
            break;
        }
        case Kind::Set:
            set_bare(key_of(c.handle), c, names[i]);
            break;
        case Kind::DeleteValue:
            RegDeleteValueW(key_of(c.handle), names[i].c_str());
            break;
        case Kind::DeleteSubtree:
            delete_tree_bare(key_of(c.handle), names[i]);
            break;
        case Kind::Close:
            if (auto it = keys.find(c.handle); it != keys.end()) {
                RegCloseKey(it->second);
                keys.erase(it);
            }
            break;
        }
    }
    result.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    for (auto& [handle, key] : keys) RegCloseKey(key);
    return result;
}

}  // namespace veltrano::bench
