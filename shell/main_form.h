// The main window's logic: start-up, the navigation between pages and the
// show and hide methods of every page. Everything the window shows goes
// through MainView; everything it reads or writes, through the platform.
#pragma once

#include "core/activity_log.h"
#include "core/registry_primitives.h"
#include "core/tip_state_store.h"
#include "platform/browser.h"
#include "platform/registry.h"
#include "platform/shutdown.h"
#include "platform/sound.h"
#include "platform/system_info.h"
#include "platform/time.h"
#include "shell/dialogs.h"
#include "shell/main_view.h"
#include "tips/tip_pages.h"

#include <string>

namespace veltrano::shell {

struct Services {
    platform::Registry& registry;
    platform::SystemInfo& system_info;
    platform::Time& time;
    platform::Sound& sound;
    platform::Shutdown& shutdown;
    platform::Browser& browser;
};

class TForm1 {
public:
    TForm1(Services services, MainView& view, Dialogs& dialogs, core::ActivityLog& log);

    void FormCreate();
    void FormClose() {}
    void FormDestroy();

    // The navigation bar; icon and caption share a handler.
    void Image_welcome_screenClick();
    void Image_network_optionsClick();
    void Image_power_optionsClick();
    void Image_system_optionsClick();
    void Image_customization_optionsClick();
    void Image_undo_optionsClick();
    void Image_regclean_optionClick();
    void Image_process_monitorClick();
    void Image_admin_optionsClick();
    void Image_exit_optionsClick();
    // The handler of a navigation entry by its index in kNavigation.
    void navigation_click(std::size_t entry);

    void show_welcome();
    void hide_welcome();
    void show_internet_speed();
    void hide_internet_speed();
    void show_power();
    void hide_power();
    void show_system();
    void hide_system();
    void show_customization();
    void hide_customization();
    void show_undo_options();
    void hide_undo_options();
    void show_regclean_options();
    void hide_regclean_options();
    void show_process_monitor();
    void hide_process_monitor();
    void show_admin_options();
    void hide_admin_options();

    int count_applied_tips();
    bool is_nt() const;

    // The welcome page (welcome.cpp).
    void fill_system_information();
    void Timer1Timer();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn18Click();
    void OpenInternetExplorer(const std::string& address);

    // Leaving through Exit, and the restart it may offer (exit.cpp).
    void enable_shutdown_privilege();
    void disable_shutdown_privilege();

    core::RegistryPrimitives& primitives() { return primitives_; }
    core::TipStateStore& store() { return store_; }
    // The tip pages and the Undo page; the screen binds their handlers,
    // e.g. form.network_page().BitBtn5Click().
    tips::Catalogue& catalogue() { return catalogue_; }
    tips::NetworkPage& network_page() { return catalogue_.network(); }
    tips::PowerPage& power_page() { return catalogue_.power(); }
    tips::SystemPage& system_page() { return catalogue_.system(); }
    tips::CustomizationPage& customization_page() { return catalogue_.customization(); }
    tips::UndoPage& undo_page() { return catalogue_.undo(); }

    std::string machine_unc_name;
    // The same text, kept apart: the restart compares its target with it.
    std::string local_machine_name;
    int poll_countdown = 0;
    int next_free_row = 0;
    bool select_first_pending = false;

private:
    void navigate(Page target);
    void show_short_page(Page page);
    void hide_page(Page page);
    void show_tall_page(Page page);
    void write_counter(const std::string& name, int value);
    // Runs one start-up step; an error ends that step only, as start-up
    // always goes on to show the window.
    template <class Step> void start_up_step(Step step);

    Services services_;
    MainView& view_;
    Dialogs& dialogs_;
    core::RegistryPrimitives primitives_;
    core::TipStateStore store_;
    tips::Catalogue catalogue_;
};

inline const std::string kCounterKey = "SOFTWARE\\VELTRANO\\VERSION\\2.0\\";
inline const std::string kStartCounter = "AppliedTipsCounter_start_of_exec";
inline const std::string kEndCounter = "AppliedTipsCounter_end_of_exec";

}  // namespace veltrano::shell
