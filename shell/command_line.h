// Veltrano without its window, for start-up scripts and Group Policy: the
// same engine, records and narration as the window's Apply and Undo, driven
// by a profile. What it says goes to the console it was started from; the
// activity log goes, with date and time, to the file /log names.
#pragma once

#include "i18n/translate.h"
#include "platform/ansi_text.h"
#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/system_restore.h"
#include "platform/time.h"
#include "tips/catalogue.h"
#include "tips/writer_gate.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veltrano::shell {

// What a script can test, exactly these.
enum ExitCode : int {
    kExitDone = 0,
    kExitSomeNotApplied = 1,  // or, of /verify, not in effect; the log says which
    kExitBadInput = 2,        // arguments, profile or file; nothing changed
    kExitRecordsRefused = 3,  // the program's own records cannot be written; nothing changed
    kExitWaitedTooLong = 4,   // another Veltrano was still at work after five minutes; nothing changed
};

struct Command {
    enum class Action { Usage, Apply, Undo, Save, ExportReg, Verify, List };
    Action action = Action::Usage;
    std::string file;                 // the profile, or the .reg file; of /verify, may be empty
    std::vector<tips::Group> groups;  // of /undo, in the catalogue's order
    std::vector<int> tips;            // of /undo, tips alone instead of groups, in tip order
    bool to_previous = false;
    bool what_if = false;             // tell every change, make none
    std::string log_file;
    // Ask Windows for a restore point before /apply or /undo changes anything.
    bool restore_point = true;
};

// Said with Windows' line ends (with_crlf).
// TRANSLATORS: the usage of the command line (veltrano /?): switches, PROFILE, GROUPS, FILE and the group
// names stay as they are; keep the lines within 90 characters
inline constexpr std::string_view kUsage = i18n::N_("Veltrano: apply tips without the window.\n"
    "\n"
    "  veltrano /apply PROFILE        apply the profile's tips not in effect: those not applied\n"
    "                                 yet, and those applied whose values were changed since\n"
    "  veltrano /undo GROUPS [/previous]\n"
    "                                 take back groups (network, power, system, customization\n"
    "                                 or all; several with commas) to the factory defaults or,\n"
    "                                 with /previous, to what the machine held before\n"
    "  veltrano /undo TIPS [/previous]\n"
    "                                 take back single tips (TIP0017; several with commas), each\n"
    "                                 alone: the other tips of its group stay applied\n"
    "  /whatif                        with /apply or /undo: print every value and key it would\n"
    "                                 write, delete or create, and change nothing\n"
    "  veltrano /verify [PROFILE]     check that the profile's tips (or, without one, the tips\n"
    "                                 recorded as applied) are in effect; change nothing\n"
    "  veltrano /list                 the 48 tips, one a line, tab-separated: name, group,\n"
    "                                 recorded as applied or not, in effect or not, caption\n"
    "  veltrano /save PROFILE         write the tips applied now to a profile\n"
    "  veltrano /export-reg FILE      write the applied tips' settings as a .reg file\n"
    "  /log FILE                      append the activity log, with date and time, to FILE\n"
    "  /norestorepoint                no System Restore point before /apply or /undo\n"
    "  /lang CODE                     the language of this run: en, de, fr, es, it, pt-BR, nl,\n"
    "                                 pl, ru, tr, ja, zh-CN, ko\n"
    "  veltrano /?                    this text\n"
    "\n"
    "A profile: one tip a line (TIP0017 in any letter case, then its caption if you like);\n"
    "'#' starts a comment; saved as ANSI or UTF-8, with any line ends.\n"
    "Per-user tips (HKEY_CURRENT_USER) are skipped when run as the system account.\n"
    "\n"
    "Exit codes: 0 done (of /verify: every tip in effect); 1 some tips could not be applied,\n"
    "or of /verify some are not in effect (the log says which); 2 bad arguments, profile\n"
    "or file, nothing changed; 3 Veltrano's records in the registry cannot be written (not\n"
    "an administrator), nothing changed; 4 another Veltrano was still applying or undoing\n"
    "tips after five minutes of waiting, nothing changed.\n");

// Whether the command line, whole as the process was given it, holds
// anything past the program's name (quoted, or up to the first blank): an
// empty "" counts, blanks alone do not. Read without splitting it, so the
// window's start loads nothing to decide.
bool has_arguments(std::wstring_view command_line);

// The arguments after the program's name; nullopt with the reason in
// `error` when they make no command. Switches are case-insensitive and may
// start with '/' or '-'.
std::optional<Command> parse_command(std::span<const std::string> args, std::string& error);

// Where the command line's own words go.
class Console {
public:
    virtual ~Console() = default;
    virtual void say(const std::string& line) = 0;
};

// Who runs the command, where, and how it was typed: the log's first line.
struct Invocation {
    std::string command_line;
    std::string machine;
    std::string user;
    // The system account (a machine start-up script): a per-user tip would
    // change only that account's own settings.
    bool system_account = false;
};

struct CommandServices {
    platform::Registry& registry;
    platform::Time& time;
    platform::FileSystem& files;
    const platform::AnsiText& ansi;
    // Held from the first change to the end of the run.
    tips::WriterGate& gate;
    // Asked for a restore point before /apply and /undo change anything; none when null.
    platform::SystemRestore* system_restore = nullptr;
};

// Runs the command and returns its exit code. It takes the writer lock
// itself, for the commands that need it.
int run_command(const Command& command, const Invocation& invocation, CommandServices services, Console& console);

// The arguments after the program's name, parsed and run. Arguments that
// make no command are refused with exit code 2, in the log too when they
// name one.
int run_arguments(std::span<const std::string> args, const Invocation& invocation, CommandServices services,
                  Console& console);

// Whether the command takes the writer lock: it writes the tips, or reads
// their records whole (a profile or .reg file of the applied tips).
bool changes_machine(const Command& command);

}  // namespace veltrano::shell
