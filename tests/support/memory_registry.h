// A registry held in memory for the native tests; a test double, which the
// product never links. It behaves as the real one does where the contract
// suite (tests/contract) says so: names compare without case and keep their
// case, subkeys enumerate sorted, values in the order the flavour gives,
// deleted keys stay dead for handles still open, and chosen keys refuse to
// open.
#pragma once

#include "platform/registry.h"
#include "platform/registry_path.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace veltrano::fakes {

// Windows and Wine disagree on enumeration order and on one access check,
// and on nothing else the contract suite has found:
//  - Windows sorts subkeys by upper-cased name, and lists values in the
//    order they were created (a deleted and re-added value goes last; an
//    overwritten one keeps its place). A key refuses new subkeys when it
//    refuses to open.
//  - Wine sorts subkeys by lower-cased name ("_" before the letters), and
//    lists values sorted the same way, the default value first. It creates
//    subkeys below a key that refuses to open.
enum class RegistryFlavour { Windows, Wine };

class MemoryRegistry : public platform::Registry {
public:
    struct Node;

    explicit MemoryRegistry(RegistryFlavour flavour = RegistryFlavour::Windows);
    ~MemoryRegistry() override;
    // A copy of every key and value, sharing nothing with the original.
    MemoryRegistry(const MemoryRegistry& other);
    MemoryRegistry& operator=(const MemoryRegistry&) = delete;

    std::unique_ptr<platform::RegKey> open(platform::Root root, const std::string& path, bool create) override;
    std::unique_ptr<platform::RegKey> open_existing(platform::Root root, const std::string& path,
                                                    platform::Access access) override;
    std::string last_error_text() const override { return open_error_; }
    std::vector<std::string> current_user_hives() const override { return user_hives_; }

    // Test helpers: seed and inspect without going through a handle.
    void put(platform::Root root, const std::string& path, const std::string& name, const platform::RegValue& value);
    std::optional<platform::RegValue> get(platform::Root root, const std::string& path, const std::string& name) const;
    bool key_exists(platform::Root root, const std::string& path) const;
    // The key (not its subkeys) refuses to open from now on, as one with a
    // restrictive access list does; nor can it, or a tree holding it, be
    // deleted, nor (in the Windows flavour) keys be created directly below it.
    void deny(platform::Root root, const std::string& path);
    // The key opens for reading only from now on, as the machine's keys do
    // for a user who is no administrator.
    void deny_changes(platform::Root root, const std::string& path);
    // What current_user_hives() answers.
    void set_current_user_hives(std::vector<std::string> names) { user_hives_ = std::move(names); }
    // Number of keys below and including root\path (0 when missing).
    std::size_t count_keys(platform::Root root, const std::string& path) const;

    RegistryFlavour flavour() const { return flavour_; }

private:
    std::shared_ptr<Node> find(platform::Root root, const std::string& path) const;
    std::shared_ptr<Node> ensure(platform::Root root, const std::string& path);  // creates, past any denial
    std::map<platform::Root, std::shared_ptr<Node>> roots_;
    RegistryFlavour flavour_;
    std::uint64_t clock_ = 0;
    std::string open_error_;
    std::vector<std::string> user_hives_;
};

}  // namespace veltrano::fakes
