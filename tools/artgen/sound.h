// The two chimes the program plays: "START" when it opens, "DONE" when a
// change has been applied.
#pragma once

#include <cstdint>
#include <vector>

namespace veltrano::artgen {

constexpr std::uint32_t kSampleRate = 22050;

std::vector<std::int16_t> start_chime();
std::vector<std::int16_t> done_chime();

}  // namespace veltrano::artgen
