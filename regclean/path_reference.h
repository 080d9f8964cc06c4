// Whether a registry string names a file or folder that is missing from a
// local fixed disk: the one question the analyser asks of every string value
// and of every value's name.
#pragma once

#include "platform/file_system.h"

#include <string>

namespace veltrano::regclean {

// True (nothing to report) unless `s` is a plain drive path ("X:\...", X from
// C to Z, no blank, ';' or ',') on a fixed disk at which the system says
// neither a file nor a folder is. A path whose look the system refuses is
// not reported: nothing proves it missing. A file followed by a resource
// number ("...\vbscript.dll\2", as type libraries are registered) names the
// file, and so does a file followed by an argument after a slash
// ("...\Photoshop.exe/Automation"). `below_wow6432node`: the value was
// written by a 32-bit program, for which a path into System32 names what is
// in SysWOW64.
bool is_valid_path_reference(const std::string& s, platform::FileSystem& files, bool below_wow6432node = false);

// What the system answered for a reference that is not valid: the file is
// not there (its folder is), or the folder is not; None for a valid one.
enum class Missing { None, File, Folder };
Missing missing_reference(const std::string& s, platform::FileSystem& files, bool below_wow6432node = false);

}  // namespace veltrano::regclean
