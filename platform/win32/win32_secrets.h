// The LSA's private data, asked through its policy object: the way Windows
// itself keeps the automatic logon's password.
#pragma once

#include "platform/secrets.h"

namespace veltrano::platform::win32 {

class Win32Secrets : public Secrets {
public:
    std::optional<std::string> store(const std::string& name, const std::string& data) override;
    bool holds(const std::string& name) override;
};

}  // namespace veltrano::platform::win32
