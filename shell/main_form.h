// The main window's logic: start-up, the navigation over its pages and the
// way out. Everything the window shows goes through MainView; everything it
// reads or writes, through the platform. The pages themselves are rows of a
// table this class is given; it knows none of them by name.
#pragma once

#include "core/registry_primitives.h"
#include "core/tip_state_store.h"
#include "shell/main_view.h"
#include "shell/page_table.h"
#include "ui/activity_log.h"
#include "ui/dialogs.h"
#include "ui/page.h"

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace veltrano::shell {

class MainForm {
public:
    // The first page is the one shown at start-up; the tips' help pages are
    // found below help_base.
    MainForm(Services services, MainView& view, ui::Dialogs& dialogs, ui::ActivityLog& log, std::string help_base,
             std::span<const PageRow> pages = page_table());

    // Start-up. With rest_later, what the first paint need not wait for (the
    // store's set-up, the counters, the hidden pages' creation) is left to
    // finish_start_up(): the window calls it once it has painted, before it
    // reads any click.
    void start_up(bool rest_later = false);
    void finish_start_up();
    // Tells every page; a scan still running stops there.
    void close_pages();

    // A click on a navigation entry: the pages in their order, then Exit.
    void navigation_click(std::size_t entry);
    std::size_t navigation_entries() const { return pages_.size() + 1; }
    // Ctrl+Tab and Ctrl+Shift+Tab: the next or the previous page the user
    // may open, round the end.
    void next_page(bool backwards = false);
    std::size_t current_page() const { return current_page_; }
    // The Exit entry: the applied tips counted, a restart offered when the
    // count changed during the run, then the end.
    void exit_program();
    // Exit by its key (Ctrl+0): a key pressed by mistake must not end the
    // program, so it asks first where the Exit entry would end unasked.
    void exit_by_key();

    int count_applied_tips();
    bool is_nt() const;

    // Leaving through Exit, and the restart it may offer (exit.cpp).
    void enable_shutdown_privilege();
    void disable_shutdown_privilege();

    std::span<const PageRow> pages() const { return rows_; }
    // The logic of a page; null for a page that has none.
    ui::Page* page(std::size_t index) { return pages_.at(index).get(); }

    // The page whose created() runs now, during start_up: the controls it
    // asks for are its own, so the window draws that page alone for them.
    std::optional<std::size_t> page_being_created() const { return page_being_created_; }

    core::RegistryPrimitives& primitives() { return primitives_; }
    core::TipStateStore& store() { return store_; }

    std::string machine_unc_name;
    // The same text, kept apart: the restart compares its target with it.
    std::string local_machine_name;

private:
    void navigate(std::size_t target);
    void write_counter(core::AppliedCounter counter, int value);
    // Runs one start-up step; an error ends that step only, as start-up
    // always goes on to show the window.
    template <class Step> void start_up_step(Step step);

    Services services_;
    MainView& view_;
    ui::Dialogs& dialogs_;
    core::RegistryPrimitives primitives_;
    core::TipStateStore store_;
    std::span<const PageRow> rows_;
    std::vector<std::unique_ptr<ui::Page>> pages_;
    std::optional<std::size_t> page_being_created_;
    std::size_t current_page_ = 0;
    bool start_up_pending_ = false;
};

}  // namespace veltrano::shell
