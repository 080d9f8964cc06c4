// What a scan found: one entry per string value whose name or data points at
// something missing. The grid shows them and removal reads them, so a row
// is never parsed back into a key.
#pragma once

#include "platform/registry.h"
#include "regclean/path_reference.h"

#include <cstdint>
#include <string>
#include <vector>

namespace veltrano::regclean {

struct Find {
    platform::Root root;
    std::string root_name;   // "HKEY_CURRENT_USER", as column 0 spells it
    std::string key_path;    // as the walk reached it; may begin with '\'
    std::string name;        // the value's name, empty for the default value
    std::string data;        // the value's data as it was read
    std::uint64_t last_write = 0;  // the key's, FILETIME ticks as stored
    bool below_wow6432node = false;
    // Why it is listed: whether the name or the data names what is missing,
    // and what the system said of it.
    bool name_checked = false;
    Missing missing = Missing::File;
};

using Finds = std::vector<Find>;

// Column 0 of the grid: "HKEY_LOCAL_MACHINE: Software\Some\Key".
std::string key_cell(const Find& find);
// The four cells of the find's row.
std::vector<std::string> row_cells(const Find& find);

// Orders the finds by a column of the grid, the time by time and text
// without case; equal ones keep their order.
void sort_finds(Finds& finds, int column, bool ascending);

}  // namespace veltrano::regclean
