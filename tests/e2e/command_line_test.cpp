// veltrano.exe as a start-up script runs it: /apply, /undo, /save with their
// exit codes, against the real registry of the test prefix, and the window
// afterwards showing what the script did.
#include "temp_files.h"
#include "tips_session.h"

#include "e2e_environment.h"

#include <algorithm>
#include <map>

namespace veltrano::e2e {
namespace {

using namespace veltrano::driver;

const HKEY LM = HKEY_LOCAL_MACHINE;
const HKEY CU = HKEY_CURRENT_USER;
const HKEY USERS = HKEY_USERS;

// Every value below the keys the profile's tips touch, with type and data.
using Snapshot = std::map<std::wstring, std::pair<DWORD, std::vector<std::uint8_t>>>;
void walk(HKEY root, const std::wstring& path, Snapshot& out) {
    if (!key_exists(root, path)) return;
    out[path + L"\\"] = {};
    for (const std::wstring& name : value_names(root, path))
        if (auto v = read_value(root, path, name)) out[path + L"\\" + name] = {v->type, v->data};
    for (const std::wstring& sub : subkey_names(root, path)) walk(root, path + L"\\" + sub, out);
}
Snapshot touched_keys() {
    Snapshot out;
    for (const wchar_t* key : {L"SYSTEM\\CurrentControlSet\\Services\\Dnscache\\Parameters",
                               L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RemoteComputer\\NameSpace",
                               L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management",
                               L"SYSTEM\\CurrentControlSet\\Control\\FileSystem",
                               L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Desktop\\NameSpace",
                               L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace",
                               L"SOFTWARE\\Classes\\CLSID"})
        walk(LM, key, out);
    for (const wchar_t* key : {L"Control Panel\\Desktop", L"Control Panel\\PowerCfg"}) walk(CU, key, out);
    walk(USERS, L".DEFAULT\\Control Panel\\Desktop", out);
    return out;
}

// The entries that differ, one a line, for a readable failure.
std::wstring differences(const Snapshot& a, const Snapshot& b) {
    std::wstring out;
    for (const auto& [name, value] : a)
        if (auto it = b.find(name); it == b.end() || it->second != value) out += L"first only or changed: " + name + L"\n";
    for (const auto& [name, value] : b)
        if (!a.count(name)) out += L"second only: " + name + L"\n";
    return out;
}


// A profile with tips of every group, deletions of keys among them.
const std::vector<int> kProfileTips = {1, 5, 8, 10, 13, 17, 31, 34, 41};
std::string profile_text(const std::vector<int>& tips) {
    std::string text = "# every group\r\n\r\n";
    for (int tip : tips) {
        char name[8];
        std::snprintf(name, sizeof name, "TIP%04d", tip);
        text += std::string(name) + "  " + std::string(tips::tip_display(tip).caption) + "\r\n";
    }
    return text;
}

class CommandLine : public TipsSession {
protected:
    bool start_in_setup() const override { return false; }
    // The exit code; what the program printed lands in `output` when asked for.
    std::optional<DWORD> run(const std::vector<std::wstring>& args, std::string* output = nullptr) {
        const std::wstring printed = temp_file(L"printed.txt");
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE out = output ? CreateFileW(printed.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr)
                            : nullptr;
        ChildProcess script;
        const bool started = script.start(setting(L"VELTRANO_EXE"), args, out == INVALID_HANDLE_VALUE ? nullptr : out);
        if (out && out != INVALID_HANDLE_VALUE) CloseHandle(out);
        if (!started || !script.wait_for_exit()) return std::nullopt;
        if (output) *output = read_file(printed);
        return script.exit_code();
    }
};

TEST_F(CommandLine, ApplyOfEveryGroupShowsInTheWindowAndUndoPreviousGivesTheMachineBack) {
    const Snapshot before = touched_keys();
    const std::wstring profile = temp_file(L"every group.txt"), log = temp_file(L"apply.log");
    ASSERT_NO_FATAL_FAILURE(write_file(profile, profile_text(kProfileTips)));
    DeleteFileW(log.c_str());

    ASSERT_EQ(run({L"/apply", profile, L"/log", log}), std::optional<DWORD>(0));
    for (int tip : kProfileTips) EXPECT_EQ(tip_flag(tip), std::optional<DWORD>(1)) << "tip " << tip;
    EXPECT_EQ(tip_flag(2), std::optional<DWORD>(0));
    EXPECT_EQ(read_dword(LM, L"SYSTEM\\CurrentControlSet\\Services\\Dnscache\\Parameters", L"CacheHashTableSize"),
              std::optional<DWORD>(384));
    EXPECT_EQ(read_string(CU, L"Control Panel\\Desktop", L"AutoEndTasks"), std::optional<std::wstring>(L"1"));
    EXPECT_EQ(read_string(LM, tip_key(13) + L"\\OLD_VALUES", L"REGPATH_for_DisablePagingExecutive"),
              std::optional<std::wstring>(
                  L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management"));
    const std::string logged = read_file(log);
    EXPECT_NE(logged.find("  Starting the process of boosting CacheHashTableSize\r\n"), std::string::npos) << logged;

    // The window reads the same records: the tips show as applied.
    ASSERT_NO_FATAL_FAILURE(start());
    go(L"Network");
    EXPECT_FALSE(enabled(tip_box(1)));
    EXPECT_TRUE(enabled(tip_box(2)));
    go(L"Customize");
    EXPECT_FALSE(enabled(tip_box(34)));
    stop();

    ASSERT_EQ(run({L"/undo", L"all", L"/previous"}), std::optional<DWORD>(0));
    EXPECT_EQ(differences(touched_keys(), before), L"");
    for (int tip : {1, 8, 13, 31}) EXPECT_EQ(tip_flag(tip), std::optional<DWORD>(0)) << "tip " << tip;
}

TEST_F(CommandLine, UndoOfOneTipToThePreviousSettingsLeavesTheRestOfItsGroupApplied) {
    const std::wstring file_system = L"SYSTEM\\CurrentControlSet\\Control\\FileSystem";
    const auto mft_before = read_dword(LM, file_system, L"NtfsMftZoneReservation");
    const std::wstring profile = temp_file(L"system.txt");
    ASSERT_NO_FATAL_FAILURE(write_file(profile, profile_text({13, 17, 18})));
    ASSERT_EQ(run({L"/apply", profile}), std::optional<DWORD>(0));

    std::string printed;
    ASSERT_EQ(run({L"/undo", L"TIP0017", L"/previous"}, &printed), std::optional<DWORD>(0));
    EXPECT_NE(printed.find("Undone: TIP0017, to what the machine held before."), std::string::npos) << printed;
    EXPECT_EQ(read_dword(LM, file_system, L"NtfsMftZoneReservation"), mft_before);
    EXPECT_FALSE(key_exists(LM, tip_key(17) + L"\\ORIGINAL_VALUES"));
    EXPECT_EQ(tip_flag(17), std::optional<DWORD>(0));
    for (int tip : {13, 18}) EXPECT_EQ(tip_flag(tip), std::optional<DWORD>(1)) << "tip " << tip;
    EXPECT_EQ(read_dword(LM, file_system, L"NtfsDisable8dot3NameCreation"), std::optional<DWORD>(1));
    EXPECT_EQ(read_dword(LM, kStateBase, L"SystemOptionsUndone"), std::optional<DWORD>(0));
}

TEST_F(CommandLine, AProfileSavedFromTheWindowAppliesTheSameTipsOnAFreshMachine) {
    const std::wstring profile = temp_file(L"saved from the window.txt");
    DeleteFileW(profile.c_str());
    ASSERT_NO_FATAL_FAILURE(start());
    go(L"Power");
    for (int tip : {10, 12}) ASSERT_NO_FATAL_FAILURE(tick(tip));
    ASSERT_EQ(press_for_balloon(L"&Apply"), std::optional<std::wstring>(kApplied));
    std::vector<int> applied;
    for (int tip = 1; tip <= tips::kTipCount; ++tip)
        if (tip_flag(tip) == std::optional<DWORD>(1)) applied.push_back(tip);

    ASSERT_TRUE(click(control(L"Sa&ve profile...")));
    HWND save = find_top_window(L"Save profile", process_id());
    ASSERT_NE(save, nullptr);
    ASSERT_TRUE(set_text(find_control(save, Selector::parse(L"@Edit")), profile));
    ASSERT_TRUE(click(find_control(save, Selector::by_caption(L"Save"))));
    ASSERT_TRUE(wait_until([&] { return GetFileAttributesW(profile.c_str()) != INVALID_FILE_ATTRIBUTES; }));
    settle();

    // A fresh machine: what the tips wrote taken back, the fixture again, no records.
    TearDown();
    ASSERT_EQ(run({L"/undo", L"all", L"/previous"}), std::optional<DWORD>(0));
    SetUp();
    ASSERT_NE(read_string(CU, L"Control Panel\\Desktop", L"AutoEndTasks"), std::optional<std::wstring>(L"1"));
    ASSERT_EQ(run({L"/apply", profile}), std::optional<DWORD>(0));
    std::vector<int> applied_here;
    for (int tip = 1; tip <= tips::kTipCount; ++tip)
        if (tip_flag(tip) == std::optional<DWORD>(1)) applied_here.push_back(tip);
    EXPECT_EQ(applied_here, applied);
}

// What a machine without Veltrano gets from the file: reg.exe imports it on a
// freshly reset machine and every key the tips touch reads as on the machine
// that exported it.
TEST_F(CommandLine, ExportedRegFileGivesAFreshMachineTheSameSettings) {
    const std::wstring profile = temp_file(L"exportable.txt"), exported = temp_file(L"tips.reg");
    write_file(profile, profile_text({1, 3, 5, 8, 10, 13, 17, 31, 34}));
    DeleteFileW(exported.c_str());
    ASSERT_EQ(run({L"/apply", profile}), std::optional<DWORD>(0));
    ASSERT_EQ(run({L"/export-reg", exported}), std::optional<DWORD>(0));
    const Snapshot tuned = touched_keys();

    // A fresh machine: the values the tips wrote beside the fixture's own
    // keys taken back, then no records at all.
    ASSERT_EQ(run({L"/undo", L"all", L"/previous"}), std::optional<DWORD>(0));
    TearDown();
    SetUp();
    ASSERT_NE(touched_keys(), tuned);
    ASSERT_EQ(run_to_completion(native_reg_exe() + L" import \"" + exported + L"\" /reg:64"), std::optional<DWORD>(0));
    EXPECT_EQ(differences(touched_keys(), tuned), L"");

    const std::string bytes = read_file(exported);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    EXPECT_NE(text.find(L"; TIP0003 is left out: it writes one value per network adapter"), std::wstring::npos);
}

// The native tests go through every kind of bad profile; here the real exe's
// exit code, its log, and a machine never run before left without records.
TEST_F(CommandLine, RefusalsExitWithTwoSayWhyInTheLogAndChangeNothing) {
    const std::wstring profile = temp_file(L"bad.txt"), log = temp_file(L"refused.log");
    write_file(profile, "TIP0001\r\nTIP0013\r\nTIP0001  again\r\n");
    DeleteFileW(log.c_str());
    const Snapshot before = touched_keys();
    EXPECT_EQ(run({L"/apply", profile, L"/log", log}), std::optional<DWORD>(2));
    EXPECT_EQ(run({L"/apply"}), std::optional<DWORD>(2));
    std::wstring folder = temp_file(L"");
    folder.pop_back();
    EXPECT_EQ(run({L"/export-reg", folder}), std::optional<DWORD>(2));
    EXPECT_EQ(touched_keys(), before);
    EXPECT_FALSE(key_exists(LM, L"SOFTWARE\\VELTRANO"));
    const std::string logged = read_file(log);
    wchar_t machine[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    GetComputerNameW(machine, &length);
    const std::string first_line = logged.substr(0, logged.find("\r\n"));
    EXPECT_NE(first_line.find("  Veltrano started on " + std::string(machine, machine + length) + " by "), std::string::npos)
        << first_line;
    EXPECT_NE(first_line.find("/apply"), std::string::npos) << first_line;
    EXPECT_NE(logged.find("bad.txt, line 3: TIP0001 is named a second time (first on line 1)"), std::string::npos) << logged;
    EXPECT_NE(logged.find("  Exit code 2: bad arguments, profile or file; nothing was changed\r\n"), std::string::npos)
        << logged;
}

// A machine never run, with a value of another type than its tip writes, as
// reg add leaves it: the first run names that tip and applies the profile.
TEST_F(CommandLine, AnOddlyTypedValueNeverStopsAFirstRun) {
    const std::wstring profile = temp_file(L"t13.txt"), log = temp_file(L"odd.log");
    write_file(profile, "TIP0013\r\n");
    DeleteFileW(log.c_str());
    ASSERT_FALSE(key_exists(LM, L"SOFTWARE\\VELTRANO"));
    ASSERT_EQ(run_to_completion(native_reg_exe() +
                                L" add \"HKCU\\Control Panel\\Desktop\" /v AutoEndTasks /t REG_DWORD /d 1 /f"),
              std::optional<DWORD>(0));
    EXPECT_EQ(run({L"/apply", profile, L"/log", log}), std::optional<DWORD>(0));
    EXPECT_EQ(tip_flag(13), std::optional<DWORD>(1));
    EXPECT_EQ(tip_flag(10), std::optional<DWORD>(0));
    const std::string logged = read_file(log);
    EXPECT_NE(logged.find("  TIP0010 is taken as not applied: Invalid data type for 'AutoEndTasks'"), std::string::npos)
        << logged;
    EXPECT_NE(logged.find("  TIP0013 applied\r\n"), std::string::npos) << logged;
}

// As an administrator meets them: a profile saved as ANSI by an old
// Notepad with lone CRs, a value changed by hand with reg.exe.
TEST_F(CommandLine, AnAnsiProfileWithCrLineEndsAppliesAndVerifyFindsAndApplyMendsAChangedValue) {
    const std::wstring profile = temp_file(L"salle 12.txt"), log = temp_file(L"verify.log");
    write_file(profile, "# Salle 12, \xE9tage 2\rTIP0001  Boost Internet Speed\rtip0013\r");
    DeleteFileW(log.c_str());
    ASSERT_EQ(run({L"/apply", profile}), std::optional<DWORD>(0));
    for (int tip : {1, 13}) EXPECT_EQ(tip_flag(tip), std::optional<DWORD>(1)) << "tip " << tip;
    EXPECT_EQ(run({L"/verify", profile}), std::optional<DWORD>(0));

    const std::wstring dns = L"SYSTEM\\CurrentControlSet\\Services\\Dnscache\\Parameters";
    ASSERT_EQ(run_to_completion(native_reg_exe() + L" add \"HKLM\\" + dns +
                                L"\" /v CacheHashTableSize /t REG_DWORD /d 100 /f /reg:64"),
              std::optional<DWORD>(0));
    EXPECT_EQ(run({L"/verify", L"/log", log}), std::optional<DWORD>(1));
    const std::string logged = read_file(log);
    EXPECT_NE(logged.find("  TIP0001 not in effect: HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Dnscache\\"
                          "Parameters\\CacheHashTableSize holds 100 (REG_DWORD); the tip writes 384 (REG_DWORD)\r\n"),
              std::string::npos)
        << logged;
    EXPECT_EQ(logged.find("TIP0013 not in effect"), std::string::npos) << logged;

    EXPECT_EQ(run({L"/apply", profile}), std::optional<DWORD>(0));
    EXPECT_EQ(read_dword(LM, dns, L"CacheHashTableSize"), std::optional<DWORD>(384));
    EXPECT_EQ(run({L"/verify", profile}), std::optional<DWORD>(0));
}

TEST_F(CommandLine, WhatIfChangesNothingAndNamesWhatItWouldDoAndListPrintsEveryTip) {
    const std::wstring profile = temp_file(L"what if.txt"), log = temp_file(L"whatif.log");
    write_file(profile, profile_text(kProfileTips));
    DeleteFileW(log.c_str());
    const Snapshot before = touched_keys();
    EXPECT_EQ(run({L"/apply", profile, L"/whatif", L"/log", log}), std::optional<DWORD>(0));
    EXPECT_EQ(differences(touched_keys(), before), L"");
    EXPECT_FALSE(key_exists(LM, L"SOFTWARE\\VELTRANO"));
    const std::string logged = read_file(log);
    EXPECT_NE(logged.find("  Would write HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Dnscache\\Parameters\\"
                          "CacheHashTableSize = 384"),
              std::string::npos)
        << logged;

    std::string printed;
    ASSERT_EQ(run({L"/list"}, &printed), std::optional<DWORD>(0));
    int lines = 0;
    for (std::size_t at = 0, end; (end = printed.find("\r\n", at)) != std::string::npos; at = end + 2, ++lines)
        EXPECT_EQ(std::count(printed.begin() + static_cast<std::ptrdiff_t>(at), printed.begin() + static_cast<std::ptrdiff_t>(end), '\t'), 4)
            << printed.substr(at, end - at);
    EXPECT_EQ(lines, 48) << printed;
    EXPECT_NE(printed.find("TIP0001\tnetwork\tnot applied\tnot in effect\t"), std::string::npos) << printed;
}

TEST_F(CommandLine, GivingUpAfterWaitingForAnotherVeltranoExitsWithFourAndSaysSoInTheLog) {
    if (setting(L"VELTRANO_TEST_SEAMS").empty()) GTEST_SKIP() << "veltrano.exe built without VELTRANO_TEST_SEAMS";
    const std::wstring profile = temp_file(L"one tip.txt"), log = temp_file(L"gave up.log");
    write_file(profile, "TIP0010\r\n");
    DeleteFileW(log.c_str());
    HANDLE writer = CreateMutexW(nullptr, TRUE, L"Global\\Veltrano.TipsWriter");
    ASSERT_NE(writer, nullptr);
    SetEnvironmentVariableW(L"VELTRANO_WRITER_WAIT_MS", L"200");
    const auto code = run({L"/apply", profile, L"/log", log});
    SetEnvironmentVariableW(L"VELTRANO_WRITER_WAIT_MS", nullptr);
    ReleaseMutex(writer);
    CloseHandle(writer);
    EXPECT_EQ(code, std::optional<DWORD>(4));
    EXPECT_FALSE(key_exists(LM, L"SOFTWARE\\VELTRANO"));
    const std::string logged = read_file(log);
    EXPECT_NE(logged.find("  Gave up waiting: another Veltrano was still applying or undoing tips"), std::string::npos)
        << logged;
    EXPECT_NE(logged.find("  Exit code 4: "), std::string::npos) << logged;
}

TEST_F(CommandLine, ASecondWriterWaitsUntilTheFirstHasFinished) {
    const std::wstring profile = temp_file(L"one tip.txt"), log = temp_file(L"waiting.log");
    write_file(profile, "TIP0010\r\n");
    DeleteFileW(log.c_str());
    // The test is the first writer: it holds the lock as an applying Veltrano would.
    HANDLE writer = CreateMutexW(nullptr, TRUE, L"Global\\Veltrano.TipsWriter");
    ASSERT_NE(writer, nullptr);
    ChildProcess script;
    ASSERT_TRUE(script.start(setting(L"VELTRANO_EXE"), {L"/apply", profile, L"/log", log}));
    ASSERT_TRUE(wait_until([&] { return read_file(log).find("Waiting for another Veltrano") != std::string::npos; }));
    EXPECT_TRUE(script.running());
    EXPECT_FALSE(key_exists(LM, L"SOFTWARE\\VELTRANO"));
    ReleaseMutex(writer);
    CloseHandle(writer);
    ASSERT_TRUE(script.wait_for_exit());
    EXPECT_EQ(script.exit_code(), std::optional<DWORD>(0));
    EXPECT_EQ(tip_flag(10), std::optional<DWORD>(1));
}

// The window's side of the same lock: while a script writes, Apply says so
// and changes nothing.
TEST_F(CommandLine, TheWindowsApplyRefusesWhileAScriptWrites) {
    ASSERT_NO_FATAL_FAILURE(start());
    go(L"Power");
    ASSERT_NO_FATAL_FAILURE(tick(10));
    HANDLE writer = CreateMutexW(nullptr, TRUE, L"Global\\Veltrano.TipsWriter");
    ASSERT_NE(writer, nullptr);
    press(L"&Apply");
    const auto box = find_message_box(process_id());
    ReleaseMutex(writer);
    CloseHandle(writer);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, L"Another Veltrano is applying or undoing tips. Try again when it has finished.");
    EXPECT_NE(tip_flag(10), std::optional<DWORD>(1));
    ASSERT_TRUE(press_message_box_button(box->hwnd, L"OK"));
    settle();
    EXPECT_TRUE(checked(tip_box(10)));
}

// Every tip of the catalogue, as a machine's start-up script applies them.
std::vector<int> every_tip() {
    std::vector<int> tips;
    for (int tip = 1; tip <= tips::kTipCount; ++tip) tips.push_back(tip);
    return tips;
}

// The machine as the tips touch it and Veltrano's own records.
Snapshot machine_and_records() {
    Snapshot out = touched_keys();
    walk(LM, L"SOFTWARE\\VELTRANO", out);
    return out;
}

class KilledRun : public CommandLine {
protected:
    // /apply of every tip, ended with TerminateProcess, as Task Manager ends
    // it, once its work is under way: the first tip's values are written
    // (the second one's flag is).
    void apply_and_kill(const std::wstring& profile, const std::wstring& log) {
        ChildProcess script;
        ASSERT_TRUE(script.start(setting(L"VELTRANO_EXE"), {L"/apply", profile, L"/log", log}));
        ASSERT_TRUE(wait_until([&] { return tip_flag(2) == std::optional<DWORD>(1) || !script.running(); }));
        ASSERT_TRUE(script.running()) << "the run ended before it could be stopped";
        ASSERT_TRUE(TerminateProcess(script.handle(), 9));
        ASSERT_TRUE(script.wait_for_exit());
        ASSERT_NE(tip_flag(tips::kTipCount), std::optional<DWORD>(1)) << "the run got to its last tip";
    }
};

TEST_F(KilledRun, UndoToThePreviousSettingsGivesTheMachineBackAndSaysWhatItFinished) {
    const Snapshot before = touched_keys();
    const std::wstring profile = temp_file(L"every tip.txt"), log = temp_file(L"killed.log"),
                       undo_log = temp_file(L"undo.log");
    ASSERT_NO_FATAL_FAILURE(write_file(profile, profile_text(every_tip())));
    DeleteFileW(log.c_str());
    DeleteFileW(undo_log.c_str());
    ASSERT_NO_FATAL_FAILURE(apply_and_kill(profile, log));
    ASSERT_NE(touched_keys(), before);
    // The kill may land inside a tip's work or between two tips; only the
    // first leaves a tip to finish.
    bool interrupted = false;
    for (int tip = 1; tip <= tips::kTipCount; ++tip)
        interrupted = interrupted || read_string(LM, tip_key(tip), L"WorkInProgress").has_value();
    // The killed run's trail: its lines up to the last tip it finished.
    const std::string trail = read_file(log);
    EXPECT_NE(trail.find("Starting the process of enabling CacheHashTableBucketSize\r\n"), std::string::npos) << trail;
    EXPECT_EQ(trail.find("Exit code"), std::string::npos) << trail;

    ASSERT_EQ(run({L"/undo", L"all", L"/previous", L"/log", undo_log}), std::optional<DWORD>(0));
    EXPECT_EQ(differences(touched_keys(), before), L"");
    const std::string logged = read_file(undo_log);
    EXPECT_EQ(logged.find("was being applied when Veltrano was stopped") != std::string::npos, interrupted) << logged;
    // Wine has no System Restore: said once, and the work went on.
    EXPECT_NE(logged.find("No System Restore point was made ("), std::string::npos) << logged;
}

TEST_F(KilledRun, AppliedAgainItEndsAsOneCleanApplyRecordsIncluded) {
    const std::wstring profile = temp_file(L"every tip.txt"), log = temp_file(L"killed.log");
    ASSERT_NO_FATAL_FAILURE(write_file(profile, profile_text(every_tip())));
    ASSERT_EQ(run({L"/apply", profile, L"/norestorepoint"}), std::optional<DWORD>(0));
    const Snapshot clean = machine_and_records();
    // A fresh machine: what the tips wrote taken back, the fixture again, no records.
    ASSERT_EQ(run({L"/undo", L"all", L"/previous"}), std::optional<DWORD>(0));
    TearDown();
    SetUp();

    DeleteFileW(log.c_str());
    ASSERT_NO_FATAL_FAILURE(apply_and_kill(profile, log));
    ASSERT_EQ(run({L"/apply", profile, L"/norestorepoint"}), std::optional<DWORD>(0));
    EXPECT_EQ(differences(machine_and_records(), clean), L"");
}

// A profile that cannot be replaced (another program holds it open, as an
// editor may) stays as it was: the new one is written beside it and takes
// its name in one step, or not at all, and nothing is left beside it.
TEST_F(CommandLine, ASaveThatCannotReplaceTheProfileLeavesItWhole) {
    const std::wstring profile = temp_file(L"held open.txt");
    const std::string old_text = "# room 12\r\nTIP0010\r\n";
    ASSERT_NO_FATAL_FAILURE(write_file(profile, old_text));
    HANDLE held = CreateFileW(profile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const auto code = run({L"/save", profile});
    CloseHandle(held);
    EXPECT_EQ(code, std::optional<DWORD>(2));
    EXPECT_EQ(read_file(profile), old_text);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((profile + L"*.partial").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "a partial file was left beside the profile";
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    ASSERT_EQ(run({L"/save", profile}), std::optional<DWORD>(0));
    EXPECT_NE(read_file(profile), old_text);
}

}  // namespace
}  // namespace veltrano::e2e
