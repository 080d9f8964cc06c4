#include "shell/command_line.h"

#include "core/error.h"
#include "core/registry_primitives.h"
#include "core/restore_point.h"
#include "core/tip_state_store.h"
#include "tips/profile.h"
#include "tips/reg_export.h"
#include "tips/tip_engine.h"

#include <algorithm>
#include <cstdio>

namespace veltrano::shell {

namespace {

std::string lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool is_switch(const std::string& arg) { return arg.size() > 1 && (arg[0] == '/' || arg[0] == '-'); }

std::optional<tips::Group> group_named(const std::string& name) {
    for (const tips::UndoLineDisplay& line : tips::kUndoLines) {
        static constexpr std::string_view kNames[] = {"network", "power", "system", "customization"};
        if (name == kNames[static_cast<std::size_t>(line.group)]) return line.group;
    }
    return std::nullopt;
}

// "network,power", "all": the groups in the catalogue's order, each once.
bool parse_groups(const std::string& text, std::vector<tips::Group>& groups, std::string& error) {
    bool chosen[tips::kGroupCount] = {};
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t comma = std::min(text.find(',', pos), text.size());
        const std::string name = lower(text.substr(pos, comma - pos));
        pos = comma + 1;
        if (name.empty()) continue;
        if (name == "all") {
            for (bool& c : chosen) c = true;
        } else if (auto group = group_named(name)) {
            chosen[static_cast<std::size_t>(*group)] = true;
        } else {
            error = "unknown group \"" + name + "\" (network, power, system, customization or all)";
            return false;
        }
    }
    for (const tips::GroupDisplay& g : tips::kGroupDisplay)
        if (chosen[static_cast<std::size_t>(g.group)]) groups.push_back(g.group);
    if (groups.empty()) error = "/undo needs the groups to take back";
    return !groups.empty();
}

// The activity log of a run without a window: every line with the date and
// time it was said, for the file /log names.
class TimedLog : public ui::ActivityLog {
public:
    explicit TimedLog(platform::Time& time) : time_(time) {}
    void add(const std::string& line) override {
        const platform::SystemTime t = time_.local_time();
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u  ", t.year, t.month, t.day, t.hour,
                      t.minute, t.second);
        text_ += stamp + line + "\r\n";
    }
    // As in the window: the first-run set-up's derivation is not the user's business.
    void clear() override { text_.clear(); }
    const std::string& text() const { return text_; }

private:
    platform::Time& time_;
    std::string text_;
};

std::string names(const std::vector<int>& tips) {
    std::string out;
    for (int tip : tips) out += (out.empty() ? "" : " ") + core::tip_key(tip);
    return out;
}

// Whether the program's records can be written: the store key, or when there
// is none yet, SOFTWARE where the first-run set-up makes it.
bool records_writable(platform::Registry& registry) {
    if (registry.open(platform::Root::LocalMachine, core::kStoreRoot, false)) return true;
    if (registry.open_existing(platform::Root::LocalMachine, core::kStoreRoot, platform::Access::Read)) return false;
    return registry.open(platform::Root::LocalMachine, "SOFTWARE", false) != nullptr;
}

std::vector<std::uint8_t> bytes_of(const std::string& text) { return {text.begin(), text.end()}; }

}  // namespace

bool changes_machine(const Command& command) {
    return command.action != Command::Action::Usage;
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

std::optional<Command> parse_command(std::span<const std::string> args, std::string& error) {
    Command command;
    bool have_action = false;
    auto take_action = [&](Command::Action action) {
        if (have_action) {
            error = "give one of /apply, /undo, /save and /export-reg";
            return false;
        }
        have_action = true;
        command.action = action;
        return true;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string arg = lower(args[i]);
        if (!is_switch(arg)) {
            error = "unexpected \"" + args[i] + "\"";
            return std::nullopt;
        }
        const std::string name = arg.substr(1);
        auto operand = [&](std::string& into) {
            if (i + 1 >= args.size() || is_switch(args[i + 1]) || args[i + 1].empty()) {
                error = args[i] + " needs a file";
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
            if (!parse_groups(groups, command.groups, error)) return std::nullopt;
        } else if (name == "previous") {
            command.to_previous = true;
        } else if (name == "norestorepoint") {
            command.restore_point = false;
        } else if (name == "log") {
            if (!operand(command.log_file)) return std::nullopt;
        } else {
            error = "unknown switch " + args[i];
            return std::nullopt;
        }
    }
    if (!have_action) {
        error = "give one of /apply, /undo, /save, /export-reg or /?";
        return std::nullopt;
    }
    if (command.to_previous && command.action != Command::Action::Undo) {
        error = "/previous goes with /undo";
        return std::nullopt;
    }
    return command;
}

int run_command(const Command& command, platform::Registry& registry, platform::Time& time,
                platform::FileSystem& files, Console& console, platform::SystemRestore* system_restore) {
    using Action = Command::Action;
    if (command.action == Action::Usage) {
        console.say(std::string(kUsage));
        return kExitDone;
    }
    // Every check that can refuse comes before the first change, so a refusal
    // leaves the machine as it was.
    if (!command.log_file.empty() && !files.append_file(command.log_file, {})) {
        console.say("The log file " + command.log_file + " cannot be written. Nothing was changed.");
        return kExitBadInput;
    }
    std::vector<int> profile;
    if (command.action == Action::Apply) {
        std::vector<std::uint8_t> bytes;
        try {
            if (!files.read_file(command.file, bytes))
                throw core::VeltranoError(command.file + ", line 1: the file cannot be read");
            profile = tips::parse_profile(command.file, bytes);
        } catch (const core::VeltranoError& e) {
            console.say(std::string(e.what()) + ". Nothing was applied.");
            return kExitBadInput;
        }
    }
    if (!records_writable(registry)) {
        console.say("Windows refuses Veltrano's records in HKEY_LOCAL_MACHINE\\SOFTWARE\\VELTRANO: run it as an "
                    "administrator. Nothing was changed.");
        return kExitRecordsRefused;
    }

    TimedLog log(time);
    core::RegistryPrimitives primitives(registry, log);
    core::TipStateStore store(primitives, time, tips::flag_rows());
    tips::Engine engine{primitives, store, time};
    auto finish = [&](int code) {
        if (!command.log_file.empty() && !files.append_file(command.log_file, bytes_of(log.text())))
            console.say("The log could not be written to " + command.log_file + ".");
        return code;
    };

    platform::SystemRestore* restore = command.restore_point ? system_restore : nullptr;
    int code = kExitDone;
    try {
        store.check_for_previous_install();
        // The caller holds the writer lock: work left in progress is no
        // other run's, but one that was stopped.
        tips::finish_interrupted_work(engine);
        switch (command.action) {
        case Action::Apply: {
            std::vector<int> to_apply, already;
            for (int tip : profile) (tips::flagged_applied(engine, tip) ? already : to_apply).push_back(tip);
            log.add("Applying " + command.file + ": " + std::to_string(to_apply.size()) + " tips, " +
                    std::to_string(already.size()) + " applied already");
            tips::ApplyOutcome outcome;
            if (!to_apply.empty()) {
                core::RestorePoint point(restore, log, tips::restore_point_name("apply", to_apply.size(), "tip"));
                outcome = tips::apply_tips(engine, to_apply);
                if (outcome.stopped.empty()) point.succeeded();
            }
            console.say("Applied " + std::to_string(outcome.applied.size()) + " tips; " +
                        std::to_string(already.size()) + " of the profile were applied already.");
            if (!outcome.not_applied.empty()) {
                console.say("Not applied: " + names(outcome.not_applied) + " (the log says why).");
                code = kExitSomeNotApplied;
            }
            if (!outcome.stopped.empty()) {
                log.add(outcome.stopped);
                console.say(outcome.stopped + "; not reached: " + names(outcome.not_reached) + ".");
            }
            break;
        }
        case Action::Undo: {
            std::vector<tips::GroupUndo> groups;
            for (tips::Group group : command.groups) groups.push_back({group, command.to_previous});
            {
                core::RestorePoint point(restore, log, tips::restore_point_name("undo", groups.size(), "group"));
                tips::undo_groups(engine, groups);
                point.succeeded();
            }
            for (tips::Group group : command.groups)
                console.say("Undone: " + std::string(tips::group_display(group).undone_flag).substr(
                                             0, tips::group_display(group).undone_flag.find("Options")) +
                            (command.to_previous ? ", to what the machine held before." : ", to the factory defaults."));
            break;
        }
        case Action::Save: {
            const std::vector<int> applied = tips::applied_tips(engine);
            const std::string text =
                tips::format_profile(applied, "the tips applied on this machine on " + time.short_date_today());
            if (!files.replace_file(command.file, bytes_of(text))) {
                console.say("The profile could not be written to " + command.file + ".");
                return finish(kExitBadInput);
            }
            console.say("Saved " + std::to_string(applied.size()) + " applied tips to " + command.file + ".");
            break;
        }
        case Action::ExportReg: {
            const std::vector<int> applied = tips::applied_tips(engine);
            const auto file = tips::reg_export_file(
                registry, applied, "Veltrano: the settings of the tips applied on this machine on " + time.short_date_today() +
                             ". Import with regedit or reg import, as an administrator.");
            if (!files.replace_file(command.file, file)) {
                console.say("The .reg file could not be written to " + command.file + ".");
                return finish(kExitBadInput);
            }
            console.say("Exported the settings of " + std::to_string(applied.size()) + " applied tips to " +
                        command.file + ".");
            break;
        }
        case Action::Usage:
            break;
        }
    } catch (const core::VeltranoError& e) {
        // A value of the wrong type ended the set-up or a restore there.
        log.add(e.what());
        console.say(std::string(e.what()) + ". The work stopped there.");
        code = kExitSomeNotApplied;
    }
    return finish(code);
}

}  // namespace veltrano::shell
