// The four groups' tables, each in its own file (network.cpp, power.cpp,
// system.cpp, customization.cpp), and the one way to reach them by group.
#pragma once

#include "tips/tip_engine.h"

namespace veltrano::tips {

const GroupTables& network_tables();        // tips 1 to 7
const GroupTables& power_tables();          // tips 8 to 12
const GroupTables& system_tables();         // tips 13 to 30
const GroupTables& customization_tables();  // tips 31 to 48

}  // namespace veltrano::tips
