// A key's last write time as the analyser's grid shows it.
#pragma once

#include <cstdint>
#include <string>

namespace veltrano::regclean {

// FILETIME ticks (100 ns since 1601-01-01), taken as they are stored, with
// no move to local time: "mm/dd/yyyy hh:mmAM/PM", 12-hour clock, e.g.
// "03/07/2005 02:05PM".
std::string format_last_write(std::uint64_t ticks);

}  // namespace veltrano::regclean
