// The control panel sub-page (GroupBox26): one check box per applet; Windows
// leaves out every applet named under "don't load" with the data "No".
#pragma once

#include "admin/context.h"
#include "i18n/translate.h"
#include "ui/control_ref.h"

#include <array>
#include <string>
#include <string_view>

namespace veltrano::admin {

inline const std::string kDontLoadKey = "\\Control Panel\\don't load";
inline constexpr std::string_view kSettingsSaved = i18n::N_("Settings Saved, Please Reboot. ");

struct Applet {
    ui::CheckBox check_box;
    std::string_view caption;  // in English; translated where it is shown
    std::string_view value_name;  // the applet's file
    std::string_view image;       // the applet's picture beside its box
};

inline constexpr std::array<Applet, 14> kApplets{{
    {ui::CheckBox{"CheckBox_cpl1"}, i18n::N_("Do not show access.cpl in control panel"), "access.cpl", "Image1"},
    {ui::CheckBox{"CheckBox_cpl2"}, i18n::N_("Do not show hdwwiz.cpl in control panel"), "hdwwiz.cpl", "Image2"},
    {ui::CheckBox{"CheckBox_cpl3"}, i18n::N_("Do not show appwiz.cpl in control panel"), "appwiz.cpl", "Image6"},
    {ui::CheckBox{"CheckBox_cpl4"}, i18n::N_("Do not show timedate.cpl in control panel"), "timedate.cpl", "Image7"},
    {ui::CheckBox{"CheckBox_cpl5"}, i18n::N_("Do not show desk.cpl in control panel"), "desk.cpl", "Image10"},
    {ui::CheckBox{"CheckBox_cpl6"}, i18n::N_("Do not show joy.cpl in control panel"), "joy.cpl", "Image11"},
    {ui::CheckBox{"CheckBox_cpl7"}, i18n::N_("Do not show inetcpl.cpl in control panel"), "inetcpl.cpl", "Image18"},
    {ui::CheckBox{"CheckBox_cpl8"}, i18n::N_("Do not show ncpa.cpl in control panel"), "ncpa.cpl", "Image19"},
    {ui::CheckBox{"CheckBox_cpl9"}, i18n::N_("Do not show telephon.cpl in control panel"), "telephon.cpl", "Image20"},
    {ui::CheckBox{"CheckBox_cpl10"}, i18n::N_("Do not show powercfg.cpl in control panel"), "powercfg.cpl", "Image21"},
    {ui::CheckBox{"CheckBox_cpl11"}, i18n::N_("Do not show intl.cpl in control panel"), "intl.cpl", "Image22"},
    {ui::CheckBox{"CheckBox_cpl12"}, i18n::N_("Do not show mmsys.cpl in control panel"), "mmsys.cpl", "Image23"},
    {ui::CheckBox{"CheckBox_cpl13"}, i18n::N_("Do not show sysdm.cpl in control panel"), "sysdm.cpl", "Image24"},
    {ui::CheckBox{"CheckBox_cpl14"}, i18n::N_("Do not show nusrmgr.cpl in control panel"), "nusrmgr.cpl", "Image25"},
}};

class ControlPanel {
public:
    explicit ControlPanel(Context ctx) : ctx_(ctx) {}

    // Each box checked exactly when its value reads "No".
    void read();
    // "Apply changes": a checked box writes "No", a clear one deletes its value.
    void apply_changes();

private:
    Context ctx_;
};

}  // namespace veltrano::admin
