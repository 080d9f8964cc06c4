// The registry analyser and cleaner against an in-memory registry and a
// file system of fakes: what it reports, in which order, how a scan ends,
// and what a removal asks, keeps and takes away.
#include "core/error.h"
#include "regclean/file_time.h"
#include "regclean/path_reference.h"
#include "regclean/reg_backup.h"
#include "regclean/regclean_page.h"
#include "support/fake_view.h"
#include "support/fakes.h"
#include "support/memory_log.h"
#include "support/memory_registry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <pthread.h>

#include <functional>
#include <string>
#include <vector>

using namespace veltrano;
using platform::RegValue;
using platform::Root;
using regclean::RegCleanPage;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

const std::string kBroken = "C:\\NoSuchFolder";

// ---- the path test -----------------------------------------------------------

struct PathCase {
    std::string text;
    bool valid;
};

class PathReference : public ::testing::TestWithParam<PathCase> {
protected:
    PathReference() {
        files.folders = {"C:", "C:\\Windows", "C:\\Windows\\System32", "C:\\Windows\\SysWOW64"};
        files.files = {{"C:\\Windows\\notepad.exe", {}}, {"C:\\Windows\\hosts", {}},
                       {"C:\\Windows\\SysWOW64\\only32.dll", {}}};
        files.refused = {"C:\\Private\\x.dll", "C:\\Windows\\locked"};
        files.drives = {{"A:\\", platform::DriveType::Removable}, {"D:\\", platform::DriveType::CdRom},
                        {"E:\\", platform::DriveType::Remote}};
    }
    fakes::FakeFileSystem files;
};

TEST_P(PathReference, ReportsOnlyMissingFilesAndFoldersOnFixedDisks) {
    EXPECT_EQ(regclean::is_valid_path_reference(GetParam().text, files), GetParam().valid) << GetParam().text;
}

// A 32-bit program's value names System32 for what 64-bit Windows keeps in
// SysWOW64; anyone else's names System32 itself.
TEST_F(PathReference, AThirtyTwoBitProgramsSystem32IsSysWow64) {
    EXPECT_TRUE(regclean::is_valid_path_reference("C:\\Windows\\System32\\only32.dll", files, true));
    EXPECT_TRUE(regclean::is_valid_path_reference("C:\\Windows\\system32\\only32.dll\\3", files, true));
    EXPECT_FALSE(regclean::is_valid_path_reference("C:\\Windows\\System32\\only32.dll", files, false));
    EXPECT_FALSE(regclean::is_valid_path_reference("C:\\Windows\\System32\\none.dll", files, true));
}

// Missing folders (no extension) and files; what is there; and what is never
// examined: short, no drive from C, lists and blanks, not "X:\", no fixed disk.
INSTANTIATE_TEST_SUITE_P(
    Cases, PathReference,
    ::testing::ValuesIn(std::vector<PathCase>{
        {"C:\\NoSuchFolder", false}, {"c:\\NoSuchFolder\\", false}, {"C:\\Windows\\nosuchfile.dll", false},
        {"C:\\Windows\\nosuch.dll\\2", false}, {"C:\\Windows\\notepad\\2", false},
        // An extensionless file, a resource of a file, looks the system refuses.
        {"C:\\Windows\\hosts", true}, {"C:\\Windows\\notepad.exe\\2", true}, {"C:\\Private\\x.dll", true},
        {"C:\\Windows\\locked", true},
        {"C:\\NoSuchFolder\\x.dll", false}, {"C:\\Windows\\notepad", false}, {"C:\\Windows.old", false},
        {"C:\\Windows", true}, {"C:\\Windows\\", true}, {"C:\\", true}, {"C:\\Windows\\notepad.exe", true},
        {"C:", true}, {"%SystemRoot%\\x.dll", true}, {"A:\\x.txt", true}, {"C:\\Program Files\\x.exe", true},
        {"C:\\a;C:\\b", true}, {"C:\\a,b", true}, {"C:/NoSuchFolder", true}, {"D:\\nosuch", true},
        {"E:\\x.dll", true}, {"\\\\server\\x.dll", true},
        // A file with an argument after a slash, as some programs register themselves.
        {"C:\\Windows\\notepad.exe/Automation", true}, {"C:\\Windows\\nosuch.exe/Automation", false},
        {"C:\\NoSuchFolder\\x.exe/Automation", false}}));

TEST_F(PathReference, SaysWhetherTheFileOrAlreadyItsFolderIsMissing) {
    using regclean::Missing;
    for (const auto& [text, missing] : std::vector<std::pair<std::string, Missing>>{
             {"C:\\Windows\\nosuchfile.dll", Missing::File}, {"C:\\Windows\\nosuch.dll\\2", Missing::File},
             {"C:\\NoSuchFolder\\x.dll", Missing::Folder}, {"C:\\NoSuchFolder", Missing::Folder},
             {"C:\\Windows\\notepad", Missing::Folder}, {"C:\\NoSuchFolder\\x.exe/Automation", Missing::Folder},
             {"C:\\Windows\\notepad.exe", Missing::None}})
        EXPECT_EQ(regclean::missing_reference(text, files), missing) << text;
}

// ---- the time column -----------------------------------------------------------

std::uint64_t ticks_at_unix(std::int64_t seconds) { return 116444736000000000ull + seconds * 10000000ull; }

TEST(LastWriteTime, ReadsAsStoredOnATwelveHourClock) {
    EXPECT_EQ(regclean::format_last_write(0), "01/01/1601 12:00AM");
    EXPECT_EQ(regclean::format_last_write(ticks_at_unix(0)), "01/01/1970 12:00AM");
    EXPECT_EQ(regclean::format_last_write(ticks_at_unix(45000)), "01/01/1970 12:30PM");
    EXPECT_EQ(regclean::format_last_write(ticks_at_unix(1110204300)), "03/07/2005 02:05PM");
    EXPECT_EQ(regclean::format_last_write(ticks_at_unix(951868740) + 9999999), "02/29/2000 11:59PM");
    EXPECT_EQ(regclean::format_last_write(ticks_at_unix(4107542400)), "03/01/2100 12:00AM");
}

// regedit breaks long hex data into lines ending in '\'; where it breaks
// is its own business.
std::string unwrapped(std::string text) {
    for (std::size_t at; (at = text.find(",\\\r\n  ")) != std::string::npos;) text.erase(at + 1, 5);
    return text;
}

// ---- the page --------------------------------------------------------------------

class RegClean : public ::testing::Test {
protected:
    RegClean() {
        files.folders = {"C:", "C:\\Windows"};
        page.created();
    }
    void text(Root root, const std::string& key, const std::string& name, const std::string& data) {
        reg.put(root, key, name, RegValue::string(data));
    }
    fakes::FakeGrid& grid() { return view.grids["StringGrid1"]; }
    std::vector<std::string> column(int c) {
        std::vector<std::string> out;
        for (int r = 1; r < grid().row_count(); ++r) out.push_back(grid().cell(c, r));
        return out;
    }
    std::vector<std::string> found_keys() { return column(0); }

    fakes::MemoryRegistry reg;
    fakes::FakeFileSystem files;
    fakes::FakeTime time;
    fakes::RecordingView view;
    fakes::FakeDialogs dialogs;
    fakes::FakeShell shell;
    RegCleanPage page{reg, files, time, shell, view, dialogs};
};

TEST_F(RegClean, StartsWithItsHeadingsWidthsAndOnlyStartEnabled) {
    EXPECT_THAT(grid().row(0), ElementsAre("Registry Key", "Last Modification", "String Value", "File/Path reference"));
    EXPECT_EQ(grid().widths, (std::map<int, int>{{0, 128}, {1, 99}, {2, 137}, {3, 178}}));
    EXPECT_EQ(grid().row_count(), 50);
    EXPECT_FALSE(view.is_enabled("Button2"));
    EXPECT_FALSE(view.is_enabled("Button3"));
}

TEST_F(RegClean, WalksTheThreeRootsDepthFirstInRegistryOrderBelowTheirStartKeys) {
    text(Root::LocalMachine, "Software\\Vendor", "Path", kBroken);
    text(Root::LocalMachine, "System\\Outside", "Path", kBroken);  // only Software is walked
    text(Root::LocalMachine, "Software", "Path", kBroken);          // nor its own values
    text(Root::CurrentUser, "", "Path", kBroken);                   // nor a root's
    text(Root::Users, "S-1-5-18\\Env", "Temp", kBroken);
    text(Root::CurrentUser, "Software\\b", "Path", kBroken);
    text(Root::CurrentUser, "Software\\A\\Deep", "Path", kBroken);
    text(Root::CurrentUser, "Software\\A", "Path", kBroken);
    text(Root::CurrentUser, "Environment", "C:\\NoSuchFolder\\x.dll", "1");  // a broken name
    reg.put(Root::CurrentUser, "Environment", "Binary", RegValue::binary({'C', ':', '\\', 'N', 'o'}));
    page.start_scan();
    EXPECT_THAT(found_keys(), ElementsAre("HKEY_CURRENT_USER: \\Environment", "HKEY_CURRENT_USER: \\Software\\A",
                                          "HKEY_CURRENT_USER: \\Software\\A\\Deep",
                                          "HKEY_CURRENT_USER: \\Software\\b", "HKEY_USERS: \\S-1-5-18\\Env",
                                          "HKEY_LOCAL_MACHINE: Software\\Vendor"));
    EXPECT_EQ(grid().row(1), (std::vector<std::string>{"HKEY_CURRENT_USER: \\Environment", "01/01/1601 12:00AM",
                                                         "C:\\NoSuchFolder\\x.dll", "1"}));
    EXPECT_TRUE(view.is_enabled("Button2"));
    EXPECT_FALSE(view.is_enabled("Button3"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(RegClean, NothingFoundLeavesTheHeadingsAndSaysSo) {
    text(Root::CurrentUser, "Software\\X", "Fine", "C:\\Windows");
    page.start_scan();
    EXPECT_EQ(grid().row_count(), 1);
    EXPECT_THAT(dialogs.messages, ElementsAre("No invalid references detected."));
    EXPECT_FALSE(view.is_enabled("Button2"));
    EXPECT_FALSE(view.is_enabled("Button3"));
}

TEST_F(RegClean, GrowsTenRowsAtATimeAndIsCutToTheFindsAtTheEnd) {
    for (int i = 0; i < 25; ++i) text(Root::CurrentUser, "Software\\X", "v" + std::to_string(100 + i), kBroken);
    std::set<int> sizes;
    view.on_pump = [&] { sizes.insert(grid().row_count()); };
    page.start_scan();
    EXPECT_EQ(sizes, (std::set<int>{2, 12, 22, 32}));
    EXPECT_EQ(grid().row_count(), 26);
    EXPECT_EQ(grid().cell(2, 25), "v124");
}

TEST_F(RegClean, SelectsTheFirstFindQuietlyAndDescribesARowOnlyWhenTheUserPicksIt) {
    text(Root::CurrentUser, "Software\\X", "One", kBroken);
    text(Root::CurrentUser, "Software\\X", "Two", "C:\\NoSuchFolder\\b.dll");
    page.describe_row(1);  // nothing found yet: nothing to describe
    page.start_scan();
    EXPECT_EQ(grid().selected_rows(), std::vector<int>{1});
    page.describe_row(0);
    EXPECT_EQ(view.text("RichEdit1"), "");
    page.describe_row(2);
    EXPECT_EQ(view.text("RichEdit1"),
              "Why it is listed: its data was checked, and Windows answered: no such folder.\r\n\r\n"
              "Registry Key:  HKEY_CURRENT_USER: \\Software\\X which was last updated on: 01/01/1601 12:00AM has a "
              "subkey:  Two with invalid value: C:\\NoSuchFolder\\b.dll. It may be a good idea to delete this key. "
              "But this is just a recommendation.Be aware of the fact that even a minor mistake with registry can "
              "render your system useless. Don't delete it if you are not sure. If this is what you want to do, "
              "click on the 'Remove Selected Entry' ");
}

TEST_F(RegClean, StopDuringTheCurrentUserLeavesTheOtherRootsUnscannedAndKeepsTheRows) {
    text(Root::CurrentUser, "Software\\A", "Path", kBroken);
    text(Root::CurrentUser, "Software\\B", "Path", kBroken);
    text(Root::Users, "S-1-5-18", "Path", kBroken);
    text(Root::LocalMachine, "Software\\V", "Path", kBroken);
    view.on_pump = [&] {
        if (grid().cell(0, 1) != "") page.stop_scan();  // after the first find
    };
    page.start_scan();
    EXPECT_THAT(found_keys(), ElementsAre("HKEY_CURRENT_USER: \\Software\\A"));
    EXPECT_EQ(view.text("StaticText10"),
              "Scan stopped in HKEY_CURRENT_USER after 2 keys and 1 value: 1 entry found.");
    EXPECT_FALSE(view.is_enabled("Button3"));
    EXPECT_TRUE(view.is_enabled("Button2"));
    EXPECT_TRUE(dialogs.messages.empty());

    view.on_pump = nullptr;  // the next scan starts afresh
    page.start_scan();
    EXPECT_EQ(found_keys().size(), 4u);
}

TEST_F(RegClean, ClicksLetInByTheScanStartNoSecondScanOrRemoval) {
    text(Root::CurrentUser, "Software\\A", "Path", kBroken);
    text(Root::CurrentUser, "Software\\B", "Path", kBroken);
    dialogs.answer_yes = true;
    std::set<std::string> offered;
    view.on_pump = [&] {
        for (const char* button : {"Button1", "Button2", "Button3"})
            if (view.is_enabled(button)) offered.insert(button);
        page.start_scan();
        page.remove_selected_entries();
    };
    page.start_scan();
    EXPECT_EQ(found_keys().size(), 2u);
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_EQ(offered, std::set<std::string>{"Button3"});
    EXPECT_TRUE(view.is_enabled("Button1"));
}

TEST_F(RegClean, TheWindowGoingDuringAScanStopsItAndLeavesTheScreenAlone) {
    text(Root::CurrentUser, "Software\\A", "Path", kBroken);
    text(Root::Users, "S-1-5-18", "Path", "C:\\Windows");
    view.on_pump = [&] { page.destroyed(); };
    page.start_scan();
    EXPECT_EQ(view.pumps, 1);
    EXPECT_EQ(grid().row_count(), 2);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(view.is_enabled("Button3"));
}

// Windows gives a program's main thread a 1 MB stack; the registry allows
// 512 levels of keys, key names of 255 characters and value names of 16383.
TEST_F(RegClean, ARegistryAtItsLimitsScansOnAMainThreadsStack) {
    std::string path = "Software";
    for (int level = 1; level < 512; ++level)
        path += "\\" + std::string(level % 64 == 0 ? 255 : 4, static_cast<char>('a' + level % 26));
    const std::string long_name = "C:\\" + std::string(16380, 'n');
    text(Root::CurrentUser, path, long_name, std::string(100000, 'x'));
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 1 << 20);
    pthread_t thread;
    const auto scan = [](void* page) -> void* { return static_cast<RegCleanPage*>(page)->start_scan(), page; };
    ASSERT_EQ(pthread_create(&thread, &attributes, scan, &page), 0);
    pthread_join(thread, nullptr);
    EXPECT_THAT(column(2), ElementsAre(long_name));
    EXPECT_EQ(found_keys().front(), "HKEY_CURRENT_USER: \\" + path);
}

// ---- removal -------------------------------------------------------------------

class Removal : public RegClean {
protected:
    void SetUp() override {
        text(Root::CurrentUser, "Software\\A", "Path", kBroken);
        reg.put(Root::CurrentUser, "Software\\B", "", RegValue::expand_string("C:\\NoSuchFolder\\\"q\".dll"));
        text(Root::LocalMachine, "Software\\C", "Path", kBroken);
        page.start_scan();
        ASSERT_EQ(found_keys().size(), 3u);
        time.now = {2026, 12, 1, 7, 9, 5, 3, 0};
    }
    std::string backup_text() {
        const auto& bytes = files.files.begin()->second;
        std::string text;  // the tests use ASCII only: every second byte
        for (std::size_t i = 2; i < bytes.size(); i += 2) text += static_cast<char>(bytes[i]);
        return text;
    }
    const std::string folder = "C:\\Documents and Settings\\ann\\Application Data\\Veltrano\\Backups";
};

TEST_F(Removal, AsksOnceForOneRowOrWithTheCountForSeveralAndNoKeepsEverything) {
    grid().select_rows(2, 2);
    page.remove_selected_entries();
    grid().select_rows(1, 3);
    page.remove_selected_entries();
    EXPECT_THAT(dialogs.questions,
                ElementsAre("Are you sure you want to remove selected entry from the Registry?",
                            "Are you sure you want to remove 3 selected entries from the Registry?"));
    EXPECT_TRUE(reg.get(Root::CurrentUser, "Software\\A", "Path"));
    EXPECT_TRUE(files.files.empty());
}

TEST_F(Removal, YesSavesTheValuesToARegFileRemovesThemSaysSoAndScansAgain) {
    dialogs.answer_yes = true;
    grid().select_rows(1, 3);
    page.remove_selected_entries();
    EXPECT_FALSE(reg.get(Root::CurrentUser, "Software\\A", "Path"));
    EXPECT_FALSE(reg.get(Root::CurrentUser, "Software\\B", ""));
    EXPECT_FALSE(reg.get(Root::LocalMachine, "Software\\C", "Path"));
    EXPECT_EQ(grid().row_count(), 1);
    const std::string file = folder + "\\Removed 2026-12-07 09.05.03.reg";
    ASSERT_EQ(dialogs.questions.size(), 2u);
    EXPECT_EQ(dialogs.questions[1],
              "Removed 3 entries from the registry. The backup is the file\n" + file +
                  "\n\nOpen the folder of the backups?");
    EXPECT_THAT(shell.opened, ElementsAre(folder));
    EXPECT_THAT(dialogs.messages, ElementsAre("No invalid references detected."));

    ASSERT_EQ(files.files.size(), 1u);
    EXPECT_EQ(files.files.begin()->first, file);
    const auto& bytes = files.files.begin()->second;
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    EXPECT_EQ(unwrapped(backup_text()),
              "Windows Registry Editor Version 5.00\r\n"
              "\r\n[HKEY_CURRENT_USER\\Software\\A]\r\n\"Path\"=\"C:\\\\NoSuchFolder\"\r\n"
              "\r\n[HKEY_CURRENT_USER\\Software\\B]\r\n"
              "@=hex(2):43,00,3a,00,5c,00,4e,00,6f,00,53,00,75,00,63,00,68,00,46,00,6f,00,6c,"
              "00,64,00,65,00,72,00,5c,00,22,00,71,00,22,00,2e,00,64,00,6c,00,6c,00,00,00\r\n"
              "\r\n[HKEY_LOCAL_MACHINE\\Software\\C]\r\n\"Path\"=\"C:\\\\NoSuchFolder\"\r\n"
              "\r\n");
}

// Windows' own way back comes first: a restore point before the backup and
// the first removal, and only for what is really removed.
TEST_F(Removal, ARestorePointIsAskedForBeforeTheFirstRemoval) {
    fakes::FakeSystemRestore restore;
    fakes::MemoryLog log;
    RegCleanPage with_restore{reg, files, time, shell, view, dialogs, &restore, &log};
    with_restore.created();
    with_restore.start_scan();
    dialogs.answer_yes = true;
    reg.put(Root::CurrentUser, "Software\\B", "", RegValue::string("C:\\Windows"));  // mended meanwhile
    grid().select_rows(1, 3);
    with_restore.remove_selected_entries();
    EXPECT_THAT(restore.steps, ElementsAre("begin Veltrano: remove 2 registry entries", "end"));
    EXPECT_THAT(log.lines, ElementsAre("System Restore point made: Veltrano: remove 2 registry entries"));
}

// Rows picked apart (Ctrl+click) are the rows removed, not the run between
// them; and of those, only what is still as the grid showed it and still
// broken goes.
TEST_F(Removal, OnlyTheChosenRowsGoAndOnlyWhileStillBroken) {
    dialogs.answer_yes = true;
    grid().selected = {1, 3};
    text(Root::LocalMachine, "Software\\C", "Path", "C:\\Windows");  // repaired since the scan
    page.remove_selected_entries();
    EXPECT_EQ(dialogs.questions.front(), "Are you sure you want to remove 2 selected entries from the Registry?");
    EXPECT_FALSE(reg.get(Root::CurrentUser, "Software\\A", "Path"));
    EXPECT_TRUE(reg.get(Root::CurrentUser, "Software\\B", ""));
    EXPECT_EQ(reg.get(Root::LocalMachine, "Software\\C", "Path"), RegValue::string("C:\\Windows"));
    EXPECT_THAT(dialogs.questions[1], HasSubstr("Removed 1 entry from the registry."));
    EXPECT_THAT(dialogs.questions[1],
                HasSubstr("1 selected entry was left in place: changed since the scan, or no longer pointing at "
                          "something missing."));

    dialogs.questions.clear();
    text(Root::CurrentUser, "Software\\B", "", "C:\\NoSuchFolder\\other.dll");  // changed, still broken
    grid().selected = {1};
    page.remove_selected_entries();
    EXPECT_TRUE(reg.get(Root::CurrentUser, "Software\\B", ""));
    EXPECT_THAT(dialogs.messages.back(), ::testing::StartsWith("Nothing was removed from the registry."));
}

TEST_F(Removal, AKeyThatRefusesChangesEndsTheRemovalThereAndNoScanFollows) {
    dialogs.answer_yes = true;
    reg.deny_changes(Root::CurrentUser, "Software\\B");
    grid().select_rows(1, 3);
    try {
        page.remove_selected_entries();
        FAIL() << "no error";
    } catch (const core::VeltranoError& e) {
        EXPECT_STREQ(e.what(), "Error opening registry key \\Software\\B");
    }
    EXPECT_FALSE(reg.get(Root::CurrentUser, "Software\\A", "Path"));
    EXPECT_TRUE(reg.get(Root::LocalMachine, "Software\\C", "Path"));
    EXPECT_EQ(found_keys().size(), 3u);  // the old rows: no new scan
    EXPECT_THAT(backup_text(), HasSubstr("[HKEY_CURRENT_USER\\Software\\A]"));
    EXPECT_THAT(backup_text(), ::testing::Not(HasSubstr("Software\\C")));
}

TEST_F(Removal, WithoutABackupNothingIsRemoved) {
    dialogs.answer_yes = true;
    files.can_write = false;
    grid().select_rows(1, 1);
    EXPECT_THROW(page.remove_selected_entries(), core::VeltranoError);
    EXPECT_TRUE(reg.get(Root::CurrentUser, "Software\\A", "Path"));
}

// A sorted grid still removes what its rows show.
TEST_F(Removal, HeadingsSortTheRowsBothWaysAndRemovalFollowsThem) {
    page.sort_by_column(0);
    EXPECT_THAT(found_keys(), ElementsAre("HKEY_CURRENT_USER: \\Software\\A", "HKEY_CURRENT_USER: \\Software\\B",
                                          "HKEY_LOCAL_MACHINE: Software\\C"));
    page.sort_by_column(0);
    EXPECT_THAT(found_keys(), ElementsAre("HKEY_LOCAL_MACHINE: Software\\C", "HKEY_CURRENT_USER: \\Software\\B",
                                          "HKEY_CURRENT_USER: \\Software\\A"));
    page.sort_by_column(2);  // "" (the default value), then "Path" twice in their order
    EXPECT_THAT(column(2), ElementsAre("", "Path", "Path"));
    dialogs.answer_yes = true;
    grid().selected = {2};
    page.remove_selected_entries();
    EXPECT_FALSE(reg.get(Root::LocalMachine, "Software\\C", "Path"));
    EXPECT_TRUE(reg.get(Root::CurrentUser, "Software\\A", "Path"));
}

// ---- what a scan reads, and how often ------------------------------------------

// A user who is no administrator reads the machine's keys but may change
// none; the user's own hive, loaded again below HKEY_USERS, and the 32-bit
// view of the machine's classes are walked once.
TEST_F(RegClean, ReadsWhatItMayAndListsEachValueOnce) {
    text(Root::LocalMachine, "Software\\Vendor", "Path", kBroken);
    reg.deny_changes(Root::LocalMachine, "Software\\Vendor");
    text(Root::CurrentUser, "Software\\Mine", "Path", kBroken);
    reg.set_current_user_hives({"S-1-5-21-7", "S-1-5-21-7_Classes"});
    text(Root::Users, "S-1-5-21-7\\Software\\Mine", "Path", kBroken);
    text(Root::Users, "s-1-5-21-7_classes\\.x", "Path", kBroken);
    text(Root::Users, "S-1-5-18\\Env", "Temp", kBroken);
    text(Root::LocalMachine, "Software\\Classes\\.y", "Path", kBroken);
    text(Root::LocalMachine, "Software\\Classes\\Wow6432Node\\.z", "Path", kBroken);
    text(Root::LocalMachine, "Software\\Wow6432Node\\Classes\\.y", "Path", kBroken);
    text(Root::LocalMachine, "Software\\Locked\\Inner", "Path", kBroken);
    reg.deny(Root::LocalMachine, "Software\\Locked");
    page.start_scan();
    EXPECT_THAT(found_keys(),
                ElementsAre("HKEY_CURRENT_USER: \\Software\\Mine", "HKEY_USERS: \\S-1-5-18\\Env",
                            "HKEY_LOCAL_MACHINE: Software\\Classes\\.y", "HKEY_LOCAL_MACHINE: Software\\Vendor"));
    EXPECT_THAT(view.text("StaticText10"), ::testing::EndsWith("4 entries found. 1 key could not be read."));
}

TEST(RegFile, SpellsSpecialDataSoThatRegeditReadsItBack) {
    using regclean::BackupEntry;
    const std::string text = regclean::reg_file_text({
        {Root::Users, "\\S-1\\K", "a\"b\\c", RegValue::string("line\r\nbreak")},
        {Root::Users, "S-1\\K", "", RegValue::string("\"quoted\" \\ back")},
    });
    EXPECT_EQ(unwrapped(text),
              "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_USERS\\S-1\\K]\r\n"
              "\"a\\\"b\\\\c\"=hex(1):6c,00,69,00,6e,00,65,00,0d,00,0a,00,62,00,72,00,65,00,61,00,6b,00,"
              "00,00\r\n"
              "@=\"\\\"quoted\\\" \\\\ back\"\r\n\r\n");
    const auto bytes = regclean::reg_file({{Root::Users, "K", "\xC3\xA9", RegValue::string("x")}});
    // "é" as one UTF-16 unit.
    const std::vector<std::uint8_t> name{'"', 0, 0xE9, 0, '"', 0};
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), name.begin(), name.end()), bytes.end());
}

// ---- the ignore list ------------------------------------------------------------

TEST(IgnoreList, ReadsWhatItWritesKeepsLinesItCannotReadAndMatchesWithoutCase) {
    using regclean::IgnoreList;
    const IgnoreList read = IgnoreList::parse(
        "\xEF\xBB\xBF# a heading\r\nHKEY_CURRENT_USER\tSoftware\\A\tPath\r\n"
        "HKEY_LOCAL_MACHINE\t\\Software\\B\\\nHKEY_USERS\tS-1-5-18\\Env\t\nnonsense line\nHKEY_NOWHERE\tX\tY\n");
    ASSERT_EQ(read.entries().size(), 3u);
    EXPECT_EQ(read.entries()[1].key_path, "Software\\B");
    EXPECT_FALSE(read.entries()[1].name.has_value());
    EXPECT_EQ(read.entries()[2].name, std::optional<std::string>(""));
    EXPECT_THAT(read.unread(), ElementsAre("nonsense line", "HKEY_NOWHERE\tX\tY"));
    const IgnoreList again = IgnoreList::parse(read.text());
    EXPECT_EQ(again.text(), read.text());
    IgnoreList fresh;
    fresh.add({Root::LocalMachine, "\\Software\\B\\", std::nullopt});
    EXPECT_THAT(fresh.text(), AllOf(testing::StartsWith("\xEF\xBB\xBF# "), testing::EndsWith("\r\nHKEY_LOCAL_MACHINE\tSoftware\\B\r\n")));

    struct Case {
        Root root;
        const char* key;
        const char* name;
        bool ignored;
    };
    for (const Case& c : {Case{Root::CurrentUser, "\\SOFTWARE\\a", "path", true},
                          Case{Root::CurrentUser, "Software\\A", "Other", false},
                          Case{Root::LocalMachine, "Software\\A", "Path", false},
                          Case{Root::LocalMachine, "software\\b", "any", true},
                          Case{Root::LocalMachine, "Software\\B\\Deep\\Er", "", true},
                          Case{Root::LocalMachine, "Software\\Bee", "x", false},
                          Case{Root::Users, "S-1-5-18\\Env", "", true},
                          Case{Root::Users, "S-1-5-18\\Env", "Temp", false}})
        EXPECT_EQ(read.ignores(c.root, c.key, c.name), c.ignored) << c.key << " " << c.name;
    IgnoreList list = read;
    EXPECT_FALSE(list.add({Root::LocalMachine, "Software\\B\\C", "x"})) << "below an ignored key already";
    EXPECT_TRUE(list.add({Root::LocalMachine, "Software\\A", std::nullopt}));
    list.remove(1);
    EXPECT_FALSE(list.ignores(Root::LocalMachine, "Software\\B", "any"));
    EXPECT_TRUE(list.ignores(Root::LocalMachine, "Software\\A\\Sub", "any"));
}

// The user's own file: every line the program does not take as an entry
// stays byte for byte in its place when entries come and go, in UTF-8 and
// in UTF-16, whose bytes 0D and 0A inside a character are no line ends.
TEST(IgnoreList, RewritingKeepsEveryOtherLineByteForByteInItsPlace) {
    using regclean::IgnoreList;
    const std::string kept_head = "# mine\r# also mine\nnotes\tnot an entry\n\r\n";
    const std::string first = "HKEY_CURRENT_USER\tSoftware\\A\tPath\n", second = "HKEY_USERS\tS-1-5-18\\Env\r";
    const std::string kept_tail = "  # indented\r\nlast line without its end";
    IgnoreList list = IgnoreList::parse(kept_head + first + second + kept_tail);
    ASSERT_EQ(list.entries().size(), 2u);
    list.remove(0);
    ASSERT_TRUE(list.add({Root::LocalMachine, "Software\\C", "x"}));
    EXPECT_EQ(list.text(), kept_head + second + kept_tail + "\r\nHKEY_LOCAL_MACHINE\tSoftware\\C\tx\r\n");

    auto utf16 = [](std::u16string_view text) {
        std::string out = "\xFF\xFE";
        for (char16_t c : text) out += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
        return out;
    };
    // U+0A0D: its bytes are a CR and an LF.
    const std::u16string mine = u"# \u0A0D mine\rHKEY_CURRENT_USER\tSoftware\\\u00E9\tx\n";
    IgnoreList wide = IgnoreList::parse(utf16(mine));
    ASSERT_EQ(wide.entries().size(), 1u);
    EXPECT_EQ(wide.entries()[0].key_path, "Software\\\xC3\xA9");
    EXPECT_TRUE(wide.unread().empty());
    ASSERT_TRUE(wide.add({Root::CurrentUser, "Software\\\xC3\xA9", "y"}));
    EXPECT_EQ(wide.text(), utf16(mine + u"HKEY_CURRENT_USER\tSoftware\\\u00E9\ty\r\n"));
}

class Ignoring : public RegClean {
protected:
    void SetUp() override {
        text(Root::CurrentUser, "Software\\A", "Path", kBroken);
        text(Root::CurrentUser, "Software\\A", "Other", kBroken);
        text(Root::CurrentUser, "Software\\A\\Sub", "Path", kBroken);
        text(Root::LocalMachine, "Software\\C", "C:\\NoSuchFolder\\x.dll", "1");
        page.start_scan();
        ASSERT_EQ(found_keys().size(), 4u);
    }
    std::string file_text() {
        const auto& bytes = files.files[file];
        return std::string(bytes.begin(), bytes.end());
    }
    const std::string file =
        "C:\\Documents and Settings\\ann\\Application Data\\Veltrano\\Backups\\Ignored entries.txt";
};

TEST_F(Ignoring, AnIgnoredEntryLeavesTheGridIsWrittenToTheFileAndNewScansCountItUntilTakenOff) {
    grid().select_rows(2, 2);  // Other
    page.ignore_selected_entries();
    EXPECT_THAT(column(2), ElementsAre("Path", "Path", "C:\\NoSuchFolder\\x.dll"));
    EXPECT_THAT(file_text(), HasSubstr("\r\nHKEY_CURRENT_USER\tSoftware\\A\tOther\r\n"));
    page.start_scan();
    EXPECT_EQ(found_keys().size(), 3u);
    EXPECT_THAT(view.text("StaticText10"), HasSubstr("found. 1 entry left out because it is ignored."));
    EXPECT_THAT(page.ignored_entries(), ElementsAre("HKEY_CURRENT_USER\\Software\\A: Other"));
    page.unignore({0});
    EXPECT_TRUE(page.ignored_entries().empty());
    page.start_scan();
    EXPECT_EQ(found_keys().size(), 4u);
    EXPECT_THAT(view.text("StaticText10"), ::testing::Not(HasSubstr("ignored")));
}

TEST_F(Ignoring, AKeyIgnoredTakesEverythingBelowItAndAnEditedFileIsReadAgain) {
    grid().select_rows(1, 1);
    page.ignore_selected_keys();
    EXPECT_THAT(column(2), ElementsAre("C:\\NoSuchFolder\\x.dll"));
    EXPECT_THAT(view.text("StaticText10"), ::testing::StartsWith("3 entries put on the ignore list: scans leave them out"));
    // The user adds a line in Notepad, and one it cannot read, which stays.
    files.files[file] = [](std::string t) { return std::vector<std::uint8_t>(t.begin(), t.end()); }(
        file_text() + "HKEY_LOCAL_MACHINE\tSoftware\\C\tC:\\NOSUCHFOLDER\\X.DLL\r\nmy note\r\n");
    page.start_scan();
    EXPECT_EQ(grid().row_count(), 1);
    EXPECT_THAT(view.text("StaticText10"), HasSubstr("4 entries left out because they are ignored."));
    page.ignored_entries();
    page.unignore({0});
    EXPECT_THAT(file_text(), HasSubstr("my note"));
    EXPECT_THAT(page.ignored_entries(), ElementsAre("HKEY_LOCAL_MACHINE\\Software\\C: C:\\NOSUCHFOLDER\\X.DLL"));
}

TEST_F(Ignoring, AListThatCannotBeWrittenSaysSoAndChangesNothing) {
    files.can_write = false;
    grid().select_rows(1, 2);
    EXPECT_THROW(page.ignore_selected_entries(), core::VeltranoError);
    EXPECT_EQ(found_keys().size(), 4u);
    files.can_write = true;
    page.start_scan();
    EXPECT_EQ(found_keys().size(), 4u);
}

TEST_F(Ignoring, TheDescriptionSaysWhenTheNameWasChecked) {
    page.describe_row(4);
    EXPECT_THAT(view.text("RichEdit1"),
                ::testing::StartsWith("Why it is listed: its name was checked, and Windows answered: no such folder."));
}

}  // namespace
