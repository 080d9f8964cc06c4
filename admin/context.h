// What the admin tools' logic is made from: the registry through the
// primitives and the store, the page's controls and dialogs, the sound and
// the shell.
#pragma once

#include "core/registry_primitives.h"
#include "core/tip_state_store.h"
#include "platform/secrets.h"
#include "platform/shell.h"
#include "platform/sound.h"
#include "ui/dialogs.h"
#include "ui/widgets.h"

namespace veltrano::admin {

struct Context {
    core::RegistryPrimitives& primitives;
    core::TipStateStore& store;
    ui::Widgets& widgets;
    ui::Dialogs& dialogs;
    platform::Sound& sound;
    platform::Shell& shell;
    // Where the automatic logon's password is kept; none: this Windows keeps no secrets.
    platform::Secrets* secrets = nullptr;
};

}  // namespace veltrano::admin
