// A key's last write time as the analyser's grid shows it.
#pragma once

#include <cstdint>
#include <string>

namespace veltrano::regclean {

// FILETIME ticks (100 ns since 1601-01-01), taken as they are stored, with
// no move to local time: "mm/dd/yyyy hh:mmAM/PM", 12-hour clock, e.g.
// "03/07/2005 02:05PM".
std::string format_last_write(std::uint64_t ticks);

// The number in at least `width` digits, zeros in front: 7 -> "07".
std::string zero_padded(long long n, std::size_t width = 2);

}  // namespace veltrano::regclean
