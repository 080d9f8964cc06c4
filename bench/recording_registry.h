// Wraps a registry and writes down every call the logic makes of it, so the
// same calls can be replayed bare against advapi32.
#pragma once

#include "platform/registry.h"

#include <functional>
#include <memory>
#include <vector>

namespace veltrano::bench {

struct RegistryCall {
    enum class Kind { Open, Create, ValueNames, SubkeyNames, Query, Set, DeleteValue, DeleteSubtree, Close };
    Kind kind;
    platform::Root root{};
    std::string path;  // Open and Create: the key; others: the key they act on
    std::string name;  // the value, or for DeleteSubtree the subkey
    platform::RegValue value;
    int handle = -1;   // which open key the call uses
};

class RecordingRegistry : public platform::Registry {
public:
    explicit RecordingRegistry(platform::Registry& inner) : inner_(inner) {}
    std::unique_ptr<platform::RegKey> open(platform::Root root, const std::string& path, bool create) override;
    std::unique_ptr<platform::RegKey> open_existing(platform::Root root, const std::string& path,
                                                    platform::Access access) override {
        return inner_.open_existing(root, path, access);
    }
    std::vector<RegistryCall> calls;
    // Sees each call just before it reaches the registry: the journal keeps
    // what the call is about to change.
    std::function<void(const RegistryCall&)> before_call;

private:
    platform::Registry& inner_;
    int next_handle_ = 0;
};

}  // namespace veltrano::bench
