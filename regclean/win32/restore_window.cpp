#include "regclean/win32/restore_window.h"

#include "i18n/translate.h"
#include "platform/win32/text.h"
#include "ui/win32/grid_view.h"

#include <algorithm>

namespace veltrano::regclean::win32 {

using namespace ui::win32;

namespace {

using platform::win32::to_utf16;

constexpr const char* kList = "ListBackups";
constexpr const char* kEntries = "GridBackupEntries";
constexpr const char* kStatus = "LabelRestoreStatus";
constexpr const char* kRestore = "ButtonRestoreBackup";
constexpr const char* kAnyway = "ButtonRestoreAnyway";

struct Column {
    const char* heading;
    int width;
};
// The cleaner's own headings for what its grid shows too.
constexpr Column kColumns[] = {
    // TRANSLATORS: a column of the registry cleaner's list: the key holding the value
    {i18n::N_("Registry Key"), 220},
    // TRANSLATORS: a column of the registry cleaner's list: the value's name
    {i18n::N_("String Value"), 110},
    // TRANSLATORS: a column of the registry cleaner's list: the missing file or folder the value names
    {i18n::N_("File/Path reference"), 170},
    // TRANSLATORS: a column of the restore window's entries: removed, restored, or kept because changed since
    {i18n::N_("State"), 110},
};

}  // namespace

RestoreWindow::RestoreWindow(HINSTANCE instance, regclean::RegCleanPage& logic)
    : ModalDialog(instance, L"VeltranoRestoreBackups", 640, 420, GetSysColor(COLOR_BTNFACE),
                  i18n::N_("Restore removed registry entries")),
      logic_(logic) {}

void RestoreWindow::open(HWND owner) {
    if (!hwnd() && !create(owner)) return;
    fill(0);
    SetFocus(list_);
    show_modal();
}

void RestoreWindow::create_controls() {
    // Each list is named by the label just before it, as a screen reader
    // names it; the labels' letters take the focus to their lists.
    controls().create(hwnd(),
                      {ControlKind::Label, "LabelBackups", i18n::tr("&Backups of removed entries, newest first:"), 12,
                       12, 616, 16},
                      font());
    list_ = controls().create(hwnd(), {ControlKind::ListBox, kList, "", 12, 30, 616, 112}, font());
    controls().create(hwnd(),
                      {ControlKind::Label, "LabelBackupEntries", i18n::tr("&Entries of the chosen backup:"), 12, 150,
                       616, 16},
                      font());
    controls().create(hwnd(), {ControlKind::Grid, kEntries, "", 12, 168, 616, 160}, font());
    if (GridView* grid = controls().grid(kEntries)) {
        grid->set_column_count(static_cast<int>(std::size(kColumns)));
        for (int c = 0; c < static_cast<int>(std::size(kColumns)); ++c) {
            grid->set_column_width(c, kColumns[c].width);
            grid->set_cell(c, 0, i18n::tr(kColumns[c].heading));
        }
    }
    controls().create(hwnd(), {ControlKind::Label, kStatus, "", 12, 334, 616, 36}, font());
    // TRANSLATORS: the button that puts the chosen backup's removed entries back
    controls().create(hwnd(), {ControlKind::Button, kRestore, i18n::tr("&Restore"), 12, 380, 100, 28,
                               [this] { restore(false); }},
                      font());
    // TRANSLATORS: the button that puts back the chosen entry even though it was changed since its removal
    controls().create(hwnd(), {ControlKind::Button, kAnyway, i18n::tr("Restore &anyway"), 120, 380, 120, 28,
                               [this] { restore(true); }},
                      font());
    HWND close = controls().create(hwnd(), {ControlKind::Button, "ButtonCloseRestore", i18n::tr("Close"), 528, 380,
                                            100, 28, [this] { end_modal(); }},
                                   font());
    SetWindowLongPtrW(close, GWLP_ID, IDCANCEL);
}

bool RestoreWindow::handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    // The entries' grid draws from its cells when asked, through here.
    if (msg == WM_NOTIFY) return controls().notify(*reinterpret_cast<const NMHDR*>(lp), result);
    if (msg == WM_COMMAND && reinterpret_cast<HWND>(lp) == list_ && list_ && HIWORD(wp) == LBN_SELCHANGE) {
        show_chosen();
        return true;
    }
    return false;
}

void RestoreWindow::fill(int place) {
    backups_ = logic_.restorer().list(logic_.backup_folder());
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    for (const regclean::BackupSummary& backup : backups_)
        SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(to_utf16(regclean::backup_line(backup)).c_str()));
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
    if (!backups_.empty())
        SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(std::clamp<int>(place, 0, static_cast<int>(backups_.size()) - 1)), 0);
    show_chosen();
}

void RestoreWindow::show_chosen() {
    const LRESULT chosen = SendMessageW(list_, LB_GETCURSEL, 0, 0);
    entries_.clear();
    states_.clear();
    std::string status = i18n::tr("There are no backups yet: a removal writes one before it removes anything.");
    bool missing = false, changed = false;
    if (chosen != LB_ERR && static_cast<std::size_t>(chosen) < backups_.size()) {
        const regclean::BackupSummary& backup = backups_[static_cast<std::size_t>(chosen)];
        status = regclean::backup_status(backup);
        if (backup.error.empty()) {
            entries_ = logic_.restorer().entries(backup.file);
            states_ = logic_.restorer().states(entries_);
            missing = std::count(states_.begin(), states_.end(), regclean::EntryState::Missing) > 0 ||
                      backup.note == regclean::RestoreNote::Started;
            changed = std::count(states_.begin(), states_.end(), regclean::EntryState::Changed) > 0;
        }
    }
    if (GridView* grid = controls().grid(kEntries)) {
        grid->set_row_count(static_cast<int>(entries_.size()) + 1);
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            const std::vector<std::string> cells = regclean::entry_cells(entries_[i], states_[i]);
            for (int c = 0; c < static_cast<int>(cells.size()); ++c)
                grid->set_cell(c, static_cast<int>(i) + 1, cells[static_cast<std::size_t>(c)]);
        }
    }
    set_status(status);
    HWND focused = GetFocus();
    EnableWindow(controls().get(kRestore), missing);
    EnableWindow(controls().get(kAnyway), changed);
    // A button disabled under the focus would leave the keyboard nowhere.
    if (focused && !IsWindowEnabled(focused)) SetFocus(list_);
}

void RestoreWindow::restore(bool anyway) {
    const LRESULT chosen = SendMessageW(list_, LB_GETCURSEL, 0, 0);
    if (chosen == LB_ERR || static_cast<std::size_t>(chosen) >= backups_.size()) return;
    std::set<std::size_t> places;
    if (anyway) {
        GridView* grid = controls().grid(kEntries);
        const int row = grid ? grid->current_row() : 0;
        if (row < 1 || static_cast<std::size_t>(row) > states_.size() ||
            states_[static_cast<std::size_t>(row) - 1] != regclean::EntryState::Changed) {
            // TRANSLATORS: 'Restore anyway' is the caption of the button that puts a changed entry back
            set_status(i18n::tr("Choose an entry that was kept because it was changed since, then Restore anyway."));
            return;
        }
        places.insert(static_cast<std::size_t>(row) - 1);
    }
    const regclean::RestoreOutcome outcome =
        logic_.restorer().restore(backups_[static_cast<std::size_t>(chosen)].file, places);
    fill(static_cast<int>(chosen));
    set_status(regclean::outcome_text(outcome));
}

void RestoreWindow::set_status(const std::string& text) {
    SetWindowTextW(controls().get(kStatus), to_utf16(text).c_str());
}

}  // namespace veltrano::regclean::win32
