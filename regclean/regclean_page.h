// The registry analyser and cleaner: a walk over the current user's keys,
// the users' keys and the machine's software keys that lists every string
// value whose name or data points at a missing file or folder, a word on the
// selected entry, and the removal of the selected entries' values.
#pragma once

#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/time.h"
#include "regclean/reg_backup.h"
#include "regclean/reg_scanner.h"
#include "ui/dialogs.h"
#include "ui/page.h"
#include "ui/widgets.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace veltrano::regclean {

inline constexpr std::string_view kGrid = "StringGrid1";
inline constexpr std::string_view kDescription = "RichEdit1";
inline constexpr std::string_view kStartButton = "Button1";
inline constexpr std::string_view kRemoveButton = "Button2";
inline constexpr std::string_view kStopButton = "Button3";

struct GridColumn {
    std::string_view heading;
    int width;
};
inline constexpr std::array<GridColumn, 4> kColumns{{
    {"Registry Key", 128},
    {"Last Modification", 99},
    {"String Value", 137},
    {"File/Path reference", 178},
}};
inline constexpr int kDesignRows = 50;
inline constexpr int kGrowthRows = 10;

inline constexpr std::string_view kNothingFound = "No invalid references detected.";
inline constexpr std::string_view kBackupFolder = "Veltrano\\Backups";

// Where a scan starts, in order. Of the machine's keys only Software.
struct ScanStart {
    platform::Root root;
    std::string_view root_name;
    std::string_view path;
};
inline constexpr std::array<ScanStart, 3> kScanStarts{{
    {platform::Root::CurrentUser, "HKEY_CURRENT_USER", "\\"},
    {platform::Root::Users, "HKEY_USERS", "\\"},
    {platform::Root::LocalMachine, "HKEY_LOCAL_MACHINE", "\\Software"},
}};

// Column 0 of a row taken apart: the root's name before the first ':', the
// path from two characters after it, with a leading '\'.
struct KeyCell {
    std::string root_name;
    std::string key_path;
};
KeyCell split_key_cell(const std::string& cell);

// What RichEdit1 says of a row, from its four cells.
std::string describe_entry(const std::string& key, const std::string& modified, const std::string& name,
                           const std::string& data);
std::string removal_question(int rows);

class RegCleanPage : public ui::Page {
public:
    RegCleanPage(platform::Registry& registry, platform::FileSystem& files, platform::Time& time,
                 ui::Widgets& widgets, ui::Dialogs& dialogs);

    // The grid's headings and widths; Remove and Stop disabled.
    void created() override;
    void destroyed() override;

    void Button1Click();  // Start Registry Scan
    void Button2Click();  // Remove Selected Entry
    void Button3Click();  // Stop Registry Scan
    // The user selected a row of the grid.
    void StringGrid1SelectCell(int row);

    // Where the backups of removed values go: "Veltrano\Backups" below the
    // user's application data folder.
    std::string backup_folder();

private:
    void scan_registry();
    void scan_key_tree();
    void scan_key_values();
    void add_entry(const std::string& name, const std::string& data);
    // Writes the file, or raises the error that keeps the values in place.
    void write_backup(const std::vector<BackupEntry>& entries);
    bool stopping() const { return scan_stop_requested_ || window_gone_; }
    ui::Grid& grid() { return widgets_.grid(kGrid); }

    platform::Registry& registry_;
    platform::FileSystem& files_;
    platform::Time& time_;
    ui::Widgets& widgets_;
    ui::Dialogs& dialogs_;

    RegScanner reg_scanner_;
    int next_free_row_ = 1;
    bool scan_stop_requested_ = false;
    bool select_first_pending_ = true;
    std::string current_root_name_;
    // A scan lets clicks in while it runs; these must not start another
    // scan (or a removal, which ends in one) on top of it.
    bool scanning_ = false;
    bool window_gone_ = false;
};

}  // namespace veltrano::regclean
