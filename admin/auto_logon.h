// The auto logon sub-page (GroupBox19): the Winlogon values for automatic
// logon and the legal notice, each change recorded in the
// store (core::kAutoLogonRecord) before it is written.
#pragma once

#include "admin/context.h"
#include "i18n/translate.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace veltrano::admin {

inline const std::string kWinlogonKey = "\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
// What the history key holds in place of a password, which never goes there
// in clear: the program's own key is readable by every user.
inline const std::string kPasswordMask = "********";

inline constexpr std::string_view kAutoLogonEnabled =
    i18n::N_("Autologon enabled and settings applied. Please Reboot ");
inline constexpr std::string_view kAutoLogonDisabled = i18n::N_("Autologon setting disabled. Please Reboot. ");
// Asked where Windows will not keep the password as a secret, the reason
// between the brackets.
std::string keep_in_clear_question(const std::string& reason);

// The sub-page's controls.
inline constexpr ui::Edit kUserNameEdit{"Edit1"}, kPasswordEdit{"Edit2"}, kDomainEdit{"Edit3"}, kLogonCountEdit{"Edit4"};
inline constexpr ui::RadioButton kEnableRadio{"RadioButton13"}, kDisableRadio{"RadioButton14"};
inline constexpr ui::RadioButton kIgnoreShiftOnRadio{"RadioButton9"}, kIgnoreShiftOffRadio{"RadioButton10"};
inline constexpr ui::RadioButton kForceLogonOnRadio{"RadioButton11"}, kForceLogonOffRadio{"RadioButton12"};
inline constexpr ui::RadioButton kNoticeOnRadio{"RadioButton15"}, kNoticeOffRadio{"RadioButton16"};
inline constexpr ui::Edit kNoticeCaptionEdit{"Edit5"}, kNoticeTextEdit{"Edit6"};

// Edit6's limit, in characters.
inline constexpr int kLegalNoticeTextLength = 1024;

// Leading and trailing blanks (and control characters) go, as from every
// text taken from an edit.
std::string trimmed(std::string_view text);
// A whole number in the range of a DWORD handled as signed; anything else
// ends the operation with the conversion error "'abc' is not a valid
// integer value".
std::int32_t to_integer(const std::string& text);

class AutoLogon {
public:
    explicit AutoLogon(Context ctx) : ctx_(ctx) {}

    // The edits from the Winlogon values (Edit5 and Edit6 are left as they are).
    void fill();
    // "Apply changes": enabling (block A), disabling (block B), the legal
    // notice (block C), in this order.
    void apply_changes();

private:
    // Where the password typed goes, settled before anything is written.
    enum class PasswordPlace { Unchanged, Secret, Registry, Nowhere };
    PasswordPlace place_password(const std::string& password);
    bool password_stored() const;
    void enable_autologon();
    void disable_autologon();
    void legal_notice();
    std::string edit(ui::Edit control) const { return trimmed(ctx_.widgets.text(control)); }
    void record(const std::string& name, const std::string& data);
    void record(const std::string& name, std::int32_t data);
    void write(const std::string& name, const std::string& data, const std::string& message);
    void write(const std::string& name, std::int32_t data, const std::string& message);
    void done(std::string_view balloon);

    Context ctx_;
};

}  // namespace veltrano::admin
