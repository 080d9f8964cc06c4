// Tips 31 to 48: the look and habits of the desktop, Start menu and
// Explorer, plus a few system habits. Tips 32 and 34 remove shell namespace
// keys; tip 41 empties the server registrations of two Messenger classes and
// keeps every old text so that the restore can put it back.
#pragma once

#include "tips/tip_engine.h"

#include <array>

namespace veltrano::tips {

const GroupTables& customization_tables();

// One of the twelve registration values tip 41 empties, and the name under
// which TIP0041\OLD_VALUES keeps its old text.
struct MessengerRecord {
    std::string_view name;  // "LocalServer32_1_1_(Default)"
    Root root;
    std::string_view key;
    std::string_view value;  // "" is the key's default value
};
extern const std::array<MessengerRecord, 12> kMessengerRecords;

class CustomizationPage : public TipPage {
public:
    explicit CustomizationPage(const Context& ctx) : TipPage(customization_tables(), ctx) {}
    void BitBtn12Click() { select_all(); }
    void BitBtn13Click() { clear_all(); }
    void BitBtn14Click() { apply(); }
    void reset_customization_settings_to_default() { restore_defaults(); }
};

}  // namespace veltrano::tips
