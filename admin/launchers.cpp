#include "admin/launchers.h"

namespace veltrano::admin {

std::string Launchers::path_of(std::size_t launcher) const {
    std::string folder = shell_.system_folder();
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder + std::string(kLaunchers.at(launcher).file);
}

void Launchers::open_snap_in(const std::string& file) {
    const long result = shell_.open(file);
    if (result > 32) return;
    // The shell's codes for a file or folder it cannot find.
    constexpr long kFileNotFound = 2, kPathNotFound = 3;
    if (result == kFileNotFound || result == kPathNotFound)
        dialogs_.show_message(
            i18n::trf("{0} is not on this computer: this edition of Windows does not have that console.", file));
    else
        dialogs_.show_message(i18n::trf("Windows could not open {0} (error {1}).", file, std::to_string(result)));
}

}  // namespace veltrano::admin
