// Windows' own store of secrets (the LSA's private data): what is kept there
// no user can read from the registry, and Winlogon takes the automatic
// logon's password from there before it looks in the registry.
#pragma once

#include <optional>
#include <string>

namespace veltrano::platform {

class Secrets {
public:
    virtual ~Secrets() = default;
    // Keeps `data` as the secret `name`; an empty `data` removes the secret.
    // nullopt when done, else why Windows refused, in its own words.
    virtual std::optional<std::string> store(const std::string& name, const std::string& data) = 0;
    // Whether a secret of that name is kept; false where it cannot be told.
    virtual bool holds(const std::string& name) = 0;
};

}  // namespace veltrano::platform
