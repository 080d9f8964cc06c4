// Every tip applied on the XP-like machine, then every group undone with
// "Restore to previous registry settings": each key the tips touch must be
// as it was, types included, with the values and keys that others keep
// there. Built natively against the in-memory registry and for Windows
// against the real one, in the test's own Wine prefix.
#include "platform/registry_path.h"
#include "support/catalogue_fixture.h"
#include "tips/customization.h"
#include "support/reg_file.h"
#include "support/xp_machine.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>

#ifdef _WIN32
#include "platform/win32/win32_registry.h"
#else
#include "support/memory_registry.h"
#endif

using namespace veltrano;
using platform::RegValue;
using platform::Root;
using tips::Group;

namespace {


#ifdef _WIN32
using MachineRegistry = platform::win32::Win32Registry;
#else
using MachineRegistry = fakes::MemoryRegistry;
#endif

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

class UndoRoundTrip : public fakes::CatalogueOn<MachineRegistry> {
protected:
    void SetUp() override {
        if (auto software = reg.open(Root::LocalMachine, "SOFTWARE", false)) software->delete_subtree("VELTRANO");
        ASSERT_TRUE(fakes::load_reg_file(reg, VELTRANO_MACHINE_REG));
        fakes::place_extras(reg);
    }

    // Each touched key with its whole subtree, and its parent's subkey names
    // (so a key made or lost shows), paths in lower case.
    using Snapshot = std::map<std::string, std::map<std::string, RegValue>>;
    Snapshot snapshot() {
        Snapshot out;
        for (const auto& [root, key] : fakes::touched_keys()) {
            walk(root, key, out);
            const auto [parent_path, name] = platform::parent_and_name(key);
            if (parent_path.empty()) continue;
            if (auto parent = reg.open(root, parent_path, false))
                for (const auto& sub : parent->subkey_names())
                    out[lower(std::string(platform::root_name(root)) + "\\" + parent_path)]["<key> " + lower(sub)] = {};
        }
        return out;
    }
    void walk(Root root, const std::string& path, Snapshot& out) {
        const std::string full = lower(std::string(platform::root_name(root)) + "\\" + path);
        auto key = reg.open(root, path, false);
        if (!key) {
            out[full]["<absent>"] = {};
            return;
        }
        auto& values = out[full];
        for (const auto& name : key->value_names())
            if (auto v = key->query(name)) values[lower(name)] = *v;
        for (const auto& sub : key->subkey_names()) walk(root, path + "\\" + sub, out);
    }
};

TEST_F(UndoRoundTrip, PreviousSettingsPutBackEveryKeyTheTipsTouchAsItWas) {
    const Snapshot before = snapshot();
    store.check_for_previous_install();
    // Every tip, those the machine already showed as applied too: the tick decides.
    for (int tip = 1; tip <= tips::kTipCount; ++tip) widgets.set_checked(tips::tip_display(tip).check_box, true);
    network.apply();
    power.apply();
    system.apply();
    customization.apply();
    ASSERT_NE(snapshot(), before);

    undo.refresh();
    for (const auto& line : tips::kUndoLines) {
        EXPECT_TRUE(widgets.is_enabled(line.check_box)) << "Apply marked the group as changed: " << line.check_box.name();
        widgets.set_checked(line.factory_radio, false);
        widgets.set_checked(line.previous_radio, true);
        widgets.set_checked(line.check_box, true);
    }
    undo.undo();

    const Snapshot after = snapshot();
    for (const auto& [key, values] : before) {
        auto it = after.find(key);
        ASSERT_NE(it, after.end()) << key;
        EXPECT_EQ(it->second, values) << key;
    }
    EXPECT_EQ(after.size(), before.size());
    for (const auto& line : tips::kUndoLines)
        EXPECT_EQ(prim.read_number(Root::LocalMachine, core::kStateKeyBase, std::string(tips::group_display(line.group).undone.name)), 2);
}

}  // namespace
