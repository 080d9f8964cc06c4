// Whether a registry string names a file or folder that is missing from a
// local fixed disk: the one question the analyser asks of every string value
// and of every value's name.
#pragma once

#include "platform/file_system.h"

#include <string>

namespace veltrano::regclean {

// True (nothing to report) unless `s` is a plain drive path ("X:\...", X from
// C to Z, no blank, ';' or ',') on a fixed disk to a folder or file that is
// not there. Without an extension it is taken as a folder; with one, as a
// file whose folder must exist too.
bool is_valid_path_reference(const std::string& s, platform::FileSystem& files);

}  // namespace veltrano::regclean
