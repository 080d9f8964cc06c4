// The registry analyser and cleaner: a walk over the current user's keys,
// the users' keys and the machine's software keys that lists every string
// value whose name or data points at a missing file or folder, a word on the
// selected entry, and the removal of the selected entries' values.
#pragma once

#include "i18n/translate.h"
#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/system_restore.h"
#include "platform/time.h"
#include "regclean/backup_restore.h"
#include "regclean/finds.h"
#include "regclean/ignore_list.h"
#include "regclean/reg_backup.h"
#include "regclean/reg_scanner.h"
#include "ui/activity_log.h"
#include "ui/dialogs.h"
#include "ui/page.h"
#include "ui/widgets.h"

#include <array>
#include <string>
#include <string_view>

namespace veltrano::regclean {

// The page, a group box of the main window.
inline constexpr ui::GroupBox kPage{"GroupBox14"};
inline constexpr ui::StringGrid kGrid{"StringGrid1"};
inline constexpr ui::Edit kDescription{"RichEdit1"};
inline constexpr ui::Button kStartButton{"Button1"};
inline constexpr ui::Button kRemoveButton{"Button2"};
inline constexpr ui::Button kStopButton{"Button3"};
inline constexpr ui::Button kIgnoredButton{"ButtonIgnored"};
inline constexpr ui::Button kRestoreButton{"ButtonRestore"};
inline constexpr ui::MenuItem kIgnoreEntryItem{"IgnoreEntry1"};
inline constexpr ui::MenuItem kIgnoreKeyItem{"IgnoreKey1"};

struct GridColumn {
    std::string_view heading;
    int width;
};
inline constexpr std::array<GridColumn, 4> kColumns{{
    // TRANSLATORS: a column of the registry cleaner's list: the key holding the value
    {i18n::N_("Registry Key"), 128},
    // TRANSLATORS: a column of the registry cleaner's list: when the key was last changed
    {i18n::N_("Last Modification"), 99},
    // TRANSLATORS: a column of the registry cleaner's list: the value's name
    {i18n::N_("String Value"), 137},
    // TRANSLATORS: a column of the registry cleaner's list: the missing file or folder the value names
    {i18n::N_("File/Path reference"), 178},
}};
inline constexpr int kDesignRows = 50;
inline constexpr int kGrowthRows = 10;

inline constexpr ui::Label kProgress{"StaticText10"};

inline constexpr std::string_view kNothingFound = i18n::N_("No invalid references detected.");
inline constexpr std::string_view kBackupFolder = "Veltrano\\Backups";
// Beside the backups.
inline constexpr std::string_view kIgnoreFile = "Ignored entries.txt";

// What RichEdit1 says of a row, from its four cells.
std::string describe_entry(const std::string& key, const std::string& modified, const std::string& name,
                           const std::string& data);
// Why the find is listed, then what describe_entry says of its row.
std::string describe_find(const Find& find);
std::string removal_question(int rows);
// The progress line below the description: while the walk goes on, and when
// it ended, stopped or not.
std::string progress_text(const ScanProgress& progress, bool scanning, bool stopped);

class RegCleanPage : public ui::Page {
public:
    // A removal asks system_restore for a restore point first and says in
    // the activity log when Windows made none; with no service, nothing is asked.
    RegCleanPage(platform::Registry& registry, platform::FileSystem& files, platform::Time& time,
                 platform::Shell& shell, ui::Widgets& widgets, ui::Dialogs& dialogs,
                 platform::SystemRestore* system_restore = nullptr, ui::ActivityLog* log = nullptr);

    // The grid's headings and widths; Remove and Stop disabled.
    void created() override;
    void destroyed() override;

    void start_scan();
    // "Remove Selected Entry", and the Delete key in the grid.
    void remove_selected_entries();
    void stop_scan();
    // The user selected a row of the grid.
    void describe_row(int row);
    // A click on a heading sorts by its column; a second click reverses.
    void sort_by_column(int column);
    // The grid's menu: the selected entries, or the keys they are in with
    // everything below, go on the ignore list and out of the grid.
    void ignore_selected_entries();
    void ignore_selected_keys();

    // The ignore list as the small window shows it, read from the file anew.
    std::vector<std::string> ignored_entries();
    // Takes the entries at these places of that list off it.
    void unignore(const std::vector<std::size_t>& places);
    std::string ignore_file();

    const Finds& finds() const { return finds_; }

    // Where the backups of removed values go: "Veltrano\Backups" below the
    // user's application data folder.
    std::string backup_folder();
    // "Restore...": the window of the backups opens unless a scan runs,
    // which lets clicks in meanwhile.
    bool restore_may_open() const { return !scanning_; }
    BackupRestorer& restorer() { return restorer_; }

private:
    void scan_registry();
    bool keep_scanning();
    void add_entry(Find find);
    void show_finds();
    // What a removal did, for the user.
    struct Removed {
        int removed = 0, left = 0, failed = 0;
        std::string failure, backup_file;
    };
    void report(const Removed& removed);
    // Writes the file and names it, or raises the error that keeps the
    // values in place.
    std::string write_backup(const std::vector<BackupEntry>& entries);
    bool still_broken(const Find& find, const platform::RegValue& now);
    // The file's list; empty when there is no file yet. A file that is
    // there but cannot be read raises an error rather than be replaced.
    IgnoreList read_ignore_list();
    // Writes the list whole, or raises the error and keeps the file as it was.
    void write_ignore_list(const IgnoreList& list);
    void ignore_selected(bool whole_keys);
    bool stopping() const { return scan_stop_requested_ || window_gone_; }
    ui::Grid& grid() { return widgets_.grid(kGrid); }
    IgnoreList ignore_list_;

    platform::Registry& registry_;
    platform::FileSystem& files_;
    platform::Time& time_;
    platform::Shell& shell_;
    ui::Widgets& widgets_;
    ui::Dialogs& dialogs_;
    platform::SystemRestore* system_restore_;
    ui::ActivityLog* log_;

    RegScanner reg_scanner_;
    BackupRestorer restorer_;
    Finds finds_;
    int next_free_row_ = 1;
    bool scan_stop_requested_ = false;
    bool select_first_pending_ = true;
    // A scan lets clicks in while it runs; these must not start another
    // scan (or a removal, which ends in one) on top of it.
    bool scanning_ = false;
    bool window_gone_ = false;
    unsigned pumps_ = 0;
    int sort_column_ = -1;
    bool sort_ascending_ = true;
};

}  // namespace veltrano::regclean
