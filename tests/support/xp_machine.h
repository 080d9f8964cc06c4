// What the tips find on the XP machine fixture besides its own values: the
// keys they touch, and the values and keys that others keep there, which
// an undo must leave exactly as they were.
#pragma once

#include "platform/registry.h"
#include "tips/customization.h"
#include "tips/tip_engine.h"

#include <cctype>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace veltrano::fakes {

// The keys every tip writes, deletes, creates or looks at, without a
// leading backslash.
inline std::set<std::pair<platform::Root, std::string>> touched_keys() {
    std::set<std::pair<platform::Root, std::string>> keys;
    auto add = [&](platform::Root root, std::string_view key) {
        while (!key.empty() && key.front() == '\\') key.remove_prefix(1);
        std::string folded(key);
        for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (!key.empty() && folded.rfind("software\\veltrano", 0) != 0) keys.insert({root, std::string(key)});
    };
    for (const tips::GroupDisplay& g : tips::kGroupDisplay) {
        const auto& t = tips::group_tables(g.group);
        for (const auto& w : t.writes) add(w.root, w.key);
        for (const auto& r : t.restore) add(r.root, r.key);
        for (const auto& f : t.flags) add(f.root, f.key);
    }
    for (const auto& m : tips::kMessengerRecords) add(m.root, m.key);
    add(platform::Root::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces");
    return keys;
}

// Values of others in every key the tips touch, of the kinds people keep
// there: a regedit favourite, another Messenger policy, namespace keys with
// values and subkeys, an expandable registration.
inline void place_extras(platform::Registry& reg) {
    using platform::RegValue;
    using platform::Root;
    for (const auto& [root, key] : touched_keys())
        if (auto k = reg.open(root, key, false)) k->set("KeptByOthers", RegValue::expand_string("%TEMP%\\kept"));
    auto put = [&](Root root, const std::string& key, const std::string& name, const RegValue& v) {
        reg.open(root, key, true)->set(name, v);
    };
    put(Root::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit\\Favorites", "Dns",
        RegValue::string("My Computer\\HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Dnscache"));
    put(Root::LocalMachine, "Software\\Policies\\Microsoft\\Messenger\\Client", "PreventAutoRun", RegValue::number(1));
    const std::string ns = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
    for (const std::string& key : {ns + "RemoteComputer\\NameSpace\\{D6277990-4C6A-11CF-8D87-00AA0060F5BF}",
                                  ns + "MyComputer\\NameSpace\\DelegateFolders\\{59031a47-3f72-44a7-89c5-5595fe6b30ee}",
                                  ns + "Desktop\\NameSpace\\{645FF040-5081-101B-9F08-00AA002F954E}"}) {
        put(Root::LocalMachine, key, "", RegValue::string("Shell folder"));
        put(Root::LocalMachine, key + "\\ShellFolder", "Attributes", RegValue::binary({0x40, 0x01, 0x00, 0x20}));
        put(Root::LocalMachine, key + "\\DefaultIcon", "", RegValue::expand_string("%SystemRoot%\\System32\\shell32.dll,31"));
    }
    put(Root::ClassesRoot, "CLSID\\{F3A614DC-ABE0-11d2-A441-00C04F795683}\\InProcServer32", "",
        RegValue::expand_string("%ProgramFiles%\\Messenger\\msgsc.dll"));
}

}  // namespace veltrano::fakes
