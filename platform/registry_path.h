// Path and name rules shared by both registries: one leading backslash is
// dropped, empty components are skipped, names compare case-folded as the
// registry folds them.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace veltrano::platform {

// The path without its single leading backslash, if it has one.
std::string strip_leading_backslash(const std::string& path);
// Components of a path. Empty components ("a\\\\b", a trailing backslash) add
// none: the registry skips them, so "" and "\\" both name the root itself.
std::vector<std::string> split_registry_path(const std::string& path);
// A key path split at its last backslash, trailing backslashes dropped
// first: the parent's path and the key's own name. A path of one component
// has the root ("") for its parent.
std::pair<std::string, std::string> parent_and_name(const std::string& path);
// False for paths the registry refuses: a second leading backslash (the raw
// API rejects any leading one; we forgive exactly one).
bool is_valid_registry_path(const std::string& path);

// How a registry folds case when it compares names. Both agree on which
// names are equal; they differ in order, because the characters between 'Z'
// and 'a' ("[\]^_`") sort after the letters when upper-cased and before
// them when lower-cased.
enum class NameFold { Upper, Lower };

// The name as UTF-16 code units, case-folded: equal folds mean the same name,
// and comparing folds gives the enumeration order. Folding covers ASCII,
// Latin-1, Latin Extended-A, Greek and Cyrillic.
std::u16string registry_fold(const std::string& name, NameFold fold = NameFold::Upper);
// UTF-8 upper case with the same coverage.
std::string registry_upper(const std::string& name);

}  // namespace veltrano::platform
