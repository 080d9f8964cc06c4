#include "shell/command_line.h"

#include "core/error.h"
#include "core/registry_primitives.h"
#include "core/restore_point.h"
#include "core/tip_state_store.h"
#include "i18n/languages.h"
#include "i18n/translate.h"
#include "platform/ascii.h"
#include "platform/registry_path.h"
#include "platform/what_if_registry.h"
#include "shell/line_ends.h"
#include "shell/startup_stages.h"
#include "tips/profile.h"
#include "tips/reg_export.h"
#include "tips/tip_engine.h"
#include "tips/verify.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace veltrano::shell {

using i18n::tr;
using i18n::trf;

namespace {

bool is_switch(const std::string& arg) { return arg.size() > 1 && (arg[0] == '/' || arg[0] == '-'); }

// "network": the group as /undo takes it and /list prints it.
std::string group_name(tips::Group group) { return platform::ascii_lower(std::string(tips::group_display(group).name)); }

std::string_view display_name(tips::Group group) { return tips::group_display(group).name; }

std::optional<tips::Group> group_named(const std::string& name) {
    for (const tips::UndoLineDisplay& line : tips::kUndoLines)
        if (name == group_name(line.group)) return line.group;
    return std::nullopt;
}

// "network,power", "all": the groups in the catalogue's order, each once.
bool parse_groups(const std::string& text, std::vector<tips::Group>& groups, std::string& error) {
    bool chosen[tips::kGroupCount] = {};
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t comma = std::min(text.find(',', pos), text.size());
        const std::string name = platform::ascii_lower(text.substr(pos, comma - pos));
        pos = comma + 1;
        if (name.empty()) continue;
        if (name == "all") {
            for (bool& c : chosen) c = true;
        } else if (auto group = group_named(name)) {
            chosen[static_cast<std::size_t>(*group)] = true;
        } else {
            error = trf("unknown group \"{0}\" (network, power, system, customization or all)", name);
            return false;
        }
    }
    for (const tips::GroupDisplay& g : tips::kGroupDisplay)
        if (chosen[static_cast<std::size_t>(g.group)]) groups.push_back(g.group);
    if (groups.empty()) error = tr("/undo needs the groups to take back");
    return !groups.empty();
}

// "TIP0017" in any letter case: the tip's number; nullopt for any other word.
std::optional<int> tip_named(const std::string& name) {
    if (name.size() != 7 || platform::ascii_lower(name.substr(0, 3)) != "tip") return std::nullopt;
    if (!std::all_of(name.begin() + 3, name.end(), [](char c) { return c >= '0' && c <= '9'; })) return std::nullopt;
    const int tip = std::stoi(name.substr(3));
    if (tip < 1 || tip > tips::kTipCount) return std::nullopt;
    return tip;
}

// "TIP0017,TIP0020": the tips in tip order, each once. Any word that is
// no tip of the catalogue refuses the whole list.
bool parse_tips(const std::string& text, std::vector<int>& chosen, std::string& error) {
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t comma = std::min(text.find(',', pos), text.size());
        const std::string name = text.substr(pos, comma - pos);
        pos = comma + 1;
        if (name.empty()) continue;
        const std::optional<int> tip = tip_named(name);
        if (!tip) {
            error = trf("unknown tip \"{0}\" (TIP0001 to TIP0048, or a group: network, power, system, "
                        "customization or all)",
                        name);
            return false;
        }
        chosen.push_back(*tip);
    }
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    return true;
}

// What /undo takes back: groups, or tips alone, never both at once.
bool parse_undo_operand(const std::string& text, Command& command, std::string& error) {
    std::string first;
    for (std::size_t pos = 0; pos < text.size() && first.empty();) {
        const std::size_t comma = std::min(text.find(',', pos), text.size());
        first = text.substr(pos, comma - pos);
        pos = comma + 1;
    }
    if (platform::ascii_lower(first).rfind("tip", 0) != 0) return parse_groups(text, command.groups, error);
    if (!parse_tips(text, command.tips, error)) return false;
    if (command.tips.empty()) error = tr("/undo needs the groups or tips to take back");
    return !command.tips.empty();
}

// The activity log of a run without a window: every line with the date and
// time it was said, appended to the file /log names as the run goes (at
// each step of work's end, through one handle kept open), so that a run
// ended half way leaves its trail.
class TimedLog : public ui::ActivityLog {
public:
    TimedLog(platform::Time& time, platform::FileSystem& files, std::string file, Console& console)
        : time_(time), files_(files), file_(std::move(file)), console_(console) {}
    void add(const std::string& line) override {
        VELTRANO_SPAN("log lines added");
        // Without /log the lines go nowhere: no clock is read for them.
        if (file_.empty()) return;
        const platform::SystemTime t = time_.local_time();
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u  ", t.year, t.month, t.day, t.hour,
                      t.minute, t.second);
        text_ += stamp + line + "\r\n";
    }
    // As in the window: the first-run set-up's derivation is not the user's
    // business. Nothing of it has reached the file yet.
    void clear() override { text_.clear(); }
    void checkpoint() override {
        VELTRANO_SPAN("log checkpoints");
        if (!file_.empty() && !text_.empty() && !append({text_.begin(), text_.end()}) && !failed_) {
            failed_ = true;
            console_.say(trf("The log could not be written to {0}.", file_));
        }
        text_.clear();
    }
    // A line of the run's own, on its way to the file at once.
    void note(const std::string& line) {
        add(line);
        checkpoint();
    }

private:
    // The file stays open from the first checkpoint to the run's end.
    bool append(const std::vector<std::uint8_t>& bytes) {
        if (!appender_) appender_ = files_.open_for_appending(file_);
        return appender_ && appender_->append(bytes);
    }

    platform::Time& time_;
    platform::FileSystem& files_;
    std::string file_;
    std::unique_ptr<platform::FileAppender> appender_;
    Console& console_;
    std::string text_;
    bool failed_ = false;
};

std::string names(const std::vector<int>& tips) {
    std::string out;
    for (int tip : tips) out += (out.empty() ? "" : " ") + core::tip_key(tip);
    return out;
}

std::vector<std::uint8_t> bytes_of(const std::string& text) { return {text.begin(), text.end()}; }

std::string exit_meaning(const Command& command, int code) {
    switch (code) {
    case kExitDone:
        // TRANSLATORS: what exit code 0 of a run meant, after "Exit code 0: " in its log
        return command.action == Command::Action::Verify ? tr("every tip checked is in effect") : tr("done");
    case kExitSomeNotApplied:
        if (command.action == Command::Action::Verify) return tr("some tips are not in effect");
        if (command.action == Command::Action::Apply) return tr("some tips could not be applied; the lines above say why");
        if (command.action == Command::Action::Undo) return tr("nothing or not all was undone; the lines above say why");
        return tr("the work stopped before its end; the lines above say where");
    case kExitBadInput: return tr("bad arguments, profile or file; nothing was changed");
    case kExitRecordsRefused: return tr("Windows refused Veltrano's records (not an administrator); nothing was changed");
    case kExitWaitedTooLong: return tr("another Veltrano was still at work after five minutes; nothing was changed");
    }
    return "";
}

// The log's first line: who ran what, where.
std::string started(const Invocation& invocation) {
    return trf("Veltrano started on {0} by {1}: {2}", invocation.machine, invocation.user, invocation.command_line);
}

// A change the dry run would have made, as a line.
std::string describe_change(const platform::RegistryChange& change) {
    using Kind = platform::RegistryChange::Kind;
    const std::string key = std::string(platform::root_name(change.root)) + "\\" + change.path;
    const std::string now = change.old_value ? tips::describe_value(*change.old_value) : "";
    switch (change.kind) {
    case Kind::CreateKey: return trf("Would create key {0}", key);
    case Kind::DeleteKey: return trf("Would delete key {0}", key);
    case Kind::WriteValue: {
        const std::string value = tips::value_path(key, change.name), to = tips::describe_value(change.value);
        // TRANSLATORS: {0} is a registry value's path, {1} the data it would get, {2} the data it has now
        return change.old_value ? trf("Would write {0} = {1} (now {2})", value, to, now)
                                : trf("Would write {0} = {1} (now absent)", value, to);
    }
    case Kind::DeleteValue: return trf("Would delete {0} (now {1})", tips::value_path(key, change.name), now);
    }
    return "";
}

bool in_records(const platform::RegistryChange& change) {
    return change.root == platform::Root::LocalMachine && core::in_store(change.path);
}

// The engine and its store over one registry, narrating to the run's log.
struct TipsOn {
    TipsOn(platform::Registry& registry, ui::ActivityLog& log, platform::Time& time)
        : primitives(registry, log), store(primitives, time, tips::flag_rows()), tip_services{primitives, store, time} {}
    core::RegistryPrimitives primitives;
    core::TipStateStore store;
    tips::TipServices tip_services;
};

// One run of the command: its log, its console, its exit code.
class Run {
public:
    Run(const Command& command, CommandServices services, Console& console)
        : command_(command), services_(services), console_(console),
          log_(services.time, services.files, command.log_file, console) {}

    int go(const Invocation& invocation);

private:
    // Said to the console and the log alike.
    void say(const std::string& line) {
        console_.say(line);
        log_.note(line);
    }
    bool read_profile(std::vector<int>& tips);
    bool take_lock();
    int apply(platform::Registry& registry, const Invocation& invocation);
    int undo(platform::Registry& registry);
    int undo_tips(tips::TipServices& tip_services);
    int save(platform::Registry& registry);
    int verify(platform::Registry& registry);
    int list(platform::Registry& registry);
    // Where the batch asks for its restore point: nowhere for a dry run or
    // with /norestorepoint.
    platform::SystemRestore* restore_service() const {
        return command_.what_if || !command_.restore_point ? nullptr : services_.system_restore;
    }

    const Command& command_;
    CommandServices services_;
    Console& console_;
    TimedLog log_;
    std::vector<int> profile_;
};

}  // namespace

bool changes_machine(const Command& command) {
    using Action = Command::Action;
    switch (command.action) {
    case Action::Apply:
    case Action::Undo: return !command.what_if;
    case Action::Save:
    case Action::ExportReg: return true;
    case Action::Usage:
    case Action::Verify:
    case Action::List: break;
    }
    return false;
}
bool has_arguments(std::wstring_view line) {
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    std::size_t at = 0;
    if (!line.empty() && line[0] == L'"') {
        const std::size_t close = line.find(L'"', 1);
        at = close == std::wstring_view::npos ? line.size() : close + 1;
    } else {
        while (at < line.size() && !blank(line[at])) ++at;
    }
    while (at < line.size() && blank(line[at])) ++at;
    return at < line.size();
}

namespace {

std::string language_codes() {
    std::string codes;
    for (const i18n::Language& language : i18n::languages()) codes += (codes.empty() ? "" : ", ") + std::string(language.code);
    return codes;
}

}  // namespace

std::optional<Command> parse_command(std::span<const std::string> args, std::string& error) {
    Command command;
    bool have_action = false;
    auto take_action = [&](Command::Action action) {
        if (have_action) {
            error = tr("give one of /apply, /undo, /verify, /list, /save and /export-reg");
            return false;
        }
        have_action = true;
        command.action = action;
        return true;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string arg = platform::ascii_lower(args[i]);
        if (!is_switch(arg)) {
            error = trf("unexpected \"{0}\"", args[i]);
            return std::nullopt;
        }
        const std::string name = arg.substr(1);
        auto operand = [&](std::string& into) {
            if (i + 1 >= args.size() || is_switch(args[i + 1]) || args[i + 1].empty()) {
                // TRANSLATORS: {0} is a command line switch, as typed: /apply, /log ...
                error = trf("{0} needs a file", args[i]);
                return false;
            }
            into = args[++i];
            return true;
        };
        if (name == "?" || name == "help") {
            if (!take_action(Command::Action::Usage)) return std::nullopt;
        } else if (name == "apply" || name == "save" || name == "export-reg") {
            const auto action = name == "apply"  ? Command::Action::Apply
                                : name == "save" ? Command::Action::Save
                                                 : Command::Action::ExportReg;
            if (!take_action(action) || !operand(command.file)) return std::nullopt;
        } else if (name == "undo") {
            if (!take_action(Command::Action::Undo)) return std::nullopt;
            std::string groups;
            // Groups may also come as separate words: "/undo network power".
            while (i + 1 < args.size() && !is_switch(args[i + 1])) groups += "," + args[++i];
            if (!parse_undo_operand(groups, command, error)) return std::nullopt;
        } else if (name == "verify") {
            if (!take_action(Command::Action::Verify)) return std::nullopt;
            if (i + 1 < args.size() && !is_switch(args[i + 1]) && !args[i + 1].empty()) command.file = args[++i];
        } else if (name == "list") {
            if (!take_action(Command::Action::List)) return std::nullopt;
        } else if (name == "whatif") {
            command.what_if = true;
        } else if (name == "norestorepoint") {
            command.restore_point = false;
        } else if (name == "previous") {
            command.to_previous = true;
        } else if (name == "log") {
            if (!operand(command.log_file)) return std::nullopt;
        } else if (name == "lang") {
            // The run speaks it already (winmain chose the catalogue); here
            // only a code we do not speak is refused.
            if (i + 1 >= args.size() || !i18n::language_by_code(args[i + 1])) {
                error = trf("/lang takes one of {0}", language_codes());
                return std::nullopt;
            }
            ++i;
        } else {
            error = trf("unknown switch {0}", args[i]);
            return std::nullopt;
        }
    }
    if (!have_action) {
        error = tr("give one of /apply, /undo, /verify, /list, /save, /export-reg or /?");
        return std::nullopt;
    }
    if (command.to_previous && command.action != Command::Action::Undo) {
        error = tr("/previous goes with /undo");
        return std::nullopt;
    }
    // One rule for the switches that shape a change: they go only with the
    // commands that change tips.
    const bool changes_tips = command.action == Command::Action::Apply || command.action == Command::Action::Undo;
    if (command.what_if && !changes_tips) {
        error = tr("/whatif goes with /apply or /undo");
        return std::nullopt;
    }
    if (!command.restore_point && !changes_tips) {
        error = tr("/norestorepoint goes with /apply or /undo");
        return std::nullopt;
    }
    return command;
}

namespace {

bool Run::read_profile(std::vector<int>& tips) {
    try {
        tips = tips::read_profile(services_.files, command_.file, services_.ansi);
        return true;
    } catch (const core::VeltranoError& e) {
        say(trf("{0}. Nothing was changed.", e.what()));
        return false;
    }
}

bool Run::take_lock() {
    if (services_.gate.acquire(0)) return true;
    say(tr("Waiting for another Veltrano to finish applying or undoing tips (up to five minutes)."));
    if (services_.gate.acquire(tips::kScriptWriterWaitMs)) {
        log_.note(tr("The other Veltrano has finished: going on."));
        return true;
    }
    say(tr("Gave up waiting: another Veltrano was still applying or undoing tips after five minutes. Nothing was "
           "changed."));
    return false;
}

int Run::apply(platform::Registry& registry, const Invocation& invocation) {
    TipsOn on(registry, log_, services_.time);
    core::TipStateStore& store = on.store;
    tips::TipServices& tip_services = on.tip_services;
    store.check_for_previous_install();
    // The writer lock is held: work left in progress is no other run's, but
    // one that was stopped.
    tips::finish_interrupted_work(tip_services);

    std::vector<int> to_apply, in_effect, per_user;
    for (int tip : profile_) {
        const std::string name = core::tip_key(tip);
        if (invocation.system_account && tips::per_user(tip)) {
            per_user.push_back(tip);
            log_.add(trf("{0} skipped: it changes the settings of the account that runs it (HKEY_CURRENT_USER), and "
                         "this is the system account; apply it from a logon script run with an administrator's "
                         "rights, or from the window",
                         name));
            continue;
        }
        const std::vector<std::string> missing = tips::not_in_effect(registry, tip);
        const bool recorded = tips::flagged_applied(tip_services, tip);
        if (recorded && missing.empty()) {
            in_effect.push_back(tip);
            log_.add(trf("{0} skipped: in effect already", name));
            continue;
        }
        if (recorded)
            for (const std::string& line : missing)
                log_.add(trf("{0} is recorded as applied but no longer in effect: {1}", name, line));
        to_apply.push_back(tip);
    }
    const std::string to_apply_count = std::to_string(to_apply.size()), in_effect_count = std::to_string(in_effect.size());
    log_.note(command_.what_if
                  ? trf("What if: applying {0}: {1} tips, {2} in effect already", command_.file, to_apply_count,
                        in_effect_count)
                  : trf("Applying {0}: {1} tips, {2} in effect already", command_.file, to_apply_count, in_effect_count));

    tips::ApplyOutcome outcome;
    if (!to_apply.empty()) {
        core::RestorePoint point(restore_service(), log_, tips::restore_point_name("apply", to_apply.size(), "tip"));
        outcome = tips::apply_tips(tip_services, to_apply);
        if (outcome.stopped.empty()) point.succeeded();
    }
    for (int tip : outcome.applied)
        log_.add(command_.what_if ? trf("{0} would be applied", core::tip_key(tip))
                                  : trf("{0} applied", core::tip_key(tip)));
    for (int tip : outcome.not_applied) log_.add(trf("{0} not applied: the lines above say why", core::tip_key(tip)));
    if (!outcome.stopped.empty()) log_.add(outcome.stopped);
    for (int tip : outcome.not_reached)
        log_.add(trf("{0} not reached: the work stopped at the value above", core::tip_key(tip)));
    log_.checkpoint();

    const std::string applied_count = std::to_string(outcome.applied.size());
    console_.say(command_.what_if
                     ? trf("Would apply {0} tips; {1} of the profile were in effect already.", applied_count,
                           in_effect_count)
                     : trf("Applied {0} tips; {1} of the profile were in effect already.", applied_count,
                           in_effect_count));
    int code = kExitDone;
    if (!outcome.not_applied.empty()) {
        console_.say(trf("Not applied: {0} (the log says why).", names(outcome.not_applied)));
        code = kExitSomeNotApplied;
    }
    if (!outcome.stopped.empty()) {
        // TRANSLATORS: {0} says where the work stopped; {1} names the tips it did not reach
        console_.say(outcome.not_reached.empty()
                         ? trf("{0}.", outcome.stopped)
                         : trf("{0}; not reached: {1}.", outcome.stopped, names(outcome.not_reached)));
        code = kExitSomeNotApplied;
    }
    if (!per_user.empty()) {
        console_.say(trf("Skipped, as they change only the running account's own settings and this is the system "
                         "account: {0}.",
                         names(per_user)));
        code = kExitSomeNotApplied;
    }
    return code;
}

int Run::undo(platform::Registry& registry) {
    TipsOn on(registry, log_, services_.time);
    core::TipStateStore& store = on.store;
    tips::TipServices& tip_services = on.tip_services;
    store.check_for_previous_install();
    tips::finish_interrupted_work(tip_services);
    if (!command_.tips.empty()) return undo_tips(tip_services);
    // As the window offers only groups with an applied tip: the factory
    // defaults of a group never applied would take the administrator's own
    // values.
    std::vector<tips::GroupUndo> groups;
    for (tips::Group group : command_.groups) {
        if (tips::group_has_applied_tip(tip_services, group))
            groups.push_back({group, command_.to_previous});
        else
            say(trf("{0}: no tip of this group is applied; nothing was undone.", display_name(group)));
    }
    if (groups.empty()) return kExitSomeNotApplied;
    {
        core::RestorePoint point(restore_service(), log_, tips::restore_point_name("undo", groups.size(), "group"));
        tips::undo_groups(tip_services, groups);
        point.succeeded();
    }
    for (const tips::GroupUndo& undone : groups)
        console_.say(command_.what_if
                         ? (command_.to_previous
                                ? trf("Would undo: {0}, to what the machine held before.", display_name(undone.group))
                                : trf("Would undo: {0}, to the factory defaults.", display_name(undone.group)))
                         : (command_.to_previous
                                ? trf("Undone: {0}, to what the machine held before.", display_name(undone.group))
                                : trf("Undone: {0}, to the factory defaults.", display_name(undone.group))));
    return kExitDone;
}

// As the groups: only a tip applied is taken back, and to the previous
// settings only one that holds them.
int Run::undo_tips(tips::TipServices& tip_services) {
    std::vector<int> chosen;
    for (int tip : command_.tips) {
        const std::string name = core::tip_key(tip);
        if (!tips::flagged_applied(tip_services, tip))
            say(trf("{0} is not applied; nothing was undone for it.", name));
        else if (command_.to_previous && !tips::has_previous_settings(tip_services, tip))
            say(trf("{0} holds no record of the settings before it was applied; nothing was undone for it. "
                    "Undo it without /previous to put back the factory defaults.",
                    name));
        else
            chosen.push_back(tip);
    }
    if (chosen.empty()) return kExitSomeNotApplied;
    // The previous settings go back newest first, as a group's do.
    if (command_.to_previous) std::reverse(chosen.begin(), chosen.end());
    {
        core::RestorePoint point(restore_service(), log_, tips::restore_point_name("undo", chosen.size(), "tip"));
        for (int tip : chosen) tips::undo_tip(tip_services, tip, command_.to_previous);
        point.succeeded();
    }
    std::sort(chosen.begin(), chosen.end());
    const std::string undone = names(chosen);
    if (command_.what_if)
        console_.say(command_.to_previous ? trf("Would undo: {0}, to what the machine held before.", undone)
                                          : trf("Would undo: {0}, to the factory defaults.", undone));
    else
        console_.say(command_.to_previous ? trf("Undone: {0}, to what the machine held before.", undone)
                                          : trf("Undone: {0}, to the factory defaults.", undone));
    return kExitDone;
}

int Run::save(platform::Registry& registry) {
    TipsOn on(registry, log_, services_.time);
    tips::TipServices& tip_services = on.tip_services;
    // The records decide, as for /list and /verify: on a machine never run
    // no tip is applied, whatever happens to be in effect.
    const std::vector<int> applied = tips::applied_tips(tip_services);
    const std::string today = services_.time.short_date_today();
    const bool profile = command_.action == Command::Action::Save;
    const std::vector<std::uint8_t> file =
        profile ? bytes_of(tips::format_profile(applied, "the tips applied on this machine on " + today))
                : tips::reg_export_file(registry, applied,
                                        "Veltrano: the settings of the tips applied on this machine on " + today +
                                            ". Import with regedit or reg import, as an administrator.");
    if (!services_.files.replace_file(command_.file, file)) {
        say(profile ? trf("The profile could not be written to {0}. Nothing was changed.", command_.file)
                    : trf("The .reg file could not be written to {0}. Nothing was changed.", command_.file));
        return kExitBadInput;
    }
    const std::string count = std::to_string(applied.size());
    say(profile ? trf("Saved {0} applied tips to {1}.", count, command_.file)
                : trf("Exported the settings of {0} applied tips to {1}.", count, command_.file));
    return kExitDone;
}

int Run::verify(platform::Registry& registry) {
    TipsOn on(registry, log_, services_.time);
    tips::TipServices& tip_services = on.tip_services;
    const std::vector<int> tips = command_.file.empty() ? tips::applied_tips(tip_services) : profile_;
    if (tips.empty()) {
        say(tr("No tip is recorded as applied on this machine: nothing to verify."));
        return kExitDone;
    }
    int in_effect = 0;
    for (int tip : tips) {
        const std::vector<std::string> missing = tips::not_in_effect(registry, tip);
        if (missing.empty()) {
            ++in_effect;
            log_.add(trf("{0} in effect", core::tip_key(tip)));
        }
        for (const std::string& line : missing) say(trf("{0} not in effect: {1}", core::tip_key(tip), line));
    }
    log_.checkpoint();
    console_.say(trf("{0} of {1} tips in effect.", std::to_string(in_effect), std::to_string(tips.size())));
    return in_effect == static_cast<int>(tips.size()) ? kExitDone : kExitSomeNotApplied;
}

int Run::list(platform::Registry& registry) {
    TipsOn on(registry, log_, services_.time);
    tips::TipServices& tip_services = on.tip_services;
    for (int tip = 1; tip <= tips::kTipCount; ++tip) {
        std::string caption = i18n::tr(tips::tip_display(tip).caption);
        while (!caption.empty() && caption.back() == ' ') caption.pop_back();
        console_.say(core::tip_key(tip) + "\t" + std::string(group_name(tips::tip_display(tip).group)) + "\t" +
                     (tips::flagged_applied(tip_services, tip) ? "applied" : "not applied") + "\t" +
                     (tips::not_in_effect(registry, tip).empty() ? "in effect" : "not in effect") + "\t" +
                     std::string(caption));
    }
    return kExitDone;
}

int Run::go(const Invocation& invocation) {
    using Action = Command::Action;
    // Every check that can refuse comes before the first change, so a refusal
    // leaves the machine as it was.
    if (!command_.log_file.empty() && !services_.files.append_file(command_.log_file, {})) {
        console_.say(trf("The log file {0} cannot be written. Nothing was changed.", command_.log_file));
        return kExitBadInput;
    }
    log_.note(started(invocation));
    const int code = [&] {
        const Action action = command_.action;
        if ((action == Action::Apply || (action == Action::Verify && !command_.file.empty())) && !read_profile(profile_))
            return static_cast<int>(kExitBadInput);
        const bool writes = (action == Action::Apply || action == Action::Undo) && !command_.what_if;
        if (writes && !core::store_writable(services_.registry)) {
            say(tr("Windows refuses Veltrano's records in HKEY_LOCAL_MACHINE\\SOFTWARE\\VELTRANO: run it as an "
                   "administrator. Nothing was changed."));
            return static_cast<int>(kExitRecordsRefused);
        }
        if (changes_machine(command_) && !take_lock()) return static_cast<int>(kExitWaitedTooLong);

        // Everything but a real apply or undo works on a registry that keeps
        // its changes to itself, the first-run set-up's included; a dry run
        // tells each of them.
        int record_changes = 0;
        platform::WhatIfRegistry::Listener tell;
        if (command_.what_if)
            tell = [&](const platform::RegistryChange& change) {
                if (in_records(change))
                    ++record_changes;
                else
                    say(describe_change(change));
            };
        platform::WhatIfRegistry what_if(services_.registry, tell);
        platform::Registry& registry = writes ? services_.registry : what_if;
        int result = kExitDone;
        try {
            switch (action) {
            case Action::Apply: result = apply(registry, invocation); break;
            case Action::Undo: result = undo(registry); break;
            case Action::Save:
            case Action::ExportReg: result = save(registry); break;
            case Action::Verify: result = verify(registry); break;
            case Action::List: result = list(registry); break;
            case Action::Usage: break;
            }
        } catch (const core::VeltranoError& e) {
            // A value of the wrong type ended the set-up or a restore there.
            say(trf("{0}. The work stopped there.", e.what()));
            result = kExitSomeNotApplied;
        }
        if (command_.what_if)
            say(trf("What if: nothing was changed; Veltrano's own records in HKEY_LOCAL_MACHINE\\SOFTWARE\\VELTRANO "
                    "would take {0} changes besides those above.",
                    std::to_string(record_changes)));
        return command_.what_if ? static_cast<int>(kExitDone) : result;
    }();
    // TRANSLATORS: {0} is the exit code (a number), {1} what it means
    log_.note(trf("Exit code {0}: {1}", std::to_string(code), exit_meaning(command_, code)));
    return code;
}

}  // namespace

int run_arguments(std::span<const std::string> args, const Invocation& invocation, CommandServices services,
                  Console& console) {
    std::string error;
    if (const std::optional<Command> command = parse_command(args, error))
        return run_command(*command, invocation, services, console);
    const std::string refusal = trf("veltrano: {0}. Nothing was changed; veltrano /? tells the usage.", error);
    console.say(refusal);
    Command named;
    for (std::size_t i = 0; i + 1 < args.size(); ++i)
        if (platform::ascii_lower(args[i]) == "/log" || platform::ascii_lower(args[i]) == "-log") named.log_file = args[i + 1];
    if (!named.log_file.empty() && !is_switch(named.log_file)) {
        TimedLog log(services.time, services.files, named.log_file, console);
        log.note(started(invocation));
        log.note(refusal);
        log.note(trf("Exit code {0}: {1}", std::to_string(static_cast<int>(kExitBadInput)), exit_meaning(named, kExitBadInput)));
    }
    return kExitBadInput;
}

int run_command(const Command& command, const Invocation& invocation, CommandServices services, Console& console) {
    if (command.action == Command::Action::Usage) {
        console.say(with_crlf(tr(kUsage)));
        return kExitDone;
    }
    return Run(command, services, console).go(invocation);
}
}  // namespace veltrano::shell
