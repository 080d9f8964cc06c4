// The floor a benchmark compares against: the registry calls the logic made,
// made again straight to advapi32 with nothing around them.
#pragma once

#include "bench/recording_registry.h"

#include <windows.h>

#include <string>
#include <vector>

namespace veltrano::bench {

struct ReplayResult {
    double ms = 0;
    // Calls on a key that was opened before the replayed slice began: they
    // go to a null key, fail at once and make the floor look lower.
    int orphan_calls = 0;
};

ReplayResult replay_bare(const std::vector<RegistryCall>& calls);

// The path as advapi32 takes it: no leading or trailing backslash.
std::wstring api_path(const std::string& path);

// Depth first, as XP needs (no one-call tree delete there); the least any
// program can do to remove a key with subkeys.
bool delete_tree_bare(HKEY parent, const std::wstring& path);

}  // namespace veltrano::bench
