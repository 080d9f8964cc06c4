// A registry that stops dead before its Nth call, as a process ended at
// that instant would: the call and every one after it throw Stopped and
// reach nothing, so the registry below keeps exactly what the calls before
// left. Every call counts, reads too, on the registry and on each key it
// handed out; the calls that may change the registry are noted, since a
// stop anywhere between two of them leaves the same registry behind.
#pragma once

#include "platform/registry.h"

#include <cstddef>
#include <limits>
#include <memory>
#include <vector>

namespace veltrano::fakes {

// Not a VeltranoError nor a std::exception: nothing in the product catches it.
struct Stopped {};

class StoppingRegistry : public platform::Registry {
public:
    StoppingRegistry(platform::Registry& inner, std::size_t stop_at = std::numeric_limits<std::size_t>::max())
        : inner_(inner), stop_at_(stop_at) {}

    // The calls made so far (a run that never stopped: all of them).
    std::size_t calls() const { return calls_; }
    // The numbers of the calls that set, deleted or created something.
    const std::vector<std::size_t>& changes() const { return changes_; }

    std::unique_ptr<platform::RegKey> open(platform::Root root, const std::string& path, bool create) override {
        tick(create);
        return wrap(inner_.open(root, path, create));
    }
    std::unique_ptr<platform::RegKey> open_existing(platform::Root root, const std::string& path,
                                                    platform::Access access) override {
        tick();
        return wrap(inner_.open_existing(root, path, access));
    }
    std::vector<std::string> current_user_hives() const override { return inner_.current_user_hives(); }
    std::string last_error_text() const override { return inner_.last_error_text(); }

    void tick(bool changes = false) {
        if (calls_ >= stop_at_) throw Stopped{};
        if (changes) changes_.push_back(calls_);
        ++calls_;
    }

private:
    class Key : public platform::RegKey {
    public:
        Key(std::unique_ptr<platform::RegKey> inner, StoppingRegistry& owner)
            : inner_(std::move(inner)), owner_(owner) {}
        std::vector<std::string> value_names() const override { return (owner_.tick(), inner_->value_names()); }
        std::vector<std::string> subkey_names() const override { return (owner_.tick(), inner_->subkey_names()); }
        std::vector<platform::ValueEntry> value_entries() const override {
            return (owner_.tick(), inner_->value_entries());
        }
        std::unique_ptr<platform::RegKey> open_subkey(const std::string& name) const override {
            owner_.tick();
            return owner_.wrap(inner_->open_subkey(name));
        }
        std::optional<platform::RegValue> query(const std::string& name) const override {
            return (owner_.tick(), inner_->query(name));
        }
        bool set(const std::string& name, const platform::RegValue& value) override {
            return (owner_.tick(true), inner_->set(name, value));
        }
        bool delete_value(const std::string& name) override {
            return (owner_.tick(true), inner_->delete_value(name));
        }
        bool delete_subtree(const std::string& subkey) override {
            return (owner_.tick(true), inner_->delete_subtree(subkey));
        }
        std::uint64_t last_write_time() const override { return (owner_.tick(), inner_->last_write_time()); }
        std::string last_error_text() const override { return inner_->last_error_text(); }

    private:
        std::unique_ptr<platform::RegKey> inner_;
        StoppingRegistry& owner_;
    };

    std::unique_ptr<platform::RegKey> wrap(std::unique_ptr<platform::RegKey> key) {
        return key ? std::make_unique<Key>(std::move(key), *this) : nullptr;
    }

    platform::Registry& inner_;
    std::size_t stop_at_;
    std::size_t calls_ = 0;
    std::vector<std::size_t> changes_;
};

}  // namespace veltrano::fakes
