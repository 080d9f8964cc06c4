// The contract suite against the in-memory registry. VELTRANO_CONTRACT_WINE
// picks the Wine flavour, so that one build of the suite checks the fake
// against what was measured under Wine and another against Windows' order.
#include "tests/contract/registry_factory.h"

namespace veltrano::contract {

namespace {

#ifdef VELTRANO_CONTRACT_WINE
constexpr fakes::RegistryFlavour kFlavour = fakes::RegistryFlavour::Wine;
#else
constexpr fakes::RegistryFlavour kFlavour = fakes::RegistryFlavour::Windows;
#endif

class MemoryBackend : public RegistryBackend {
public:
    MemoryBackend() : registry_(kFlavour) {
        // Unrelated neighbours, so tests that look at the scratch key's own
        // listings would notice a path escaping it.
        registry_.put(platform::Root::CurrentUser, "Software\\VeltranoContract\\neighbour", "x",
                      platform::RegValue::number(1));
        registry_.open(root(), scratch_, true);
    }
    platform::Registry& registry() override { return registry_; }
    platform::Root root() const override { return platform::Root::CurrentUser; }
    const std::string& scratch() const override { return scratch_; }
    void deny(const std::string& relative) override { registry_.deny(root(), scratch_ + "\\" + relative); }
    void deny_changes(const std::string& relative) override {
        registry_.deny_changes(root(), scratch_ + "\\" + relative);
    }
    fakes::RegistryFlavour flavour() const override { return registry_.flavour(); }

private:
    fakes::MemoryRegistry registry_;
    std::string scratch_ = "Software\\VeltranoContract\\scratch";
};

}  // namespace

std::unique_ptr<RegistryBackend> make_registry_backend() { return std::make_unique<MemoryBackend>(); }

}  // namespace veltrano::contract
