// The program's modal windows: the four small windows, created once and
// shown on demand, and the message boxes.
#pragma once

#include <string>

namespace veltrano::ui {

// How the terms of use were left: only "No, I don't Agree" ends the
// program; Esc closes them as they were opened, on nothing.
enum class TermsAnswer { Agreed, Declined, Closed };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The terms of use.
    virtual TermsAnswer show_terms_of_use() = 0;
    // The notice that this Windows is not of the NT family.
    virtual void show_not_compatible() = 0;
    // The help viewer: navigates its browser to the address, then shows it.
    // A browser that cannot navigate raises VeltranoError and the viewer
    // stays closed.
    virtual void show_help(const std::string& address) = 0;
    // The balloon: sets Label1 to the text and shows it until it closes.
    virtual void show_balloon(const std::string& text) = 0;
    // The message boxes, each with the text exactly. The application's
    // error box, one OK button:
    virtual void show_error(const std::string& message) = 0;
    // A plain box, one OK button:
    virtual void show_message(const std::string& message) = 0;
    // An information box, one OK button:
    virtual void show_information(const std::string& message) = 0;
    // A question with the buttons Yes and No; true only for Yes. The warning
    // kind asks before something that cannot be taken back, and No is its
    // default button.
    virtual bool ask_yes_no(const std::string& question) = 0;
    virtual bool warn_yes_no(const std::string& question) = 0;
    // The standard Open and Save boxes for a profile: the path chosen, or ""
    // when the user cancels. Save asks before it replaces a file.
    virtual std::string choose_profile_to_open() = 0;
    virtual std::string choose_profile_to_save() = 0;
};

}  // namespace veltrano::ui
