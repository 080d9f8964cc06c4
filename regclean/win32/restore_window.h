// "Restore...": the backups of the cleaner's removals, newest first, the
// entries of the chosen one, and the buttons that put them back.
#pragma once

#include "regclean/regclean_page.h"
#include "ui/win32/modal_dialog.h"

#include <vector>

namespace veltrano::regclean::win32 {

class RestoreWindow : public ui::win32::ModalDialog {
public:
    RestoreWindow(HINSTANCE instance, regclean::RegCleanPage& logic);
    // Lists the backups anew and shows the window until it is closed.
    void open(HWND owner);

protected:
    void create_controls() override;
    bool handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    // Reads the folder again and chooses the backup at `place`.
    void fill(int place);
    void show_chosen();
    void restore(bool anyway);
    void set_status(const std::string& text);

    regclean::RegCleanPage& logic_;
    HWND list_ = nullptr;
    std::vector<regclean::BackupSummary> backups_;
    std::vector<regclean::BackupEntry> entries_;
    std::vector<regclean::EntryState> states_;
};

}  // namespace veltrano::regclean::win32
