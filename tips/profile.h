// A profile: the tips one machine should carry, as a text file people write
// and diff by hand. One tip a line, its record name and its caption
// ("TIP0017  Increase MFT size to 25%"); '#' starts a comment; blank lines
// are allowed. The record name decides, in any letter case; the caption is
// there for the reader. Lines end as any editor ends them (CR LF, LF, or CR
// alone); a Ctrl+Z ends the file, as `copy a+b c` leaves it.
#pragma once

#include "platform/ansi_text.h"
#include "platform/file_system.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veltrano::tips {

// The tips a profile names, in tip order. A profile that cannot be taken
// whole raises core::VeltranoError naming the file and the line: a line that
// is no tip line, an unknown tip, a tip named twice, or bytes that are not
// text (a NUL, a control character, UTF-16), or no tip line at all (an
// empty or cut-off file is almost always a mistake). A file that is not
// UTF-8 is read in the machine's ANSI code page, as Notepad saved it.
std::vector<int> parse_profile(const std::string& file_name, std::span<const std::uint8_t> bytes,
                               const platform::AnsiText& ansi);

// The profile in the file, as parse_profile reads it; a file that cannot
// be read is refused saying why, as far as the system tells: a folder, a
// drive that is not there, a missing file, a device's name ("nul.txt").
std::vector<int> read_profile(platform::FileSystem& files, const std::string& path, const platform::AnsiText& ansi);

// The profile of the tips given, with a comment saying where it came from.
// Lines end in CR LF, as Notepad on XP wants them.
std::string format_profile(std::span<const int> tips, const std::string& comment);

}  // namespace veltrano::tips
