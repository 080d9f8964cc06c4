// Tips 8 to 12: the power scheme and four shutdown settings of the user.
#pragma once

#include "tips/tip_engine.h"

namespace veltrano::tips {

const GroupTables& power_tables();

class PowerPage : public TipPage {
public:
    explicit PowerPage(const Context& ctx) : TipPage(power_tables(), ctx) {}
    void BitBtn6Click() { select_all(); }
    void BitBtn7Click() { clear_all(); }
    void BitBtn8Click() { apply(); }
    void reset_power_settings_to_default() { restore_defaults(); }
};

}  // namespace veltrano::tips
