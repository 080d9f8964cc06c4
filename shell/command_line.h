// Veltrano without its window, for start-up scripts and Group Policy: the
// same engine, records and narration as the window's Apply and Undo, driven
// by a profile. What it says goes to the console it was started from; the
// activity log goes, with date and time, to the file /log names.
#pragma once

#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/system_restore.h"
#include "platform/time.h"
#include "tips/catalogue.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veltrano::shell {

// What a script can test, exactly these.
enum ExitCode : int {
    kExitDone = 0,
    kExitSomeNotApplied = 1,  // the log says which
    kExitBadInput = 2,        // arguments, profile or file; nothing changed
    kExitRecordsRefused = 3,  // the program's own records cannot be written; nothing changed
};

struct Command {
    enum class Action { Usage, Apply, Undo, Save, ExportReg };
    Action action = Action::Usage;
    std::string file;                 // the profile, or the .reg file
    std::vector<tips::Group> groups;  // of /undo, in the catalogue's order
    bool to_previous = false;
    std::string log_file;
    // Ask Windows for a restore point before changing anything.
    bool restore_point = true;
};

inline constexpr std::string_view kUsage =
    "Veltrano: apply tips without the window.\r\n"
    "\r\n"
    "  veltrano /apply PROFILE        apply the profile's tips not applied yet\r\n"
    "  veltrano /undo GROUPS [/previous]\r\n"
    "                                 take back groups (network, power, system, customization\r\n"
    "                                 or all; several with commas) to the factory defaults or,\r\n"
    "                                 with /previous, to what the machine held before\r\n"
    "  veltrano /save PROFILE         write the tips applied now to a profile\r\n"
    "  veltrano /export-reg FILE      write the applied tips' settings as a .reg file\r\n"
    "  /log FILE                      append the activity log, with date and time, to FILE\r\n"
    "  /norestorepoint                no System Restore point before /apply or /undo\r\n"
    "  veltrano /?                    this text\r\n"
    "\r\n"
    "Exit codes: 0 done; 1 some tips could not be applied (the log says which);\r\n"
    "2 bad arguments, profile or file, nothing changed; 3 Veltrano's records in the\r\n"
    "registry cannot be written (not an administrator), nothing changed.\r\n";

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

// Runs the command and returns its exit code. The caller holds the writer
// lock when the command changes the machine.
// A restore point is asked of system_restore before /apply and /undo change
// anything, unless the command says /norestorepoint or it is null.
int run_command(const Command& command, platform::Registry& registry, platform::Time& time,
                platform::FileSystem& files, Console& console, platform::SystemRestore* system_restore = nullptr);

// Whether the command may write the registry, and so needs the writer lock:
// every command but the usage (a first run makes the records).
bool changes_machine(const Command& command);

}  // namespace veltrano::shell
