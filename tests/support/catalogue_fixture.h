// The tip catalogue on a machine made of fakes: an in-memory registry (or
// the one given), the page controls as a map, dialogs and sound that write
// down what they did.
#pragma once

#include "core/tip_state_store.h"
#include "support/fake_view.h"
#include "support/fakes.h"
#include "support/memory_log.h"
#include "support/memory_registry.h"
#include "tips/undo.h"

#include <gtest/gtest.h>

namespace veltrano::fakes {

template <class Registry> class CatalogueOn : public ::testing::Test {
protected:
    Registry reg;
    FakeTime time;
    fakes::MemoryLog log;
    FakeWidgets widgets;
    FakeDialogs dialogs;
    FakeSound sound;
    FakeFileSystem files;
    FakeAnsiText ansi;
    core::RegistryPrimitives prim{reg, log};
    core::TipStateStore store{prim, time, tips::flag_rows()};
    tips::Context ctx{{prim, store, time}, widgets, dialogs, sound, files, ansi, "file:///C:/Veltrano/help"};
    tips::TipPage network{tips::Group::Network, ctx};
    tips::TipPage power{tips::Group::Power, ctx};
    tips::TipPage system{tips::Group::System, ctx};
    tips::TipPage customization{tips::Group::Customization, ctx};
    tips::UndoPage undo{ctx};

    // What Undo does for a group set to its factory defaults.
    void restore_factory(tips::Group group) { tips::run_restore(tips::group_tables(group), ctx.services); }

    tips::TipPage& page(tips::Group group) {
        switch (group) {
        case tips::Group::Network: return network;
        case tips::Group::Power: return power;
        case tips::Group::System: return system;
        case tips::Group::Customization: break;
        }
        return customization;
    }
};

using CatalogueFixture = CatalogueOn<fakes::MemoryRegistry>;

}  // namespace veltrano::fakes
