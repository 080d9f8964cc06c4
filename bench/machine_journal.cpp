#include "bench/machine_journal.h"

#include "bench/bare_replay.h"
#include "platform/win32/win32_registry.h"

#include <algorithm>
#include <cwctype>

namespace veltrano::bench {

namespace {

using Kind = RegistryCall::Kind;

std::wstring lower(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

bool exists(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// The shortest leading part of the path that does not exist yet: the key a
// create brings into being first, and the one to delete to undo it.
std::wstring first_missing(HKEY root, const std::wstring& path) {
    for (std::size_t at = path.find(L'\\'); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        if (!exists(root, path.substr(0, at))) return path.substr(0, at);
    return path;
}

template <class Tree, class Value>
void read_tree(HKEY key, Tree& tree, bool with_children) {
    std::vector<wchar_t> name(16384);
    std::vector<BYTE> data(1 << 16);
    for (DWORD i = 0;; ++i) {
        DWORD name_length = static_cast<DWORD>(name.size()), data_length = static_cast<DWORD>(data.size()), type = 0;
        if (RegEnumValueW(key, i, name.data(), &name_length, nullptr, &type, data.data(), &data_length) !=
            ERROR_SUCCESS)
            break;
        tree.values.push_back(Value{{name.data(), name_length}, type, {data.begin(), data.begin() + data_length}});
    }
    if (!with_children) return;
    std::vector<std::wstring> children;
    for (DWORD i = 0;; ++i) {
        DWORD length = static_cast<DWORD>(name.size());
        if (RegEnumKeyExW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        children.emplace_back(name.data(), length);
    }
    for (const auto& child : children) {
        HKEY sub = nullptr;
        if (RegOpenKeyExW(key, child.c_str(), 0, KEY_READ, &sub) != ERROR_SUCCESS) continue;
        tree.children.emplace_back(child, Tree{});
        read_tree<Tree, Value>(sub, tree.children.back().second, true);
        RegCloseKey(sub);
    }
}

template <class Tree>
void write_tree(HKEY key, const Tree& tree) {
    for (const auto& v : tree.values)
        RegSetValueExW(key, v.name.c_str(), 0, v.type, v.data.data(), static_cast<DWORD>(v.data.size()));
    for (const auto& [name, child] : tree.children) {
        HKEY sub = nullptr;
        if (RegCreateKeyExW(key, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr) !=
            ERROR_SUCCESS)
            continue;
        write_tree(sub, child);
        RegCloseKey(sub);
    }
}

}  // namespace

bool MachineJournal::inside_created(HKEY root, const std::wstring& path) const {
    const std::wstring p = lower(path);
    return std::any_of(saved_.begin(), saved_.end(), [&](const Saved& s) {
        if (s.what != What::Absent || s.root != root) return false;
        const std::wstring created = lower(s.path);
        return p == created || (p.size() > created.size() && p.compare(0, created.size(), created) == 0 &&
                                p[created.size()] == L'\\');
    });
}

void MachineJournal::save(What what, HKEY root, const std::wstring& path) {
    if (inside_created(root, path)) return;
    if (!seen_.insert({root, lower(path) + L"|" + std::to_wstring(static_cast<int>(what))}).second) return;
    Saved saved{what, root, path, {}};
    if (what != What::Absent) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
        read_tree<Tree, Value>(key, saved.tree, what == What::Subtree);
        RegCloseKey(key);
    }
    saved_.push_back(std::move(saved));
}

void MachineJournal::note(const RegistryCall& call) {
    const HKEY root = platform::win32::root_handle(call.root);
    const std::wstring path = api_path(call.path);
    switch (call.kind) {
    case Kind::Create:
        if (!exists(root, path)) save(What::Absent, root, first_missing(root, path));
        break;
    case Kind::Set:
    case Kind::DeleteValue:
        save(What::Values, root, path);
        break;
    case Kind::DeleteSubtree: {
        const std::wstring target = path + L"\\" + api_path(call.name);
        if (exists(root, target)) save(What::Subtree, root, target);
        break;
    }
    default:
        break;  // reads change nothing
    }
}

void MachineJournal::restore() const {
    // Newest first: a snapshot taken after an earlier change already holds
    // that change, and the older snapshot then puts the original back.
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        const Saved& s = *it;
        switch (s.what) {
        case What::Absent:
            delete_tree_bare(s.root, s.path);
            break;
        case What::Subtree:
            delete_tree_bare(s.root, s.path);
            [[fallthrough]];
        case What::Values: {
            HKEY key = nullptr;
            if (RegCreateKeyExW(s.root, s.path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
                ERROR_SUCCESS)
                break;
            if (s.what == What::Values) {
                // Values the run added go too.
                std::vector<std::wstring> names;
                wchar_t name[16384];
                for (DWORD i = 0;; ++i) {
                    DWORD length = 16384;
                    if (RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                        break;
                    names.emplace_back(name, length);
                }
                for (const auto& n : names) RegDeleteValueW(key, n.c_str());
            }
            write_tree(key, s.tree);
            RegCloseKey(key);
            break;
        }
        }
    }
}

}  // namespace veltrano::bench
