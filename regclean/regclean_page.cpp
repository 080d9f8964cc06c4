#include "regclean/regclean_page.h"

#include "core/error.h"
#include "core/restore_point.h"
#include "i18n/translate.h"
#include "regclean/file_time.h"
#include "regclean/path_reference.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace veltrano::regclean {

using platform::Root;

std::string describe_entry(const std::string& key, const std::string& modified, const std::string& name,
                           const std::string& data) {
    return i18n::trf(
        // TRANSLATORS: {0} the key, {1} when it was last changed, {2} the value's name, {3} its data; 'Remove
        // Selected Entry' is the caption of the button that removes it
        "Registry Key:  {0} which was last updated on: {1} has a subkey:  {2} with invalid value: {3}. It may be a "
        "good idea to delete this key. But this is just a recommendation.Be aware of the fact that even a minor "
        "mistake with registry can render your system useless. Don't delete it if you are not sure. If this is what "
        "you want to do, click on the 'Remove Selected Entry' ",
        key, modified, name, data);
}

std::string describe_find(const Find& find) {
    const std::vector<std::string> cells = row_cells(find);
    // TRANSLATORS: what Windows answered when asked for the file or folder a registry value names
    const std::string answer = find.missing == Missing::Folder ? i18n::tr("no such folder") : i18n::tr("no such file");
    const std::string description = describe_entry(cells[0], cells[1], cells[2], cells[3]);
    return find.name_checked
               ? i18n::trf("Why it is listed: its name was checked, and Windows answered: {0}.\r\n\r\n{1}", answer,
                           description)
               : i18n::trf("Why it is listed: its data was checked, and Windows answered: {0}.\r\n\r\n{1}", answer,
                           description);
}

std::string removal_question(int rows) {
    if (rows == 1) return i18n::tr("Are you sure you want to remove selected entry from the Registry?");
    return i18n::trf("Are you sure you want to remove {0} selected entries from the Registry?", std::to_string(rows));
}

namespace {

// A count in its text: "one" and "many" are templates marked for
// translation, {0} the number.
// Clears a flag however the scope is left: a scan may end in an error.
class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~ScopedFlag() { flag_ = false; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& flag_;
};

// The progress line is redrawn this seldom: each redraw costs a round trip
// to the window system, and the counts move too fast to read anyway.
constexpr unsigned kPumpsPerProgress = 256;

}  // namespace

std::string progress_text(const ScanProgress& p, bool scanning, bool stopped) {
    // TRANSLATORS: a count of registry keys read, put into the scan's progress line
    const std::string keys = i18n::for_count(p.keys, i18n::N_("{0} key"), i18n::N_("{0} keys"));
    // TRANSLATORS: a count of registry values read, put into the scan's progress line
    const std::string values = i18n::for_count(p.values, i18n::N_("{0} value"), i18n::N_("{0} values"));
    // TRANSLATORS: a count of broken registry entries found, put into the scan's progress line
    const std::string found = i18n::for_count(p.found, i18n::N_("{0} entry"), i18n::N_("{0} entries"));
    // TRANSLATORS: {0} a registry root (HKEY_CURRENT_USER), {1} "N keys", {2} "N values", {3} "N entries"
    if (scanning) return i18n::trf("Scanning {0}: {1} and {2} read, {3} found", p.root_name, keys, values, found);
    std::string text =
        stopped
            // TRANSLATORS: {0} a registry root (HKEY_CURRENT_USER), {1} "N keys", {2} "N values", {3} "N entries"
            ? i18n::trf("Scan stopped in {0} after {1} and {2}: {3} found.", p.root_name, keys, values, found)
            // TRANSLATORS: {0} "N keys", {1} "N values", {2} "N entries"
            : i18n::trf("Scan complete: {0} and {1} read, {2} found.", keys, values, found);
    if (p.unreadable > 0)
        text += " " + i18n::for_count(p.unreadable, i18n::N_("{0} key could not be read."),
                              i18n::N_("{0} keys could not be read."));
    if (p.ignored > 0)
        text += " " + i18n::for_count(p.ignored, i18n::N_("{0} entry left out because it is ignored."),
                              i18n::N_("{0} entries left out because they are ignored."));
    return text;
}

RegCleanPage::RegCleanPage(platform::Registry& registry, platform::FileSystem& files, platform::Time& time,
                           platform::Shell& shell, ui::Widgets& widgets, ui::Dialogs& dialogs,
                           platform::SystemRestore* system_restore, ui::ActivityLog* log)
    : registry_(registry),
      files_(files),
      time_(time),
      shell_(shell),
      widgets_(widgets),
      dialogs_(dialogs),
      system_restore_(system_restore),
      log_(log),
      reg_scanner_(registry, files),
      restorer_(registry, files, system_restore, log) {}

void RegCleanPage::created() {
    ui::Grid& g = grid();
    g.set_column_count(static_cast<int>(kColumns.size()));
    g.set_row_count(kDesignRows);
    for (int c = 0; c < static_cast<int>(kColumns.size()); ++c) {
        g.set_column_width(c, kColumns[c].width);
        g.set_cell(c, 0, i18n::tr(kColumns[c].heading));
    }
    next_free_row_ = 1;
    select_first_pending_ = true;
    widgets_.set_enabled(kRemoveButton, false);
    widgets_.set_enabled(kStopButton, false);
}

void RegCleanPage::destroyed() { window_gone_ = true; }

void RegCleanPage::start_scan() {
    if (scanning_) return;
    // Read anew each time: the user may have edited the file.
    ignore_list_ = read_ignore_list();
    // Clicks that would start another scan, or a removal, are not taken
    // while this one runs: the buttons say so.
    // Stop first, so the keyboard's focus can pass from Start to it.
    widgets_.set_enabled(kStopButton, true);
    widgets_.hand_focus(kStartButton, kStopButton);
    widgets_.set_enabled(kStartButton, false);
    widgets_.set_enabled(kRemoveButton, false);
    next_free_row_ = 1;
    finds_.clear();
    sort_column_ = -1;
    ui::Grid& g = grid();
    g.set_row_count(2);
    for (int c = 0; c < static_cast<int>(kColumns.size()); ++c) g.set_cell(c, 1, "");
    scan_registry();
}

void RegCleanPage::stop_scan() { scan_stop_requested_ = true; }

bool RegCleanPage::keep_scanning() {
    widgets_.pump_messages();
    if (!window_gone_ && ++pumps_ % kPumpsPerProgress == 0)
        widgets_.set_text(kProgress, progress_text(reg_scanner_.progress(), true, false));
    return !stopping();
}

void RegCleanPage::scan_registry() {
    const ScopedFlag scanning(scanning_);
    scan_stop_requested_ = false;
    select_first_pending_ = true;
    pumps_ = 0;
    grid().set_busy(true);
    RegScanner::Events events;
    events.keep_going = [this] { return keep_scanning(); };
    events.found = [this](Find find) { add_entry(std::move(find)); };
    events.ignored = [this](const Find& find) { return ignore_list_.ignores(find.root, find.key_path, find.name); };
    const bool complete = reg_scanner_.scan(events);
    // The window went while we pumped its messages: nothing left to show.
    if (window_gone_) return;
    grid().set_busy(false);
    grid().set_row_count(next_free_row_);
    widgets_.set_text(kProgress, progress_text(reg_scanner_.progress(), false, !complete));
    widgets_.set_enabled(kStartButton, true);
    widgets_.hand_focus(kStopButton, kStartButton);
    widgets_.set_enabled(kStopButton, false);
    widgets_.set_enabled(kRemoveButton, !finds_.empty());
    // A stopped scan proves nothing: only a complete one may say it found nothing.
    if (complete && finds_.empty()) dialogs_.show_information(i18n::tr(kNothingFound));
}

void RegCleanPage::add_entry(Find find) {
    ui::Grid& g = grid();
    // Ten rows at a time: the list is drawn again per step, not per find.
    if (next_free_row_ >= g.row_count()) g.set_row_count(g.row_count() + kGrowthRows);
    const int row = next_free_row_;
    const std::vector<std::string> cells = row_cells(find);
    for (int c = 0; c < static_cast<int>(cells.size()); ++c) g.set_cell(c, row, cells[static_cast<std::size_t>(c)]);
    finds_.push_back(std::move(find));
    if (select_first_pending_) {
        select_first_pending_ = false;
        // Set by us, so no select event: the description keeps its text
        // until the user picks a row.
        g.select_rows(1, 1);
    }
    ++next_free_row_;
}

void RegCleanPage::show_finds() {
    ui::Grid& g = grid();
    g.set_row_count(1);
    g.set_row_count(static_cast<int>(finds_.size()) + 1);
    for (std::size_t i = 0; i < finds_.size(); ++i) {
        const std::vector<std::string> cells = row_cells(finds_[i]);
        for (int c = 0; c < static_cast<int>(cells.size()); ++c)
            g.set_cell(c, static_cast<int>(i) + 1, cells[static_cast<std::size_t>(c)]);
    }
}

void RegCleanPage::describe_row(int row) {
    if (select_first_pending_) return;
    if (row < 1 || row > static_cast<int>(finds_.size())) return;  // the headings are no entry
    widgets_.set_text(kDescription, describe_find(finds_[static_cast<std::size_t>(row) - 1]));
}

void RegCleanPage::sort_by_column(int column) {
    if (scanning_ || column < 0 || column >= static_cast<int>(kColumns.size()) || finds_.empty()) return;
    sort_ascending_ = column == sort_column_ ? !sort_ascending_ : true;
    sort_column_ = column;
    sort_finds(finds_, column, sort_ascending_);
    show_finds();
}

std::string RegCleanPage::ignore_file() {
    const std::string folder = backup_folder();
    return folder.empty() ? std::string() : folder + "\\" + std::string(kIgnoreFile);
}

IgnoreList RegCleanPage::read_ignore_list() {
    const std::string file = ignore_file();
    std::vector<std::uint8_t> bytes;
    if (file.empty() || !files_.exists(file)) return {};
    if (!files_.read_file(file, bytes))
        throw core::VeltranoError(i18n::trf("The list of ignored entries could not be read from {0}", file));
    return IgnoreList::parse(std::string(bytes.begin(), bytes.end()));
}

void RegCleanPage::write_ignore_list(const IgnoreList& list) {
    const std::string folder = backup_folder();
    const std::string file = ignore_file();
    const std::string text = list.text();
    const std::vector<std::uint8_t> bytes(text.begin(), text.end());
    // Replaced whole: a run cut short leaves the old list or the new one,
    // never half of one.
    if (folder.empty() || !files_.create_directories(folder) || !files_.replace_file(file, bytes))
        throw core::VeltranoError(i18n::trf("The list of ignored entries could not be written to {0}; it is as it was.",
                                            file.empty() ? i18n::tr("the application data folder") : file));
}

void RegCleanPage::ignore_selected(bool whole_keys) {
    if (scanning_) return;
    std::vector<std::size_t> chosen;
    for (int row : grid().selected_rows())
        if (row >= 1 && row <= static_cast<int>(finds_.size())) chosen.push_back(static_cast<std::size_t>(row) - 1);
    if (chosen.empty()) return;
    IgnoreList list = read_ignore_list();
    for (std::size_t index : chosen) {
        const Find& find = finds_[index];
        list.add({find.root, find.key_path, whole_keys ? std::nullopt : std::optional<std::string>(find.name)});
    }
    write_ignore_list(list);
    ignore_list_ = std::move(list);
    const std::size_t before = finds_.size();
    std::erase_if(finds_, [&](const Find& f) { return ignore_list_.ignores(f.root, f.key_path, f.name); });
    show_finds();
    grid().select_rows(0, 0);
    widgets_.set_enabled(kRemoveButton, !finds_.empty());
    const std::size_t gone = before - finds_.size();
    widgets_.set_text(kProgress,
                      i18n::for_count(gone,
                              i18n::N_("{0} entry put on the ignore list: scans leave it out until it is taken off "
                                       "with \"Ignored...\"."),
                              i18n::N_("{0} entries put on the ignore list: scans leave them out until they are taken "
                                       "off with \"Ignored...\".")));
}

void RegCleanPage::ignore_selected_entries() { ignore_selected(false); }

void RegCleanPage::ignore_selected_keys() { ignore_selected(true); }

std::vector<std::string> RegCleanPage::ignored_entries() {
    ignore_list_ = read_ignore_list();
    std::vector<std::string> out;
    for (const IgnoredEntry& entry : ignore_list_.entries()) out.push_back(entry_text(entry));
    return out;
}

void RegCleanPage::unignore(const std::vector<std::size_t>& places) {
    // The places are those of the list as the window showed it; the file
    // is read again, so that only those entries go, whatever was edited since.
    std::vector<std::string> chosen;
    for (std::size_t place : places)
        if (place < ignore_list_.entries().size()) chosen.push_back(entry_text(ignore_list_.entries()[place]));
    IgnoreList list = read_ignore_list();
    for (std::size_t i = list.entries().size(); i-- > 0;)
        if (std::find(chosen.begin(), chosen.end(), entry_text(list.entries()[i])) != chosen.end()) list.remove(i);
    write_ignore_list(list);
    ignore_list_ = std::move(list);
}

// Removed only while it is what the grid showed and still points at
// something missing: a value repaired or changed since the scan is the
// user's or another program's, not ours to take.
bool RegCleanPage::still_broken(const Find& find, const platform::RegValue& now) {
    if (!can_back_up(now) || now.text != find.data) return false;
    return !is_valid_path_reference(find.name, files_, find.below_wow6432node) ||
           !is_valid_path_reference(find.data, files_, find.below_wow6432node);
}

void RegCleanPage::remove_selected_entries() {
    if (scanning_) return;
    std::vector<std::size_t> chosen;
    for (int row : grid().selected_rows())
        if (row >= 1 && row <= static_cast<int>(finds_.size())) chosen.push_back(static_cast<std::size_t>(row) - 1);
    if (chosen.empty()) return;
    if (!dialogs_.warn_yes_no(removal_question(static_cast<int>(chosen.size())))) return;

    // Every value is checked and saved before the first one goes; the
    // entries after a key that will not open are left alone.
    Removed result;
    std::vector<BackupEntry> backup;
    std::vector<std::pair<std::unique_ptr<platform::RegKey>, std::string>> removals;
    std::optional<std::string> unopened;
    for (std::size_t index : chosen) {
        const Find& find = finds_[index];
        const std::string path = ensure_leading_backslash(find.key_path);
        // Write access to this key alone, and only to its values.
        std::unique_ptr<platform::RegKey> key = registry_.open_existing(find.root, path, platform::Access::ChangeValues);
        if (!key) {
            if (registry_.open_existing(find.root, path, platform::Access::Read)) {
                unopened = path;
                break;
            }
            ++result.left;  // the key itself is gone, and the value with it
            continue;
        }
        const std::optional<platform::RegValue> value = key->query(find.name);
        if (!value || !still_broken(find, *value)) {
            ++result.left;
            continue;
        }
        backup.push_back({find.root, path, find.name, *value});
        removals.emplace_back(std::move(key), find.name);
    }
    // Before the first change, with the backup: Windows' own way back.
    std::optional<core::RestorePoint> point;
    if (!removals.empty() && log_)
        point.emplace(system_restore_, *log_,
                      "Veltrano: remove " + std::to_string(removals.size()) + " registry entr" +
                          (removals.size() == 1 ? "y" : "ies"));
    if (!backup.empty()) result.backup_file = write_backup(backup);
    for (auto& [key, name] : removals) {
        if (key->delete_value(name)) {
            ++result.removed;
        } else {
            ++result.failed;
            result.failure = key->last_error_text();
        }
    }
    if (point) point->succeeded();
    if (unopened) throw core::VeltranoError(i18n::trf("Error opening registry key {0}", *unopened));
    report(result);
    start_scan();
}

void RegCleanPage::report(const Removed& r) {
    std::string text;
    if (r.removed > 0)
        text = i18n::fill_placeholders(
            r.removed == 1 ? i18n::tr("Removed {0} entry from the registry. The backup is the file\n{1}")
                           : i18n::tr("Removed {0} entries from the registry. The backup is the file\n{1}"),
            {std::to_string(r.removed), r.backup_file});
    else
        text = i18n::tr("Nothing was removed from the registry.");
    if (r.left > 0)
        text += "\n\n" + i18n::for_count(static_cast<std::uint64_t>(r.left),
                                 i18n::N_("{0} selected entry was left in place: changed since the scan, or no longer "
                                          "pointing at something missing."),
                                 i18n::N_("{0} selected entries were left in place: changed since the scan, or no "
                                          "longer pointing at something missing."));
    if (r.failed > 0) {
        const std::string why = r.failure.empty() ? i18n::tr("the registry refused") : r.failure;
        text += "\n\n" + i18n::fill_placeholders(r.failed == 1 ? i18n::tr("{0} entry could not be removed: {1}")
                                                                : i18n::tr("{0} entries could not be removed: {1}"),
                                                  {std::to_string(r.failed), why});
    }
    if (r.removed == 0) return dialogs_.show_information(text);
    if (dialogs_.ask_yes_no(text + "\n\n" + i18n::tr("Open the folder of the backups?"))) shell_.open(backup_folder());
}

std::string RegCleanPage::backup_folder() {
    const std::string app_data = files_.app_data_folder();
    return app_data.empty() ? std::string() : app_data + "\\" + std::string(kBackupFolder);
}

std::string RegCleanPage::write_backup(const std::vector<BackupEntry>& entries) {
    const std::string folder = backup_folder();
    const auto refuse = [&] {
        throw core::VeltranoError(
            i18n::trf("Nothing was removed: the backup of the entries could not be written to {0}",
                      folder.empty() ? i18n::tr("the application data folder") : folder));
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
        if (files_.write_new_file(file, bytes)) return file;
        if (files_.exists(file)) continue;
        break;
    }
    refuse();
    return {};
}

}  // namespace veltrano::regclean
