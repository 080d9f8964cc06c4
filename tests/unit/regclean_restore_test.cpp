// The cleaner's backups read back and restored: the reader against what the
// writer makes and against files that are not that, the rule that keeps a
// value changed since its removal, and a restore stopped at any registry
// call that is run again.
#include "core/error.h"
#include "platform/utf8.h"
#include "regclean/backup_restore.h"
#include "regclean/reg_backup.h"
#include "regclean/reg_reader.h"
#include "support/fakes.h"
#include "support/memory_log.h"
#include "support/memory_registry.h"
#include "support/stopping_registry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace veltrano;
using platform::RegValue;
using platform::Root;
using regclean::BackupEntry;
using ::testing::HasSubstr;

namespace {

const std::string kFolder = "C:\\Documents and Settings\\ann\\Application Data\\Veltrano\\Backups";
const std::string kFile = kFolder + "\\Removed 2026-12-09 01.02.03.reg";

std::vector<std::uint8_t> utf16(const std::string& text) {
    std::vector<std::uint8_t> bytes{0xFF, 0xFE};
    for (char16_t c : platform::utf8_to_utf16(text)) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

// ---- the reader ------------------------------------------------------------------

// Every form the writer gives a value: plain and escaped text, text only hex
// can carry (line breaks, a tab), expandable text over several lines, text
// beyond the BMP, the default value, a key given with a leading '\'.
TEST(ReadBackup, ReadsBackEveryValueTheWriterWritesExactly) {
    const std::string long_text = "%SystemRoot%\\" + std::string(120, 'x') + "\\y.dll";
    const std::vector<BackupEntry> written{
        {Root::CurrentUser, "\\Software\\Run", "Plain", RegValue::string("C:\\NoSuch\\a.exe")},
        {Root::CurrentUser, "\\Software\\Run", "Say \"hi\"\\", RegValue::string("\"C:\\a b\\c.exe\" /x")},
        {Root::CurrentUser, "\\Software\\Run", "", RegValue::string("C:\\x")},
        {Root::CurrentUser, "\\Software\\Run", "Lines", RegValue::string("C:\\a\r\nC:\\b\tc")},
        {Root::Users, "S-1-5-21\\Software\\App", "Long", RegValue::expand_string(long_text)},
        {Root::LocalMachine, "\\SOFTWARE\\Classes\\x", "Wide", RegValue::string("C:\\Caf\xc3\xa9\\\xf0\x9f\x98\x80.dll")},
        {Root::LocalMachine, "\\Software\\App", "Empty", RegValue::expand_string("")},
    };
    const std::vector<BackupEntry> read = regclean::read_backup(regclean::reg_file(written), kFile);
    ASSERT_EQ(read.size(), written.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].root, written[i].root) << i;
        EXPECT_EQ("\\" + read[i].key_path, written[i].key_path.front() == '\\' ? written[i].key_path
                                                                             : "\\" + written[i].key_path)
            << i;
        EXPECT_EQ(read[i].name, written[i].name) << i;
        EXPECT_EQ(read[i].value, written[i].value) << i;
    }
}

struct Hostile {
    const char* what;
    std::string text;  // after the header line
    int line;          // the line named
};

const std::string kHeader = "Windows Registry Editor Version 5.00\r\n";

class ReadBackupRefuses : public ::testing::TestWithParam<Hostile> {};

// Refused with the file and the line named; and a restore of it writes nothing.
TEST_P(ReadBackupRefuses, NamingTheFileAndLineAndWritingNothing) {
    const std::vector<std::uint8_t> bytes = utf16(kHeader + GetParam().text);
    try {
        regclean::read_backup(bytes, kFile);
        ADD_FAILURE() << "read";
    } catch (const core::VeltranoError& e) {
        EXPECT_THAT(e.what(), HasSubstr(kFile + " cannot be read at line " + std::to_string(GetParam().line) + ". "));
        EXPECT_THAT(e.what(), HasSubstr("Nothing was written to the registry."));
    }
    fakes::MemoryRegistry registry;
    fakes::FakeFileSystem files;
    files.files[kFile] = bytes;
    fakes::StoppingRegistry watched(registry);
    regclean::BackupRestorer restorer(watched, files, nullptr, nullptr);
    EXPECT_THROW(restorer.restore(kFile), core::VeltranoError);
    EXPECT_TRUE(watched.changes().empty());
    EXPECT_EQ(files.files.size(), 1u) << "no note beside it";
}

const std::string kKey = "\r\n[HKEY_CURRENT_USER\\Software\\Run]\r\n";

INSTANTIATE_TEST_SUITE_P(
    Files, ReadBackupRefuses,
    ::testing::ValuesIn(std::vector<Hostile>{
        {"cut in hex data", kKey + "\"A\"=hex(2):43,00,\\\r\n", 4},
        {"cut at a line's end", kKey + "\"A\"=\"x\"\r\n", 4},
        {"cut in the last blank line", kKey + "\"A\"=\"x\"\r\n\r", 5},
        {"no closing quote", kKey + "\"A\"=\"x\r\n\r\n", 4},
        {"another type", kKey + "\"A\"=dword:00000001\r\n\r\n", 4},
        {"deleted key", "\r\n[-HKEY_CURRENT_USER\\Software\\Run]\r\n\r\n", 3},
        {"deleted value", kKey + "\"A\"=-\r\n\r\n", 4},
        {"outside the scans", "\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\x]\r\n\"A\"=\"x\"\r\n\r\n", 3},
        {"no root", "\r\n[Software\\Run]\r\n\r\n", 3},
        {"bad escape", kKey + "\"A\"=\"C:\\x\"\r\n\r\n", 4},
        {"value before key", "\r\n\"A\"=\"x\"\r\n\r\n", 3},
        {"twice", kKey + "\"A\"=\"x\"\r\n\"a\"=\"y\"\r\n\r\n", 5},
        {"odd hex", kKey + "\"A\"=hex(2):43,00,00\r\n\r\n", 4},
        {"no null", kKey + "\"A\"=hex(1):43,00\r\n\r\n", 4},
        {"not hex", kKey + "\"A\"=hex(1):4g,00,00,00\r\n\r\n", 4},
        {"bare line feeds", kKey + "\"A\"=\"x\"\n\n", 4},
    }),
    [](const auto& info) {
        std::string name;
        for (char c : std::string(info.param.what)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

TEST(ReadBackup, RefusesAFileInAnsiAtLineOne) {
    const std::string ascii = kHeader + kKey + "\"A\"=\"x\"\r\n\r\n";
    EXPECT_THROW(regclean::read_backup({ascii.begin(), ascii.end()}, kFile), core::VeltranoError);
}

// Cut after any byte, a backup is refused, or (cut between two keys) reads
// as the entries before the cut.
TEST(ReadBackup, ABackupCutAnywhereIsRefusedOrReadsAsItsFirstEntries) {
    const std::vector<BackupEntry> written{
        {Root::CurrentUser, "Software\\A", "One", RegValue::expand_string(std::string(60, 'x'))},
        {Root::CurrentUser, "Software\\B", "", RegValue::string("C:\\b")}};
    const std::vector<std::uint8_t> whole = regclean::reg_file(written);
    for (std::size_t size = 0; size < whole.size(); ++size) {
        try {
            const auto read = regclean::read_backup({whole.begin(), whole.begin() + static_cast<long>(size)}, kFile);
            EXPECT_EQ(read.size(), 1u) << size;
        } catch (const core::VeltranoError&) {
        }
    }
}

// ---- the restore -------------------------------------------------------------------

const std::string kRun = "Software\\Run";

class Restore : public ::testing::Test {
protected:
    Restore() {
        // What a removal took: A and B from one key, C from a key since deleted.
        removed = {{Root::CurrentUser, "\\" + kRun, "A", RegValue::string("C:\\NoSuch\\a.exe")},
                   {Root::CurrentUser, "\\" + kRun, "B", RegValue::expand_string("%Gone%\\b.dll")},
                   {Root::LocalMachine, "\\SOFTWARE\\Gone\\Deep", "C", RegValue::string("C:\\NoSuch\\c")}};
        files.files[kFile] = regclean::reg_file(removed);
        registry.put(Root::CurrentUser, kRun, "Other", RegValue::string("stays"));
        // B came back with other data, from its program.
        registry.put(Root::CurrentUser, kRun, "B", RegValue::string("C:\\New\\b.dll"));
    }
    static std::optional<RegValue> value(platform::Registry& reg, Root root, const std::string& path,
                                         const std::string& name) {
        auto key = reg.open(root, path, false);
        return key ? key->query(name) : std::nullopt;
    }
    std::optional<RegValue> value(Root root, const std::string& path, const std::string& name) {
        return value(registry, root, path, name);
    }
    static std::vector<std::optional<RegValue>> values(platform::Registry& reg) {
        return {value(reg, Root::CurrentUser, kRun, "A"), value(reg, Root::CurrentUser, kRun, "B"),
                value(reg, Root::CurrentUser, kRun, "Other"), value(reg, Root::LocalMachine, "SOFTWARE\\Gone\\Deep", "C")};
    }
    regclean::BackupSummary summary() {
        auto all = restorer.list(kFolder);
        return all.empty() ? regclean::BackupSummary{} : all.front();
    }

    std::vector<BackupEntry> removed;
    fakes::MemoryRegistry registry;
    fakes::FakeFileSystem files;
    fakes::FakeSystemRestore system_restore;
    fakes::MemoryLog log;
    regclean::BackupRestorer restorer{registry, files, &system_restore, &log};
};

TEST_F(Restore, PutsBackTheMissingKeepsTheChangedAndRestoresAKeptOneOnlyWhenAsked) {
    EXPECT_EQ(regclean::backup_line(summary()),
              "2026-12-09 01:02:03    3 entries    HKEY_CURRENT_USER: Software\\Run");
    const regclean::RestoreOutcome first = restorer.restore(kFile);
    EXPECT_EQ(first.restored, 2u);
    EXPECT_EQ(first.kept, 1u);
    EXPECT_EQ(regclean::outcome_text(first), "Restored 2 entries. 1 entry was kept: it was changed since.");
    EXPECT_EQ(value(Root::CurrentUser, kRun, "A"), removed[0].value);
    EXPECT_EQ(value(Root::CurrentUser, kRun, "B"), RegValue::string("C:\\New\\b.dll"));
    EXPECT_EQ(value(Root::LocalMachine, "SOFTWARE\\Gone\\Deep", "C"), removed[2].value);
    EXPECT_EQ(value(Root::CurrentUser, kRun, "Other"), RegValue::string("stays"));
    EXPECT_EQ(system_restore.steps, (std::vector<std::string>{"begin Veltrano: restore 2 registry entries", "end"}));
    EXPECT_THAT(log.lines, ::testing::Contains("Restored HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone\\Deep: C"));
    EXPECT_THAT(log.lines, ::testing::Contains("Kept HKEY_CURRENT_USER\\Software\\Run: B, changed since the removal"));

    const auto entries = restorer.entries(kFile);
    const auto states = restorer.states(entries);
    EXPECT_EQ(regclean::entry_cells(entries[1], states[1]),
              (std::vector<std::string>{"HKEY_CURRENT_USER: Software\\Run", "B", "%Gone%\\b.dll",
                                        "kept: it was changed since"}));
    EXPECT_THAT(regclean::backup_line(summary()), ::testing::EndsWith("(restored)"));
    EXPECT_THAT(regclean::backup_status(summary()), HasSubstr("1 entry was kept because it was changed since"));

    // Again: nothing to do, nothing asked of System Restore.
    system_restore.steps.clear();
    const regclean::RestoreOutcome again = restorer.restore(kFile);
    EXPECT_EQ(again.restored, 0u);
    EXPECT_EQ(again.already, 2u);
    EXPECT_TRUE(system_restore.steps.empty());

    const regclean::RestoreOutcome anyway = restorer.restore(kFile, {1});
    EXPECT_EQ(anyway.restored, 1u);
    EXPECT_EQ(value(Root::CurrentUser, kRun, "B"), removed[1].value) << "the backup's type too";
    EXPECT_EQ(regclean::backup_status(summary()), "This backup is restored: every entry holds the backup's data.");
}

TEST_F(Restore, ListsBackupsNewestFirstAndSaysWhichCannotBeRead) {
    files.files[kFolder + "\\Removed 2026-12-09 01.02.03 (2).reg"] = files.files[kFile];
    files.files[kFolder + "\\Removed 2025-01-31 23.59.59.reg"] = files.files[kFile];
    files.files[kFolder + "\\Removed 2026-12-10 00.00.00.reg"] = utf16("REGEDIT4\r\n");
    files.files[kFolder + "\\Ignored entries.txt"] = {};
    std::vector<std::string> order;
    for (const auto& s : restorer.list(kFolder)) order.push_back(s.when + (s.error.empty() ? "" : " !"));
    EXPECT_EQ(order, (std::vector<std::string>{"2026-12-10 00:00:00 !", "2026-12-09 01:02:03",
                                               "2026-12-09 01:02:03", "2025-01-31 23:59:59"}));
    EXPECT_EQ(restorer.list(kFolder)[1].file, kFolder + "\\Removed 2026-12-09 01.02.03 (2).reg");
}

// Stopped before each registry call in turn, with B asked back anyway, then
// run again (a plain Restore once the restore had begun): the machine ends
// as one whole restore leaves it, and the backup says it is restored.
TEST_F(Restore, AStoppedRestoreRunAgainEndsWhole) {
    fakes::MemoryRegistry before(registry);
    const auto files_before = files.files;
    restorer.restore(kFile, {1});
    const auto want = values(registry);
    for (std::size_t stop = 0;; ++stop) {
        fakes::MemoryRegistry reg(before);
        files.files = files_before;
        fakes::StoppingRegistry stopping(reg, stop);
        regclean::BackupRestorer cut(stopping, files, &system_restore, &log);
        bool stopped = false;
        try {
            cut.restore(kFile, {1});
        } catch (const fakes::Stopped&) {
            stopped = true;
        }
        regclean::BackupRestorer next(reg, files, &system_restore, &log);
        // Begun: a plain Restore finishes it as asked. Not begun: asked again.
        if (next.note(kFile) == regclean::RestoreNote::Started)
            next.restore(kFile);
        else
            next.restore(kFile, {1});
        EXPECT_EQ(values(reg), want) << "stopped before call " << stop;
        EXPECT_EQ(next.note(kFile), regclean::RestoreNote::Finished) << stop;
        if (!stopped) break;
    }
}

}  // namespace
