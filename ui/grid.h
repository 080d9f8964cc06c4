// A string grid as the pages see it: a heading row 0 and rows of cells below
// it, a current row and a selection of whole rows. Cells are text; the grid
// keeps them, so a page can read back what it wrote.
#pragma once

#include <string>
#include <vector>

namespace veltrano::ui {

class Grid {
public:
    virtual ~Grid() = default;
    // Columns beyond the count go; new ones start at the default width.
    virtual void set_column_count(int count) = 0;
    virtual int column_count() const = 0;
    virtual void set_column_width(int column, int width) = 0;
    // Rows including the heading row; new rows start empty, cut rows go.
    virtual void set_row_count(int count) = 0;
    virtual int row_count() const = 0;
    // Row 0 holds the headings.
    virtual void set_cell(int column, int row, const std::string& text) = 0;
    virtual std::string cell(int column, int row) const = 0;
    // The row the user is on; 0 when there is none.
    virtual int current_row() const = 0;
    virtual void set_current_row(int row) = 0;
    // Makes the row (0: none) the only chosen one without scrolling to it:
    // a list that refreshes by itself leaves the view where the user put it.
    virtual void keep_current_row(int row) { set_current_row(row); }
    // The selected rows in ascending order, however the user picked them
    // (Ctrl+click leaves gaps); empty when none is.
    virtual std::vector<int> selected_rows() const = 0;
    // Whole rows from top to bottom; selecting moves the current row to top.
    virtual void select_rows(int top, int bottom) = 0;
    // While busy the pointer over the grid says the program is working.
    virtual void set_busy(bool busy) = 0;
};

}  // namespace veltrano::ui
