// Leaving the program: the applied tips counted and recorded, a restart
// offered when the count changed during the run, then the end.
#include "shell/exit.h"

#include "core/error.h"
#include "shell/line_ends.h"
#include "shell/main_form.h"

#include <algorithm>
#include <cctype>

namespace veltrano::shell {

using platform::Root;

namespace {

// `message`: one of exit.h's, in English.
[[noreturn]] void fail(std::string_view message) { throw core::VeltranoError(with_crlf(i18n::tr(message))); }

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

}  // namespace

void MainForm::exit_program() {
    // The window has no close box: nothing read here may keep the user in.
    // A wrongly typed flag is reported once and the program ends as if the
    // count had not changed: no restart is offered on a count we could not
    // take.
    int n = 0;
    try {
        n = count_applied_tips();
    } catch (const core::VeltranoError& e) {
        dialogs_.show_error(e.what());
        view_.terminate();
        return;
    }
    // A counter the registry holds with the wrong type only decides whether
    // to ask: it is reported once (by the write) and read as 0.
    const auto read_counter = [&](core::AppliedCounter counter) {
        try {
            return store_.read_counter(counter);
        } catch (const core::VeltranoError&) {
            return 0;
        }
    };
    try {
        write_counter(core::AppliedCounter::AtEnd, n);
    } catch (const core::VeltranoError& e) {
        dialogs_.show_error(e.what());
    }
    const int at_start = read_counter(core::AppliedCounter::AtStart);
    const int at_end = read_counter(core::AppliedCounter::AtEnd);

    if (at_start != at_end && dialogs_.ask_yes_no(i18n::tr(kRestartQuestion))) {
        enable_shutdown_privilege();
        if (!services_.shutdown.initiate_restart(machine_unc_name, i18n::tr(kShutdownMessage),
                                                 kShutdownTimeoutSeconds)) {
            // The privilege goes back to how it was before we asked for it.
            services_.shutdown.restore_privilege();
            fail(kShutdownFailed);
        }
        disable_shutdown_privilege();
    }
    view_.terminate();
}

void MainForm::exit_by_key() {
    // Where the count changed, Exit asks about the restart anyway.
    bool exit_asks = false;
    try {
        exit_asks = count_applied_tips() != store_.read_counter(core::AppliedCounter::AtStart);
    } catch (const core::VeltranoError&) {
        // Exit reports what it cannot read; asking here first costs nothing.
    }
    if (!exit_asks && !dialogs_.warn_yes_no(i18n::tr(kExitQuestion))) return;
    exit_program();
}

void MainForm::enable_shutdown_privilege() {
    if (!services_.shutdown.open_process_token()) fail(kOpenProcessTokenFailed);
    const std::string_view privilege =
        upper(machine_unc_name) == upper(local_machine_name) ? kShutdownPrivilege : kRemoteShutdownPrivilege;
    if (!services_.shutdown.lookup_privilege(machine_unc_name, std::string(privilege))) fail(kNoShutdownPrivilege);
    if (services_.shutdown.adjust_privilege(true) != 0) fail(kEnableFailed);
}

void MainForm::disable_shutdown_privilege() {
    if (services_.shutdown.adjust_privilege(false) != 0) fail(kDisableFailed);
}

}  // namespace veltrano::shell
