// The main window's pages as rows: each page's entry on the navigation bar,
// its group box, and the logic behind it. The main window navigates over the
// table it is given and knows no page by name; the screen draws each page's
// contents from the view that names the page's group box. A new page is a
// folder with its logic, a view file and one row here.
#pragma once

#include "ui/activity_log.h"
#include "core/registry_primitives.h"
#include "core/tip_state_store.h"
#include "admin/time_sync.h"
#include "platform/ansi_text.h"
#include "platform/browser.h"
#include "platform/file_system.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/secrets.h"
#include "platform/shell.h"
#include "platform/shutdown.h"
#include "platform/sound.h"
#include "platform/system_info.h"
#include "platform/system_restore.h"
#include "platform/time.h"
#include "i18n/translate.h"
#include "shell/main_view.h"
#include "tips/tip_page.h"
#include "ui/dialogs.h"
#include "ui/page.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace veltrano::shell {

struct Services {
    platform::Registry& registry;
    platform::SystemInfo& system_info;
    platform::Time& time;
    platform::Sound& sound;
    platform::Shutdown& shutdown;
    platform::Browser& browser;
    platform::FileSystem& file_system;
    platform::Processes& processes;
    platform::Shell& shell;
    platform::AnsiText& ansi_text;
    // The time synchronisation's socket, made on the user-interface thread.
    admin::SocketFactory make_socket = {};
    // Asked for a restore point before every batch of changes; none when null.
    platform::SystemRestore* system_restore = nullptr;
    // Held by whoever applies or undoes tips; none when this is the only writer.
    tips::WriterGate* writer_gate = nullptr;
    // Windows' store of secrets, for the automatic logon's password.
    platform::Secrets* secrets = nullptr;
};

// What a page's logic may be made from.
struct PageContext {
    Services services;
    core::RegistryPrimitives& primitives;
    core::TipStateStore& store;
    MainView& view;
    ui::Dialogs& dialogs;
    // Where the tips' help pages live, without a trailing "/".
    std::string help_base;
    // A loaded profile on its way to the four tips pages.
    std::shared_ptr<tips::ProfileTicks> profile_ticks = std::make_shared<tips::ProfileTicks>();
};

inline constexpr int kPageLeft = 8, kPageTop = 88, kPageWidth = 600;
inline constexpr int kShortPageHeight = 345, kTallPageHeight = 489;

struct PageRow {
    // The navigation entry: a caption above an icon, both clickable.
    std::string_view caption;
    std::string_view icon;  // also the name of its bitmap resource
    bool nt_only;           // refused with the not-compatible dialog elsewhere
    // The page.
    ui::GroupBox group_box;
    std::string_view title;
    int height;             // tall pages cover the activity log area
    // The page's logic; a page without it is a frame and nothing more.
    std::unique_ptr<ui::Page> (*make)(PageContext&);

    // The log sits in the room a short page leaves below it.
    bool shows_log() const { return height == kShortPageHeight; }
};

// The program's pages, the first one shown at start-up.
std::span<const PageRow> page_table();

// Exit closes the bar; it is no page.
struct ExitEntry {
    // TRANSLATORS: the navigation bar's last entry, which ends the program
    std::string_view caption = i18n::N_("Exit");
    std::string_view icon = "Image_exit_options";
};
inline constexpr ExitEntry kExitEntry{};

// The activity log and its caption, shown under the short pages.
using ui::kLogControls;

}  // namespace veltrano::shell
