#include "regclean/path_reference.h"

namespace veltrano::regclean {

bool is_valid_path_reference(const std::string& s, platform::FileSystem& files) {
    if (s.size() < 3) return true;
    const char drive = static_cast<char>(s[0] >= 'a' && s[0] <= 'z' ? s[0] - 'a' + 'A' : s[0]);
    // A and B are floppies, whose references are no proof of anything.
    if (drive < 'C' || drive > 'Z') return true;
    // Lists and command lines, and paths with blanks that may be either:
    // too easy to misread to be worth a report.
    if (s.find_first_of(";, ") != std::string::npos) return true;
    if (s[1] != ':' || s[2] != '\\') return true;
    if (files.drive_type(std::string(1, drive) + ":\\") != platform::DriveType::Fixed) return true;

    const std::size_t name_start = s.find_last_of("\\:") + 1;
    if (s.find('.', name_start) == std::string::npos)
        return files.is_directory(s.back() == '\\' ? s : s + '\\');
    return files.is_directory(s.substr(0, s.find_last_of('\\') + 1)) && files.exists(s);
}

}  // namespace veltrano::regclean
