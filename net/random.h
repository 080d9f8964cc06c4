// Bits an observer of our traffic cannot predict: what a blind forger of
// time replies would have to guess.
#pragma once

#include <cstdint>

namespace veltrano::net {

std::uint32_t unpredictable_bits();

}  // namespace veltrano::net
