// Built only with VELTRANO_BENCH_STAGES: see stage_timing.h.
#include "shell/win32/stage_timing.h"

#include "shell/startup_stages.h"

namespace veltrano::shell::win32 {

namespace {

constexpr char kRegistry[] = "registry calls";

class TimedKey : public platform::RegKey {
public:
    explicit TimedKey(std::unique_ptr<platform::RegKey> key) : key_(std::move(key)) {}
    std::vector<std::string> value_names() const override {
        VELTRANO_SPAN(kRegistry);
        return key_->value_names();
    }
    std::vector<std::string> subkey_names() const override {
        VELTRANO_SPAN(kRegistry);
        return key_->subkey_names();
    }
    std::vector<platform::ValueEntry> value_entries() const override {
        VELTRANO_SPAN(kRegistry);
        return key_->value_entries();
    }
    std::unique_ptr<platform::RegKey> open_subkey(const std::string& name) const override {
        VELTRANO_SPAN(kRegistry);
        auto key = key_->open_subkey(name);
        return key ? std::make_unique<TimedKey>(std::move(key)) : nullptr;
    }
    std::optional<platform::RegValue> query(const std::string& name) const override {
        VELTRANO_SPAN(kRegistry);
        return key_->query(name);
    }
    bool set(const std::string& name, const platform::RegValue& value) override {
        VELTRANO_SPAN(kRegistry);
        return key_->set(name, value);
    }
    bool delete_value(const std::string& name) override {
        VELTRANO_SPAN(kRegistry);
        return key_->delete_value(name);
    }
    bool delete_subtree(const std::string& subkey) override {
        VELTRANO_SPAN(kRegistry);
        return key_->delete_subtree(subkey);
    }
    std::uint64_t last_write_time() const override {
        VELTRANO_SPAN(kRegistry);
        return key_->last_write_time();
    }
    std::string last_error_text() const override { return key_->last_error_text(); }
    ~TimedKey() override {
        VELTRANO_SPAN(kRegistry);  // the close
        key_.reset();
    }

private:
    std::unique_ptr<platform::RegKey> key_;
};

class TimedRegistry : public platform::Registry {
public:
    explicit TimedRegistry(platform::Registry& registry) : registry_(registry) {}
    std::unique_ptr<platform::RegKey> open(platform::Root root, const std::string& path, bool create) override {
        VELTRANO_SPAN(kRegistry);
        return wrapped(registry_.open(root, path, create));
    }
    std::unique_ptr<platform::RegKey> open_existing(platform::Root root, const std::string& path,
                                                    platform::Access access) override {
        VELTRANO_SPAN(kRegistry);
        return wrapped(registry_.open_existing(root, path, access));
    }
    std::vector<std::string> current_user_hives() const override { return registry_.current_user_hives(); }
    std::string last_error_text() const override { return registry_.last_error_text(); }

private:
    static std::unique_ptr<platform::RegKey> wrapped(std::unique_ptr<platform::RegKey> key) {
        return key ? std::make_unique<TimedKey>(std::move(key)) : nullptr;
    }
    platform::Registry& registry_;
};

class TimedSystemRestore : public platform::SystemRestore {
public:
    explicit TimedSystemRestore(platform::SystemRestore& service) : service_(service) {}
    bool begin(const std::string& description, std::string& why) override {
        VELTRANO_SPAN("restore point asked");
        return service_.begin(description, why);
    }
    void end(bool succeeded) override {
        VELTRANO_SPAN("restore point ended");
        service_.end(succeeded);
    }

private:
    platform::SystemRestore& service_;
};

class TimedSound : public platform::Sound {
public:
    explicit TimedSound(platform::Sound& sound) : sound_(sound) {}
    void play_resource_async(const std::string& resource_name) override {
        VELTRANO_SPAN("chime started");
        sound_.play_resource_async(resource_name);
    }

private:
    platform::Sound& sound_;
};

}  // namespace

platform::Registry& timed_for_stages(platform::Registry& registry) {
    static TimedRegistry timed(registry);
    return timed;
}

platform::SystemRestore& timed_for_stages(platform::SystemRestore& system_restore) {
    static TimedSystemRestore timed(system_restore);
    return timed;
}

platform::Sound& timed_for_stages(platform::Sound& sound) {
    static TimedSound timed(sound);
    return timed;
}

}  // namespace veltrano::shell::win32
