// The console launchers sub-page (GroupBox27): one picture per management
// console snap-in, each opening its file through the shell.
#pragma once

#include "platform/shell.h"
#include "ui/dialogs.h"

#include <array>
#include <string>
#include <string_view>

namespace veltrano::admin {

struct Launcher {
    std::string_view picture;
    std::string_view file;  // in the system's own folder
    std::string_view tip;   // shown while the mouse rests on the picture
};

// Three rows: Image26 to Image31, Image32 to Image37, Image38 to Image42.
inline constexpr std::array<Launcher, 17> kLaunchers{{
    {"Image26", "certmgr.msc", "Certificates (certmgr.msc)"},
    {"Image27", "ciadv.msc", "Indexing Service (ciadv.msc)"},
    {"Image28", "compmgmt.msc", "Computer Management (compmgmt.msc)"},
    {"Image29", "devmgmt.msc", "Device Manager (devmgmt.msc)"},
    {"Image30", "dfrg.msc", "Disk Defragmenter (dfrg.msc)"},
    {"Image31", "diskmgmt.msc", "Disk Management (diskmgmt.msc)"},
    {"Image32", "eventvwr.msc", "Event Viewer (eventvwr.msc)"},
    {"Image33", "fsmgmt.msc", "Shared Folders (fsmgmt.msc)"},
    {"Image34", "gpedit.msc", "Group Policy (gpedit.msc)"},
    {"Image35", "lusrmgr.msc", "Local Users and Groups (lusrmgr.msc)"},
    {"Image36", "ntmsmgr.msc", "Removable Storage (ntmsmgr.msc)"},
    {"Image37", "ntmsoprq.msc", "Removable Storage Operator Requests (ntmsoprq.msc)"},
    {"Image38", "perfmon.msc", "Performance (perfmon.msc)"},
    {"Image39", "rsop.msc", "Resultant Set of Policy (rsop.msc)"},
    {"Image40", "secpol.msc", "Local Security Settings (secpol.msc)"},
    {"Image41", "services.msc", "Services (services.msc)"},
    {"Image42", "wmimgmt.msc", "WMI Control (wmimgmt.msc)"},
}};
inline constexpr std::size_t kLaunchersPerRow = 6;

class Launchers {
public:
    Launchers(platform::Shell& shell, ui::Dialogs& dialogs) : shell_(shell), dialogs_(dialogs) {}

    // Image26Click to Image42Click: the launcher of that place in the table.
    void ImageClick(std::size_t launcher) { RunMSCUtility(path_of(launcher)); }
    // The snap-in's full path. Windows need not live in C:\WINDOWS: the
    // system says where its folder is.
    std::string path_of(std::size_t launcher) const;
    // A snap-in this edition of Windows lacks (XP Home has no gpedit.msc)
    // would otherwise open nothing and say nothing.
    void RunMSCUtility(const std::string& file);

private:
    platform::Shell& shell_;
    ui::Dialogs& dialogs_;
};

}  // namespace veltrano::admin
