// What the cleaner removes, written first to a file that regedit (and
// `reg import`) puts back: a cleaner that guesses wrong must not cost the
// user the value.
#pragma once

#include "platform/registry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace veltrano::regclean {

struct BackupEntry {
    platform::Root root;
    std::string key_path;  // below the root, with or without a leading '\'
    std::string name;      // empty for the key's default value
    platform::RegValue value;
};

// True for the kinds the file can hold faithfully: REG_SZ and REG_EXPAND_SZ,
// the only ones the analyser lists.
bool can_back_up(const platform::RegValue& value);

// The file: "Windows Registry Editor Version 5.00", one section per run of
// entries in the same key, UTF-16LE with a byte order mark and CR LF lines.
std::vector<std::uint8_t> reg_file(const std::vector<BackupEntry>& entries);

// The lines of the file before encoding, for the tests to read.
std::string reg_file_text(const std::vector<BackupEntry>& entries);

}  // namespace veltrano::regclean
