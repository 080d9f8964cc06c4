#include "tips/customization.h"
#include "tips/network.h"
#include "tips/power.h"
#include "tips/system.h"

#include <vector>

namespace veltrano::tips {

const GroupTables& group_tables(Group group) {
    switch (group) {
    case Group::Network: return network_tables();
    case Group::Power: return power_tables();
    case Group::System: return system_tables();
    case Group::Customization: break;
    }
    return customization_tables();
}

std::span<const core::FlagRow> flag_rows() {
    static const std::vector<core::FlagRow> rows = [] {
        std::vector<core::FlagRow> all;
        for (const GroupDisplay& g : kGroupDisplay) {
            const auto flags = group_tables(g.group).flags;
            all.insert(all.end(), flags.begin(), flags.end());
        }
        return all;
    }();
    return rows;
}

}  // namespace veltrano::tips
