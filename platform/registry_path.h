// Path rules shared by both registries: one leading backslash is dropped,
// components are compared upper-cased as the registry does.
#pragma once

#include <string>
#include <vector>

namespace veltrano::platform {

// The path without its single leading backslash, if it has one.
std::string strip_leading_backslash(const std::string& path);
// Components of a path; "" for the root itself gives none, and a single
// trailing backslash adds none.
std::vector<std::string> split_registry_path(const std::string& path);
// False for paths the registry refuses: empty components ("a\\b"), or a second
// leading backslash.
bool is_valid_registry_path(const std::string& path);
// ASCII upper case; the registry's own folding beyond ASCII is not needed here.
std::string registry_upper(const std::string& name);

}  // namespace veltrano::platform
