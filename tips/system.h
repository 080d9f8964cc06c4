// Tips 13 to 30: memory management, the file system, EFS caching, process
// separation of the shell and a few security settings; one value each.
#pragma once

#include "tips/tip_engine.h"

namespace veltrano::tips {

const GroupTables& system_tables();

class SystemPage : public TipPage {
public:
    explicit SystemPage(const Context& ctx) : TipPage(system_tables(), ctx) {}
    void BitBtn9Click() { select_all(); }
    void BitBtn10Click() { clear_all(); }
    void BitBtn11Click() { apply(); }
    void reset_system_settings_to_default() { restore_defaults(); }
};

}  // namespace veltrano::tips
