// A screen that takes every change and shows nothing, so a benchmark times
// the logic and the one control it draws for real: each benchmark says
// which grid the page sees and how its queue is pumped.
#pragma once

#include "ui/widgets.h"

namespace veltrano::bench {

class NullWidgets : public ui::Widgets {
public:
    void set_enabled(std::string_view, bool) override {}
    bool is_enabled(std::string_view) const override { return true; }
    void set_checked(std::string_view, bool) override {}
    bool is_checked(std::string_view) const override { return false; }
    void set_visible(std::string_view, bool) override {}
    bool is_visible(std::string_view) const override { return true; }
    void set_text(std::string_view, const std::string&) override {}
    std::string text(std::string_view) const override { return {}; }
    void set_position(std::string_view, int) override {}
    void set_date(std::string_view, ui::Date) override {}
    void pump_messages() override {}
};

}  // namespace veltrano::bench
