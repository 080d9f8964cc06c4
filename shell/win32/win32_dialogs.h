// The four dialogs of the program, created once in their order.
#pragma once

#include "shell/dialogs.h"
#include "shell/win32/agreement.h"
#include "shell/win32/done.h"
#include "shell/win32/help.h"
#include "shell/win32/not_compatible.h"

namespace veltrano::shell::win32 {

class Win32Dialogs : public Dialogs {
public:
    explicit Win32Dialogs(HINSTANCE instance);
    // TForm2 to TForm5, in that order, after the main window.
    bool create(HWND owner);

    bool show_terms_of_use() override;
    void show_not_compatible() override;
    void show_help(const std::string& address) override;
    void show_balloon(const std::string& text) override;

private:
    TForm2 form2_;
    TForm3 form3_;
    TForm4 form4_;
    TForm5 form5_;
};

}  // namespace veltrano::shell::win32
