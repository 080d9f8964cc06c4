// Profiles and the command line against the in-memory machine: what a
// profile file may hold, what the window's Load and Save do with it, and
// the command line's exit codes with what they promise of the registry.
#include "core/error.h"
#include "core/tip_state_store.h"
#include "shell/command_line.h"
#include "support/catalogue_fixture.h"
#include "support/fake_writer_gate.h"
#include "tips/profile.h"
#include "tips/reg_export.h"
#include "tips/verify.h"
#include "platform/what_if_registry.h"
#include "support/reg_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <numeric>

using namespace veltrano;
using platform::RegValue;
using platform::Root;
using testing::AllOf;
using testing::ElementsAre;
using testing::HasSubstr;

namespace {

std::vector<std::uint8_t> bytes(std::string_view text) { return {text.begin(), text.end()}; }

const std::string kPath = "C:\\profiles\\room12.txt";

class RecordingConsole : public shell::Console {
public:
    void say(const std::string& line) override { lines += line + "\n"; }
    std::string lines;
};

// Every key and value of the in-memory machine, the program's own records included.
using Snapshot = std::map<std::string, std::map<std::string, RegValue>>;
void walk(platform::Registry& reg, Root root, const std::string& path, Snapshot& out) {
    auto key = reg.open(root, path, false);
    if (!key) return;
    auto& values = out[std::string(platform::root_name(root)) + "\\" + path];
    for (const auto& name : key->value_names()) values[name] = *key->query(name);
    for (const auto& sub : key->subkey_names()) walk(reg, root, path.empty() ? sub : path + "\\" + sub, out);
}
Snapshot snapshot(platform::Registry& reg) {
    Snapshot out;
    for (Root root : platform::kAllRoots) walk(reg, root, "", out);
    return out;
}

class Profiles : public fakes::CatalogueFixture {
protected:
    void SetUp() override {
        // What the tips of these tests write into, as on a stock XP.
        reg.open(Root::LocalMachine, "\\SYSTEM\\CurrentControlSet\\Services\\Dnscache\\Parameters", true);
        reg.open(Root::CurrentUser, "\\Control Panel\\Desktop", true);
        reg.open(Root::CurrentUser, "\\Control Panel\\PowerCfg", true);
        reg.open(Root::LocalMachine, "\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management", true);
        // Tips that count as applied while something is absent: present here.
        for (const char* key : {"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RemoteComputer\\NameSpace\\"
                                "{D6277990-4C6A-11CF-8D87-00AA0060F5BF}",
                                "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\"
                                "DelegateFolders\\{59031a47-3f72-44a7-89c5-5595fe6b30ee}",
                                "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\"
                                "{645FF040-5081-101B-9F08-00AA002F954E}",
                                "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Desktop\\NameSpace\\"
                                "{645FF040-5081-101B-9F08-00AA002F954E}"})
            reg.open(Root::LocalMachine, key, true);
        reg.put(Root::CurrentUser, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit", "LastKey",
                RegValue::string("HKEY_LOCAL_MACHINE"));
    }
    int run(std::vector<std::string> args) {
        return shell::run_arguments(args, invocation, {reg, time, files, ansi, gate}, console);
    }
    std::string file(const std::string& path) {
        const auto& bytes = files.files.at(path);
        return {bytes.begin(), bytes.end()};
    }
    bool flagged(int tip) {
        return reg.get(Root::LocalMachine, core::kStateKeyBase + core::tip_key(tip), core::kAppliedFlag) ==
               RegValue::number(1);
    }
    bool checked(int tip) { return widgets.is_checked(tips::tip_display(tip).check_box); }
    RecordingConsole console;
    fakes::FakeWriterGate gate;
    shell::Invocation invocation{"veltrano /apply room12.txt", "TUNEBOX", "ann"};
};

// ---- the file format

const fakes::FakeAnsiText kAnsi;

TEST(ProfileFormat, TakesCommentsBlanksCaptionsAndLineEndsOfEveryKind) {
    const std::string text =
        "\xEF\xBB\xBF# room 12\r\n"
        "\r\n"
        "TIP0017  Increase MFT size to 25%\r\n"
        "   tip0001\t# the caption may be left out\n"
        "Tip0040  a caption that is not the catalogue's\r"
        "TIP0010\r"
        "\r"
        "TIP0048\x1A"
        "TIP0002 after the end of the file\r\n";
    EXPECT_THAT(tips::parse_profile(kPath, bytes(text), kAnsi), ElementsAre(1, 10, 17, 40, 48));
}

// As XP's Notepad saves it on a French machine: the comment in the ANSI code page.
TEST(ProfileFormat, BytesThatAreNotUtf8AreReadInTheAnsiCodePage) {
    EXPECT_THAT(tips::parse_profile(kPath, bytes("# Salle 12, \xE9tage 2\r\nTIP0013\r\n"), kAnsi), ElementsAre(13));
    // Line numbers count CR alone as a line end too.
    try {
        tips::parse_profile(kPath, bytes("TIP0001\rTIP0002\r\xE9tage\r"), kAnsi);
        ADD_FAILURE() << "a line that is no tip line was taken";
    } catch (const core::VeltranoError& e) {
        EXPECT_THAT(e.what(), HasSubstr(kPath + ", line 3: not a tip line"));
    }
}

TEST(ProfileFormat, WhatIsSavedReadsBackAsTheSameTips) {
    const std::vector<int> all = {1, 5, 7, 8, 12, 13, 30, 31, 34, 41, 48};
    const std::string text = tips::format_profile(all, "test");
    EXPECT_EQ(tips::parse_profile(kPath, bytes(text), kAnsi), all);
    EXPECT_THAT(text, HasSubstr("TIP0013  Disable Paging Executive\r\n"));
}

struct BadProfile {
    const char* what;
    std::string text;
    int line;
    const char* says;
};

class BadProfiles : public Profiles, public testing::WithParamInterface<BadProfile> {};

INSTANTIATE_TEST_SUITE_P(
    Profiles, BadProfiles,
    testing::Values(BadProfile{"unknown tip", "TIP0001\nTIP0049  time servers\n", 2, "there is no tip TIP0049"},
                    BadProfile{"tip zero", "# x\nTIP0000\n", 2, "there is no tip TIP0000"},
                    BadProfile{"not a tip line", "TIP0001\n\nSet-ItemProperty foo\n", 3, "not a tip line"},
                    BadProfile{"name run into the caption", "TIP0001Boost\n", 1, "not a tip line"},
                    BadProfile{"empty", "", 1, "the profile names no tip"},
                    BadProfile{"comments only", "# room 12\r\n\r\n# TIP0001\r\n", 4, "the profile names no tip"},
                    BadProfile{"duplicate", "TIP0008\nTIP0009\nTIP0008  again\n", 3, "(first on line 1)"},
                    BadProfile{"a NUL late in the file", std::string("TIP0001\nTIP0002\nTIP0003\0\n", 25), 3, "not a text file"},
                    BadProfile{"a NUL between two tips", std::string("TIP0006\0TIP0013", 15), 1, "not a text file"},
                    BadProfile{"UTF-16", std::string("\xFF\xFET\0I\0P\0", 8), 1, "not a text file"}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

// Checked where a script meets it: the command line refuses with exit code
// 2, names the file and the line, and the registry stays exactly as it was.
TEST_P(BadProfiles, CommandLineRefusesNamingTheLineAndChangesNothing) {
    files.files[kPath] = bytes(GetParam().text);
    const Snapshot before = snapshot(reg);
    EXPECT_EQ(run({"/apply", kPath, "/log", "C:\\log.txt"}), shell::kExitBadInput);
    EXPECT_THAT(console.lines, HasSubstr(kPath + ", line " + std::to_string(GetParam().line) + ": "));
    EXPECT_THAT(console.lines, HasSubstr(GetParam().says));
    EXPECT_EQ(snapshot(reg), before);
    // The log is all a start-up script leaves: who ran what, the refusal, the end.
    const std::string logged = file("C:\\log.txt");
    EXPECT_THAT(logged, testing::StartsWith("2026-12-07 08:00:00  Veltrano started on TUNEBOX by ann: veltrano /apply"));
    EXPECT_THAT(logged, AllOf(HasSubstr("  " + kPath + ", line " + std::to_string(GetParam().line) + ": "),
                              HasSubstr(GetParam().says)));
    EXPECT_THAT(logged, testing::EndsWith("  Exit code 2: bad arguments, profile or file; nothing was changed\r\n"));
}

TEST_F(Profiles, AProfileThatCannotBeReadIsRefusedSayingWhy) {
    files.folders.insert("C:\\profiles");
    files.drives["Q:\\"] = platform::DriveType::NoRootDir;
    const Snapshot before = snapshot(reg);
    for (const auto& [path, why] : {std::pair{"C:\\nowhere.txt", "there is no such file"},
                                    std::pair{"C:\\profiles", "this is a folder, not a file"},
                                    std::pair{"Q:\\room12.txt", "there is no drive Q:"},
                                    std::pair{"C:\\profiles\\nul.txt", "the name NUL stands for a device, not a file"},
                                    std::pair{"com1", "the name COM1 stands for a device, not a file"}}) {
        EXPECT_EQ(run({"/apply", path}), shell::kExitBadInput);
        EXPECT_THAT(console.lines, HasSubstr(std::string(path) + ", line 1: " + why));
    }
    EXPECT_EQ(snapshot(reg), before);
}

// ---- in the window

TEST_F(Profiles, LoadTicksExactlyTheProfilesTipsNotAppliedYetOnEveryPage) {
    store.check_for_previous_install();
    reg.put(Root::LocalMachine, core::kStateKeyBase + "TIP0009", core::kAppliedFlag, RegValue::number(1));
    for (int tip : {2, 13, 31}) widgets.set_checked(tips::tip_display(tip).check_box, true);
    network.refresh();
    files.files[kPath] = bytes("TIP0001\nTIP0009\nTIP0012\nTIP0040\n");
    dialogs.profile_path = kPath;
    network.load_profile();
    // The page the button was on at once; the others when they are shown,
    // as a page not drawn yet has no boxes.
    EXPECT_TRUE(checked(1));
    EXPECT_FALSE(checked(2));
    power.refresh();
    system.refresh();
    customization.refresh();
    EXPECT_TRUE(checked(12));
    EXPECT_TRUE(checked(9));  // applied already: its box is disabled and reads as checked
    EXPECT_FALSE(widgets.is_enabled(tips::tip_display(9).check_box));
    EXPECT_FALSE(checked(13));
    EXPECT_TRUE(checked(40));
    EXPECT_FALSE(checked(31));
    EXPECT_THAT(log.lines, testing::Contains(HasSubstr("3 tips ticked on the four pages, 1 applied already")));
}

TEST_F(Profiles, LoadOfABadProfileTicksNothingAndSaysWhere) {
    widgets.set_checked(tips::tip_display(3).check_box, true);
    files.files[kPath] = bytes("TIP0001\nTIP0001\n");
    dialogs.profile_path = kPath;
    try {
        network.load_profile();
        ADD_FAILURE() << "a duplicate was taken";
    } catch (const core::VeltranoError& e) {
        EXPECT_THAT(e.what(), HasSubstr(kPath + ", line 2: "));
    }
    network.refresh();
    EXPECT_TRUE(checked(3));
    EXPECT_FALSE(checked(1));
}

TEST_F(Profiles, SaveWritesTheTipsAppliedNowAndCancelWritesNothing) {
    store.check_for_previous_install();
    for (int tip : {1, 10}) widgets.set_checked(tips::tip_display(tip).check_box, true);
    network.apply();
    power.apply();
    network.save_profile();
    EXPECT_TRUE(files.files.empty());
    dialogs.profile_path = kPath;
    network.save_profile();
    EXPECT_THAT(tips::parse_profile(kPath, files.files.at(kPath), kAnsi), ElementsAre(1, 10));
}

// ---- the command line

TEST_F(Profiles, ApplyRecordsAndWritesThroughTheEngineAndLogsWithDateAndTime) {
    files.files[kPath] = bytes("TIP0001\nTIP0008\nTIP0013\nTIP0033\n");
    ASSERT_EQ(run({"/APPLY", kPath, "/log", "C:\\log.txt"}), shell::kExitDone) << console.lines;
    for (int tip : {1, 8, 13, 33}) EXPECT_TRUE(flagged(tip)) << tip;
    EXPECT_FALSE(flagged(2));
    EXPECT_EQ(reg.get(Root::LocalMachine, core::kStateKeyBase + "TIP0001\\OLD_VALUES", "REGPATH_for_CacheHashTableSize"),
              RegValue::string("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Dnscache\\Parameters"));
    // The window would offer the groups to Undo.
    EXPECT_EQ(reg.get(Root::LocalMachine, core::kStateKeyBase, std::string(core::kPowerUndone.name)), RegValue::number(0));
    const std::string logged(files.files.at("C:\\log.txt").begin(), files.files.at("C:\\log.txt").end());
    EXPECT_THAT(logged, HasSubstr("2026-12-07 08:00:00  Starting the process of boosting CacheHashTableSize\r\n"));

    // Again: nothing left to apply, and the log grows.
    EXPECT_EQ(run({"/apply", kPath, "/log", "C:\\log.txt"}), shell::kExitDone);
    EXPECT_THAT(console.lines, HasSubstr("Applied 0 tips; 4 of the profile were in effect already."));
    EXPECT_GT(files.files.at("C:\\log.txt").size(), logged.size());
}

TEST_F(Profiles, ATipThatDoesNotTakeGivesExitCodeOneAndTheOthersStillApply) {
    // Tip 2 writes only into a key that exists; here it does not.
    files.files[kPath] = bytes("TIP0002\nTIP0010\n");
    EXPECT_EQ(run({"/apply", kPath}), shell::kExitSomeNotApplied);
    EXPECT_FALSE(flagged(2));
    EXPECT_TRUE(flagged(10));
    EXPECT_THAT(console.lines, HasSubstr("Not applied: TIP0002"));
}

TEST_F(Profiles, RecordsWindowsRefusesGiveExitCodeThreeAndChangeNothing) {
    files.files[kPath] = bytes("TIP0010\n");
    reg.deny(Root::LocalMachine, "SOFTWARE");
    const Snapshot before = snapshot(reg);
    EXPECT_EQ(run({"/apply", kPath, "/log", "C:\\log.txt"}), shell::kExitRecordsRefused);
    EXPECT_EQ(run({"/undo", "all"}), shell::kExitRecordsRefused);
    EXPECT_EQ(snapshot(reg), before);
    EXPECT_THAT(file("C:\\log.txt"), AllOf(HasSubstr("  Windows refuses Veltrano's records"),
                                            testing::EndsWith("  Exit code 3: Windows refused Veltrano's records (not an "
                                                              "administrator); nothing was changed\r\n")));
    // Arguments that make no command still reach the log they name.
    EXPECT_EQ(run({"/apply", kPath, "/frobnicate", "/log", "C:\\bad.txt"}), shell::kExitBadInput);
    EXPECT_THAT(file("C:\\bad.txt"), AllOf(HasSubstr("veltrano: unknown switch /frobnicate"), HasSubstr("Exit code 2")));
}

// Each append kept apart, as a run ended between two leaves them.
class AppendsKeptApart : public fakes::FakeFileSystem {
public:
    bool append_file(const std::string& path, const std::vector<std::uint8_t>& bytes) override {
        if (!bytes.empty()) appends.emplace_back(bytes.begin(), bytes.end());
        return FakeFileSystem::append_file(path, bytes);
    }
    std::size_t first_holding(std::string_view text) const {
        for (std::size_t i = 0; i < appends.size(); ++i)
            if (appends[i].find(text) != std::string::npos) return i;
        return appends.size();
    }
    std::vector<std::string> appends;
};

TEST_F(Profiles, TheLogGrowsTipByTipEveryLineDatedAndTheFirstRunSetUpLeftOut) {
    AppendsKeptApart disk;
    disk.files[kPath] = bytes("TIP0001\nTIP0010\nTIP0013\n");
    const std::vector<std::string> args = {"/apply", kPath, "/log", "C:\\log.txt"};
    ASSERT_EQ(shell::run_arguments(args, invocation, {reg, time, disk, ansi, gate}, console), shell::kExitDone);
    EXPECT_EQ(disk.first_holding("Veltrano started on TUNEBOX by ann"), 0u);
    EXPECT_LT(disk.first_holding("boosting CacheHashTableSize"), disk.first_holding("Setting flag for TIP0010"));
    EXPECT_LT(disk.first_holding("Setting flag for TIP0010"), disk.first_holding("Setting flag for TIP0013"));
    EXPECT_EQ(disk.first_holding("Setting LASTDATE for TIP0048"), disk.appends.size());
    const std::string logged(disk.files.at("C:\\log.txt").begin(), disk.files.at("C:\\log.txt").end());
    for (const char* line : {"  TIP0001 applied\r\n", "  TIP0010 applied\r\n", "  Exit code 0: done\r\n"})
        EXPECT_THAT(logged, HasSubstr(line));
    for (std::size_t at = 0; at < logged.size(); at = logged.find("\r\n", at) + 2)
        ASSERT_EQ(logged.compare(at, 21, "2026-12-07 08:00:00  "), 0) << logged.substr(at, 80);
}

TEST_F(Profiles, GivingUpOnAnotherVeltranoIsExitCodeFourLoggedAndChangesNothing) {
    files.files[kPath] = bytes("TIP0010\n");
    gate.held_elsewhere = true;
    const Snapshot before = snapshot(reg);
    EXPECT_EQ(run({"/apply", kPath, "/log", "C:\\log.txt"}), shell::kExitWaitedTooLong);
    EXPECT_THAT(gate.waits, ElementsAre(0u, tips::kScriptWriterWaitMs));
    EXPECT_EQ(snapshot(reg), before);
    EXPECT_THAT(file("C:\\log.txt"),
                AllOf(HasSubstr("  Waiting for another Veltrano"), HasSubstr("  Gave up waiting"),
                      testing::EndsWith("  Exit code 4: another Veltrano was still at work after five minutes; nothing "
                                        "was changed\r\n")));
}

TEST_F(Profiles, SaveOrExportIntoAFileThatCannotBeWrittenLeavesANeverRunMachineWithoutRecords) {
    files.can_write = false;
    const Snapshot before = snapshot(reg);
    EXPECT_EQ(run({"/save", "C:\\room12.txt"}), shell::kExitBadInput);
    EXPECT_EQ(run({"/export-reg", "C:\\"}), shell::kExitBadInput);
    EXPECT_THAT(console.lines, HasSubstr("The .reg file could not be written to C:\\. Nothing was changed."));
    EXPECT_EQ(snapshot(reg), before);
}

TEST_F(Profiles, VerifyNamesWhatDriftedApplyMendsItAndUndoStillGivesBackTheOriginal) {
    const std::string dns = "\\SYSTEM\\CurrentControlSet\\Services\\Dnscache\\Parameters";
    reg.put(Root::LocalMachine, dns, "CacheHashTableSize", RegValue::number(200));
    files.files[kPath] = bytes("TIP0001\nTIP0013\n");
    ASSERT_EQ(run({"/apply", kPath}), shell::kExitDone);
    EXPECT_EQ(run({"/verify", kPath}), shell::kExitDone);
    reg.put(Root::LocalMachine, dns, "CacheHashTableSize", RegValue::number(100));
    console.lines.clear();
    EXPECT_EQ(run({"/verify"}), shell::kExitSomeNotApplied);  // the tips recorded as applied
    EXPECT_THAT(console.lines, HasSubstr("TIP0001 not in effect: HKEY_LOCAL_MACHINE" + dns +
                                         "\\CacheHashTableSize holds 100 (REG_DWORD); the tip writes 384 (REG_DWORD)\n"));
    EXPECT_THAT(console.lines, HasSubstr("1 of 2 tips in effect."));
    EXPECT_EQ(run({"/apply", kPath}), shell::kExitDone);
    EXPECT_THAT(console.lines, HasSubstr("Applied 1 tips; 1 of the profile were in effect already."));
    EXPECT_EQ(run({"/verify", kPath}), shell::kExitDone);
    ASSERT_EQ(run({"/undo", "network", "/previous"}), shell::kExitDone);
    EXPECT_EQ(reg.get(Root::LocalMachine, dns, "CacheHashTableSize"), RegValue::number(200));
}

TEST_F(Profiles, WhatIfTellsEveryChangeOfApplyAndUndoAndMakesNone) {
    files.files[kPath] = bytes("TIP0001\nTIP0034\n");
    const std::string dns = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Dnscache\\Parameters";
    const std::string bin = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Desktop\\"
                            "NameSpace\\{645FF040-5081-101B-9F08-00AA002F954E}";
    Snapshot before = snapshot(reg);
    EXPECT_EQ(run({"/apply", kPath, "/whatif"}), shell::kExitDone);
    EXPECT_EQ(snapshot(reg), before);  // the first run's records included
    EXPECT_THAT(console.lines, HasSubstr("Would write " + dns + "\\CacheHashTableSize = 384 (REG_DWORD) (now absent)\n"));
    EXPECT_THAT(console.lines, HasSubstr("Would delete key " + bin + "\n"));
    EXPECT_THAT(console.lines, HasSubstr("Would apply 2 tips;"));

    ASSERT_EQ(run({"/apply", kPath}), shell::kExitDone);
    before = snapshot(reg);
    console.lines.clear();
    EXPECT_EQ(run({"/undo", "all", "/previous", "/whatif"}), shell::kExitDone);
    EXPECT_EQ(snapshot(reg), before);
    EXPECT_THAT(console.lines, HasSubstr("Would delete " + dns + "\\CacheHashTableSize (now 384 (REG_DWORD))\n"));
    EXPECT_THAT(console.lines, HasSubstr("Would create key " + bin + "\n"));
}

// A machine start-up script runs as the system account, whose own settings
// nobody sees.
TEST_F(Profiles, AsTheSystemAccountPerUserTipsAreSkippedNamedAndNotRecorded) {
    invocation.system_account = true;
    files.files[kPath] = bytes("TIP0010\nTIP0013\n");
    EXPECT_EQ(run({"/apply", kPath, "/log", "C:\\log.txt"}), shell::kExitSomeNotApplied);
    EXPECT_TRUE(flagged(13));
    EXPECT_FALSE(flagged(10));
    EXPECT_EQ(reg.get(Root::CurrentUser, "\\Control Panel\\Desktop", "AutoEndTasks"), std::nullopt);
    EXPECT_THAT(file("C:\\log.txt"), HasSubstr("  TIP0010 skipped: it changes the settings of the account that runs it"));
}

TEST_F(Profiles, ListGivesEveryTipOnATabSeparatedLine) {
    files.files[kPath] = bytes("TIP0013\n");
    ASSERT_EQ(run({"/apply", kPath}), shell::kExitDone);
    console.lines.clear();
    ASSERT_EQ(run({"/list"}), shell::kExitDone);
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = console.lines.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(console.lines.substr(at, end - at));
    ASSERT_EQ(lines.size(), 48u);
    EXPECT_EQ(lines[12], "TIP0013\tsystem\tapplied\tin effect\tDisable Paging Executive");
    EXPECT_EQ(lines[33].substr(0, 38), "TIP0034\tcustomization\tnot applied\tnot ");
    for (const std::string& line : lines) EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 4) << line;
}

// The dry run's registry reads as the machine would after the same work,
// and leaves the machine as it was: the whole catalogue applied, then undone
// both ways, on it and for real on a twin.
TEST(WhatIfRegistry, ReadsAsTheMachineWouldAfterTheSameWorkAndChangesNothing) {
    fakes::MemoryRegistry machine, twin;
    ASSERT_TRUE(fakes::load_reg_file(machine, VELTRANO_MACHINE_REG));
    ASSERT_TRUE(fakes::load_reg_file(twin, VELTRANO_MACHINE_REG));
    const Snapshot before = snapshot(machine);
    int told = 0;
    platform::WhatIfRegistry what_if(machine, [&](const platform::RegistryChange&) { ++told; });
    auto work = [](platform::Registry& reg, const std::function<void()>& stage) {
        fakes::FakeTime time;
        fakes::MemoryLog log;
        core::RegistryPrimitives primitives(reg, log);
        core::TipStateStore store(primitives, time, tips::flag_rows());
        tips::TipServices tip_services{primitives, store, time};
        store.check_for_previous_install();
        std::vector<int> all(tips::kTipCount);
        std::iota(all.begin(), all.end(), 1);
        tips::apply_tips(tip_services, all);
        stage();
        const tips::GroupUndo groups[] = {{tips::Group::Network, false}, {tips::Group::Customization, true}};
        tips::undo_groups(tip_services, groups);
        stage();
    };
    std::vector<Snapshot> dry, real;
    work(what_if, [&] { dry.push_back(snapshot(what_if)); });
    work(twin, [&] { real.push_back(snapshot(twin)); });
    EXPECT_EQ(dry, real);
    EXPECT_EQ(snapshot(machine), before);
    EXPECT_GT(told, 100);
}

TEST_F(Profiles, SaveAndUndoFromTheCommandLine) {
    files.files[kPath] = bytes("TIP0010\nTIP0033\n");
    ASSERT_EQ(run({"/apply", kPath}), shell::kExitDone);
    ASSERT_EQ(run({"/save", "C:\\saved.txt"}), shell::kExitDone);
    EXPECT_THAT(tips::parse_profile("saved", files.files.at("C:\\saved.txt"), kAnsi), ElementsAre(10, 33));
    ASSERT_EQ(run({"/undo", "power,", "customization", "/previous"}), shell::kExitDone);
    EXPECT_FALSE(flagged(10));
    EXPECT_FALSE(flagged(33));
    EXPECT_EQ(reg.get(Root::LocalMachine, core::kStateKeyBase, std::string(core::kPowerUndone.name)), RegValue::number(2));
    EXPECT_EQ(reg.get(Root::LocalMachine, core::kStateKeyBase, std::string(core::kNetworkUndone.name)), std::nullopt);
}

// ---- one rule for "applied", kept through drift and odd values

// A machine never run on which the administrator left a value of another type
// than a tip writes: the first run still sets up every other tip.
TEST_F(Profiles, AnOddlyTypedValueOfAnotherTipNeverStopsAFirstRun) {
    reg.put(Root::CurrentUser, "\\Control Panel\\Desktop", "AutoEndTasks", RegValue::number(1));
    files.files[kPath] = bytes("TIP0013\n");
    EXPECT_EQ(run({"/apply", kPath, "/log", "C:\\log.txt"}), shell::kExitDone);
    EXPECT_TRUE(flagged(13));
    EXPECT_FALSE(flagged(10));
    EXPECT_THAT(file("C:\\log.txt"), HasSubstr("  TIP0010 is taken as not applied: Invalid data type for 'AutoEndTasks'"));
}

TEST_F(Profiles, AnAppliedTipThatDriftedStaysRecordedUntilMendedOrUndone) {
    const std::string memory = "\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
    files.files[kPath] = bytes("TIP0013\n");
    ASSERT_EQ(run({"/apply", kPath}), shell::kExitDone);
    // What reg add writes without /t.
    reg.put(Root::LocalMachine, memory, "DisablePagingExecutive", RegValue::string("1"));
    console.lines.clear();
    EXPECT_EQ(run({"/apply", kPath}), shell::kExitSomeNotApplied);
    EXPECT_THAT(console.lines, HasSubstr("Invalid data type for 'DisablePagingExecutive'.\n"));
    EXPECT_THAT(console.lines, testing::Not(HasSubstr("not reached")));
    EXPECT_TRUE(flagged(13));
    console.lines.clear();
    EXPECT_EQ(run({"/verify"}), shell::kExitSomeNotApplied);
    EXPECT_THAT(console.lines, HasSubstr("TIP0013 not in effect: "));

    reg.put(Root::LocalMachine, memory, "DisablePagingExecutive", RegValue::number(0));
    EXPECT_EQ(run({"/apply", kPath}), shell::kExitDone);
    EXPECT_EQ(run({"/verify"}), shell::kExitDone);
    ASSERT_EQ(run({"/undo", "system", "/previous"}), shell::kExitDone);
    EXPECT_EQ(reg.get(Root::LocalMachine, memory, "DisablePagingExecutive"), std::nullopt) << "the original, absent";
}

TEST_F(Profiles, UndoLeavesAGroupWithNoAppliedTipAloneAndSaysSo) {
    const std::string lanman = "\\SYSTEM\\CurrentControlSet\\Services\\LanmanWorkstation\\Parameters";
    reg.put(Root::LocalMachine, lanman, "MaxCmds", RegValue::number(50));  // the administrator's own
    files.files[kPath] = bytes("TIP0010\n");
    ASSERT_EQ(run({"/apply", kPath}), shell::kExitDone);
    console.lines.clear();
    for (const bool previous : {false, true}) {
        EXPECT_EQ(run(previous ? std::vector<std::string>{"/undo", "network", "/previous"}
                               : std::vector<std::string>{"/undo", "network"}),
                  shell::kExitSomeNotApplied);
        EXPECT_EQ(reg.get(Root::LocalMachine, lanman, "MaxCmds"), RegValue::number(50));
    }
    EXPECT_THAT(console.lines, HasSubstr("Network: no tip of this group is applied; nothing was undone.\n"));
    EXPECT_THAT(console.lines, testing::Not(HasSubstr("Undone")));
    EXPECT_EQ(run({"/undo", "network,power"}), shell::kExitDone);
    EXPECT_THAT(console.lines, HasSubstr("Undone: Power, to the factory defaults."));
    EXPECT_EQ(reg.get(Root::LocalMachine, lanman, "MaxCmds"), RegValue::number(50));
}

TEST_F(Profiles, UndoOfTipsTakesBackThoseAloneAndSaysWhichWereNotApplied) {
    files.files[kPath] = bytes("TIP0013\nTIP0015\n");
    ASSERT_EQ(run({"/apply", kPath}), shell::kExitDone);
    const Snapshot applied = snapshot(reg);
    EXPECT_EQ(run({"/undo", "TIP0014"}), shell::kExitSomeNotApplied);
    EXPECT_EQ(run({"/undo", "tip0013,TIP0014", "/whatif"}), shell::kExitDone);
    EXPECT_EQ(snapshot(reg), applied);
    EXPECT_THAT(console.lines, AllOf(HasSubstr("TIP0014 is not applied; nothing was undone for it."),
                                     HasSubstr("Would undo: TIP0013, to the factory defaults.")));
    ASSERT_EQ(run({"/undo", "TIP0013", "/log", "C:\\undo.log"}), shell::kExitDone);
    EXPECT_THAT(file("C:\\undo.log"), AllOf(HasSubstr("TIP0013 is being undone alone"), HasSubstr("Exit code 0: done")));
    EXPECT_TRUE(store.is_applied(15));
}

// Tips 11 (power) and 46 (customization) write into one key that neither
// finds: whichever is undone last, either way, takes away what the first
// one made.
class SharedKey : public Profiles, public testing::WithParamInterface<std::vector<std::vector<std::string>>> {};

TEST_P(SharedKey, UndoEitherWayTakesAwayTheKeysTheTipsMade) {
    const std::string version = "Software\\Microsoft\\Windows\\CurrentVersion";
    reg.open(Root::CurrentUser, version, true);
    files.files[kPath] = bytes("TIP0011\nTIP0046\n");
    ASSERT_EQ(run({"/apply", kPath}), shell::kExitDone);
    ASSERT_TRUE(reg.key_exists(Root::CurrentUser, version + "\\Policies\\Explorer"));
    for (const auto& undo : GetParam()) ASSERT_EQ(run(undo), shell::kExitDone);
    EXPECT_FALSE(reg.key_exists(Root::CurrentUser, version + "\\Policies"));
    EXPECT_TRUE(reg.key_exists(Root::CurrentUser, version));
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, SharedKey,
    testing::Values(std::vector<std::vector<std::string>>{{"/undo", "all", "/previous"}},
                    std::vector<std::vector<std::string>>{{"/undo", "customization", "/previous"},
                                                          {"/undo", "power", "/previous"}},
                    std::vector<std::vector<std::string>>{{"/undo", "all"}},
                    std::vector<std::vector<std::string>>{{"/undo", "power"}, {"/undo", "customization"}}));

TEST_F(Profiles, SaveExportListAndVerifyAgreeOnAMachineNeverRun) {
    // Tip 40 is in effect, never applied.
    reg.open(Root::CurrentUser, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit", false)
        ->delete_value("LastKey");
    ASSERT_EQ(run({"/save", "C:\\saved.txt"}), shell::kExitDone);
    ASSERT_EQ(run({"/export-reg", "C:\\saved.reg"}), shell::kExitDone);
    ASSERT_EQ(run({"/verify"}), shell::kExitDone);
    ASSERT_EQ(run({"/list"}), shell::kExitDone);
    EXPECT_THAT(console.lines, AllOf(HasSubstr("Saved 0 applied tips"), HasSubstr("settings of 0 applied tips"),
                                     HasSubstr("No tip is recorded as applied"),
                                     HasSubstr("TIP0040\tcustomization\tnot applied\tin effect")));
    EXPECT_THAT(file("C:\\saved.reg"), testing::Not(HasSubstr("LastKey")));
}

TEST(DescribeValue, ShowsDataAsRegQueryDoesAndMarksItsType) {
    const std::vector<std::uint8_t> multi = {'a', 0, 0xE9, 0, 0, 0, 'b', 0, 0, 0, 0, 0};
    const std::vector<std::uint8_t> qword = {0x02, 0x01, 0, 0, 0, 0, 0, 0x10};
    EXPECT_EQ(tips::describe_value(RegValue::number(384)), "384 (REG_DWORD)");
    EXPECT_EQ(tips::describe_value(RegValue::binary({0x01, 0xAB, 0x00})), "01AB00 (REG_BINARY)");
    EXPECT_EQ(tips::describe_value(RegValue::other(7, multi)), "\"a\xC3\xA9\\0b\" (REG_MULTI_SZ)");
    EXPECT_EQ(tips::describe_value(RegValue::other(11, qword)), "0x1000000000000102 (REG_QWORD)");
}

// The window or the script's tool: as CommandLineToArgvW counts arguments
// (each line measured against it under Wine), without its cost at start.
TEST(CommandLineArguments, OnlyWhatFollowsTheProgramsNameCounts) {
    for (std::wstring_view line : {L"veltrano.exe", L"veltrano.exe  \t", L"\"C:\\Program Files\\v.exe\"",
                                   L"\"C:\\Program Files\\v.exe\" ", L"\"C:\\unclosed /apply x", L""})
        EXPECT_FALSE(shell::has_arguments(line)) << testing::PrintToString(std::wstring(line));
    for (std::wstring_view line : {L"veltrano.exe /?", L"veltrano.exe\t/apply a.txt", L"\"C:\\Program Files\\v.exe\"/?",
                                   L"\"C:\\Program Files\\v.exe\" \"\""})
        EXPECT_TRUE(shell::has_arguments(line)) << testing::PrintToString(std::wstring(line));
}

TEST(CommandLineArguments, WhatMakesNoCommand) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"/apply"},
        {"/apply", "/log", "x"},
        {"/apply", "a.txt", "/save", "b.txt"},
        {"/undo"},
        {"/undo", "network,everything"},
        {"/save", "a.txt", "/previous"},
        {"/log"},
        {"/frobnicate"},
        {"a.txt"},
        {"/save", "a.txt", "/whatif"},
        {"/whatif"},
        {"/verify", "a.txt", "b.txt"},
        {"/list", "/verify"},
        {"/list", "/whatif"},
        {"/verify", "/norestorepoint"},
        {"/save", "a.txt", "/norestorepoint"},
        {"/undo", "TIP17"},
        {"/undo", "TIP0049"},
        {"/undo", "TIP0017,network"},
        {"/undo", "TIP0017,TIPTOP1"},
    };
    for (const auto& args : bad) {
        std::string error;
        EXPECT_FALSE(shell::parse_command(args, error)) << testing::PrintToString(args);
        EXPECT_FALSE(error.empty());
    }
    std::string error;
    const auto undo = shell::parse_command(std::vector<std::string>{"-undo", "System,ALL", "/Previous"}, error);
    ASSERT_TRUE(undo);
    EXPECT_EQ(undo->groups.size(), 4u);
    EXPECT_TRUE(undo->to_previous);
    const auto tips = shell::parse_command(std::vector<std::string>{"/undo", "tip0020,TIP0017", "TIP0020"}, error);
    ASSERT_TRUE(tips);
    EXPECT_THAT(tips->tips, ElementsAre(17, 20));
    EXPECT_TRUE(tips->groups.empty());
}

}  // namespace

namespace {

// ---- the applied tips as a .reg file

TEST(RegExport, ValuesAsRegeditWritesThemDeletedKeysAndTheMachineDependentAsComments) {
    fakes::MemoryRegistry reg;
    const std::string dns = "\\SYSTEM\\CurrentControlSet\\Services\\Dnscache\\Parameters";
    reg.put(Root::LocalMachine, dns, "CacheHashTableBucketSize", RegValue::number(1));
    reg.put(Root::LocalMachine, dns, "CacheHashTableSize", RegValue::number(384));
    reg.put(Root::LocalMachine, dns, "MaxCacheEntryTtlLimit", RegValue::string("64000"));
    reg.put(Root::CurrentUser, "\\Control Panel\\PowerCfg", "CurrentPowerPolicy", RegValue::string("0"));
    const std::vector<int> chosen = {1, 3, 5, 8, 41};
    const std::string text = tips::reg_export_text(reg, chosen, "test");
    EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\r\n", 0), 0u);
    EXPECT_THAT(text, HasSubstr("\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Dnscache\\Parameters]\r\n"
                                "\"CacheHashTableBucketSize\"=dword:00000001\r\n"
                                "\"CacheHashTableSize\"=dword:00000180\r\n"));
    EXPECT_THAT(text, HasSubstr("[HKEY_CURRENT_USER\\Control Panel\\PowerCfg]\r\n\"CurrentPowerPolicy\"=\"0\"\r\n"));
    EXPECT_THAT(text, HasSubstr("\r\n[-HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
                                "RemoteComputer\\NameSpace\\{D6277990-4C6A-11CF-8D87-00AA0060F5BF}]\r\n"));
    EXPECT_THAT(text, HasSubstr("; TIP0003 is left out: it writes one value per network adapter"));
    EXPECT_THAT(text, HasSubstr("; TIP0041 is left out: it empties the Messenger registrations"));
    EXPECT_THAT(text, testing::Not(HasSubstr("PreventRun")));
    EXPECT_THAT(text, testing::Not(HasSubstr("MTU")));
    // What this machine does not hold as the tip writes it is not handed on.
    EXPECT_THAT(text, HasSubstr("; MaxCacheEntryTtlLimit (TIP0001) is left out: this machine does not hold it"));
    EXPECT_THAT(text, HasSubstr("; MaxSOACacheEntryTtlLimit (TIP0001) is left out"));
    const auto file = tips::reg_export_file(reg, chosen, "test");
    ASSERT_GE(file.size(), 4u);
    EXPECT_EQ(file[0], 0xFF);
    EXPECT_EQ(file[1], 0xFE);
    EXPECT_EQ(file.size(), 2 + 2 * text.size());
}

}  // namespace
