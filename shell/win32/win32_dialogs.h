// The four dialogs of the program, created once in their order.
#pragma once

#include "shell/dialogs.h"
#include "shell/win32/not_compatible.h"

namespace veltrano::shell::win32 {

class Win32Dialogs : public Dialogs {
public:
    explicit Win32Dialogs(HINSTANCE instance);
    // TForm2 to TForm5, in that order, after the main window.
    bool create(HWND owner);

    void show_terms_of_use() override;
    void show_not_compatible() override;
    void show_help(const std::string& address) override;
    void show_balloon(const std::string& text) override;

private:
    TForm3 form3_;
};

}  // namespace veltrano::shell::win32
