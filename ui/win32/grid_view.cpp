#include "ui/win32/grid_view.h"

#include "ui/win32/dpi.h"
#include "ui/win32/error_box.h"
#include "ui/win32/window_binding.h"

#include "platform/win32/text.h"

#include <commctrl.h>

namespace veltrano::ui::win32 {

using platform::win32::to_utf16;

void GridView::set_column_count(int count) {
    while (column_count() > count) {
        SendMessageW(hwnd_, LVM_DELETECOLUMN, static_cast<WPARAM>(column_count() - 1), 0);
        widths_.pop_back();
    }
    while (column_count() < count) {
        LVCOLUMNW column{};
        column.mask = LVCF_WIDTH | LVCF_TEXT;
        column.cx = px(kDefaultColumnWidth);
        column.pszText = const_cast<wchar_t*>(L"");
        SendMessageW(hwnd_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column_count()), reinterpret_cast<LPARAM>(&column));
        widths_.push_back(kDefaultColumnWidth);
    }
    for (auto& row : rows_) row.resize(static_cast<std::size_t>(count));
}

void GridView::set_column_width(int column, int width) {
    if (column < 0 || column >= column_count()) return;
    widths_[static_cast<std::size_t>(column)] = width;
    SendMessageW(hwnd_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(px(width), 0));
}

void GridView::set_row_count(int count) {
    if (count < 1) count = 1;
    // Under Wine a new count costs the list view tens of milliseconds (its
    // scroll bars are set again): a list refreshed in place keeps its count
    // mostly, and then says nothing.
    if (count == row_count()) return;
    rows_.resize(static_cast<std::size_t>(count), std::vector<std::string>(widths_.size()));
    // One message for any number of rows; the list view asks for the text of
    // the rows it draws when it draws them.
    SendMessageW(hwnd_, LVM_SETITEMCOUNT, static_cast<WPARAM>(count - 1), LVSICF_NOSCROLL);
    invalid_ = false;
    invalidate();
}

void GridView::invalidate() {
    if (invalid_) return;
    InvalidateRect(hwnd_, nullptr, FALSE);
    invalid_ = true;
}

void GridView::invalidate_row(int row) {
    // The whole list is to be drawn anyway, or this row already is.
    if (invalid_ || row == invalid_row_) return;
    // A row out of sight is drawn from the cells when it is scrolled to.
    const int item = row - 1;
    const auto top = static_cast<int>(SendMessageW(hwnd_, LVM_GETTOPINDEX, 0, 0));
    const auto page = static_cast<int>(SendMessageW(hwnd_, LVM_GETCOUNTPERPAGE, 0, 0));
    if (item < top || item > top + page) return;
    RECT bounds{LVIR_BOUNDS, 0, 0, 0};
    if (SendMessageW(hwnd_, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&bounds)))
        InvalidateRect(hwnd_, &bounds, FALSE);
    invalid_row_ = row;
}

void GridView::set_cell(int column, int row, const std::string& text) {
    if (column < 0 || column >= column_count() || row < 0 || row >= row_count()) return;
    std::string& cell = rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    // A refresh sets every cell again, and most say what they said: only a
    // changed row is drawn again, each a round trip to the window system.
    if (cell == text) return;
    cell = text;
    if (row == 0) {
        std::wstring heading = to_utf16(text);
        LVCOLUMNW c{};
        c.mask = LVCF_TEXT;
        c.pszText = heading.data();
        SendMessageW(hwnd_, LVM_SETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&c));
    } else {
        invalidate_row(row);
    }
}

std::string GridView::cell(int column, int row) const {
    if (column < 0 || column >= column_count() || row < 0 || row >= row_count()) return "";
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

int GridView::current_row() const {
    const LRESULT item = SendMessageW(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
    return item < 0 ? 0 : static_cast<int>(item) + 1;
}

void GridView::set_item_state(int item, UINT state, UINT mask) {
    LVITEMW lv{};
    lv.stateMask = mask;
    lv.state = state;
    SendMessageW(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
}

void GridView::set_current_row(int row) { select_rows(row, row); }

std::vector<int> GridView::selected_rows() const {
    std::vector<int> rows;
    for (LRESULT item = -1;
         (item = SendMessageW(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(item), LVNI_SELECTED)) >= 0;)
        rows.push_back(static_cast<int>(item) + 1);
    return rows;
}

void GridView::set_busy(bool busy) {
    busy_ = busy;
    // The pointer changes when it next moves; one resting on the grid now
    // is told at once.
    POINT at{};
    if (GetCursorPos(&at) && WindowFromPoint(at) == hwnd_)
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(busy ? IDC_APPSTARTING : IDC_ARROW)));
}

void GridView::select_rows(int top, int bottom) { select(top, bottom, true); }

void GridView::keep_current_row(int row) {
    // Unchanged, not even marked again: each mark is a round trip.
    if (row >= 1 && current_row() == row && selected_rows() == std::vector<int>{row}) return;
    select(row, row, false);
}

void GridView::select(int top, int bottom, bool scroll) {
    // Set by the program, not the user: no select event.
    changing_ = true;
    set_item_state(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (top >= 1 && top < row_count()) {
        for (int row = top; row <= bottom && row < row_count(); ++row) set_item_state(row - 1, LVIS_SELECTED, LVIS_SELECTED);
        set_item_state(top - 1, LVIS_FOCUSED, LVIS_FOCUSED);
        if (scroll) SendMessageW(hwnd_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(top - 1), FALSE);
    }
    changing_ = false;
}

namespace {
constexpr UINT_PTR kSelectionTimer = 1;
}

void GridView::user_selected() {
    if (!on_select) return;
    // The list view tells of each row it selects before it moves the focus
    // (Shift+Down selects the next row, then focuses it): answering at once
    // would describe the row the user just left. A timer of the least
    // interval fires when the queue is empty, after the list view is done;
    // setting it again while it is pending makes one call of many.
    bind_window(hwnd_, this);
    SetTimer(hwnd_, kSelectionTimer, USER_TIMER_MINIMUM, selection_settled);
}

void CALLBACK GridView::selection_settled(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    auto* self = bound_object<GridView>(hwnd);
    if (self && self->on_select) enter_handler(hwnd, self->on_select);
}

bool GridView::notify(const NMHDR& header, LRESULT& result) {
    switch (header.code) {
    case LVN_GETDISPINFOW: {
        // Asked for text: the list is painting, and what changes from now
        // on needs a mark of its own.
        invalid_ = false;
        invalid_row_ = 0;
        auto& info = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header));
        if (!(info.item.mask & LVIF_TEXT) || !info.item.pszText || info.item.cchTextMax <= 0) return true;
        text_ = to_utf16(cell(info.item.iSubItem, info.item.iItem + 1));
        lstrcpynW(info.item.pszText, text_.c_str(), info.item.cchTextMax);
        result = 0;
        return true;
    }
    case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if (!changing_ && (change.uChanged & LVIF_STATE) &&
            ((change.uNewState ^ change.uOldState) & LVIS_SELECTED) && (change.uNewState & LVIS_SELECTED))
            user_selected();
        result = 0;
        return true;
    }
    case LVN_ODSTATECHANGED: {
        // An owner-data list view reports a range selected at once (Shift
        // with the arrows or a click) here, not item by item.
        const auto& change = reinterpret_cast<const NMLVODSTATECHANGE&>(header);
        if (!changing_ && ((change.uNewState ^ change.uOldState) & LVIS_SELECTED) &&
            (change.uNewState & LVIS_SELECTED))
            user_selected();
        result = 0;
        return true;
    }
    case NM_RCLICK:
        if (on_context_menu) on_context_menu();
        result = 0;
        return true;
    case LVN_COLUMNCLICK:
        if (on_column_click) on_column_click(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
        result = 0;
        return true;
    case LVN_KEYDOWN: {
        const WORD key = reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey;
        if (key == VK_DELETE && on_delete_key) {
            on_delete_key();
        } else if (key == 'A' && GetKeyState(VK_CONTROL) < 0 &&
                   !(GetWindowLongPtrW(hwnd_, GWL_STYLE) & LVS_SINGLESEL) && row_count() > 1) {
            set_item_state(-1, LVIS_SELECTED, LVIS_SELECTED);
            user_selected();
        }
        result = 0;
        return true;
    }
    }
    return false;
}

}  // namespace veltrano::ui::win32
