// Reads back the backups the cleaner writes (reg_backup.h), and nothing
// else: a file that strays from that form, is cut off, or names a place the
// cleaner never removes from is refused whole, with the line that strays,
// before anything reaches the registry.
#pragma once

#include "regclean/reg_backup.h"

#include <cstdint>
#include <string>
#include <vector>

namespace veltrano::regclean {

// The entries in the file's order, their key paths without a leading '\'.
// Raises core::VeltranoError naming `file` and the line when the bytes are
// not such a backup.
std::vector<BackupEntry> read_backup(const std::vector<std::uint8_t>& bytes, const std::string& file);

}  // namespace veltrano::regclean
