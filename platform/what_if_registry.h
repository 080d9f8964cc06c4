// A registry that changes nothing: every read goes through to the registry
// it wraps, every change stays in memory and is told, one by one, to whoever
// asked. Work run on it reads exactly as it would after its own changes, so
// the same code that changes the machine tells what it would change.
#pragma once

#include "platform/registry.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace veltrano::platform {

struct RegistryChange {
    enum class Kind { CreateKey, DeleteKey, WriteValue, DeleteValue };
    Kind kind;
    Root root;
    std::string path;                   // as the work spelled it, without a leading backslash
    std::string name;                   // of a value
    std::optional<RegValue> old_value;  // what a written or deleted value holds now
    RegValue value;                     // what would be written
};

class WhatIfRegistry : public Registry {
public:
    using Listener = std::function<void(const RegistryChange&)>;
    // Reads what `real` holds with no more than read access.
    explicit WhatIfRegistry(Registry& real, Listener listener = {});
    ~WhatIfRegistry() override;

    std::unique_ptr<RegKey> open(Root root, const std::string& path, bool create) override;
    std::unique_ptr<RegKey> open_existing(Root root, const std::string& path, Access access) override;
    std::vector<std::string> current_user_hives() const override;

    struct Overlay;

private:
    std::shared_ptr<Overlay> overlay_;
};

}  // namespace veltrano::platform
