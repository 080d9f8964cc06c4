// The screen as the native tests see it: controls are entries in a map, the
// dialogs and the sound write down what they were asked to do.
#pragma once

#include "platform/sound.h"
#include "shell/dialogs.h"
#include "shell/main_view.h"

#include <map>
#include <string>
#include <vector>

namespace veltrano::fakes {

struct ControlState {
    bool enabled = true;
    bool checked = false;
    bool visible = true;
    std::string text;
};

class FakeWidgets : public virtual shell::Widgets {
public:
    void set_enabled(std::string_view name, bool on) override { at(name).enabled = on; }
    bool is_enabled(std::string_view name) const override { return get(name).enabled; }
    void set_checked(std::string_view name, bool on) override { at(name).checked = on; }
    bool is_checked(std::string_view name) const override { return get(name).checked; }
    void set_visible(std::string_view name, bool on) override { at(name).visible = on; }
    bool is_visible(std::string_view name) const override { return get(name).visible; }
    void set_text(std::string_view name, const std::string& text) override { at(name).text = text; }
    std::string text(std::string_view name) const override { return get(name).text; }

    ControlState& at(std::string_view name) { return controls[std::string(name)]; }
    ControlState get(std::string_view name) const {
        auto it = controls.find(std::string(name));
        return it == controls.end() ? ControlState{} : it->second;
    }
    std::map<std::string, ControlState> controls;
};

class RecordingView : public shell::MainView, public FakeWidgets {
public:
    using Page = shell::Page;
    void set_page_visible(Page page, bool visible) override { pages[page] = visible; }
    void set_log_visible(bool visible) override { log_visible = visible; }
    void set_timer2_enabled(bool enabled) override { timer2 = enabled; }
    void centre_on_screen() override { calls.push_back("centre"); }
    void set_calendar_today() override { calls.push_back("calendar"); }
    void set_system_labels_visible(bool visible) override { labels_visible = visible; }
    void set_grid_heading(int column, const std::string& text) override { headings[column] = text; }
    void set_regclean_buttons_enabled(bool enabled) override { regclean_buttons = enabled; }
    void show_admin_auto_logon_panel() override { calls.push_back("auto logon panel"); }
    void show_error(const std::string& message) override { errors.push_back(message); }
    bool ask_yes_no(const std::string& question) override {
        questions.push_back(question);
        return answer_yes;
    }
    void set_progress(std::string_view name, int position) override { progress[std::string(name)] = position; }
    void terminate() override { terminated = true; }

    std::vector<Page> visible_pages() const {
        std::vector<Page> v;
        for (auto [page, on] : pages)
            if (on) v.push_back(page);
        return v;
    }

    std::map<Page, bool> pages;
    bool log_visible = true, timer2 = true, labels_visible = false, regclean_buttons = true, terminated = false;
    std::map<int, std::string> headings;
    std::vector<std::string> calls, errors;
    std::vector<std::string> questions;
    bool answer_yes = false;
    std::map<std::string, int> progress;
};

class FakeDialogs : public shell::Dialogs {
public:
    bool show_terms_of_use() override {
        shown.push_back("terms of use");
        return agree;
    }
    void show_not_compatible() override { shown.push_back("not compatible"); }
    void show_help(const std::string& address) override { shown.push_back("help " + address); }
    void show_balloon(const std::string& text) override { shown.push_back("balloon " + text); }
    std::vector<std::string> shown;
    bool agree = true;
};

class FakeSound : public platform::Sound {
public:
    void play_resource_async(const std::string& name) override { played.push_back(name); }
    std::vector<std::string> played;
};

}  // namespace veltrano::fakes
