// The console launchers sub-page (GroupBox27): one picture per management
// console snap-in, each opening its file through the shell.
#pragma once

#include "i18n/translate.h"
#include "platform/shell.h"
#include "ui/dialogs.h"

#include <array>
#include <string>
#include <string_view>

namespace veltrano::admin {

struct Launcher {
    std::string_view picture;
    std::string_view file;  // in the system's own folder
    std::string_view tip;   // shown while the mouse rests on the picture; in English, translated there
};

// Three rows: Image26 to Image31, Image32 to Image37, Image38 to Image42.
inline constexpr std::array<Launcher, 17> kLaunchers{{
    {"Image26", "certmgr.msc", i18n::N_("Certificates (certmgr.msc)")},
    {"Image27", "ciadv.msc", i18n::N_("Indexing Service (ciadv.msc)")},
    {"Image28", "compmgmt.msc", i18n::N_("Computer Management (compmgmt.msc)")},
    {"Image29", "devmgmt.msc", i18n::N_("Device Manager (devmgmt.msc)")},
    {"Image30", "dfrg.msc", i18n::N_("Disk Defragmenter (dfrg.msc)")},
    {"Image31", "diskmgmt.msc", i18n::N_("Disk Management (diskmgmt.msc)")},
    {"Image32", "eventvwr.msc", i18n::N_("Event Viewer (eventvwr.msc)")},
    {"Image33", "fsmgmt.msc", i18n::N_("Shared Folders (fsmgmt.msc)")},
    {"Image34", "gpedit.msc", i18n::N_("Group Policy (gpedit.msc)")},
    {"Image35", "lusrmgr.msc", i18n::N_("Local Users and Groups (lusrmgr.msc)")},
    {"Image36", "ntmsmgr.msc", i18n::N_("Removable Storage (ntmsmgr.msc)")},
    {"Image37", "ntmsoprq.msc", i18n::N_("Removable Storage Operator Requests (ntmsoprq.msc)")},
    {"Image38", "perfmon.msc", i18n::N_("Performance (perfmon.msc)")},
    {"Image39", "rsop.msc", i18n::N_("Resultant Set of Policy (rsop.msc)")},
    {"Image40", "secpol.msc", i18n::N_("Local Security Settings (secpol.msc)")},
    {"Image41", "services.msc", i18n::N_("Services (services.msc)")},
    {"Image42", "wmimgmt.msc", i18n::N_("WMI Control (wmimgmt.msc)")},
}};
inline constexpr std::size_t kLaunchersPerRow = 6;

class Launchers {
public:
    Launchers(platform::Shell& shell, ui::Dialogs& dialogs) : shell_(shell), dialogs_(dialogs) {}

    // A click on a picture (Image26 to Image42): the launcher of that place
    // in the table.
    void launch(std::size_t launcher) { open_snap_in(path_of(launcher)); }
    // The snap-in's full path. Windows need not live in C:\WINDOWS: the
    // system says where its folder is.
    std::string path_of(std::size_t launcher) const;
    // A snap-in this edition of Windows lacks (XP Home has no gpedit.msc)
    // would otherwise open nothing and say nothing.
    void open_snap_in(const std::string& file);

private:
    platform::Shell& shell_;
    ui::Dialogs& dialogs_;
};

}  // namespace veltrano::admin
