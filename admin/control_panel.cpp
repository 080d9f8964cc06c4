#include "admin/control_panel.h"

namespace veltrano::admin {

using platform::Root;

void ControlPanel::read() {
    for (const Applet& applet : kApplets) {
        const std::string data =
            ctx_.primitives.read_text(Root::CurrentUser, kDontLoadKey, std::string(applet.value_name));
        // Exactly "No": Windows itself is as strict.
        ctx_.widgets.set_checked(applet.check_box, data == "No");
    }
}

void ControlPanel::apply_changes() {
    for (const Applet& applet : kApplets) {
        const std::string name(applet.value_name);
        const bool hide = ctx_.widgets.is_checked(applet.check_box);
        ctx_.store.record_value(core::kControlPanelRecord, Root::CurrentUser, "HKEY_CURRENT_USER", kDontLoadKey, name,
                                core::STR_TYPE, hide ? "No" : "Yes", 0, true);
        if (hide)
            ctx_.primitives.write_value(Root::CurrentUser, kDontLoadKey, name, core::STR_TYPE, "No", 0,
                                                // TRANSLATORS: {0} a control panel applet's file (desk.cpl)
                                                i18n::trf("Starting the process of hiding {0} in control panel", name),
                                                true);
        else
            ctx_.primitives.delete_entry(Root::CurrentUser, kDontLoadKey, name, core::VALUENAME,
                                            // TRANSLATORS: {0} a control panel applet's file (desk.cpl)
                                            i18n::trf("Starting the process of showing {0} in control panel", name));
    }
    ctx_.sound.play_resource_async("DONE");
    ctx_.dialogs.show_balloon(i18n::tr(kSettingsSaved));
}

}  // namespace veltrano::admin
