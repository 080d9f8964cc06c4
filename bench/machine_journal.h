// Puts the machine back after a benchmark run. The fixture import resets only
// the keys it owns, and the tips also write beside them (HKCU's desktop
// settings, the memory manager, ...): a value left over from one run would
// change what the next run reads and narrates. So the journal watches the
// calls of one recorded run and, before each call changes anything, keeps
// what was there; restore() undoes the run in reverse order. Every later run
// makes the same calls from the same state, so the same journal undoes it.
#pragma once

#include "bench/recording_registry.h"

#include <windows.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace veltrano::bench {

class MachineJournal {
public:
    // Hook for RecordingRegistry::before_call.
    void note(const RegistryCall& call);
    void restore() const;
    std::size_t entries() const { return saved_.size(); }

private:
    struct Value {
        std::wstring name;
        DWORD type;
        std::vector<BYTE> data;
    };
    struct Tree {
        std::vector<Value> values;
        std::vector<std::pair<std::wstring, Tree>> children;
    };
    enum class What {
        Values,   // the key's own values
        Subtree,  // the key with everything below it
        Absent,   // the key did not exist: delete it
    };
    struct Saved {
        What what;
        HKEY root;
        std::wstring path;
        Tree tree;
    };

    void save(What what, HKEY root, const std::wstring& path);
    // Inside a key that did not exist before the run: its deletion undoes
    // everything there.
    bool inside_created(HKEY root, const std::wstring& path) const;

    std::vector<Saved> saved_;
    std::set<std::pair<HKEY, std::wstring>> seen_;  // (root, lower-case path + what)
};

}  // namespace veltrano::bench
