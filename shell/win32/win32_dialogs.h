// The four dialogs of the program, created once in their order.
#pragma once

#include "ui/dialogs.h"
#include "shell/win32/agreement.h"
#include "shell/win32/balloon.h"
#include "shell/win32/help.h"
#include "shell/win32/not_compatible.h"

namespace veltrano::shell::win32 {

class Win32Dialogs : public ui::Dialogs {
public:
    explicit Win32Dialogs(HINSTANCE instance);
    // The window the message boxes belong to; known before the dialogs are
    // made, as start-up may already have an error to show.
    void set_owner(HWND owner) { owner_ = owner; }
    // TForm2 to TForm5, in that order, after the main window.
    bool create(HWND owner);

    ui::TermsAnswer show_terms_of_use() override;
    void show_not_compatible() override;
    void show_help(const std::string& address) override;
    void show_balloon(const std::string& text) override;
    void show_error(const std::string& message) override;
    void show_message(const std::string& message) override;
    void show_information(const std::string& message) override;
    bool ask_yes_no(const std::string& question) override;
    bool warn_yes_no(const std::string& question) override;
    std::string choose_profile_to_open() override;
    std::string choose_profile_to_save() override;

private:
    HWND owner_ = nullptr;
    TForm2 form2_;
    TForm3 form3_;
    TForm4 form4_;
    TForm5 form5_;
};

}  // namespace veltrano::shell::win32
