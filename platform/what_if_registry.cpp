#include "platform/what_if_registry.h"

#include "platform/registry_path.h"

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace veltrano::platform {

namespace {

using Path = std::vector<std::string>;

std::string joined(const Path& path, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) out += (i ? "\\" : "") + path[i];
    return out;
}

}  // namespace

// What the work changed, by key: a key it made or deleted, and the values
// it wrote or deleted in it.
struct WhatIfRegistry::Overlay {
    struct KeyState {
        bool exists = true;
        // Deleted, or made where none was: what the real registry holds
        // there no longer shows.
        bool hides_real = false;
        std::map<std::string, std::pair<std::string, std::optional<RegValue>>> values;  // by folded name
        std::string name;  // as the work spelled it, for a key it made
    };

    Registry& real;
    Listener listener;
    std::map<std::string, KeyState> keys;  // by root and folded path

    static std::string id(Root root, const Path& path, std::size_t count) {
        return std::to_string(static_cast<int>(root)) + "|" + registry_upper(joined(path, count));
    }

    KeyState* find(Root root, const Path& path, std::size_t count) {
        auto it = keys.find(id(root, path, count));
        return it == keys.end() ? nullptr : &it->second;
    }

    // The states of the key and of each key above it that the work touched,
    // the key's own last: one look-up per level.
    std::vector<KeyState*> states_along(Root root, const Path& path) {
        std::vector<KeyState*> states(path.size() + 1, nullptr);
        if (keys.empty()) return states;
        std::string at = std::to_string(static_cast<int>(root)) + "|";
        for (std::size_t n = 0; n <= path.size(); ++n) {
            if (n > 0) at += (n > 1 ? "\\" : "") + registry_upper(path[n - 1]);
            auto it = keys.find(at);
            if (it != keys.end()) states[n] = &it->second;
        }
        return states;
    }

    std::unique_ptr<RegKey> real_key(Root root, const Path& path) {
        return real.open_existing(root, joined(path, path.size()), Access::Read);
    }

    // Whether the real key's own values and subkeys still show at this path.
    bool shows_real(Root root, const Path& path) {
        for (KeyState* state : states_along(root, path))
            if (state && (state->hides_real || !state->exists)) return false;
        return true;
    }

    bool exists(Root root, const Path& path) {
        const std::vector<KeyState*> states = states_along(root, path);
        if (states.back()) return states.back()->exists;
        for (KeyState* state : states)
            if (state && (!state->exists || state->hides_real)) return false;
        return path.empty() || real_key(root, path) != nullptr;
    }

    void tell(RegistryChange change) {
        if (listener) listener(change);
    }

    void create(Root root, const Path& path) {
        for (std::size_t n = 1; n <= path.size(); ++n) {
            const Path upto(path.begin(), path.begin() + static_cast<std::ptrdiff_t>(n));
            if (exists(root, upto)) continue;
            KeyState& state = keys[id(root, path, n)];
            state = KeyState{true, true, {}, path[n - 1]};
            tell({RegistryChange::Kind::CreateKey, root, joined(path, n), "", std::nullopt, {}});
        }
    }

    void remove(Root root, const Path& path) {
        const std::string self = id(root, path, path.size());
        for (auto it = keys.lower_bound(self + "\\"); it != keys.end() && it->first.rfind(self + "\\", 0) == 0;)
            it = keys.erase(it);
        keys[self] = KeyState{false, true, {}, path.back()};
        tell({RegistryChange::Kind::DeleteKey, root, joined(path, path.size()), "", std::nullopt, {}});
    }
};

namespace {

class WhatIfKey : public RegKey {
public:
    WhatIfKey(std::shared_ptr<WhatIfRegistry::Overlay> overlay, Root root, Path path)
        : overlay_(std::move(overlay)), root_(root), path_(std::move(path)) {}

    std::vector<std::string> value_names() const override {
        std::vector<std::string> names;
        auto* state = overlay_->find(root_, path_, path_.size());
        if (overlay_->shows_real(root_, path_))
            if (const RegKey* real = real_key())
                for (const std::string& name : real->value_names())
                    if (!state || !state->values.count(registry_upper(name))) names.push_back(name);
        if (state)
            for (const auto& [folded, entry] : state->values)
                if (entry.second) names.push_back(entry.first);
        return names;
    }

    std::vector<std::string> subkey_names() const override {
        std::vector<std::string> names;
        if (overlay_->shows_real(root_, path_))
            if (const RegKey* real = real_key())
                for (const std::string& name : real->subkey_names())
                    if (overlay_->exists(root_, child(name))) names.push_back(name);
        const std::string prefix = WhatIfRegistry::Overlay::id(root_, path_, path_.size()) + (path_.empty() ? "" : "\\");
        for (auto it = overlay_->keys.lower_bound(prefix); it != overlay_->keys.end() && it->first.rfind(prefix, 0) == 0;
             ++it) {
            const std::string rest = it->first.substr(prefix.size());
            if (rest.find('\\') != std::string::npos || !it->second.exists) continue;
            const bool listed = std::any_of(names.begin(), names.end(),
                                            [&](const std::string& n) { return registry_upper(n) == rest; });
            if (!listed) names.push_back(it->second.name.empty() ? rest : it->second.name);
        }
        std::sort(names.begin(), names.end(),
                  [](const std::string& a, const std::string& b) { return registry_fold(a) < registry_fold(b); });
        return names;
    }

    std::vector<ValueEntry> value_entries() const override {
        std::vector<ValueEntry> entries;
        for (const std::string& name : value_names())
            if (auto value = query(name)) entries.push_back({name, value->kind});
        return entries;
    }

    std::unique_ptr<RegKey> open_subkey(const std::string& name) const override {
        const Path path = child(name);
        if (!overlay_->exists(root_, path)) return nullptr;
        return std::make_unique<WhatIfKey>(overlay_, root_, path);
    }

    std::optional<RegValue> query(const std::string& name) const override {
        if (auto* state = overlay_->find(root_, path_, path_.size()))
            if (auto it = state->values.find(registry_upper(name)); it != state->values.end()) return it->second.second;
        if (!overlay_->shows_real(root_, path_)) return std::nullopt;
        const RegKey* real = real_key();
        return real ? real->query(name) : std::nullopt;
    }

    bool set(const std::string& name, const RegValue& value) override {
        if (!overlay_->exists(root_, path_)) return false;
        const std::optional<RegValue> old = query(name);
        if (old == value) return true;
        overlay_->keys[WhatIfRegistry::Overlay::id(root_, path_, path_.size())].values[registry_upper(name)] = {name, value};
        overlay_->tell({RegistryChange::Kind::WriteValue, root_, joined(path_, path_.size()), name, old, value});
        return true;
    }

    bool delete_value(const std::string& name) override {
        const std::optional<RegValue> old = query(name);
        if (!old || !overlay_->exists(root_, path_)) return false;
        overlay_->keys[WhatIfRegistry::Overlay::id(root_, path_, path_.size())].values[registry_upper(name)] = {
            name, std::nullopt};
        overlay_->tell({RegistryChange::Kind::DeleteValue, root_, joined(path_, path_.size()), name, old, {}});
        return true;
    }

    bool delete_subtree(const std::string& subkey) override {
        const Path path = child(subkey);
        if (path.size() == path_.size() || !overlay_->exists(root_, path)) return false;
        overlay_->remove(root_, path);
        return true;
    }

    std::uint64_t last_write_time() const override {
        const RegKey* real = overlay_->shows_real(root_, path_) ? real_key() : nullptr;
        return real ? real->last_write_time() : 0;
    }

private:
    // The real registry does not change under a dry run: one handle serves.
    const RegKey* real_key() const {
        if (!looked_) real_ = overlay_->real_key(root_, path_);
        looked_ = true;
        return real_.get();
    }
    Path child(const std::string& name) const {
        Path path = path_;
        for (std::string& part : split_registry_path(name)) path.push_back(std::move(part));
        return path;
    }

    std::shared_ptr<WhatIfRegistry::Overlay> overlay_;
    Root root_;
    Path path_;
    mutable std::unique_ptr<RegKey> real_;
    mutable bool looked_ = false;
};

}  // namespace

WhatIfRegistry::WhatIfRegistry(Registry& real, Listener listener)
    : overlay_(std::make_shared<Overlay>(Overlay{real, std::move(listener), {}})) {}

WhatIfRegistry::~WhatIfRegistry() = default;

std::unique_ptr<RegKey> WhatIfRegistry::open(Root root, const std::string& path, bool create) {
    if (!is_valid_registry_path(path)) return nullptr;
    const Path parts = split_registry_path(path);
    if (!overlay_->exists(root, parts)) {
        if (!create) return nullptr;
        overlay_->create(root, parts);
    }
    return std::make_unique<WhatIfKey>(overlay_, root, parts);
}

std::unique_ptr<RegKey> WhatIfRegistry::open_existing(Root root, const std::string& path, Access) {
    return open(root, path, false);
}

std::vector<std::string> WhatIfRegistry::current_user_hives() const { return overlay_->real.current_user_hives(); }

}  // namespace veltrano::platform
