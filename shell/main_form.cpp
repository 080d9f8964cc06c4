#include "shell/main_form.h"

#include "core/error.h"

#include <array>

namespace veltrano::shell {

using platform::Root;

TForm1::TForm1(Services services, MainView& view, Dialogs& dialogs, core::ActivityLog& log)
    : services_(services), view_(view), dialogs_(dialogs), primitives_(services.registry, log),
      store_(primitives_, services.time),
      catalogue_(primitives_, store_, services.time, view, dialogs, services.sound) {}

template <class Step> void TForm1::start_up_step(Step step) {
    try {
        step();
    } catch (const core::VeltranoError& e) {
        view_.show_error(e.what());
    }
}

void TForm1::FormCreate() {
    poll_countdown = 30;
    view_.set_timer2_enabled(false);
    machine_unc_name = "\\\\" + services_.system_info.computer_name();
    local_machine_name = machine_unc_name;

    start_up_step([&] { store_.check_for_previous_install(); });
    start_up_step([&] {
        write_counter(kStartCounter, 0);
        write_counter(kEndCounter, 0);
        write_counter(kStartCounter, count_applied_tips());
    });

    view_.centre_on_screen();
    view_.set_calendar_today();

    hide_internet_speed();
    hide_power();
    hide_system();
    hide_customization();
    hide_undo_options();
    hide_regclean_options();
    hide_process_monitor();
    hide_admin_options();
    show_welcome();

    // The facts come from NT-only keys; elsewhere the captions stand alone.
    view_.set_system_labels_visible(is_nt());
    if (is_nt()) start_up_step([&] { fill_system_information(); });

    view_.set_grid_heading(0, "Registry Key");
    view_.set_grid_heading(1, "Last Modification");
    view_.set_grid_heading(2, "String Value");
    view_.set_grid_heading(3, "File/Path reference");
    next_free_row = 1;
    view_.set_regclean_buttons_enabled(false);
    select_first_pending = true;
}

void TForm1::FormDestroy() {}

void TForm1::write_counter(const std::string& name, int value) {
    primitives_.Manipulate_Registry(Root::LocalMachine, kCounterKey, name, core::INT_TYPE, "", value,
                                    "Starting the process of writing " + name, true);
}

int TForm1::count_applied_tips() { return store_.count_applied_tips(); }

bool TForm1::is_nt() const { return services_.system_info.version().platform_id == platform::kPlatformWin32Nt; }

namespace {

struct PageMethods {
    void (TForm1::*show)();
    void (TForm1::*hide)();
};

constexpr std::array<PageMethods, kPageCount> kPageMethods{{
    {&TForm1::show_welcome, &TForm1::hide_welcome},
    {&TForm1::show_internet_speed, &TForm1::hide_internet_speed},
    {&TForm1::show_power, &TForm1::hide_power},
    {&TForm1::show_system, &TForm1::hide_system},
    {&TForm1::show_customization, &TForm1::hide_customization},
    {&TForm1::show_undo_options, &TForm1::hide_undo_options},
    {&TForm1::show_regclean_options, &TForm1::hide_regclean_options},
    {&TForm1::show_process_monitor, &TForm1::hide_process_monitor},
    {&TForm1::show_admin_options, &TForm1::hide_admin_options},
}};

}  // namespace

void TForm1::navigate(Page target) {
    for (const PageInfo& info : kPages)
        if (info.page != target) (this->*kPageMethods[static_cast<std::size_t>(info.page)].hide)();
    (this->*kPageMethods[static_cast<std::size_t>(target)].show)();
    if (target == Page::Admin) view_.show_admin_auto_logon_panel();
}

void TForm1::navigation_click(std::size_t entry) {
    const NavEntry& nav = kNavigation.at(entry);
    if (nav.is_exit) {
        Image_exit_optionsClick();
        return;
    }
    if (nav.nt_only && !is_nt()) {
        dialogs_.show_not_compatible();
        return;
    }
    navigate(nav.target);
}

void TForm1::Image_welcome_screenClick() { navigation_click(0); }
void TForm1::Image_network_optionsClick() { navigation_click(1); }
void TForm1::Image_power_optionsClick() { navigation_click(2); }
void TForm1::Image_system_optionsClick() { navigation_click(3); }
void TForm1::Image_customization_optionsClick() { navigation_click(4); }
void TForm1::Image_undo_optionsClick() { navigation_click(5); }
void TForm1::Image_regclean_optionClick() { navigation_click(6); }
void TForm1::Image_process_monitorClick() { navigation_click(7); }
void TForm1::Image_admin_optionsClick() { navigation_click(8); }

void TForm1::show_short_page(Page page) {
    view_.set_page_visible(page, true);
    view_.set_log_visible(true);
}

void TForm1::show_tall_page(Page page) {
    view_.set_page_visible(page, true);
    view_.set_log_visible(false);
}

void TForm1::hide_page(Page page) {
    view_.set_page_visible(page, false);
    view_.set_log_visible(false);
}

// The welcome page leaves the log alone both ways: it covers it anyway.
void TForm1::show_welcome() { view_.set_page_visible(Page::Welcome, true); }
void TForm1::hide_welcome() { view_.set_page_visible(Page::Welcome, false); }
void TForm1::show_internet_speed() {
    show_short_page(Page::Network);
    catalogue_.network().refresh();
}
void TForm1::hide_internet_speed() { hide_page(Page::Network); }
void TForm1::show_power() {
    show_short_page(Page::Power);
    catalogue_.power().refresh();
}
void TForm1::hide_power() { hide_page(Page::Power); }
void TForm1::show_system() {
    show_short_page(Page::System);
    catalogue_.system().refresh();
}
void TForm1::hide_system() { hide_page(Page::System); }
void TForm1::show_customization() {
    show_short_page(Page::Customize);
    catalogue_.customization().refresh();
}
void TForm1::hide_customization() { hide_page(Page::Customize); }
void TForm1::show_undo_options() {
    show_short_page(Page::Undo);
    catalogue_.undo().refresh();
}
void TForm1::hide_undo_options() { hide_page(Page::Undo); }
void TForm1::show_regclean_options() { show_tall_page(Page::RegClean); }
void TForm1::hide_regclean_options() { hide_page(Page::RegClean); }
void TForm1::show_process_monitor() { show_tall_page(Page::Process); }
void TForm1::hide_process_monitor() { hide_page(Page::Process); }
void TForm1::show_admin_options() { show_short_page(Page::Admin); }

void TForm1::hide_admin_options() {
    hide_page(Page::Admin);
    view_.set_timer2_enabled(false);  // the time sync clock only runs on its page
}

}  // namespace veltrano::shell
