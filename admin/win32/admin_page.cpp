// The admin page inside the 600 x 345 group box: the column of four buttons
// on the left, and beside it the four sub-pages at one place, one shown at a
// time. The time sync sub-page is drawn by its own view into its group box.
#include "admin/win32/admin_page.h"

#include "i18n/translate.h"

namespace veltrano::admin::win32 {

using namespace ui::win32;

namespace {

// Where every sub-page lies on the admin page.
constexpr int kSubLeft = 120, kSubTop = 16, kSubWidth = 472, kSubHeight = 321;

HWND sub_page(const PageBuilder& b, std::string_view name, const std::string& caption) {
    ControlDecl panel{ControlKind::Panel, std::string(name), caption, kSubLeft, kSubTop, kSubWidth, kSubHeight};
    // The auto logon sub-page shows first; the others wait for their button.
    panel.visible = name == admin::kAutoLogonPage;
    return b.add(panel);
}

ControlDecl edit(ui::Edit name, int left, int top, int width) {
    return {ControlKind::Edit, std::string(name), "", left, top, width, 20};
}

// Created in the order Tab follows; each label comes right before its edit,
// so its underlined letter leads there.
void build_auto_logon(const PageBuilder& b, admin::AutoLogon& logic) {
    HWND page = sub_page(b, admin::kAutoLogonPage, i18n::tr("Auto Logon Settings"));
    b.add_to(page, {ControlKind::Label, "StaticText12", i18n::tr("Default &username: "), 8, 22, 110, 14});
    b.add_to(page, edit(admin::kUserNameEdit, 120, 19, 120));
    b.add_to(page, {ControlKind::Label, "Label31", i18n::tr("Default pass&word"), 8, 46, 110, 14});
    ControlDecl password = edit(admin::kPasswordEdit, 120, 43, 120);
    password.password_char = L'#';
    b.add_to(page, password);
    b.add_to(page, {ControlKind::Label, "Label32", i18n::tr("Default d&oman name"), 8, 70, 110, 14});
    b.add_to(page, edit(admin::kDomainEdit, 120, 67, 120));

    HWND count =
        b.add_to(page, {ControlKind::Panel, "GroupBox24", i18n::tr("Limit number of auto logons"), 252, 14, 212, 50});
    b.add_to(count, {ControlKind::Label, "Label33", i18n::tr("No. of auto &logons"), 8, 24, 100, 14});
    b.add_to(count, edit(admin::kLogonCountEdit, 112, 21, 80));

    // Each pair of radio buttons alone in its frame, so they exclude each
    // other only; the first of each pair is checked at start.
    struct Choice {
        const char* frame;
        const char* caption;
        int left, top, width;
        ui::RadioButton on;
        const char* on_caption;
        ui::RadioButton off;
        const char* off_caption;
        bool stacked;
    };
    const Choice choices[] = {
        {"GroupBox23", i18n::N_("Do you want to enable autologon ?"), 8, 92, 456, admin::kEnableRadio,
         i18n::N_("&Yes. Please enable autologon on this computer"), admin::kDisableRadio,
         i18n::N_("&No. Please disable autologon on this computer"), true},
        {"GroupBox22", i18n::N_("Auto logon shift override feature"), 8, 154, 224, admin::kIgnoreShiftOnRadio, i18n::N_("enable"),
         admin::kIgnoreShiftOffRadio, i18n::N_("disable"), false},
        {"GroupBox21", i18n::N_("Forced autologon feature"), 240, 154, 224, admin::kForceLogonOnRadio, i18n::N_("enable "),
         admin::kForceLogonOffRadio, i18n::N_("disable "), false},
    };
    for (const Choice& c : choices) {
        HWND frame = b.add_to(
            page, {ControlKind::Panel, c.frame, i18n::tr(c.caption), c.left, c.top, c.width, c.stacked ? 58 : 40});
        HWND on = b.add_to(
            frame, {ControlKind::RadioButton, std::string(c.on), i18n::tr(c.on_caption), 8, 18, c.stacked ? 436 : 96, 16});
        b.add_to(frame, {ControlKind::RadioButton, std::string(c.off), i18n::tr(c.off_caption), c.stacked ? 8 : 110,
                         c.stacked ? 36 : 18, c.stacked ? 436 : 96, 16});
        SendMessageW(on, BM_SETCHECK, BST_CHECKED, 0);
    }

    HWND notice = b.add_to(
        page, {ControlKind::Panel, "GroupBox20", i18n::tr("Show legal notice before logon"), 8, 198, 456, 86});
    b.add_to(notice, {ControlKind::Label, "Label34", i18n::tr("T&itle of legal of notice window: "), 8, 20, 170, 14});
    b.add_to(notice, edit(admin::kNoticeCaptionEdit, 180, 17, 268));
    b.add_to(notice, {ControlKind::Label, "Label35", i18n::tr("Actual te&xt of the legal notice : "), 8, 42, 170, 14});
    ControlDecl text = edit(admin::kNoticeTextEdit, 180, 39, 268);
    text.max_length = admin::kLegalNoticeTextLength;
    b.add_to(notice, text);
    HWND show = b.add_to(notice, {ControlKind::RadioButton, std::string(admin::kNoticeOnRadio),
                                  i18n::tr("enable legal notice display before logon"), 8, 64, 220, 16});
    b.add_to(notice, {ControlKind::RadioButton, std::string(admin::kNoticeOffRadio), i18n::tr("disable legal notice display before logon"),
                      232, 64, 216, 16});
    SendMessageW(show, BM_SETCHECK, BST_CHECKED, 0);

    b.add_to(page, {ControlKind::Button, "BitBtn23", i18n::tr("A&pply changes"), 344, 289, 120, 26,
                    [&logic] { logic.apply_changes(); }});
}

void build_control_panel(const PageBuilder& b, admin::ControlPanel& logic) {
    HWND page = sub_page(b, admin::kControlPanelPage, i18n::tr("Control Panel Options"));
    // One column: the captions are too long for two side by side.
    constexpr int kRowHeight = 19;
    for (std::size_t i = 0; i < admin::kApplets.size(); ++i) {
        const admin::Applet& applet = admin::kApplets[i];
        const int top = 20 + static_cast<int>(i) * kRowHeight;
        b.add_to(page, {ControlKind::Icon, std::string(applet.image), std::string(applet.value_name), 8, top, 16, 16});
        b.add_to(page, {ControlKind::CheckBox, std::string(applet.check_box), i18n::tr(applet.caption), 28, top,
                        300, 16});
    }
    b.add_to(page, {ControlKind::Button, "BitBtn24", i18n::tr("A&pply changes"), 344, 289, 120, 26,
                    [&logic] { logic.apply_changes(); }});
}

void build_launchers(const PageBuilder& b, admin::Launchers& logic) {
    HWND page = sub_page(b, admin::kLaunchersPage, i18n::tr("Microsoft Mangement Console Applications"));
    constexpr int kCell = 72, kSize = 58;  // the 48-pixel picture, the button's edge and its focus
    for (std::size_t i = 0; i < admin::kLaunchers.size(); ++i) {
        const admin::Launcher& launcher = admin::kLaunchers[i];
        const int left = 15 + static_cast<int>(i % admin::kLaunchersPerRow) * kCell;
        const int top = 35 + static_cast<int>(i / admin::kLaunchersPerRow) * kCell;
        // Each its own picture, drawn at build time: the shell gives every
        // .msc file the same icon, and the board has no captions.
        ControlDecl button{ControlKind::PictureButton, std::string(launcher.picture), std::string(launcher.picture),
                           left, top, kSize, kSize, [&logic, i] { logic.launch(i); }};
        button.accessible_name = i18n::tr(launcher.tip);
        HWND picture = b.add_to(page, button);
        b.controls.set_tooltip(picture, button.accessible_name);
    }
}

}  // namespace

void build_admin_page(const PageBuilder& b, admin::AdminPage& logic) {
    // TRANSLATORS: the frame of the buttons that choose the admin page's sub-page
    HWND options = b.add({ControlKind::Panel, "GroupBox25", i18n::tr("Options"), 8, kSubTop, 104, kSubHeight});
    const struct {
        const char* name;
        const char* caption;
        void (admin::AdminPage::*click)();
    } buttons[] = {
        {"BitBtn25", i18n::N_("&Auto logon"), &admin::AdminPage::show_auto_logon},
        {"BitBtn26", i18n::N_("&Control Panel"), &admin::AdminPage::show_control_panel},
        {"BitBtn27", i18n::N_("U&tility Apps"), &admin::AdminPage::show_utility_apps},
        {"BitBtn28", i18n::N_("Ti&me Sync"), &admin::AdminPage::show_time_sync},
    };
    for (int i = 0; i < 4; ++i)
        b.add_to(options, {ControlKind::Button, buttons[i].name, i18n::tr(buttons[i].caption), 8, 24 + i * 40, 88, 28,
                           [&logic, click = buttons[i].click] { (logic.*click)(); }});

    build_auto_logon(b, logic.auto_logon());
    build_control_panel(b, logic.control_panel());
    build_launchers(b, logic.launchers());

    HWND time_sync =
        sub_page(b, admin::kTimeSyncPage, i18n::tr("Select Time Server and Synchronize your system date and time"));
    // Without its logic (no socket to be had) the sub-page stays empty.
    if (admin::TimeSyncPage* sync = logic.time_sync())
        build_time_sync_page(PageBuilder{b.controls, time_sync, b.font, b.bold_font}, *sync);
}

}  // namespace veltrano::admin::win32
