// The welcome page: the introduction, the machine's facts, the memory
// statistics, today's calendar and the three buttons, laid out inside the
// 600 x 489 group box.
#include "shell/win32/page_views.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

namespace veltrano::shell::win32 {

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
    const char* value_label;
};

constexpr InfoRow kInfoRows[] = {
    {"Label16", "CPU:", "Label3"},          {nullptr, nullptr, "Label4"},
    {"Label17", "OS Name: ", "Label9"},     {"Label19", "Product Id:", "Label5"},
    {"Label18", "OS Type:", "Label8"},      {"Label20", "OS Build:", "Label7"},
    {"Label21", "OS Labinfo:", "Label6"},   {"Label23", "IE version:", "Label12"},
    {"Label24", "Owned by:", "Label11"},    {nullptr, nullptr, "Label10"},
};

struct Box {
    int left, top, width, height;
};

// The introduction and the facts take no clicks: one window draws them all,
// and another the statistics, where a window each cost the start 1 to 2 ms
// apiece under Wine.
constexpr Box kFactsSheet{kLeft, 18, kInnerWidth, 292}, kStatisticsSheet{8, 18, 232, 82};
constexpr int kStatisticsStep = 17;

}  // namespace

void build_welcome_page(const PageBuilder& b, WelcomePage& logic) {
    // A label on a sheet, placed as it would stand on the page (or the box).
    const auto text = [&](HWND sheet, Box sheet_at, const char* name, const char* caption, Box at,
                          COLORREF colour, bool bold) {
        b.controls.add_to_sheet(sheet,
                                {ControlKind::Label, name, caption, at.left - sheet_at.left, at.top - sheet_at.top,
                                 at.width, at.height},
                                bold ? b.bold_font : b.font, colour);
    };
    const Box& f = kFactsSheet;
    HWND facts = b.add({ControlKind::Sheet, "FactsSheet", "", f.left, f.top, f.width, f.height});

    text(facts, f, "Label14",
         "Veltrano is designed  for Windows XP Professional and may not work well  with other operating systems "
         "specially Windows 95 ,98 and ME. Many of theses tips may work on Windows 2000 Pro but recommended OS is "
         "Windows XP Professional.",
         {kLeft, 18, kInnerWidth, 42}, kBlack, true);
    b.controls.add_to_sheet(facts, {ControlKind::Picture, "Image3", "Image3", kLeft - f.left, 64 - f.top, 105, 65}, b.font);
    text(facts, f, "Label13",
         "Veltrano 3.1, registry tuning for Windows XP Professional. Written by the Veltrano developers; all rights "
         "reserved. Comments and ideas are welcome at feedback@veltrano.example.",
         {132, 70, 452, 54}, kBlack, true);
    text(facts, f, "Label15", "You are running Veltrano on a computer that has following configuration :",
         {kLeft, 134, kInnerWidth, 14}, kMaroon, true);

    for (int row = 0; row < static_cast<int>(std::size(kInfoRows)); ++row) {
        const InfoRow& info = kInfoRows[row];
        const int top = kFirstRowTop + row * kRowStep;
        if (info.caption_label) text(facts, f, info.caption_label, info.caption, {kLeft, top, 80, 14}, kBlue, false);
        text(facts, f, info.value_label, "", {kValueLeft, top, 584 - kValueLeft, 14}, kGreen, false);
    }

    // Memory statistics, refreshed by Timer1; empty until its first tick.
    b.add({ControlKind::Label, "StaticText8", "Memory load:", kLeft, 318, 100, 14});
    b.add({ControlKind::ProgressBar, std::string(kMemoryBar), "", kLeft, 334, 248, 16});
    HWND statistics = b.add({ControlKind::Panel, "GroupBox13", "Current Statistics", kLeft, 358, 248, 112});
    const Box& s = kStatisticsSheet;
    HWND figures = b.add_to(statistics, {ControlKind::Sheet, "StatisticsSheet", "", s.left, s.top, s.width, s.height});
    for (int i = 0; i < static_cast<int>(kMemoryLabels.size()); ++i)
        text(figures, s, kMemoryLabels[i].name.data(), "", {s.left, s.top + i * kStatisticsStep, s.width, 14}, kBlack,
             false);

    // The calendar draws itself at a size of its own choosing (font and
    // theme decide it), so its frame is fitted around it, right-aligned
    // against the buttons and resting on the bottom of the page.
    HWND calendar_frame = b.add({ControlKind::Panel, "GroupBox12", "Calendar", 284, 318, 192, 166});
    HWND calendar = b.controls.create(calendar_frame, {ControlKind::MonthCalendar, "MonthCalendar1", "", 6, 16, 180, 144},
                                      b.font);
    RECT needed{};
    if (SendMessageW(calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&needed))) {
        const int width = std::clamp<int>(needed.right - needed.left, 150, 200);
        const int height = std::clamp<int>(needed.bottom - needed.top, 120, 160);
        SetWindowPos(calendar, nullptr, 6, 16, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(calendar_frame, nullptr, 476 - (width + 12), 482 - (height + 22), width + 12, height + 22,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    EnableWindow(calendar, FALSE);  // it shows today; it is not for picking

    struct Button {
        const char* name;
        const char* caption;
        void (WelcomePage::*click)();
    };
    const Button buttons[] = {
        {"BitBtn18", "&Vote for Veltrano", &WelcomePage::BitBtn18Click},
        {"BitBtn1", "&Terms of use", &WelcomePage::BitBtn1Click},
        {"BitBtn2", "&Check for updates", &WelcomePage::BitBtn2Click},
    };
    for (int i = 0; i < 3; ++i) {
        const auto click = buttons[i].click;
        b.add({ControlKind::Button, buttons[i].name, buttons[i].caption, 484, 384 + i * 34, 106, 28,
               [&logic, click] { (logic.*click)(); }});
    }

    // The memory statistics tick every second from start to end, whichever
    // page is shown.
    b.add({ControlKind::Timer, "Timer1", "", 0, 0, 0, 0, [&logic] { logic.Timer1Timer(); }, true, 1000});
}

}  // namespace veltrano::shell::win32
