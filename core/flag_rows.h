// The comparisons from which every tip's applied flag is derived, in the
// order they run; a later row of the same tip overrides an earlier one.
#pragma once

#include "platform/registry.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace veltrano::core {

struct FlagRow {
    enum class Kind {
        Compare,     // one system value against the tip's data
        Adapters,    // the value under each TCP/IP adapter's interface key
        Absence,     // applied when the probe key is gone
    };
    Kind kind;
    std::string_view tip;
    platform::Root root;
    std::string_view key;    // the probe key for Absence rows
    std::string_view value;
    std::string_view type;   // "INT_TYPE" or "STR_TYPE"
    std::string_view str;
    std::int32_t num;
};

std::span<const FlagRow> flag_rows();

}  // namespace veltrano::core
