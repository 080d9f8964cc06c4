// A registry held in memory for the native tests. It behaves as the real one
// does where the contract suite says so: names compare without case and keep
// their case, subkeys enumerate sorted, values in the order they were created,
// deleted keys stay dead for handles still open, and chosen keys refuse to open.
#pragma once

#include "platform/registry.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>

namespace veltrano::platform {

class MemoryRegistry : public Registry {
public:
    struct Node;

    MemoryRegistry();
    ~MemoryRegistry() override;

    std::unique_ptr<RegKey> open(Root root, const std::string& path, bool create) override;

    // Test helpers: seed and inspect without going through a handle.
    void put(Root root, const std::string& path, const std::string& name, const RegValue& value);
    std::optional<RegValue> get(Root root, const std::string& path, const std::string& name) const;
    bool key_exists(Root root, const std::string& path) const;
    // The key (not its subkeys) refuses to open from now on, as one with a
    // restrictive access list does.
    void deny(Root root, const std::string& path);
    // Number of keys below and including root\path (0 when missing).
    std::size_t count_keys(Root root, const std::string& path) const;

private:
    std::shared_ptr<Node> find(Root root, const std::string& path) const;
    std::map<Root, std::shared_ptr<Node>> roots_;
    std::set<std::pair<Root, std::string>> denied_;  // upper-cased paths
    std::uint64_t clock_ = 0;
};

}  // namespace veltrano::platform
