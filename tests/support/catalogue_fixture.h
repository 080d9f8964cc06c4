// The tip catalogue on a machine made of fakes: an in-memory registry, the
// page controls as a map, dialogs and sound that write down what they did.
#pragma once

#include "core/tip_state_store.h"
#include "platform/memory/memory_registry.h"
#include "support/fake_view.h"
#include "support/fakes.h"
#include "tips/tip_pages.h"

#include <gtest/gtest.h>

namespace veltrano::fakes {

class CatalogueFixture : public ::testing::Test {
protected:
    platform::MemoryRegistry reg;
    FakeTime time;
    core::MemoryLog log;
    FakeWidgets widgets;
    FakeDialogs dialogs;
    FakeSound sound;
    core::RegistryPrimitives prim{reg, log};
    core::TipStateStore store{prim, time};
    tips::Catalogue cat{prim, store, time, widgets, dialogs, sound};
};

}  // namespace veltrano::fakes
