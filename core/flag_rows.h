// A comparison from which a tip's applied flag is derived. Each tip group
// keeps its rows beside the rows it writes; the store runs them all in tip
// order, and a later row of the same tip overrides an earlier one.
#pragma once

#include "core/registry_primitives.h"

#include <cstdint>
#include <string_view>

namespace veltrano::core {

struct FlagRow {
    enum class Kind {
        Compare,     // one system value against the tip's data
        Adapters,    // the value under each TCP/IP adapter's interface key
        Absence,     // applied when the probe key is gone
    };
    Kind kind;
    int tip;
    platform::Root root;
    std::string_view key;    // the probe key for Absence rows
    std::string_view value;
    ValueType type;
    std::string_view str;
    std::int32_t num;
};

namespace flag {
constexpr FlagRow compare(int tip, platform::Root root, std::string_view key, std::string_view value,
                          std::int32_t num) {
    return {FlagRow::Kind::Compare, tip, root, key, value, INT_TYPE, "", num};
}
constexpr FlagRow compare(int tip, platform::Root root, std::string_view key, std::string_view value,
                          std::string_view str) {
    return {FlagRow::Kind::Compare, tip, root, key, value, STR_TYPE, str, 0};
}
constexpr FlagRow on_adapters(int tip, std::string_view value, std::int32_t num) {
    return {FlagRow::Kind::Adapters, tip, platform::Root::LocalMachine, "", value, INT_TYPE, "", num};
}
constexpr FlagRow absent(int tip, std::string_view probe) {
    return {FlagRow::Kind::Absence, tip, platform::Root::LocalMachine, probe, "", INT_TYPE, "", 0};
}
}  // namespace flag

}  // namespace veltrano::core
