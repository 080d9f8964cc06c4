// The tweak catalogue as the main window owns it: the four tip pages, the
// Undo page and what they share. The screen binds its clicks to these
// objects' handlers (network().BitBtn5Click(), undo().BitBtn17Click(), ...).
#pragma once

#include "tips/customization.h"
#include "tips/network.h"
#include "tips/power.h"
#include "tips/system.h"
#include "tips/undo.h"

namespace veltrano::tips {

class Catalogue {
public:
    Catalogue(core::RegistryPrimitives& reg, core::TipStateStore& store, platform::Time& time,
              shell::Widgets& widgets, shell::Dialogs& dialogs, platform::Sound& sound)
        : ctx_{reg, store, time, widgets, dialogs, sound, {}}, network_(ctx_), power_(ctx_), system_(ctx_),
          customization_(ctx_), undo_(ctx_, {&network_, &power_, &system_, &customization_}) {}

    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    NetworkPage& network() { return network_; }
    PowerPage& power() { return power_; }
    SystemPage& system() { return system_; }
    CustomizationPage& customization() { return customization_; }
    UndoPage& undo() { return undo_; }
    TipPage& page(Group group);

    // The help pages' location, without a trailing "/"; set by the program.
    void set_help_base(std::string base) { ctx_.help_base = std::move(base); }
    const std::string& help_base() const { return ctx_.help_base; }

    // A help image's click by the image's name; false when no tip has it.
    bool help_image_click(std::string_view image);

private:
    Context ctx_;
    NetworkPage network_;
    PowerPage power_;
    SystemPage system_;
    CustomizationPage customization_;
    UndoPage undo_;
};

}  // namespace veltrano::tips
