// The screen as the native tests see it: controls are entries in a map, the
// dialogs and the sound write down what they were asked to do.
#pragma once

#include "platform/sound.h"
#include "shell/main_view.h"
#include "shell/page_table.h"
#include "ui/dialogs.h"
#include "ui/widgets.h"

#include <functional>
#include <iterator>
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

// A grid that keeps what it is told; the tests read its cells back.
class FakeGrid : public ui::Grid {
public:
    void set_column_count(int count) override { columns = count; }
    int column_count() const override { return columns; }
    void set_column_width(int column, int width) override { widths[column] = width; }
    void set_row_count(int count) override {
        for (auto it = cells.begin(); it != cells.end();)
            it = it->first.second >= count ? cells.erase(it) : std::next(it);
        rows = count;
        // As a list view drops the focus of an item that goes.
        if (current >= count) current = 0;
    }
    int row_count() const override { return rows; }
    void set_cell(int column, int row, const std::string& text) override { cells[{column, row}] = text; }
    std::string cell(int column, int row) const override {
        auto it = cells.find({column, row});
        return it == cells.end() ? "" : it->second;
    }
    int current_row() const override { return current; }
    void set_current_row(int row) override { select_rows(row, row); }
    // Chooses without scrolling: what a refresh by itself must do.
    void keep_current_row(int row) override {
        select_rows(row, row);
        --scrolls;
    }
    std::vector<int> selected_rows() const override { return selected; }
    void select_rows(int top, int bottom) override {
        ++scrolls;
        selected.clear();
        for (int r = top; r <= bottom && r >= 1; ++r) selected.push_back(r);
        current = top;
    }
    void set_busy(bool on) override { busy = on; }
    std::vector<std::string> row(int r) const {
        std::vector<std::string> out;
        for (int c = 0; c < columns; ++c) out.push_back(cell(c, r));
        return out;
    }

    int columns = 0, rows = 0, current = 0;
    int scrolls = 0;  // choices that bring the row into view
    std::vector<int> selected;
    bool busy = false;
    std::map<int, int> widths;
    std::map<std::pair<int, int>, std::string> cells;
};

// Keyed by the controls' names: a test reads, and plays the user on, a
// control by its name as well as by its page's handle.
class FakeWidgets : public virtual ui::Widgets {
public:
    void set_enabled(ui::Control control, bool on) override { set_enabled(control.name(), on); }
    bool is_enabled(ui::Control control) const override { return is_enabled(control.name()); }
    void set_checked(ui::Checkable control, bool on) override { set_checked(control.name(), on); }
    bool is_checked(ui::Checkable control) const override { return is_checked(control.name()); }
    void set_visible(ui::Control control, bool on) override { set_visible(control.name(), on); }
    bool is_visible(ui::Control control) const override { return is_visible(control.name()); }
    void set_text(ui::Control control, const std::string& text) override { set_text(control.name(), text); }
    std::string text(ui::Control control) const override { return text(control.name()); }
    void set_position(ui::ProgressBar bar, int position) override { progress[std::string(bar.name())] = position; }
    void set_date(ui::Calendar calendar, ui::Date date) override { dates[std::string(calendar.name())] = date; }
    ui::Grid& grid(ui::StringGrid control) override { return grid(control.name()); }
    int selected_index(ui::ComboBox box) const override { return selected_index(box.name()); }
    void set_selected_index(ui::ComboBox box, int index) override { set_selected_index(box.name(), index); }
    // A test that wants to click while a handler runs does it here.
    void pump_messages() override {
        ++pumps;
        if (on_pump) on_pump();
    }

    void set_enabled(std::string_view name, bool on) { at(name).enabled = on; }
    bool is_enabled(std::string_view name) const { return get(name).enabled; }
    void set_checked(std::string_view name, bool on) { at(name).checked = on; }
    bool is_checked(std::string_view name) const { return get(name).checked; }
    void set_visible(std::string_view name, bool on) { at(name).visible = on; }
    bool is_visible(std::string_view name) const { return get(name).visible; }
    void set_text(std::string_view name, const std::string& text) {
        at(name).text = text;
        texts[std::string(name)].push_back(text);
    }
    std::string text(std::string_view name) const { return get(name).text; }
    FakeGrid& grid(std::string_view name) { return grids[std::string(name)]; }
    int selected_index(std::string_view name) const {
        auto it = selected.find(std::string(name));
        return it == selected.end() ? -1 : it->second;
    }
    void set_selected_index(std::string_view name, int index) { selected[std::string(name)] = index; }

    ControlState& at(std::string_view name) { return controls[std::string(name)]; }
    ControlState get(std::string_view name) const {
        auto it = controls.find(std::string(name));
        return it == controls.end() ? ControlState{} : it->second;
    }
    std::map<std::string, ControlState> controls;
    std::map<std::string, int> progress;
    std::map<std::string, ui::Date> dates;
    std::map<std::string, FakeGrid> grids;
    std::map<std::string, int> selected;  // combo boxes' chosen items
    // Every text a control was given, in order: a status line's steps.
    std::map<std::string, std::vector<std::string>> texts;
    std::function<void()> on_pump;
    int pumps = 0;
};

class RecordingView : public shell::MainView, public FakeWidgets {
public:
    void centre_on_screen() override { calls.push_back("centre"); }
    void terminate() override { terminated = true; }
    void show_current_page(std::size_t entry, ui::GroupBox) override { current_entries.push_back(entry); }

    // The group boxes of the program's pages that are shown now.
    std::vector<std::string> visible_pages() const {
        std::vector<std::string> v;
        for (const shell::PageRow& row : shell::page_table())
            if (get(row.group_box).visible) v.emplace_back(row.group_box);
        return v;
    }
    bool log_visible() const { return get(ui::kLogList).visible; }

    bool terminated = false;
    std::vector<std::string> calls;
    std::vector<std::size_t> current_entries;  // each page made current, in turn
};

class FakeDialogs : public ui::Dialogs {
public:
    ui::TermsAnswer show_terms_of_use() override {
        shown.push_back("terms of use");
        return terms_answer;
    }
    void show_not_compatible() override { shown.push_back("not compatible"); }
    void show_help(const std::string& address) override { shown.push_back("help " + address); }
    void show_balloon(const std::string& text) override { shown.push_back("balloon " + text); }
    void show_error(const std::string& message) override { errors.push_back(message); }
    void show_message(const std::string& message) override { messages.push_back(message); }
    void show_information(const std::string& message) override { messages.push_back(message); }
    bool ask_yes_no(const std::string& question) override {
        questions.push_back(question);
        return answer_yes;
    }
    bool warn_yes_no(const std::string& question) override { return ask_yes_no(question); }
    std::string choose_profile_to_open() override { return profile_path; }
    std::string choose_profile_to_save() override { return profile_path; }
    std::vector<std::string> shown, errors, questions, messages;
    std::string profile_path;  // what the user picks in the file boxes; "" cancels
    ui::TermsAnswer terms_answer = ui::TermsAnswer::Agreed;
    bool answer_yes = false;
};

class FakeSound : public platform::Sound {
public:
    void play_resource_async(const std::string& name) override { played.push_back(name); }
    std::vector<std::string> played;
};

}  // namespace veltrano::fakes
