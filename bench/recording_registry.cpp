#include "bench/recording_registry.h"

namespace veltrano::bench {

namespace {

using Kind = RegistryCall::Kind;

class RecordingKey : public platform::RegKey {
public:
    RecordingKey(std::unique_ptr<platform::RegKey> inner, RecordingRegistry& owner, platform::Root root,
                 std::string path, int handle)
        : inner_(std::move(inner)), owner_(owner), root_(root), path_(std::move(path)), handle_(handle) {}
    ~RecordingKey() override { note(Kind::Close); }

    std::vector<std::string> value_names() const override {
        note(Kind::ValueNames);
        return inner_->value_names();
    }
    std::vector<std::string> subkey_names() const override {
        note(Kind::SubkeyNames);
        return inner_->subkey_names();
    }
    // The store, whose calls are replayed, opens nothing relative and reads
    // no kinds alone; these pass through unrecorded.
    std::vector<platform::ValueEntry> value_entries() const override { return inner_->value_entries(); }
    std::unique_ptr<platform::RegKey> open_subkey(const std::string& name) const override {
        return inner_->open_subkey(name);
    }
    std::optional<platform::RegValue> query(const std::string& name) const override {
        note(Kind::Query, name);
        return inner_->query(name);
    }
    bool set(const std::string& name, const platform::RegValue& value) override {
        note(Kind::Set, name, value);
        return inner_->set(name, value);
    }
    bool delete_value(const std::string& name) override {
        note(Kind::DeleteValue, name);
        return inner_->delete_value(name);
    }
    bool delete_subtree(const std::string& subkey) override {
        note(Kind::DeleteSubtree, subkey);
        return inner_->delete_subtree(subkey);
    }
    std::uint64_t last_write_time() const override { return inner_->last_write_time(); }

private:
    void note(Kind kind, const std::string& name = {}, const platform::RegValue& value = {}) const {
        owner_.calls.push_back({kind, root_, path_, name, value, handle_});
        if (owner_.before_call) owner_.before_call(owner_.calls.back());
    }
    std::unique_ptr<platform::RegKey> inner_;
    RecordingRegistry& owner_;
    platform::Root root_;
    std::string path_;
    int handle_;
};

}  // namespace

std::unique_ptr<platform::RegKey> RecordingRegistry::open(platform::Root root, const std::string& path, bool create) {
    const int handle = next_handle_++;
    calls.push_back({create ? Kind::Create : Kind::Open, root, path, {}, {}, handle});
    if (before_call) before_call(calls.back());
    auto key = inner_.open(root, path, create);
    if (!key) return nullptr;  // a failed open leaves nothing to close
    return std::make_unique<RecordingKey>(std::move(key), *this, root, path, handle);
}

}  // namespace veltrano::bench
