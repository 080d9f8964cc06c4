// Our own words on each tip for its help section: what it is for, what it
// helps with and what it can cost. The facts (keys, values, data) come from
// the tip tables; only a tip whose work is a function of its own also says
// here, in words, what it changes.
#pragma once

#include <array>
#include <string_view>

namespace veltrano::helpgen {

struct TipProse {
    int tip;
    std::string_view changes;  // only for tips the tables cannot describe
    std::string_view purpose;
    std::string_view good_for;
    std::string_view risky_for;
};

extern const std::array<TipProse, 48> kTipProse;

}  // namespace veltrano::helpgen
