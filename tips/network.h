// Tips 1 to 7: the DNS cache, the redirector, path MTU discovery, the AFD
// driver, the remote-computer namespace scan, HTTP connections and the MTU.
#pragma once

#include "tips/tip_engine.h"

namespace veltrano::tips {

const GroupTables& network_tables();

class NetworkPage : public TipPage {
public:
    explicit NetworkPage(const Context& ctx) : TipPage(network_tables(), ctx) {}
    void BitBtn3Click() { select_all(); }
    void BitBtn4Click() { clear_all(); }
    void BitBtn5Click() { apply(); }
    void reset_network_settings_to_default() { restore_defaults(); }
};

}  // namespace veltrano::tips
