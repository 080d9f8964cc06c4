// Puts back what a removal took, from its backup in the backups folder:
// each entry exactly as the file holds it, unless its value is there again
// with other data (then it is kept, and put back only when the user says so
// for that entry). A note beside the backup says a restore has begun before
// the first change and that it finished after the last: a restore stopped
// half way is run again to its end, the entries already back counting as done.
#pragma once

#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/system_restore.h"
#include "regclean/reg_backup.h"
#include "ui/activity_log.h"

#include <set>
#include <string>
#include <vector>

namespace veltrano::regclean {

// An entry of a backup as the registry holds it now.
enum class EntryState {
    Missing,   // the value is not there: Restore puts it back
    Restored,  // the value is there with the backup's type and data
    Changed,   // the value is there with other data: kept unless restored anyway
};

// What the note beside a backup says.
enum class RestoreNote { None, Started, Finished };

struct BackupSummary {
    std::string file;  // the whole path
    std::string when;  // "2026-12-09 01:02:03", from the name the removal gave it; else the name
    std::size_t entry_count = 0;
    std::string first_key;  // as the cleaner's grid shows a key
    std::string error;      // why it cannot be read; then nothing else is known
    RestoreNote note = RestoreNote::None;
    std::size_t restored = 0, changed = 0;  // entries in these states now
};

struct RestoreOutcome {
    std::size_t restored = 0;  // written now
    std::size_t already = 0;   // there with the backup's data before
    std::size_t kept = 0;      // changed since, left as they are
    std::size_t failed = 0;
    std::string failure;  // the registry's words for the last failure
};

// The key of an entry as the cleaner's grid shows it: "HKEY_CURRENT_USER: Software\Run".
std::string entry_key_cell(const BackupEntry& entry);
// The entry's columns in the restore window: key, value, data, state.
std::vector<std::string> entry_cells(const BackupEntry& entry, EntryState state);
// A backup's line in the restore window's list.
std::string backup_line(const BackupSummary& summary);
// What the window says under the entries of the chosen backup.
std::string backup_status(const BackupSummary& summary);
// What the window says when a restore ended.
std::string outcome_text(const RestoreOutcome& outcome);

class BackupRestorer {
public:
    // With no log, the restore tells no one; with no service, no restore
    // point is asked for.
    BackupRestorer(platform::Registry& registry, platform::FileSystem& files, platform::SystemRestore* system_restore,
                   ui::ActivityLog* log);

    // The backups in the folder, newest first.
    std::vector<BackupSummary> list(const std::string& folder);
    // The file's entries; raises core::VeltranoError when it cannot be read
    // or is no backup of ours.
    std::vector<BackupEntry> entries(const std::string& file);
    std::vector<EntryState> states(const std::vector<BackupEntry>& entries);
    RestoreNote note(const std::string& file);

    // Puts back the entries that are missing, and those at the places in
    // `anyway` whatever they hold now; finishes a restore of the same file
    // that was stopped, with what it was asked to restore anyway. Raises
    // core::VeltranoError, having written nothing, when the file cannot be
    // read or the note cannot be written.
    RestoreOutcome restore(const std::string& file, const std::set<std::size_t>& anyway = {});

private:
    void write_note(const std::string& file, RestoreNote note, const std::set<std::size_t>& anyway);
    std::set<std::size_t> noted_anyway(const std::string& file);

    platform::Registry& registry_;
    platform::FileSystem& files_;
    platform::SystemRestore* system_restore_;
    ui::ActivityLog* log_;
};

}  // namespace veltrano::regclean
