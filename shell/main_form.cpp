#include "shell/main_form.h"

#include "core/error.h"
#include "i18n/translate.h"
#include "shell/startup_stages.h"
#include "tips/tip_engine.h"

namespace veltrano::shell {

using platform::Root;

MainForm::MainForm(Services services, MainView& view, ui::Dialogs& dialogs, ui::ActivityLog& log,
                   std::string help_base, std::span<const PageRow> pages)
    : services_(services), view_(view), dialogs_(dialogs), primitives_(services.registry, log),
      store_(primitives_, services.time, tips::flag_rows()), rows_(pages) {
    PageContext context{services_, primitives_, store_, view_, dialogs_, std::move(help_base)};
    for (const PageRow& row : rows_) pages_.push_back(row.make ? row.make(context) : nullptr);
}

template <class Step> void MainForm::start_up_step(Step step) {
    try {
        step();
    } catch (const core::VeltranoError& e) {
        dialogs_.show_error(e.what());
    }
}

void MainForm::start_up(bool rest_later) {
    machine_unc_name = "\\\\" + services_.system_info.computer_name();
    local_machine_name = machine_unc_name;

    view_.centre_on_screen();
    VELTRANO_STAGE("centred");

    for (std::size_t i = 1; i < rows_.size(); ++i) {
        view_.set_visible(rows_[i].group_box, false);
        if (pages_[i]) pages_[i]->hidden();
    }
    VELTRANO_STAGE("others hidden");
    if (!rows_.empty()) view_.set_visible(rows_[0].group_box, true);
    VELTRANO_STAGE("first page made");
    if (!rows_.empty()) view_.show_current_page(0, rows_[0].group_box);
    for (ui::Control control : kLogControls) view_.set_visible(control, false);
    VELTRANO_STAGE("first page drawn");

    if (!pages_.empty() && pages_[0]) {
        page_being_created_ = 0;
        start_up_step([&] { pages_[0]->created(); });
        page_being_created_.reset();
    }
    VELTRANO_STAGE("first page created");
    start_up_pending_ = true;
    if (!rest_later) finish_start_up();
}

void MainForm::finish_start_up() {
    if (!start_up_pending_) return;
    start_up_pending_ = false;
    // The chime comes with the window, not before it: loading the sound
    // system cost the first paint several milliseconds.
    services_.sound.play_resource_async("START");
    start_up_step([&] { store_.check_for_previous_install(); });
    // Before the counters and the pages read a flag: a tip left half done
    // by a run that was stopped is finished first.
    start_up_step([&] {
        tips::TipServices tip_services{primitives_, store_, services_.time};
        if (!tips::as_writer(services_.writer_gate, tips::kWindowWriterWaitMs,
                             [&] { tips::finish_interrupted_work(tip_services); }))
            primitives_.log().add(i18n::tr("Another Veltrano is applying or undoing tips: any tip it leaves half "
                                           "done is finished at a later start"));
    });
    // One step each: a wrongly typed counter costs that counter only, and
    // the start count is still written for the exit to compare with.
    start_up_step([&] { write_counter(core::AppliedCounter::AtStart, 0); });
    start_up_step([&] { write_counter(core::AppliedCounter::AtEnd, 0); });
    start_up_step([&] { write_counter(core::AppliedCounter::AtStart, count_applied_tips()); });
    for (std::size_t i = 1; i < pages_.size(); ++i) {
        if (!pages_[i]) continue;
        page_being_created_ = i;
        start_up_step([&] { pages_[i]->created(); });
    }
    page_being_created_.reset();
}

void MainForm::close_pages() {
    for (const auto& page : pages_)
        if (page) page->destroyed();
}

void MainForm::write_counter(core::AppliedCounter counter, int value) {
    store_.write_counter(counter, value, i18n::trf("Starting the process of writing {0}", core::counter_name(counter)));
}

int MainForm::count_applied_tips() { return store_.count_applied_tips(); }

bool MainForm::is_nt() const { return services_.system_info.version().platform_id == platform::kPlatformWin32Nt; }

void MainForm::navigate(std::size_t target) {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (i == target) continue;
        view_.set_visible(rows_[i].group_box, false);
        if (pages_[i]) pages_[i]->hidden();
    }
    const PageRow& row = rows_[target];
    view_.set_visible(row.group_box, true);
    for (ui::Control control : kLogControls) view_.set_visible(control, row.shows_log());
    // Shown again when already shown: the page reads its state anew.
    if (pages_[target]) pages_[target]->shown();
    current_page_ = target;
    // After shown(): the page may have enabled what the focus goes to.
    view_.show_current_page(target, row.group_box);
}

void MainForm::next_page(bool backwards) {
    const std::size_t count = rows_.size();
    for (std::size_t step = 1; step < count; ++step) {
        const std::size_t page = backwards ? (current_page_ + count - step) % count : (current_page_ + step) % count;
        if (rows_[page].nt_only && !is_nt()) continue;
        navigate(page);
        return;
    }
}

void MainForm::navigation_click(std::size_t entry) {
    if (entry == rows_.size()) {
        exit_program();
        return;
    }
    if (entry > rows_.size()) return;
    if (rows_[entry].nt_only && !is_nt()) {
        dialogs_.show_not_compatible();
        return;
    }
    navigate(entry);
}

}  // namespace veltrano::shell
