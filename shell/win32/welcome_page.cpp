// The welcome page: the introduction, the machine's facts, the memory
// statistics, today's calendar and the three buttons, laid out inside the
// 600 x 489 group box.
#include "i18n/translate.h"
#include "shell/win32/page_views.h"
#include "ui/win32/dpi.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

namespace veltrano::shell::win32 {

using namespace ui::win32;

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 128, 0);
constexpr COLORREF kMaroon = RGB(128, 0, 0);

constexpr int kLeft = 16, kInnerWidth = 568;
constexpr int kFirstRowTop = 152, kRowStep = 16, kValueLeft = 100;

// The system information block, top to bottom: the caption (none for the
// second processor and the boot drive) and the value label beside it.
struct InfoRow {
    const char* caption_label;
    const char* caption;
    ui::Label value_label;
};

constexpr InfoRow kInfoRows[] = {
    {"Label16", i18n::N_("CPU:"), kCpu1Label},
    {nullptr, nullptr, kCpu2Label},
    {"Label17", i18n::N_("OS Name: "), kWindowsNameLabel},
    {"Label19", i18n::N_("Product Id:"), kProductIdLabel},
    {"Label18", i18n::N_("OS Type:"), kWindowsTypeLabel},
    {"Label20", i18n::N_("OS Build:"), kBuildNumberLabel},
    // TRANSLATORS: the caption of Windows' build lab string (as 2600.xpsp.080413-2111)
    {"Label21", i18n::N_("OS Labinfo:"), kBuildLabLabel},
    {"Label23", i18n::N_("IE version:"), kExplorerLabel},
    // TRANSLATORS: the caption of Windows' registered owner
    {"Label24", i18n::N_("Owned by:"), kOwnerLabel},
    {nullptr, nullptr, kBootDriveLabel},
};

struct Box {
    int left, top, width, height;
};

// What takes no click, the introduction, the facts, the memory figures and
// the two groups' frames, one window draws: each window more cost the start
// 2 to 3 ms under Wine (made, erased by ShowWindow, painted). It lies below
// the controls that are windows (the progress bar, the calendar, the
// buttons), which clip it.
constexpr Box kSheet{kLeft, 18, kInnerWidth, 466};
constexpr Box kStatistics{kLeft, 358, 248, 112};
constexpr int kStatisticsLeft = kStatistics.left + 8, kStatisticsTop = kStatistics.top + 18,
              kStatisticsWidth = 232, kStatisticsStep = 17;
// The calendar's frame, as laid out before the calendar says its size, and
// the calendar's place inside it.
constexpr Box kCalendarFrame{284, 318, 192, 166};
constexpr int kCalendarInLeft = 6, kCalendarInTop = 16;

}  // namespace

void build_welcome_page(const PageBuilder& b, WelcomePage& logic) {
    b.add({ControlKind::ProgressBar, std::string(kMemoryBar), "", kLeft, 334, 248, 16});

    // The calendar draws itself at a size of its own choosing (font and
    // theme decide it), so its frame is fitted around it, right-aligned
    // against the buttons and resting on the bottom of the page.
    Box calendar_frame = kCalendarFrame;
    // The frame's caption is painted by the sheet; readers name the
    // calendar by a label right before it, of no size.
    b.add({ControlKind::Label, "LabelCalendar", i18n::tr("Calendar"), kCalendarFrame.left + kCalendarInLeft,
           kCalendarFrame.top + kCalendarInTop, 0, 0});
    HWND calendar = b.add({ControlKind::MonthCalendar, std::string(kCalendar), "", kCalendarFrame.left + kCalendarInLeft,
                           kCalendarFrame.top + kCalendarInTop, 180, 144});
    RECT needed{};
    if (SendMessageW(calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&needed))) {
        // The calendar answers in pixels; the page is laid out at 96 DPI.
        const auto at_96 = [](LONG pixels) { return static_cast<int>((pixels * ui::kBaseDpi + screen_dpi() - 1) / screen_dpi()); };
        const int width = std::clamp<int>(at_96(needed.right - needed.left), 150, 200);
        const int height = std::clamp<int>(at_96(needed.bottom - needed.top), 120, 160);
        calendar_frame = {476 - (width + 12), 482 - (height + 22), width + 12, height + 22};
        const RECT at = px(RECT{calendar_frame.left + kCalendarInLeft, calendar_frame.top + kCalendarInTop,
                                calendar_frame.left + kCalendarInLeft + width, calendar_frame.top + kCalendarInTop + height});
        SetWindowPos(calendar, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    EnableWindow(calendar, FALSE);  // it shows today; it is not for picking

    struct Button {
        const char* name;
        const char* caption;
        void (WelcomePage::*click)();
    };
    const Button buttons[] = {
        {"BitBtn18", i18n::N_("&Vote for Veltrano"), &WelcomePage::vote_for_veltrano},
        {"BitBtn1", i18n::N_("&Terms of use"), &WelcomePage::show_terms_of_use},
        {"BitBtn2", i18n::N_("&Check for updates"), &WelcomePage::check_for_updates},
    };
    for (int i = 0; i < 3; ++i) {
        const auto click = buttons[i].click;
        b.add({ControlKind::Button, buttons[i].name, i18n::tr(buttons[i].caption), 484, 384 + i * 34, 106, 28,
               [&logic, click] { (logic.*click)(); }});
    }

    // The language of the window, above the buttons, each in its own name.
    b.add({ControlKind::Label, "LabelLanguage", i18n::tr("&Language:"), 484, 328, 106, 14});
    ControlDecl languages{ControlKind::ComboBox, std::string(kLanguageList), "", 484, 344, 106, 21,
                          [&logic] { logic.choose_language(); }};
    // MS Sans Serif has no East Asian glyphs: there, those languages go by
    // their English names.
    const bool east_asian_font = i18n::language_in_use().east_asian;
    for (const i18n::Language& language : i18n::languages())
        languages.items.emplace_back(language.east_asian && !east_asian_font ? language.english_name : language.own_name);
    b.add(languages);

    // The memory statistics tick every second from start to end, whichever
    // page is shown.
    b.add({ControlKind::Timer, "Timer1", "", 0, 0, 0, 0, [&logic] { logic.refresh_memory_status(); }, true, 1000});

    // Made last and sent to the bottom: a child is made below its elder
    // siblings, but the sheet must lie below every window on the page.
    const Box& f = kSheet;
    HWND sheet = b.add({ControlKind::Sheet, "FactsSheet", "", f.left, f.top, f.width, f.height});
    SetWindowPos(sheet, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // An item on the sheet, placed as it would stand on the page.
    const auto item = [&](ControlKind kind, std::string_view name, const std::string& caption, Box at, COLORREF colour,
                          bool bold) {
        b.controls.add_to_sheet(sheet, {kind, std::string(name), caption, at.left - f.left, at.top - f.top, at.width, at.height},
                                bold ? b.bold_font : b.font, colour);
    };
    const auto text = [&](std::string_view name, const std::string& caption, Box at, COLORREF colour, bool bold) {
        item(ControlKind::Label, name, caption, at, colour, bold);
    };

    text("Label14",
         i18n::tr("Veltrano is designed  for Windows XP Professional and may not work well  with other operating systems "
         "specially Windows 95 ,98 and ME. Many of theses tips may work on Windows 2000 Pro but recommended OS is "
         "Windows XP Professional."),
         {kLeft, 18, kInnerWidth, 42}, kBlack, true);
    item(ControlKind::Picture, "Image3", "Image3", {kLeft, 64, 105, 65}, kBlack, false);
    text("Label13",
         i18n::tr("Veltrano 3.1, registry tuning for Windows XP Professional. Written by the Veltrano developers; all rights "
         "reserved. Comments and ideas are welcome at feedback@veltrano.example."),
         {132, 70, 452, 54}, kBlack, true);
    text("Label15", i18n::tr("You are running Veltrano on a computer that has following configuration :"),
         {kLeft, 134, kInnerWidth, 14}, kMaroon, true);

    for (int row = 0; row < static_cast<int>(std::size(kInfoRows)); ++row) {
        const InfoRow& info = kInfoRows[row];
        const int top = kFirstRowTop + row * kRowStep;
        if (info.caption_label) text(info.caption_label, i18n::tr(info.caption), {kLeft, top, 80, 14}, kBlue, false);
        text(info.value_label, "", {kValueLeft, top, 584 - kValueLeft, 14}, kGreen, false);
    }

    // Memory statistics, refreshed by Timer1; empty until its first tick.
    text("StaticText8", i18n::tr("Memory load:"), {kLeft, 318, 100, 14}, kBlack, false);
    item(ControlKind::Panel, "GroupBox13", i18n::tr("Current Statistics"), kStatistics, kBlack, false);
    for (int i = 0; i < static_cast<int>(kMemoryLabels.size()); ++i)
        text(kMemoryLabels[i].name, "",
             {kStatisticsLeft, kStatisticsTop + i * kStatisticsStep, kStatisticsWidth, 14}, kBlack, false);
    item(ControlKind::Panel, "GroupBox12", i18n::tr("Calendar"), calendar_frame, kBlack, false);
}

}  // namespace veltrano::shell::win32
