// Everything the resource script includes, by file name.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "formats.h"

namespace veltrano::artgen {

struct Asset {
    std::string file_name;
    Bytes contents;
};

// Sizes the application icon carries: small icon, large icon, and the size
// Explorer shows in tile view.
inline constexpr int kIconSizes[] = {16, 32, 48};

std::vector<Asset> make_assets();

// Writes every asset into `folder`, creating it. On failure returns false and
// says which file in `error`; files written before the failure stay.
bool write_assets(const std::filesystem::path& folder, std::string& error);

}  // namespace veltrano::artgen
