// Readable registry values in test failures.
#pragma once

#include "platform/registry.h"

#include <ostream>

namespace veltrano::platform {

inline void PrintTo(const RegValue& v, std::ostream* os) {
    switch (v.kind) {
    case ValueKind::String: *os << "REG_SZ \"" << v.text << '"'; break;
    case ValueKind::ExpandString: *os << "REG_EXPAND_SZ \"" << v.text << '"'; break;
    case ValueKind::Dword: *os << "REG_DWORD " << v.dword; break;
    case ValueKind::Binary: *os << "REG_BINARY " << v.bytes.size() << " bytes"; break;
    case ValueKind::Other: *os << "other type, " << v.bytes.size() << " bytes"; break;
    }
}

}  // namespace veltrano::platform
