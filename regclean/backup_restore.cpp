#include "regclean/backup_restore.h"

#include "core/error.h"
#include "core/restore_point.h"
#include "regclean/reg_reader.h"
#include "regclean/reg_scanner.h"

#include <algorithm>
#include <regex>
#include <sstream>

namespace veltrano::regclean {

namespace {

std::string counted(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

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
    case EntryState::Missing: said = "removed"; break;
    case EntryState::Restored: said = "restored"; break;
    case EntryState::Changed: said = "kept: it was changed since"; break;
    }
    return {entry_key_cell(entry), entry.name, entry.value.text, said};
}

std::string backup_line(const BackupSummary& s) {
    if (!s.error.empty()) return s.when + "    cannot be read";
    std::string line = s.when + "    " + counted(s.entry_count, "entry", "entries") + "    " + s.first_key;
    if (s.note == RestoreNote::Started) return line + "    (restore stopped)";
    if (s.restored == s.entry_count || s.note == RestoreNote::Finished) return line + "    (restored)";
    return line;
}

std::string backup_status(const BackupSummary& s) {
    if (!s.error.empty()) return s.error;
    if (s.note == RestoreNote::Started)
        return "A restore of this backup stopped before it ended. Restore finishes it.";
    if (s.restored == s.entry_count) return "This backup is restored: every entry holds the backup's data.";
    if (s.note == RestoreNote::Finished) {
        if (s.changed == 1)
            return "This backup was restored. 1 entry was kept because it was changed since: choose it and Restore "
                   "anyway to put the backup's data back.";
        return "This backup was restored. " + std::to_string(s.changed) +
               " entries were kept because they were changed since: choose one and Restore anyway to put the "
               "backup's data back.";
    }
    const std::size_t missing = s.entry_count - s.restored - s.changed;
    if (missing == 1) return "Restore puts back 1 removed entry; entries changed since are kept.";
    return "Restore puts back " + std::to_string(missing) + " removed entries; entries changed since are kept.";
}

// One sentence for each thing that happened.
std::string outcome_text(const RestoreOutcome& o) {
    std::vector<std::string> said;
    if (o.restored == 0)
        said.push_back("Nothing was written to the registry.");
    else
        said.push_back(o.restored == 1 ? std::string("Restored 1 entry.")
                                       : "Restored " + std::to_string(o.restored) + " entries.");
    if (o.already > 0)
        said.push_back(o.already == 1 ? std::string("1 entry holds the backup's data already.")
                                      : std::to_string(o.already) + " entries hold the backup's data already.");
    if (o.kept > 0)
        said.push_back(o.kept == 1 ? std::string("1 entry was kept: it was changed since.")
                                   : std::to_string(o.kept) + " entries were kept: they were changed since.");
    const std::string why = o.failure.empty() ? std::string("the registry refused") : o.failure;
    if (o.failed > 0)
        said.push_back(o.failed == 1 ? "1 entry could not be restored: " + why + "."
                                     : std::to_string(o.failed) + " entries could not be restored: " + why + ".");
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
        throw core::VeltranoError("The backup " + file + " could not be read. Nothing was written to the registry.");
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
        throw core::VeltranoError("Nothing was restored: the note that a restore has begun could not be written to " +
                                  note_file(file) + ".");
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
    log.add("Restoring registry entries from the backup " + file);
    core::RestorePoint point(system_restore_, log,
                             "Veltrano: restore " + counted(work.size(), "registry entry", "registry entries"));
    for (std::size_t i : work) {
        const BackupEntry& entry = all[i];
        const std::string where = full_key(entry) + ": " + (entry.name.empty() ? "(Default)" : entry.name);
        auto key = registry_.open(entry.root, ensure_leading_backslash(entry.key_path), true);
        if (key && key->set(entry.name, entry.value)) {
            ++outcome.restored;
            log.add((now[i] == EntryState::Changed ? "Restored anyway " : "Restored ") + where);
            continue;
        }
        ++outcome.failed;
        outcome.failure = key ? key->last_error_text() : registry_.last_error_text();
        log.add("Could not restore " + where + (outcome.failure.empty() ? "" : ": " + outcome.failure));
    }
    for (std::size_t i = 0; i < all.size(); ++i)
        if (now[i] == EntryState::Changed && !anyway.count(i))
            log.add("Kept " + full_key(all[i]) + ": " + all[i].name + ", changed since the removal");
    // A failed entry leaves the restore begun: the next Restore tries it again.
    if (outcome.failed == 0) write_note(file, RestoreNote::Finished, anyway);
    point.succeeded();
    return outcome;
}

}  // namespace veltrano::regclean
