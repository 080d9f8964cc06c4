// The applied tips as a .reg file, for machines without Veltrano: what
// regedit and `reg import` read (Windows Registry Editor Version 5.00,
// UTF-16LE with a byte order mark). Each value the applied tips set, each
// key they delete as a deletion line; a tip whose writes depend on the
// machine is left out, with a comment saying why.
#pragma once

#include "tips/tip_engine.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace veltrano::tips {

// The file's lines, before encoding, for the tips given.
std::string reg_export_text(std::span<const int> tips, const std::string& comment);
std::vector<std::uint8_t> reg_export_file(std::span<const int> tips, const std::string& comment);

}  // namespace veltrano::tips
