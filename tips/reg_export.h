// The applied tips as a .reg file, for machines without Veltrano: what
// regedit and `reg import` read (Windows Registry Editor Version 5.00,
// UTF-16LE with a byte order mark). Each value the applied tips set, as this
// machine holds it, each key they delete as a deletion line; a tip whose
// writes depend on the machine is left out, with a comment saying why. A
// value the machine does not hold as the tip writes it (a tip flagged
// applied by its last comparison only) is a comment too: the file gives
// another machine the settings of this one, not more.
#pragma once

#include "tips/tip_engine.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace veltrano::tips {

// The file's lines, before encoding, for the tips given.
std::string reg_export_text(platform::Registry& registry, std::span<const int> tips, const std::string& comment);
std::vector<std::uint8_t> reg_export_file(platform::Registry& registry, std::span<const int> tips,
                                          const std::string& comment);

}  // namespace veltrano::tips
