// Tips 31 to 48: the look and habits of the desktop, Start menu and
// Explorer, plus a few system habits. Tips 32 and 34 remove shell namespace
// keys; tip 41 empties the server registrations of two Messenger classes and
// keeps every old text so that the restore can put it back.
#pragma once

#include "tips/groups.h"

#include <array>

namespace veltrano::tips {

// One of the twelve registration values tip 41 empties, and the name under
// which the store keeps its old text among the tip's old values.
struct MessengerRecord {
    std::string_view name;  // "LocalServer32_1_1_(Default)"
    Root root;
    std::string_view key;
    std::string_view value;  // "" is the key's default value
};
extern const std::array<MessengerRecord, 12> kMessengerRecords;

}  // namespace veltrano::tips
