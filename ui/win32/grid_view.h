// A string grid drawn by a list view in report mode that owns no rows of its
// own: the cells live here and the list view asks for the ones it draws.
// Adding or changing a thousand rows is then a matter of the model, and the
// control repaints once, when it next paints.
#pragma once

#include "ui/grid.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace veltrano::ui::win32 {

class GridView : public ui::Grid {
public:
    // `hwnd` is a list view made with LVS_REPORT | LVS_OWNERDATA.
    explicit GridView(HWND hwnd) : hwnd_(hwnd) {}

    void set_column_count(int count) override;
    int column_count() const override { return static_cast<int>(widths_.size()); }
    void set_column_width(int column, int width) override;
    void set_row_count(int count) override;
    int row_count() const override { return static_cast<int>(rows_.size()); }
    void set_cell(int column, int row, const std::string& text) override;
    std::string cell(int column, int row) const override;
    int current_row() const override;
    void set_current_row(int row) override;
    std::vector<int> selected_rows() const override;
    void select_rows(int top, int bottom) override;
    void keep_current_row(int row) override;
    void set_busy(bool busy) override;
    bool busy() const { return busy_; }

    // The user moved the selection; not called for the grid's own changes.
    // Called once the list view has settled, so current_row() and
    // selection() say where the user went, and once for a move that
    // selects several rows.
    std::function<void()> on_select;
    // A right click or the menu key on the grid.
    std::function<void()> on_context_menu;
    // A click on a column's heading (0 for the first column).
    std::function<void(int)> on_column_click;
    // The Delete key on the grid.
    std::function<void()> on_delete_key;
    // The list view's notifications; true when one was answered here.
    bool notify(const NMHDR& header, LRESULT& result);

    static constexpr int kDefaultColumnWidth = 64;

private:
    void set_item_state(int item, UINT state, UINT mask);
    void select(int top, int bottom, bool scroll);
    // A changed cell is drawn at the next paint: the whole list is marked
    // once per paint, not once per cell, since each mark is a round trip.
    void invalidate();
    // Marks one changed row, when it is in sight.
    void invalidate_row(int row);
    void user_selected();
    static void CALLBACK selection_settled(HWND hwnd, UINT, UINT_PTR id, DWORD);
    HWND hwnd_;
    std::vector<int> widths_;
    // Row 0 is the heading row, which the list view shows as its header.
    std::vector<std::vector<std::string>> rows_{1};
    std::wstring text_;  // what the list view was last handed to draw
    bool changing_ = false;
    bool invalid_ = false;
    int invalid_row_ = 0;  // the row marked last, 0 for none
    bool busy_ = false;
};

}  // namespace veltrano::ui::win32
