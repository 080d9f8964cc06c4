// The console launchers sub-page (GroupBox27): one picture per management
// console snap-in, each opening its file through the shell.
#pragma once

#include "platform/shell.h"

#include <array>
#include <string>
#include <string_view>

namespace veltrano::admin {

struct Launcher {
    std::string_view picture;
    std::string_view file;  // opened by this full path, as written
};

// Three rows: Image26 to Image31, Image32 to Image37, Image38 to Image42.
inline constexpr std::array<Launcher, 17> kLaunchers{{
    {"Image26", "c:\\windows\\system32\\certmgr.msc"},
    {"Image27", "c:\\windows\\system32\\ciadv.msc"},
    {"Image28", "c:\\windows\\system32\\compmgmt.msc"},
    {"Image29", "c:\\windows\\system32\\devmgmt.msc"},
    {"Image30", "c:\\windows\\system32\\dfrg.msc"},
    {"Image31", "c:\\windows\\system32\\diskmgmt.msc"},
    {"Image32", "c:\\windows\\system32\\eventvwr.msc"},
    {"Image33", "c:\\windows\\system32\\fsmgmt.msc"},
    {"Image34", "c:\\windows\\system32\\gpedit.msc"},
    {"Image35", "c:\\windows\\system32\\lusrmgr.msc"},
    {"Image36", "c:\\windows\\system32\\ntmsmgr.msc"},
    {"Image37", "c:\\windows\\system32\\ntmsoprq.msc"},
    {"Image38", "c:\\windows\\system32\\perfmon.msc"},
    {"Image39", "c:\\windows\\system32\\rsop.msc"},
    {"Image40", "c:\\windows\\system32\\secpol.msc"},
    {"Image41", "c:\\windows\\system32\\services.msc"},
    {"Image42", "c:\\windows\\system32\\wmimgmt.msc"},
}};
inline constexpr std::size_t kLaunchersPerRow = 6;

class Launchers {
public:
    explicit Launchers(platform::Shell& shell) : shell_(shell) {}

    // Image26Click to Image42Click: the launcher of that place in the table.
    void ImageClick(std::size_t launcher) { RunMSCUtility(std::string(kLaunchers.at(launcher).file)); }
    // The shell's answer is not looked at: a missing snap-in gets the
    // shell's own message, if any.
    void RunMSCUtility(const std::string& file) { shell_.open(file); }

private:
    platform::Shell& shell_;
};

}  // namespace veltrano::admin
