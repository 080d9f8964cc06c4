#include "support/memory_registry.h"

#include <algorithm>
#include <vector>

namespace veltrano::fakes {

using platform::Access;
using platform::is_valid_registry_path;
using platform::NameFold;
using platform::registry_fold;
using platform::RegKey;
using platform::RegValue;
using platform::Root;
using platform::root_name;
using platform::split_registry_path;
using platform::ValueEntry;
using platform::ValueKind;

struct MemoryRegistry::Node {
    std::string name;
    bool deleted = false;
    bool denied = false;
    bool read_only = false;
    std::uint64_t last_write = 0;
    // Keyed by the upper-case fold: the identity of a name, whatever the order.
    std::map<std::u16string, std::shared_ptr<Node>> subkeys;
    // Creation order; Wine's order is made when enumerating.
    std::vector<std::pair<std::string, RegValue>> values;

    auto find_value(const std::string& value_name) {
        const std::u16string wanted = registry_fold(value_name);
        return std::find_if(values.begin(), values.end(),
                            [&](const auto& v) { return registry_fold(v.first) == wanted; });
    }

    std::shared_ptr<Node> child(const std::string& child_name) const {
        auto it = subkeys.find(registry_fold(child_name));
        return it == subkeys.end() ? nullptr : it->second;
    }

    bool holds_denied() const {
        if (denied) return true;
        for (const auto& [_, sub] : subkeys)
            if (sub->holds_denied()) return true;
        return false;
    }

    void kill() {
        deleted = true;
        for (auto& [_, sub] : subkeys) sub->kill();
        subkeys.clear();
        values.clear();
    }
};

namespace {

// The texts Windows gives for the failures the memory registry can have.
constexpr const char* kNotFound = "The system cannot find the file specified.";
constexpr const char* kAccessDenied = "Access is denied.";
constexpr const char* kMarkedForDeletion =
    "Illegal operation attempted on a registry key that has been marked for deletion.";
constexpr const char* kInvalidParameter = "The parameter is incorrect.";

NameFold order_fold(RegistryFlavour flavour) {
    return flavour == RegistryFlavour::Wine ? NameFold::Lower : NameFold::Upper;
}

void sort_names(std::vector<std::string>& names, NameFold fold) {
    std::stable_sort(names.begin(), names.end(), [fold](const std::string& a, const std::string& b) {
        return registry_fold(a, fold) < registry_fold(b, fold);
    });
}

class MemoryKey : public RegKey {
public:
    MemoryKey(std::shared_ptr<MemoryRegistry::Node> node, std::uint64_t* clock, RegistryFlavour flavour,
              bool writable = true)
        : node_(std::move(node)), clock_(clock), flavour_(flavour), writable_(writable) {}

    std::vector<ValueEntry> value_entries() const override {
        std::vector<ValueEntry> entries;
        for (const std::string& name : value_names()) entries.push_back({name, node_->find_value(name)->second.kind});
        return entries;
    }

    std::unique_ptr<RegKey> open_subkey(const std::string& name) const override {
        if (node_->deleted || name.empty() || name.find('\\') != std::string::npos) return nullptr;
        auto child = node_->child(name);
        if (!child || child->denied) return nullptr;
        return std::make_unique<MemoryKey>(child, clock_, flavour_, false);
    }

    std::vector<std::string> value_names() const override {
        std::vector<std::string> names;
        if (node_->deleted) return names;
        for (const auto& v : node_->values) names.push_back(v.first);
        if (flavour_ == RegistryFlavour::Wine) sort_names(names, NameFold::Lower);
        return names;
    }

    std::vector<std::string> subkey_names() const override {
        std::vector<std::string> names;
        if (node_->deleted) return names;
        for (const auto& [_, child] : node_->subkeys) names.push_back(child->name);
        sort_names(names, order_fold(flavour_));
        return names;
    }

    std::optional<RegValue> query(const std::string& name) const override {
        if (node_->deleted) return std::nullopt;
        auto it = node_->find_value(name);
        if (it == node_->values.end()) return std::nullopt;
        return it->second;
    }

    bool set(const std::string& name, const RegValue& value) override {
        // Other without its type code cannot be written honestly.
        if (value.kind == ValueKind::Other && value.raw_type == 0) return fail(kInvalidParameter);
        if (!writable_) return fail(kAccessDenied);
        if (node_->deleted) return fail(kMarkedForDeletion);
        auto it = node_->find_value(name);
        if (it == node_->values.end())
            node_->values.emplace_back(name, value);
        else
            it->second = value;  // the stored name keeps its first spelling
        touch();
        return true;
    }

    bool delete_value(const std::string& name) override {
        if (!writable_) return fail(kAccessDenied);
        if (node_->deleted) return fail(kMarkedForDeletion);
        auto it = node_->find_value(name);
        if (it == node_->values.end()) return fail(kNotFound);
        node_->values.erase(it);
        touch();
        return true;
    }

    bool delete_subtree(const std::string& subkey) override {
        if (!writable_) return fail(kAccessDenied);
        if (node_->deleted || !is_valid_registry_path(subkey)) return false;
        auto parts = split_registry_path(subkey);
        if (parts.empty()) return false;
        auto parent = node_;
        for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
            parent = parent->child(parts[i]);
            if (!parent) return false;
        }
        auto target = parent->child(parts.back());
        // A denied key cannot be opened to delete it or to list its subkeys.
        if (!target) return fail(kNotFound);
        if (target->holds_denied()) return fail(kAccessDenied);
        target->kill();
        parent->subkeys.erase(registry_fold(parts.back()));
        parent->last_write = ++*clock_;
        return true;
    }

    std::uint64_t last_write_time() const override { return node_->last_write; }
    std::string last_error_text() const override { return error_; }

private:
    void touch() { node_->last_write = ++*clock_; }
    bool fail(const char* text) {
        error_ = text;
        return false;
    }
    std::string error_;
    std::shared_ptr<MemoryRegistry::Node> node_;
    std::uint64_t* clock_;
    RegistryFlavour flavour_;
    bool writable_;
};

}  // namespace

MemoryRegistry::MemoryRegistry(RegistryFlavour flavour) : flavour_(flavour) {
    for (Root r : platform::kAllRoots) {
        auto node = std::make_shared<Node>();
        node->name = root_name(r);
        roots_[r] = node;
    }
}

MemoryRegistry::~MemoryRegistry() = default;

namespace {

std::shared_ptr<MemoryRegistry::Node> deep_copy(const MemoryRegistry::Node& node) {
    auto copy = std::make_shared<MemoryRegistry::Node>(node);
    for (auto& [name, sub] : copy->subkeys) sub = deep_copy(*sub);
    return copy;
}

}  // namespace

MemoryRegistry::MemoryRegistry(const MemoryRegistry& other)
    : flavour_(other.flavour_), clock_(other.clock_), user_hives_(other.user_hives_) {
    for (const auto& [root, node] : other.roots_) roots_[root] = deep_copy(*node);
}

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::find(Root root, const std::string& path) const {
    if (!is_valid_registry_path(path)) return nullptr;
    auto node = roots_.at(root);
    for (const auto& part : split_registry_path(path)) {
        node = node->child(part);
        if (!node) return nullptr;
    }
    return node;
}

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::ensure(Root root, const std::string& path) {
    auto node = roots_.at(root);
    for (const auto& part : split_registry_path(path)) {
        auto next = node->child(part);
        if (!next) {
            next = std::make_shared<Node>();
            next->name = part;
            node->subkeys.emplace(registry_fold(part), next);
        }
        node = next;
    }
    return node;
}

std::unique_ptr<RegKey> MemoryRegistry::open(Root root, const std::string& path, bool create) {
    open_error_.clear();
    if (!is_valid_registry_path(path)) {
        open_error_ = "The specified path is invalid.";
        return nullptr;
    }
    auto node = roots_.at(root);
    for (const auto& part : split_registry_path(path)) {
        auto next = node->child(part);
        if (!next) {
            open_error_ = create ? kAccessDenied : kNotFound;
            // Windows checks access on the parent a subkey is created in;
            // keys merely walked through are not checked. Wine checks neither.
            if (!create || (node->denied && flavour_ == RegistryFlavour::Windows)) return nullptr;
            next = std::make_shared<Node>();
            next->name = part;
            next->last_write = ++clock_;
            node->subkeys.emplace(registry_fold(part), next);
            node->last_write = clock_;
            open_error_.clear();
        }
        node = next;
    }
    if (node->denied || node->read_only) {
        open_error_ = kAccessDenied;
        return nullptr;
    }
    return std::make_unique<MemoryKey>(node, &clock_, flavour_);
}

std::unique_ptr<RegKey> MemoryRegistry::open_existing(Root root, const std::string& path, Access access) {
    open_error_.clear();
    if (!is_valid_registry_path(path)) {
        open_error_ = "The specified path is invalid.";
        return nullptr;
    }
    auto node = find(root, path);
    if (!node) {
        open_error_ = kNotFound;
        return nullptr;
    }
    if (node->denied || (node->read_only && access != Access::Read)) {
        open_error_ = kAccessDenied;
        return nullptr;
    }
    return std::make_unique<MemoryKey>(node, &clock_, flavour_, access != Access::Read);
}

void MemoryRegistry::put(Root root, const std::string& path, const std::string& name, const RegValue& value) {
    // Seeding goes past access lists.
    MemoryKey(ensure(root, path), &clock_, flavour_).set(name, value);
}

std::optional<RegValue> MemoryRegistry::get(Root root, const std::string& path, const std::string& name) const {
    auto node = find(root, path);
    if (!node) return std::nullopt;
    auto it = node->find_value(name);
    if (it == node->values.end()) return std::nullopt;
    return it->second;
}

bool MemoryRegistry::key_exists(Root root, const std::string& path) const { return find(root, path) != nullptr; }

void MemoryRegistry::deny(Root root, const std::string& path) {
    // The access list belongs to the key, so the key must exist to carry it.
    ensure(root, path)->denied = true;
}

void MemoryRegistry::deny_changes(Root root, const std::string& path) { ensure(root, path)->read_only = true; }

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

}  // namespace veltrano::fakes
