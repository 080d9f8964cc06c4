#include "regclean/backup_restore.h"

#include "core/error.h"
#include "core/restore_point.h"
#include "i18n/translate.h"
#include "regclean/reg_reader.h"
#include "regclean/reg_scanner.h"

#include <algorithm>
#include <regex>
#include <sstream>

namespace veltrano::regclean {

namespace {

// A count in its text: "one" and "many" are templates marked for
// translation, {0} the number.
// Beside the backup, named after it.
std::string note_file(const std::string& file) { return file + ".restore"; }

std::string full_key(const BackupEntry& entry) {
    return std::string(platform::root_name(entry.root)) + "\\" + entry.key_path;
}

// Says nothing: a restore run with no log.
class SilentLog : public ui::ActivityLog {
public:
    void add(const std::string&) override {}
    void clear() override {}
};

// The order of the names the removal gives its files ("Removed 2026-12-09
// 01.02.03 (2).reg"): the time, then the number of the file within its second.
struct NameOrder {
    std::string stamp;  // empty for a name of another form
    int number = 1;
    std::string when;
};

NameOrder order_of(const std::string& name) {
    static const std::regex form(R"(Removed (\d{4}-\d\d-\d\d) (\d\d)\.(\d\d)\.(\d\d)(?: \((\d+)\))?\.reg)",
                                 std::regex::icase);
    std::smatch m;
    if (!std::regex_match(name, m, form)) return {"", 0, name};
    return {m[1].str() + m[2].str() + m[3].str() + m[4].str(), m[5].matched ? std::stoi(m[5].str()) : 1,
            m[1].str() + " " + m[2].str() + ":" + m[3].str() + ":" + m[4].str()};
}

}  // namespace

std::string entry_key_cell(const BackupEntry& entry) {
    return std::string(platform::root_name(entry.root)) + ": " + entry.key_path;
}

std::vector<std::string> entry_cells(const BackupEntry& entry, EntryState state) {
    std::string said;
    switch (state) {
    // TRANSLATORS: the state of a backup's entry: its value is not in the registry
    case EntryState::Missing: said = i18n::tr("removed"); break;
    // TRANSLATORS: the state of a backup's entry: its value is back in the registry with the backup's data
    case EntryState::Restored: said = i18n::tr("restored"); break;
    // TRANSLATORS: the state of a backup's entry: its value is in the registry with other data, left as it is
    case EntryState::Changed: said = i18n::tr("kept: it was changed since"); break;
    }
    return {entry_key_cell(entry), entry.name, entry.value.text, said};
}

std::string backup_line(const BackupSummary& s) {
    // A line of columns: when the backup was made, then what it holds.
    // TRANSLATORS: a column of the restore window's list of backups: this backup file cannot be read
    if (!s.error.empty()) return s.when + "    " + i18n::tr("cannot be read");
    const std::string count =
        i18n::for_count(s.entry_count,
                // TRANSLATORS: a column of the restore window's list of backups: how many entries the backup holds
                i18n::N_("{0} entry"),
                // TRANSLATORS: a column of the restore window's list of backups: how many entries the backup holds
                i18n::N_("{0} entries"));
    std::string line = s.when + "    " + count + "    " + s.first_key;
    // TRANSLATORS: the end of a line in the restore window's list of backups: a restore of it stopped half way
    if (s.note == RestoreNote::Started) return line + "    " + i18n::tr("(restore stopped)");
    // TRANSLATORS: the end of a line in the restore window's list of backups: it has been restored
    if (s.restored == s.entry_count || s.note == RestoreNote::Finished) return line + "    " + i18n::tr("(restored)");
    return line;
}

std::string backup_status(const BackupSummary& s) {
    if (!s.error.empty()) return s.error;
    if (s.note == RestoreNote::Started)
        // TRANSLATORS: 'Restore' is the caption of the button that puts a backup's entries back
        return i18n::tr("A restore of this backup stopped before it ended. Restore finishes it.");
    if (s.restored == s.entry_count) return i18n::tr("This backup is restored: every entry holds the backup's data.");
    if (s.note == RestoreNote::Finished) {
        if (s.changed == 1)
            // TRANSLATORS: 'Restore anyway' is the caption of the button that puts a changed entry back
            return i18n::tr("This backup was restored. 1 entry was kept because it was changed since: choose it and "
                            "Restore anyway to put the backup's data back.");
        // TRANSLATORS: {0} a number of entries other than 1; 'Restore anyway' is the caption of the button that
        // puts a changed entry back
        return i18n::trf("This backup was restored. {0} entries were kept because they were changed since: choose "
                         "one and Restore anyway to put the backup's data back.",
                         std::to_string(s.changed));
    }
    const std::size_t missing = s.entry_count - s.restored - s.changed;
    // TRANSLATORS: 'Restore' is the caption of the button that puts a backup's entries back
    if (missing == 1) return i18n::tr("Restore puts back 1 removed entry; entries changed since are kept.");
    // TRANSLATORS: {0} a number of entries other than 1; 'Restore' is the caption of the button that puts them back
    return i18n::trf("Restore puts back {0} removed entries; entries changed since are kept.", std::to_string(missing));
}

// One sentence for each thing that happened.
std::string outcome_text(const RestoreOutcome& o) {
    std::vector<std::string> said;
    if (o.restored == 0)
        said.push_back(i18n::tr("Nothing was written to the registry."));
    else
        said.push_back(o.restored == 1 ? i18n::tr("Restored 1 entry.")
                                       : i18n::trf("Restored {0} entries.", std::to_string(o.restored)));
    if (o.already > 0)
        said.push_back(o.already == 1
                           ? i18n::tr("1 entry holds the backup's data already.")
                           : i18n::trf("{0} entries hold the backup's data already.", std::to_string(o.already)));
    if (o.kept > 0)
        said.push_back(o.kept == 1
                           ? i18n::tr("1 entry was kept: it was changed since.")
                           : i18n::trf("{0} entries were kept: they were changed since.", std::to_string(o.kept)));
    // TRANSLATORS: why entries could not be restored, when Windows gave no words of its own
    const std::string why = o.failure.empty() ? i18n::tr("the registry refused") : o.failure;
    if (o.failed > 0)
        said.push_back(
            o.failed == 1
                // TRANSLATORS: {0} why: Windows' own words, or 'the registry refused'
                ? i18n::trf("1 entry could not be restored: {0}.", why)
                // TRANSLATORS: {0} a number of entries other than 1, {1} why: Windows' own words, or 'the registry
                // refused'
                : i18n::trf("{0} entries could not be restored: {1}.", std::to_string(o.failed), why));
    std::string text;
    for (const std::string& sentence : said) text += (text.empty() ? "" : " ") + sentence;
    return text;
}

BackupRestorer::BackupRestorer(platform::Registry& registry, platform::FileSystem& files,
                               platform::SystemRestore* system_restore, ui::ActivityLog* log)
    : registry_(registry), files_(files), system_restore_(system_restore), log_(log) {}

std::vector<BackupEntry> BackupRestorer::entries(const std::string& file) {
    std::vector<std::uint8_t> bytes;
    if (!files_.read_file(file, bytes))
        throw core::VeltranoError(
            i18n::trf("The backup {0} could not be read. Nothing was written to the registry.", file));
    return read_backup(bytes, file);
}

std::vector<EntryState> BackupRestorer::states(const std::vector<BackupEntry>& entries) {
    std::vector<EntryState> out;
    for (const BackupEntry& entry : entries) {
        std::optional<platform::RegValue> now;
        if (auto key = registry_.open_existing(entry.root, ensure_leading_backslash(entry.key_path),
                                               platform::Access::Read))
            now = key->query(entry.name);
        out.push_back(!now ? EntryState::Missing : *now == entry.value ? EntryState::Restored : EntryState::Changed);
    }
    return out;
}

RestoreNote BackupRestorer::note(const std::string& file) {
    std::vector<std::uint8_t> bytes;
    if (!files_.read_file(note_file(file), bytes)) return RestoreNote::None;
    const std::string text(bytes.begin(), bytes.end());
    if (text.starts_with("finished")) return RestoreNote::Finished;
    // Anything else, a note we cannot make out too, is a restore begun.
    return RestoreNote::Started;
}

std::set<std::size_t> BackupRestorer::noted_anyway(const std::string& file) {
    std::set<std::size_t> anyway;
    std::vector<std::uint8_t> bytes;
    if (!files_.read_file(note_file(file), bytes)) return anyway;
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    std::string word;
    std::size_t place = 0;
    while (in >> word)
        if (word == "anyway" && in >> place) anyway.insert(place);
    return anyway;
}

void BackupRestorer::write_note(const std::string& file, RestoreNote note, const std::set<std::size_t>& anyway) {
    std::string text = note == RestoreNote::Finished ? "finished\r\n" : "started\r\n";
    for (std::size_t place : anyway) text += "anyway " + std::to_string(place) + "\r\n";
    if (!files_.replace_file(note_file(file), std::vector<std::uint8_t>(text.begin(), text.end())) &&
        note == RestoreNote::Started)
        throw core::VeltranoError(i18n::trf(
            "Nothing was restored: the note that a restore has begun could not be written to {0}.", note_file(file)));
}

std::vector<BackupSummary> BackupRestorer::list(const std::string& folder) {
    std::vector<std::pair<NameOrder, BackupSummary>> found;
    for (const std::string& name : files_.file_names(folder, ".reg")) {
        BackupSummary s;
        s.file = folder + "\\" + name;
        const NameOrder order = order_of(name);
        s.when = order.when;
        try {
            const std::vector<BackupEntry> all = entries(s.file);
            s.entry_count = all.size();
            if (!all.empty()) s.first_key = entry_key_cell(all.front());
            for (EntryState state : states(all)) {
                if (state == EntryState::Restored) ++s.restored;
                if (state == EntryState::Changed) ++s.changed;
            }
            s.note = note(s.file);
        } catch (const core::VeltranoError& e) {
            s.error = e.what();
        }
        found.emplace_back(order, std::move(s));
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        if (a.first.stamp != b.first.stamp) return a.first.stamp > b.first.stamp;
        if (a.first.number != b.first.number) return a.first.number > b.first.number;
        return a.second.file < b.second.file;
    });
    std::vector<BackupSummary> out;
    for (auto& [order, summary] : found) out.push_back(std::move(summary));
    return out;
}

RestoreOutcome BackupRestorer::restore(const std::string& file, const std::set<std::size_t>& asked_anyway) {
    const std::vector<BackupEntry> all = entries(file);
    // A restore stopped half way is finished as it was asked.
    std::set<std::size_t> anyway = note(file) == RestoreNote::Started ? noted_anyway(file) : std::set<std::size_t>{};
    for (std::size_t place : asked_anyway)
        if (place < all.size()) anyway.insert(place);
    const std::vector<EntryState> now = states(all);

    RestoreOutcome outcome;
    std::vector<std::size_t> work;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (now[i] == EntryState::Restored)
            ++outcome.already;
        else if (now[i] == EntryState::Missing || anyway.count(i))
            work.push_back(i);
        else
            ++outcome.kept;
    }
    SilentLog silent;
    ui::ActivityLog& log = log_ ? *log_ : silent;
    if (work.empty()) {
        if (note(file) != RestoreNote::Finished) write_note(file, RestoreNote::Finished, anyway);
        return outcome;
    }

    // Written before the first change: a run stopped after it is finished
    // by the next, which reads what it was asked to restore anyway here.
    write_note(file, RestoreNote::Started, anyway);
    log.add(i18n::trf("Restoring registry entries from the backup {0}", file));
    core::RestorePoint point(system_restore_, log,
                             i18n::for_count(work.size(),
                                     // TRANSLATORS: a System Restore point's name; {0} is 1, the number of entries
                                     i18n::N_("Veltrano: restore {0} registry entry"),
                                     // TRANSLATORS: a System Restore point's name; {0} is a number other than 1
                                     i18n::N_("Veltrano: restore {0} registry entries")));
    for (std::size_t i : work) {
        const BackupEntry& entry = all[i];
        // TRANSLATORS: the default value of a key, which has no name
        const std::string where = full_key(entry) + ": " + (entry.name.empty() ? i18n::tr("(Default)") : entry.name);
        auto key = registry_.open(entry.root, ensure_leading_backslash(entry.key_path), true);
        if (key && key->set(entry.name, entry.value)) {
            ++outcome.restored;
            // TRANSLATORS: {0} the registry key and value put back
            log.add(now[i] == EntryState::Changed ? i18n::trf("Restored anyway {0}", where)
                                                  // TRANSLATORS: {0} the registry key and value put back
                                                  : i18n::trf("Restored {0}", where));
            continue;
        }
        ++outcome.failed;
        outcome.failure = key ? key->last_error_text() : registry_.last_error_text();
        if (outcome.failure.empty())
            // TRANSLATORS: {0} the registry key and value
            log.add(i18n::trf("Could not restore {0}", where));
        else
            // TRANSLATORS: {0} the registry key and value, {1} Windows' own words for why
            log.add(i18n::trf("Could not restore {0}: {1}", where, outcome.failure));
    }
    for (std::size_t i = 0; i < all.size(); ++i)
        if (now[i] == EntryState::Changed && !anyway.count(i))
            // TRANSLATORS: {0} the registry key, {1} the value's name; it holds other data than the backup
            log.add(i18n::trf("Kept {0}: {1}, changed since the removal", full_key(all[i]), all[i].name));
    // A failed entry leaves the restore begun: the next Restore tries it again.
    if (outcome.failed == 0) write_note(file, RestoreNote::Finished, anyway);
    point.succeeded();
    return outcome;
}

}  // namespace veltrano::regclean
