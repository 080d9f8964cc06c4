#include "admin/control_panel.h"

namespace veltrano::admin {

using platform::Root;

void ControlPanel::read() {
    for (const Applet& applet : kApplets) {
        const std::string data =
            ctx_.primitives.Get_Sysinfo_Registry_string(Root::CurrentUser, kDontLoadKey, std::string(applet.value_name));
        // Exactly "No": Windows itself is as strict.
        ctx_.widgets.set_checked(applet.check_box, data == "No");
    }
}

void ControlPanel::BitBtn24Click() {
    for (const Applet& applet : kApplets) {
        const std::string name(applet.value_name);
        const bool hide = ctx_.widgets.is_checked(applet.check_box);
        ctx_.store.record_value(core::kControlPanelRecord, Root::CurrentUser, "HKEY_CURRENT_USER", kDontLoadKey, name,
                                core::STR_TYPE, hide ? "No" : "Yes", 0, true);
        if (hide)
            ctx_.primitives.Manipulate_Registry(Root::CurrentUser, kDontLoadKey, name, core::STR_TYPE, "No", 0,
                                                "Starting the process of hiding " + name + " in control panel", true);
        else
            ctx_.primitives.Delete_Registry(Root::CurrentUser, kDontLoadKey, name, core::VALUENAME,
                                            "Starting the process of showing " + name + " in control panel");
    }
    ctx_.sound.play_resource_async("DONE");
    ctx_.dialogs.show_balloon(std::string(kSettingsSaved));
}

}  // namespace veltrano::admin
