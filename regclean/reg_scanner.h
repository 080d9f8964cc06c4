// The analyser's one way into the registry: a root and the key open in it,
// with the key's path as the grid shows it. Opening a key closes the one
// open before.
#pragma once

#include "platform/registry.h"

#include <memory>
#include <string>

namespace veltrano::regclean {

class RegScanner {
public:
    explicit RegScanner(platform::Registry& registry) : registry_(registry) {}

    void set_root(platform::Root root) { root_ = root; }
    platform::Root root() const { return root_; }

    // `path` begins with '\'; the key's path is then `path` without it, so
    // the root itself ("\") has the empty path. False when it cannot be
    // opened; no key is open then.
    bool open_absolute(const std::string& path);
    // A subkey of the key open now; its path is the open key's path, '\' and
    // the name, which gives "\Name" below a root.
    bool open_relative(const std::string& name);

    // Only while a key is open.
    platform::RegKey& key() { return *key_; }
    const std::string& path() const { return path_; }

private:
    platform::Registry& registry_;
    platform::Root root_ = platform::Root::CurrentUser;
    std::unique_ptr<platform::RegKey> key_;
    std::string path_;
};

// The path with a '\' in front unless it has one.
std::string ensure_leading_backslash(const std::string& path);

}  // namespace veltrano::regclean
