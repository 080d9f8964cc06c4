// A screen that takes every change and shows nothing, so a benchmark times
// the logic and the one control it draws for real: each benchmark says
// which grid the page sees and how its queue is pumped.
#pragma once

#include "ui/widgets.h"

namespace veltrano::bench {

class NullWidgets : public ui::Widgets {
public:
    void set_enabled(ui::Control, bool) override {}
    bool is_enabled(ui::Control) const override { return true; }
    void set_checked(ui::Checkable, bool) override {}
    bool is_checked(ui::Checkable) const override { return false; }
    void set_visible(ui::Control, bool) override {}
    bool is_visible(ui::Control) const override { return true; }
    void set_text(ui::Control, const std::string&) override {}
    std::string text(ui::Control) const override { return {}; }
    void set_position(ui::ProgressBar, int) override {}
    void set_date(ui::Calendar, ui::Date) override {}
    void pump_messages() override {}
};

}  // namespace veltrano::bench
