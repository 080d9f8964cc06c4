#include "admin/auto_logon.h"

#include "core/error.h"
#include "i18n/translate.h"

#include <charconv>
#include <limits>

namespace veltrano::admin {

using core::INT_TYPE;
using core::STR_TYPE;
using platform::Root;

namespace {

const std::string kRootName = "HKEY_LOCAL_MACHINE";
const std::string kCount = "AutoLogonCount";
const std::string kPassword = "DefaultPassword";

}  // namespace

std::string keep_in_clear_question(const std::string& reason) {
    return i18n::trf("Windows would not keep the password as a secret ({0}). Keep it in the registry instead, where "
                     "every user of this computer can read it?",
                     reason);
}

std::string trimmed(std::string_view text) {
    std::size_t first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
    return std::string(text.substr(first, last - first));
}

std::int32_t to_integer(const std::string& text) {
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    std::int32_t number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    // from_chars takes a '-' but not a '+', and stops at the first stray
    // character: both are ours to refuse.
    const bool whole = !digits.empty() && digits.front() != '+' && error == std::errc() &&
                       end == digits.data() + digits.size();
    if (!whole) throw core::VeltranoError(i18n::trf("'{0}' is not a valid integer value", text));
    return number;
}

void AutoLogon::fill() {
    core::RegistryPrimitives& reg = ctx_.primitives;
    ctx_.widgets.set_text(kUserNameEdit, reg.read_text(Root::LocalMachine, kWinlogonKey, "DefaultUserName"));
    // Never the password itself: the mask says one is stored, and left as
    // it is, it keeps that one.
    ctx_.widgets.set_text(kPasswordEdit, password_stored() ? kPasswordMask : "");
    ctx_.widgets.set_text(kDomainEdit,
                          reg.read_text(Root::LocalMachine, kWinlogonKey, "DefaultDomainName"));
    // A missing count stays an empty edit: shown as 0 it would be written
    // back as 0 with the next "Apply changes", and Winlogon takes a count of
    // 0 for logons used up, which turns the automatic logon off again.
    auto key = reg.registry().open(Root::LocalMachine, kWinlogonKey, false);
    const bool counted = key && key->query(kCount).has_value();
    ctx_.widgets.set_text(
        kLogonCountEdit, counted ? std::to_string(reg.read_number(Root::LocalMachine, kWinlogonKey, kCount))
                         : "");
}

void AutoLogon::apply_changes() {
    enable_autologon();
    disable_autologon();
    legal_notice();
}

void AutoLogon::record(const std::string& name, const std::string& data) {
    ctx_.store.record_value(core::kAutoLogonRecord, Root::LocalMachine, kRootName, kWinlogonKey, name, STR_TYPE, data,
                            0, true);
}

void AutoLogon::record(const std::string& name, std::int32_t data) {
    ctx_.store.record_value(core::kAutoLogonRecord, Root::LocalMachine, kRootName, kWinlogonKey, name, INT_TYPE, "",
                            data, true);
}

void AutoLogon::write(const std::string& name, const std::string& data, const std::string& message) {
    ctx_.primitives.write_value(Root::LocalMachine, kWinlogonKey, name, STR_TYPE, data, 0, message, true);
}

void AutoLogon::write(const std::string& name, std::int32_t data, const std::string& message) {
    ctx_.primitives.write_value(Root::LocalMachine, kWinlogonKey, name, INT_TYPE, "", data, message, true);
}

void AutoLogon::done(std::string_view balloon) {
    ctx_.sound.play_resource_async("DONE");
    ctx_.dialogs.show_balloon(i18n::tr(balloon));
}

bool AutoLogon::password_stored() const {
    if (ctx_.secrets && ctx_.secrets->holds(kPassword)) return true;
    return !ctx_.primitives.read_text(Root::LocalMachine, kWinlogonKey, kPassword).empty();
}

// Windows' secret first: the registry's Winlogon key is readable by every
// user. Kept there only when the user says so, asked before any write.
AutoLogon::PasswordPlace AutoLogon::place_password(const std::string& password) {
    if (password == kPasswordMask && password_stored()) return PasswordPlace::Unchanged;
    const std::optional<std::string> refused =
        ctx_.secrets ? ctx_.secrets->store(kPassword, password)
                     // TRANSLATORS: why Windows would not keep the password as a secret
                     : std::optional<std::string>(i18n::tr("this Windows keeps no secrets"));
    if (!refused) return PasswordPlace::Secret;
    if (ctx_.dialogs.warn_yes_no(keep_in_clear_question(*refused))) return PasswordPlace::Registry;
    ctx_.primitives.log().add(
        i18n::trf("No default password was written: Windows would not keep it as a secret ({0})", *refused));
    return PasswordPlace::Nowhere;
}

void AutoLogon::enable_autologon() {
    const std::string user = edit(kUserNameEdit), password = edit(kPasswordEdit);
    if (!ctx_.widgets.is_checked(kEnableRadio) || user.empty() || password.empty()) return;

    // Read as any record reads it, so a wrongly typed value still stops
    // here, before the secret is touched.
    const std::string old_password =
        ctx_.primitives.read_text(Root::LocalMachine, kWinlogonKey, kPassword);
    const bool had_password = !old_password.empty() || (ctx_.secrets && ctx_.secrets->holds(kPassword));
    const PasswordPlace place = place_password(password);

    record("AutoAdminLogon", "1");
    record("DefaultUserName", user);
    // The password goes into the history as a mask, both the one replaced
    // and the new one; an empty old one stays empty.
    if (place == PasswordPlace::Secret || place == PasswordPlace::Registry)
        ctx_.store.record_given_values(core::kAutoLogonRecord, Root::LocalMachine, kRootName, kWinlogonKey, kPassword,
                                       STR_TYPE, had_password ? kPasswordMask : "", 0, kPasswordMask, 0, true);
    write("AutoAdminLogon", "1", i18n::tr("Starting the process of enabling autologon feature"));
    write("DefaultUserName", user, i18n::tr("Starting the process of setting default username"));
    if (place == PasswordPlace::Secret) {
        ctx_.primitives.log().add(i18n::tr("The default password is kept as a secret of Windows, not in the registry"));
        // Winlogon would take a value left in the registry only without the
        // secret; it goes, so that no reader finds an older password there.
        if (!old_password.empty())
            ctx_.primitives.delete_entry(Root::LocalMachine, kWinlogonKey, kPassword, core::VALUENAME,
                                            i18n::tr("Starting the process of removing default password"));
    } else if (place == PasswordPlace::Registry) {
        write(kPassword, password, i18n::tr("Starting the process of setting default password"));
        ctx_.primitives.log().add(
            i18n::tr("The default password is kept in the registry in clear: every user of this computer can read it"));
    }

    if (const std::string domain = edit(kDomainEdit); !domain.empty()) {
        record("DefaultDomainName", domain);
        write("DefaultDomainName", domain, i18n::tr("Starting the process of setting default domain name"));
    }
    if (const std::string count = edit(kLogonCountEdit); !count.empty()) {
        const std::int32_t logons = to_integer(count);
        record(kCount, logons);
        // TRANSLATORS: {0} the name of a registry value, kept as it is
        write(kCount, logons, i18n::trf("Starting the process of setting {0}", kCount));
    }
    // Each switch has two radio buttons; with neither checked nothing is written.
    struct Switch {
        const char* value;
        ui::RadioButton on;
        ui::RadioButton off;
    };
    for (const Switch& s : {Switch{"IgnoreShiftOverride", kIgnoreShiftOnRadio, kIgnoreShiftOffRadio},
                            Switch{"ForceAutoLogon", kForceLogonOnRadio, kForceLogonOffRadio}}) {
        for (const auto& [radio, data] : {std::pair{s.on, "1"}, std::pair{s.off, "0"}}) {
            if (!ctx_.widgets.is_checked(radio)) continue;
            record(s.value, data);
            // TRANSLATORS: {0} the name of a registry value, kept as it is
            write(s.value, data, i18n::trf("Starting the process of setting {0}", s.value));
        }
    }
    done(kAutoLogonEnabled);
}

void AutoLogon::disable_autologon() {
    if (!ctx_.widgets.is_checked(kDisableRadio)) return;
    record("AutoAdminLogon", "0");
    write("AutoAdminLogon", "0", i18n::tr("Starting the process of disabling autologon feature"));
    // The Winlogon key is readable by every user of the machine: a password
    // kept there after automatic logon is off serves nobody but a reader.
    // Recorded as the mask, as enabling records it; the user name and the
    // domain stay, as Windows' own logon dialog keeps them.
    const std::string old_password =
        ctx_.primitives.read_text(Root::LocalMachine, kWinlogonKey, kPassword);
    const bool secret = ctx_.secrets && ctx_.secrets->holds(kPassword);
    ctx_.store.record_given_values(core::kAutoLogonRecord, Root::LocalMachine, kRootName, kWinlogonKey, kPassword,
                                   STR_TYPE, old_password.empty() && !secret ? "" : kPasswordMask, 0, "", 0, true);
    ctx_.primitives.delete_entry(Root::LocalMachine, kWinlogonKey, kPassword, core::VALUENAME,
                                    i18n::tr("Starting the process of removing default password"));
    if (secret) {
        if (const auto refused = ctx_.secrets->store(kPassword, ""))
            ctx_.primitives.log().add(
                i18n::trf("The default password kept as a secret of Windows could not be removed ({0})", *refused));
        else
            ctx_.primitives.log().add(i18n::tr("The default password kept as a secret of Windows was removed"));
    }
    done(kAutoLogonDisabled);
}

void AutoLogon::legal_notice() {
    std::string caption, text;
    if (ctx_.widgets.is_checked(kNoticeOnRadio)) {
        caption = edit(kNoticeCaptionEdit);
        text = edit(kNoticeTextEdit);
        if (caption.empty() || text.empty()) return;
    } else if (!ctx_.widgets.is_checked(kNoticeOffRadio)) {
        return;
    }
    // Disabling empties both: with no caption and no text Windows shows no notice.
    // TRANSLATORS: {0} the name of a registry value, kept as it is
    const char* message = caption.empty() ? i18n::N_("Starting the process of clearing {0}")
                                          // TRANSLATORS: {0} the name of a registry value, kept as it is
                                          : i18n::N_("Starting the process of setting {0}");
    record("LegalNoticeCaption", caption);
    record("LegalNoticeText", text);
    write("LegalNoticeCaption", caption, i18n::trf(message, "LegalNoticeCaption"));
    write("LegalNoticeText", text, i18n::trf(message, "LegalNoticeText"));
}

}  // namespace veltrano::admin
