// What the registry contract suite needs from a build: a registry, an empty
// scratch key to work under, a way to make a key refuse to open, and which
// flavour of enumeration order to expect. registry_factory_memory.cpp and
// registry_factory_win32.cpp each provide one.
#pragma once

#include "platform/registry.h"
#include "support/memory_registry.h"

#include <memory>
#include <string>

namespace veltrano::contract {

class RegistryBackend {
public:
    virtual ~RegistryBackend() = default;
    virtual platform::Registry& registry() = 0;
    virtual platform::Root root() const = 0;
    // A path below root() that exists, is empty, and belongs to this test
    // alone. Removed with everything below it when the backend goes away.
    virtual const std::string& scratch() const = 0;
    // The key scratch\relative (created if missing) refuses to open with full
    // access from now on.
    virtual void deny(const std::string& relative) = 0;
    // The key scratch\relative (created if missing) may be read by everyone
    // and changed by no one from now on.
    virtual void deny_changes(const std::string& relative) = 0;
    virtual fakes::RegistryFlavour flavour() const = 0;
};

std::unique_ptr<RegistryBackend> make_registry_backend();

}  // namespace veltrano::contract
