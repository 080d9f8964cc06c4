#include "regclean/regclean_page.h"

#include "core/error.h"
#include "regclean/file_time.h"
#include "regclean/path_reference.h"

#include <memory>
#include <utility>
#include <vector>

namespace veltrano::regclean {

using platform::Root;

KeyCell split_key_cell(const std::string& cell) {
    const std::size_t colon = cell.find(':');
    if (colon == std::string::npos) return {cell, "\\"};
    return {cell.substr(0, colon), ensure_leading_backslash(colon + 2 <= cell.size() ? cell.substr(colon + 2) : "")};
}

std::string describe_entry(const std::string& key, const std::string& modified, const std::string& name,
                           const std::string& data) {
    return "Registry Key:  " + key + " which was last updated on: " + modified + " has a subkey:  " + name +
           " with invalid value: " + data +
           ". It may be a good idea to delete this key. But this is just a recommendation." +
           "Be aware of the fact that even a minor mistake with registry can render your system useless. Don't " +
           "delete it if you are not sure. If this is what you want to do, click on the 'Remove Selected Entry' ";
}

std::string removal_question(int rows) {
    if (rows == 1) return "Are you sure you want to remove selected entry from the Registry?";
    return "Are you sure you want to remove " + std::to_string(rows) + " selected entries from the Registry?";
}

namespace {

std::optional<Root> root_named(const std::string& name) {
    for (const ScanStart& start : kScanStarts)
        if (start.root_name == name) return start.root;
    return std::nullopt;
}

// Clears a flag however the scope is left: a scan may end in an error.
class Raised {
public:
    explicit Raised(bool& flag) : flag_(flag) { flag_ = true; }
    ~Raised() { flag_ = false; }
    Raised(const Raised&) = delete;
    Raised& operator=(const Raised&) = delete;

private:
    bool& flag_;
};

}  // namespace

RegCleanPage::RegCleanPage(platform::Registry& registry, platform::FileSystem& files, platform::Time& time,
                           ui::Widgets& widgets, ui::Dialogs& dialogs)
    : registry_(registry), files_(files), time_(time), widgets_(widgets), dialogs_(dialogs), reg_scanner_(registry) {}

void RegCleanPage::created() {
    ui::Grid& g = grid();
    g.set_column_count(static_cast<int>(kColumns.size()));
    g.set_row_count(kDesignRows);
    for (int c = 0; c < static_cast<int>(kColumns.size()); ++c) {
        g.set_column_width(c, kColumns[c].width);
        g.set_cell(c, 0, std::string(kColumns[c].heading));
    }
    next_free_row_ = 1;
    select_first_pending_ = true;
    widgets_.set_enabled(kRemoveButton, false);
    widgets_.set_enabled(kStopButton, false);
}

void RegCleanPage::destroyed() { window_gone_ = true; }

void RegCleanPage::Button1Click() {
    if (scanning_) return;
    widgets_.set_enabled(kStopButton, true);
    next_free_row_ = 1;
    ui::Grid& g = grid();
    g.set_row_count(2);
    for (int c = 0; c < static_cast<int>(kColumns.size()); ++c) g.set_cell(c, 1, "");
    scan_registry();
}

void RegCleanPage::Button3Click() { scan_stop_requested_ = true; }

void RegCleanPage::scan_registry() {
    const Raised scanning(scanning_);
    scan_stop_requested_ = false;
    select_first_pending_ = true;
    for (const ScanStart& start : kScanStarts) {
        if (stopping()) break;
        current_root_name_ = start.root_name;
        reg_scanner_.set_root(start.root);
        if (reg_scanner_.open_absolute(std::string(start.path))) scan_key_tree();
    }
    // The window went while we pumped its messages: nothing left to show.
    if (window_gone_) return;
    grid().set_row_count(next_free_row_);
    widgets_.set_enabled(kStopButton, false);
    if (next_free_row_ == 1) {
        dialogs_.show_information(std::string(kNothingFound));
        widgets_.set_enabled(kRemoveButton, false);
    } else {
        widgets_.set_enabled(kRemoveButton, true);
    }
}

// Recursion one level per key level: the frame holds a path and the list
// of names, both on the heap, so the registry's 512 levels stay far from
// the stack's end.
void RegCleanPage::scan_key_tree() {
    const std::string parent = ensure_leading_backslash(reg_scanner_.path());
    const std::vector<std::string> names = reg_scanner_.key().subkey_names();
    for (const std::string& name : names) {
        // A key we may not open is passed over with all below it.
        if (reg_scanner_.open_relative(name)) {
            scan_key_values();
            if (stopping()) break;
            scan_key_tree();
        }
        if (stopping()) break;
        if (!reg_scanner_.open_absolute(parent)) throw core::VeltranoError("Can not open key " + parent);
    }
}

void RegCleanPage::scan_key_values() {
    platform::RegKey& key = reg_scanner_.key();
    for (const std::string& name : key.value_names()) {
        const std::optional<platform::RegValue> value = key.query(name);
        if (!value || (value->kind != platform::ValueKind::String && value->kind != platform::ValueKind::ExpandString))
            continue;
        // Once per string value: often enough for Stop to be honoured at
        // once and the window to repaint, whatever the registry holds.
        widgets_.pump_messages();
        if (stopping()) break;
        if (is_valid_path_reference(name, files_) && is_valid_path_reference(value->text, files_)) continue;
        add_entry(name, value->text);
    }
}

void RegCleanPage::add_entry(const std::string& name, const std::string& data) {
    ui::Grid& g = grid();
    // Ten rows at a time: the list is drawn again per step, not per find.
    if (next_free_row_ >= g.row_count()) g.set_row_count(g.row_count() + kGrowthRows);
    const int row = next_free_row_;
    g.set_cell(0, row, current_root_name_ + ": " + reg_scanner_.path());
    g.set_cell(1, row, format_last_write(reg_scanner_.key().last_write_time()));
    g.set_cell(2, row, name);
    g.set_cell(3, row, data);
    if (select_first_pending_) {
        select_first_pending_ = false;
        // Set by us, so no select event: the description keeps its text
        // until the user picks a row.
        g.select_rows(1, 1);
    }
    ++next_free_row_;
}

void RegCleanPage::StringGrid1SelectCell(int row) {
    if (select_first_pending_) return;
    ui::Grid& g = grid();
    if (row < 1 || row >= g.row_count()) return;  // the headings are no entry
    widgets_.set_text(kDescription, describe_entry(g.cell(0, row), g.cell(1, row), g.cell(2, row), g.cell(3, row)));
}

void RegCleanPage::Button2Click() {
    if (scanning_) return;
    ui::Grid& g = grid();
    const std::vector<int> rows = g.selected_rows();
    if (rows.empty()) return;
    if (!dialogs_.warn_yes_no(removal_question(static_cast<int>(rows.size())))) return;

    // Every value is read and saved before the first one goes; the rows
    // after a key that will not open are left alone, as they always were.
    std::vector<BackupEntry> backup;
    std::vector<std::pair<std::unique_ptr<platform::RegKey>, std::string>> removals;
    std::optional<std::string> unopened;
    for (int row : rows) {
        const std::string cell = g.cell(0, row);
        if (cell.empty()) continue;  // a row the last scan did not fill
        const KeyCell where = split_key_cell(cell);
        const std::optional<Root> root = root_named(where.root_name);
        std::unique_ptr<platform::RegKey> key = root ? registry_.open(*root, where.key_path, false) : nullptr;
        if (!key) {
            unopened = where.key_path;
            break;
        }
        const std::string name = g.cell(2, row);
        const std::optional<platform::RegValue> value = key->query(name);
        // Gone already, or no longer the string we listed: nothing to remove.
        if (!value || !can_back_up(*value)) continue;
        backup.push_back({*root, where.key_path, name, *value});
        removals.emplace_back(std::move(key), name);
    }
    if (!backup.empty()) write_backup(backup);
    // A value that will not go shows again in the scan below.
    for (auto& [key, name] : removals) key->delete_value(name);
    if (unopened) throw core::VeltranoError("Error opening registry key " + *unopened);
    Button1Click();
}

std::string RegCleanPage::backup_folder() {
    const std::string app_data = files_.app_data_folder();
    return app_data.empty() ? std::string() : app_data + "\\" + std::string(kBackupFolder);
}

void RegCleanPage::write_backup(const std::vector<BackupEntry>& entries) {
    const std::string folder = backup_folder();
    const auto refuse = [&] {
        throw core::VeltranoError("Nothing was removed: the backup of the entries could not be written to " +
                                  (folder.empty() ? std::string("the application data folder") : folder));
    };
    if (folder.empty() || !files_.create_directories(folder)) refuse();
    const platform::SystemTime now = time_.local_time();
    const std::string stamp = std::to_string(now.year) + "-" + zero_padded(now.month) + "-" + zero_padded(now.day) +
                              " " + zero_padded(now.hour) + "." + zero_padded(now.minute) + "." +
                              zero_padded(now.second);
    const std::vector<std::uint8_t> bytes = reg_file(entries);
    // Two removals within a second get a file each.
    for (int n = 1; n <= 100; ++n) {
        const std::string file =
            folder + "\\Removed " + stamp + (n == 1 ? std::string() : " (" + std::to_string(n) + ")") + ".reg";
        if (files_.write_new_file(file, bytes)) return;
        if (files_.exists(file)) continue;
        break;
    }
    refuse();
}

}  // namespace veltrano::regclean
