#include "platform/memory/memory_registry.h"

#include "platform/registry_path.h"

#include <algorithm>
#include <vector>

namespace veltrano::platform {

struct MemoryRegistry::Node {
    std::string name;
    bool deleted = false;
    std::uint64_t last_write = 0;
    // Keyed by the upper-cased name; the registry keeps subkeys sorted so.
    std::map<std::string, std::shared_ptr<Node>> subkeys;
    // Creation order is enumeration order.
    std::vector<std::pair<std::string, RegValue>> values;

    auto find_value(const std::string& value_name) {
        const std::string wanted = registry_upper(value_name);
        return std::find_if(values.begin(), values.end(),
                            [&](const auto& v) { return registry_upper(v.first) == wanted; });
    }

    void kill() {
        deleted = true;
        for (auto& [_, child] : subkeys) child->kill();
        subkeys.clear();
        values.clear();
    }
};

namespace {

class MemoryKey : public RegKey {
public:
    MemoryKey(std::shared_ptr<MemoryRegistry::Node> node, std::uint64_t* clock)
        : node_(std::move(node)), clock_(clock) {}

    std::vector<std::string> value_names() const override {
        std::vector<std::string> names;
        if (node_->deleted) return names;
        for (const auto& v : node_->values) names.push_back(v.first);
        return names;
    }

    std::vector<std::string> subkey_names() const override {
        std::vector<std::string> names;
        if (node_->deleted) return names;
        for (const auto& [_, child] : node_->subkeys) names.push_back(child->name);
        return names;
    }

    std::optional<RegValue> query(const std::string& name) const override {
        if (node_->deleted) return std::nullopt;
        auto it = node_->find_value(name);
        if (it == node_->values.end()) return std::nullopt;
        return it->second;
    }

    bool set(const std::string& name, const RegValue& value) override {
        if (node_->deleted) return false;
        auto it = node_->find_value(name);
        if (it == node_->values.end())
            node_->values.emplace_back(name, value);
        else
            it->second = value;  // the stored name keeps its first spelling
        touch();
        return true;
    }

    bool delete_value(const std::string& name) override {
        if (node_->deleted) return false;
        auto it = node_->find_value(name);
        if (it == node_->values.end()) return false;
        node_->values.erase(it);
        touch();
        return true;
    }

    bool delete_subtree(const std::string& subkey) override {
        if (node_->deleted) return false;
        auto parts = split_registry_path(subkey);
        if (parts.empty()) return false;
        auto parent = node_;
        for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
            auto it = parent->subkeys.find(registry_upper(parts[i]));
            if (it == parent->subkeys.end()) return false;
            parent = it->second;
        }
        auto it = parent->subkeys.find(registry_upper(parts.back()));
        if (it == parent->subkeys.end()) return false;
        it->second->kill();
        parent->subkeys.erase(it);
        parent->last_write = ++*clock_;
        return true;
    }

    std::uint64_t last_write_time() const override { return node_->last_write; }

private:
    void touch() { node_->last_write = ++*clock_; }
    std::shared_ptr<MemoryRegistry::Node> node_;
    std::uint64_t* clock_;
};

}  // namespace

MemoryRegistry::MemoryRegistry() {
    for (Root r : {Root::ClassesRoot, Root::CurrentUser, Root::LocalMachine, Root::Users}) {
        auto node = std::make_shared<Node>();
        node->name = root_name(r);
        roots_[r] = node;
    }
}

MemoryRegistry::~MemoryRegistry() = default;

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::find(Root root, const std::string& path) const {
    auto node = roots_.at(root);
    for (const auto& part : split_registry_path(path)) {
        auto it = node->subkeys.find(registry_upper(part));
        if (it == node->subkeys.end()) return nullptr;
        node = it->second;
    }
    return node;
}

std::unique_ptr<RegKey> MemoryRegistry::open(Root root, const std::string& path, bool create) {
    if (!is_valid_registry_path(path)) return nullptr;
    const auto parts = split_registry_path(path);
    std::string walked;
    auto node = roots_.at(root);
    for (const auto& part : parts) {
        walked += (walked.empty() ? "" : "\\") + registry_upper(part);
        auto it = node->subkeys.find(registry_upper(part));
        if (it == node->subkeys.end()) {
            if (!create) return nullptr;
            auto child = std::make_shared<Node>();
            child->name = part;
            child->last_write = ++clock_;
            node->subkeys.emplace(registry_upper(part), child);
            node = child;
        } else {
            node = it->second;
        }
    }
    if (denied_.count({root, walked})) return nullptr;
    return std::make_unique<MemoryKey>(node, &clock_);
}

void MemoryRegistry::put(Root root, const std::string& path, const std::string& name,
                         const RegValue& value) {
    auto denied = std::move(denied_);  // seeding goes past access lists
    auto key = open(root, path, true);
    denied_ = std::move(denied);
    key->set(name, value);
}

std::optional<RegValue> MemoryRegistry::get(Root root, const std::string& path,
                                            const std::string& name) const {
    auto node = find(root, path);
    if (!node) return std::nullopt;
    auto it = node->find_value(name);
    if (it == node->values.end()) return std::nullopt;
    return it->second;
}

bool MemoryRegistry::key_exists(Root root, const std::string& path) const {
    return find(root, path) != nullptr;
}

void MemoryRegistry::deny(Root root, const std::string& path) {
    std::string walked;
    for (const auto& part : split_registry_path(path))
        walked += (walked.empty() ? "" : "\\") + registry_upper(part);
    denied_.insert({root, walked});
}

std::size_t MemoryRegistry::count_keys(Root root, const std::string& path) const {
    auto node = find(root, path);
    if (!node) return 0;
    std::size_t n = 0;
    std::vector<std::shared_ptr<Node>> todo{node};
    while (!todo.empty()) {
        auto cur = todo.back();
        todo.pop_back();
        ++n;
        for (auto& [_, child] : cur->subkeys) todo.push_back(child);
    }
    return n;
}

}  // namespace veltrano::platform
