#include "platform/registry.h"

#include "platform/registry_path.h"

namespace veltrano::platform {

const char* root_name(Root root) {
    switch (root) {
    case Root::ClassesRoot: return "HKEY_CLASSES_ROOT";
    case Root::CurrentUser: return "HKEY_CURRENT_USER";
    case Root::LocalMachine: return "HKEY_LOCAL_MACHINE";
    case Root::Users: return "HKEY_USERS";
    }
    return "";
}

std::optional<Root> root_from_name(std::string_view name) {
    for (Root root : kAllRoots)
        if (name == root_name(root)) return root;
    return std::nullopt;
}

bool delete_key(Registry& registry, Root root, const std::string& path) {
    const auto [parent, name] = parent_and_name(path);
    auto key = registry.open(root, parent, false);
    return key && key->delete_subtree(name);
}

}  // namespace veltrano::platform
