#include "shell/win32/main_window.h"

#include "i18n/translate.h"
#include "platform/win32/text.h"
#include "shell/startup_stages.h"
#include "shell/win32/page_views.h"
#include "shell/win32/window_classes.h"
#include "ui/win32/dpi.h"
#include "ui/win32/error_box.h"
#include "ui/win32/fit_captions.h"
#include "ui/win32/modal_dialog.h"
#include "ui/win32/palette.h"
#include "ui/win32/window_binding.h"
#include "shell/win32/help.h"

#include <commctrl.h>

#include <algorithm>

namespace veltrano::shell::win32 {

using namespace ui::win32;

using platform::win32::to_utf16;

namespace {

constexpr int kClientWidth = 614, kClientHeight = 584;
constexpr UINT kFlushLog = WM_APP + 1;
constexpr UINT kFinishStartUp = WM_APP + 2;
// Ctrl+1 to Ctrl+9 and Ctrl+0 reach the ten navigation entries: the bar's
// pictures and captions take no keyboard focus of their own. A click on the
// bar sends the same commands.
constexpr WORD kNavigationCommand = 0x7000;
// Ctrl+Tab and Ctrl+Shift+Tab: the next and the previous page.
constexpr WORD kNextPageCommand = 0x7100, kPreviousPageCommand = 0x7101;
// The navigation bar's etched frame.
constexpr RECT kNavigationFrame{8, 8, 609, 89};
// Caption without buttons: no system menu, no minimise, maximise or close.
constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;

constexpr int kLogLeft = 8, kLogWidth = 601;

// 8 pt: the pixel positions of every page assume it, and grow with it at a
// larger DPI.
HFONT make_font(int weight) { return make_ui_font(-11, weight); }

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, Services services, Win32Dialogs& dialogs)
    : WindowWidgets(controls_, *this), instance_(instance), dialogs_(dialogs), form_(services, *this, dialogs, log_, help_base_address()),
      page_built_(form_.pages().size(), false) {}

MainWindow::~MainWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

template <class Fn> void MainWindow::guarded(Fn fn) {
    run_guarded(hwnd_, fn);
}

// A page's logic may reach for a control of a page nobody has looked at yet:
// draw the pages still missing. At start-up that is the page being created,
// whose controls are its own: drawing every page there cost about 110 ms
// before the first paint.
void MainWindow::build_pages_holding(std::string_view name) {
    if (const auto page = form_.page_being_created()) build_page(*page);
    if (controls_.get(name) || controls_.on_sheet(name)) return;
    for (std::size_t page = 0; page < page_built_.size(); ++page) build_page(page);
}

bool MainWindow::create() {
    register_panel_class(instance_);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = window_proc;
    wc.hInstance = instance_;
    wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(1));
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kMainWindowClass;
    RegisterClassExW(&wc);

    font_.reset(make_font(FW_NORMAL));
    bold_font_.reset(make_font(FW_BOLD));
    cream_brush_.reset(CreateSolidBrush(ui::kCream));
    VELTRANO_STAGE("class and fonts");

    RECT r = px(RECT{0, 0, kClientWidth, kClientHeight});
    AdjustWindowRectEx(&r, kMainStyle, FALSE, 0);
    hwnd_ = CreateWindowExW(0, kMainWindowClass, to_utf16(i18n::tr(kMainCaption)).c_str(), kMainStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                            r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance_, this);
    if (!hwnd_) return false;
    VELTRANO_STAGE("main window");
    // Errors of the start-up are shown over the window they belong to.
    dialogs_.set_owner(hwnd_);
    build_controls();
    VELTRANO_STAGE("navigation and log");
    guarded([&] { form_.start_up(true); });
    return true;
}

// A navigation entry's command: a click on the bar, or Ctrl with a digit.
std::optional<std::size_t> MainWindow::navigation_entry(WPARAM wp, LPARAM lp) const {
    if (lp) return navigation_.entry_of(wp, lp);
    if (HIWORD(wp) == 1 && LOWORD(wp) >= kNavigationCommand &&
        LOWORD(wp) < kNavigationCommand + form_.navigation_entries())
        return LOWORD(wp) - kNavigationCommand;
    return std::nullopt;
}

unique_accelerators MainWindow::create_accelerators() const {
    // Ctrl+1 to Ctrl+9, then Ctrl+0: ten digits for at most ten entries.
    const std::size_t count = std::min<std::size_t>(form_.navigation_entries(), 10);
    std::vector<ACCEL> keys(count);
    for (std::size_t i = 0; i < count; ++i) {
        keys[i].fVirt = FVIRTKEY | FCONTROL;
        keys[i].key = static_cast<WORD>('0' + (i + 1) % 10);
        keys[i].cmd = static_cast<WORD>(kNavigationCommand + i);
    }
    keys.push_back({FVIRTKEY | FCONTROL, VK_TAB, kNextPageCommand});
    keys.push_back({FVIRTKEY | FCONTROL | FSHIFT, VK_TAB, kPreviousPageCommand});
    return unique_accelerators(CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size())));
}

bool MainWindow::translate_shortcut(const MSG& msg) {
    const bool key = msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST;
    // A key for a control of a page no longer in view: the dialog manager
    // would look for its underlined letter among the hidden page's
    // controls, and never come back from their hidden parent.
    if (key && msg.hwnd != hwnd_ && IsChild(hwnd_, msg.hwnd) && !IsWindowVisible(msg.hwnd)) {
        focus_current_page();
        return true;
    }
    return controls_.shortcut(msg);
}

void MainWindow::focus_current_page() {
    HWND target = nullptr;
    if (auto last = page_focus_.find(current_panel_); last != page_focus_.end() && can_take_focus(last->second))
        target = last->second;
    if (!target && current_panel_ && IsWindowVisible(current_panel_)) {
        HWND first = GetNextDlgTabItem(current_panel_, nullptr, FALSE);
        if (can_take_focus(first) && IsChild(current_panel_, first)) target = first;
    }
    if (!target) target = navigation_.hwnd();
    if (GetActiveWindow() == hwnd_)
        SetFocus(target);
    else
        focus_before_deactivation_ = target;
}

void MainWindow::show_current_page(std::size_t entry, ui::GroupBox group_box) {
    navigation_.set_current(entry);
    current_panel_ = controls_.get(group_box);
    // A user going along the bar with the keyboard stays on it; a page
    // chosen by its shortcut takes the focus.
    if (!from_bar_ || GetFocus() != navigation_.hwnd()) focus_current_page();
}

void MainWindow::show() {
    // The store's set-up and counters, the hidden pages' created() and the
    // dialogs' four small windows come once the window is painted, from the
    // first message of the loop: before the first paint they cost 30 to 90
    // ms under Wine (drawing the Registry Analyser's page for its grid, a
    // first run's thousand registry calls, then the windows). Posted before
    // the window shows, the message is the first in the queue: any click,
    // posted or typed, comes after it.
    PostMessageW(hwnd_, kFinishStartUp, 0, 0);
    ShowWindow(hwnd_, SW_SHOW);
    VELTRANO_STAGE("ShowWindow");
    UpdateWindow(hwnd_);
}

void MainWindow::build_controls() {
    HFONT font = static_cast<HFONT>(font_.get());
    // The navigation bar: an entry for each page in their order, then Exit,
    // inside the frame paint_frame draws.
    const auto pages = form_.pages();
    std::vector<NavigationEntry> entries;
    for (std::size_t i = 0; i < form_.navigation_entries(); ++i) {
        const bool exit = i == pages.size();
        entries.push_back({i18n::tr(exit ? kExitEntry.caption : pages[i].caption),
                           controls_.bitmap(std::string(exit ? kExitEntry.icon : pages[i].icon))});
    }
    navigation_.create(hwnd_, kNavigationFrame.left + 1, kNavigationFrame.top + 10, entries, font, kNavigationCommand);
    controls_.set_cursor(navigation_.hwnd(), reinterpret_cast<LPCWSTR>(IDC_HAND));
    VELTRANO_STAGE("navigation bar");

    // Every page is a group box at the same place (page_panel); hiding it
    // hides all on it. It and what is inside come at the page's first use.

    // The activity log under the short pages, made hidden: the form shows
    // it with the pages that have it.
    // The caption right before the list in z-order: a screen reader names
    // the list by it.
    controls_.create(hwnd_, {ControlKind::Picture, std::string(ui::kLogStrip), std::string(ui::kLogStrip), kLogLeft, 448, kLogWidth, 8, {}, false}, font);
    HWND label = controls_.create(hwnd_,
                                  {ControlKind::Label, std::string(ui::kLogCaption), i18n::tr("Log of activities carried out in this session"),
                                   kLogLeft, 432, kLogWidth, 14, {}, false},
                                  font);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(bold_font_.get()), FALSE);
    HWND list = controls_.create(hwnd_, {ControlKind::ListBox, std::string(ui::kLogList), "", kLogLeft, 456, kLogWidth, 121, {}, false}, font);
    SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(px(1000)), 0);
    log_.attach(list, hwnd_, kFlushLog);
}

HWND MainWindow::page_panel(std::size_t page) {
    const PageRow& row = form_.pages()[page];
    if (HWND made = controls_.get(row.group_box)) return made;
    HWND panel = controls_.create(hwnd_,
                                  {ControlKind::Panel, std::string(row.group_box), i18n::tr(row.title), kPageLeft,
                                   kPageTop, kPageWidth, row.height, {}, false},
                                  static_cast<HFONT>(font_.get()));
    // In the pages' order after the navigation bar, as if made at start:
    // the order of the window's children is the order of Tab.
    HWND after = navigation_.hwnd();
    for (std::size_t before = 0; before < page; ++before)
        if (HWND earlier = controls_.get(form_.pages()[before].group_box)) after = earlier;
    if (panel && after) SetWindowPos(panel, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return panel;
}

std::optional<std::size_t> MainWindow::page_of_panel(std::string_view name) const {
    const auto pages = form_.pages();
    for (std::size_t page = 0; page < pages.size(); ++page)
        if (pages[page].group_box == name) return page;
    return std::nullopt;
}

void MainWindow::build_page(std::size_t page) {
    if (page_built_[page]) return;
    page_built_[page] = true;
    const PageRow& row = form_.pages()[page];
    const PageView* view = find_page_view(row.group_box);
    ui::Page* logic = form_.page(page);
    HWND panel = page_panel(page);
    if (!view || !logic) return;
    const PageBuilder builder{controls_, panel, static_cast<HFONT>(font_.get()), static_cast<HFONT>(bold_font_.get())};
    view->build(builder, *logic);
    fit_captions(panel);
}

namespace {

// Thin strips along the four edges, stretched from their bitmaps.
struct Strip {
    const wchar_t* name;
    RECT at;
};
constexpr Strip kStrips[] = {
    {L"Image_frame_top", {0, 0, kClientWidth, 4}},
    {L"Image_frame_bottom", {0, kClientHeight - 4, kClientWidth, kClientHeight}},
    {L"Image_frame_left", {0, 0, 4, kClientHeight}},
    {L"Image_frame_right", {kClientWidth - 4, 0, kClientWidth, kClientHeight}},
};

}  // namespace

void MainWindow::paint_frame(HDC dc) {
    RECT navigation = px(kNavigationFrame);
    DrawEdge(dc, &navigation, EDGE_ETCHED, BF_RECT);
    const unique_dc mem(CreateCompatibleDC(dc));
    for (std::size_t i = 0; i < std::size(kStrips); ++i) {
        // Loaded at the first paint and kept: the window repaints often.
        unique_gdi& bmp = frame_bitmaps_[i];
        if (!bmp) bmp.reset(LoadImageW(instance_, kStrips[i].name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        if (!bmp) continue;
        BITMAP info{};
        GetObjectW(bmp.get(), sizeof info, &info);
        // Selected out again before the DC goes.
        HGDIOBJ old = SelectObject(mem.get(), bmp.get());
        const RECT at = px(kStrips[i].at);
        StretchBlt(dc, at.left, at.top, at.right - at.left, at.bottom - at.top, mem.get(), 0, 0, info.bmWidth,
                   info.bmHeight, SRCCOPY);
        SelectObject(mem.get(), old);
    }
}

LRESULT CALLBACK MainWindow::window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return answer_by_object<MainWindow, &MainWindow::hwnd_, &MainWindow::handle>(hwnd, msg, wp, lp);
}

LRESULT MainWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (lp && HIWORD(wp) == BN_CLICKED) VELTRANO_STAGES_RESTART("click received");
        if (lp && controls_.command(reinterpret_cast<HWND>(lp), HIWORD(wp))) {
            VELTRANO_STAGE("handler done");
            return 0;
        }
        if (HIWORD(wp) == 1 && (LOWORD(wp) == kNextPageCommand || LOWORD(wp) == kPreviousPageCommand)) {
            guarded([&] { form_.next_page(LOWORD(wp) == kPreviousPageCommand); });
            return 0;
        }
        if (const auto entry = navigation_entry(wp, lp)) {
            // Exit by its key asks first: a stray Ctrl+0 must not end the run.
            const bool exit_key = !lp && *entry + 1 == form_.navigation_entries();
            from_bar_ = lp != 0;
            guarded([&] { exit_key ? form_.exit_by_key() : form_.navigation_click(*entry); });
            from_bar_ = false;
            return 0;
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) {
            if (HWND focus = GetFocus(); focus && IsChild(hwnd_, focus)) focus_before_deactivation_ = focus;
        } else if (!HIWORD(wp)) {
            // As a dialog does: the focus goes back where it was.
            if (can_take_focus(focus_before_deactivation_))
                SetFocus(focus_before_deactivation_);
            else
                focus_current_page();
        }
        return 0;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (navigation_.notify(*reinterpret_cast<const NMHDR*>(lp), result)) return result;
        if (controls_.notify(*reinterpret_cast<const NMHDR*>(lp), result)) return result;
        break;
    }
    case WM_CONTEXTMENU:
        if (controls_.context_menu(reinterpret_cast<HWND>(wp), lp)) return 0;
        break;
    case WM_SETCURSOR:
        controls_.right_click_on_disabled(reinterpret_cast<HWND>(wp), lp);
        if (HCURSOR cursor = controls_.cursor(reinterpret_cast<HWND>(wp))) {
            SetCursor(cursor);
            return TRUE;
        }
        break;
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wp);
        const std::string& name = controls_.name_of(reinterpret_cast<HWND>(lp));
        const ui::Palette& colours = palette();
        if (name == ui::kLogCaption.name()) {
            SetTextColor(dc, colours.log_text());
            SetBkColor(dc, colours.log_caption_ground());
            return reinterpret_cast<LRESULT>(colours.high_contrast ? ground_brush() : cream_brush_.get());
        }
        if (auto colour = controls_.text_colour(reinterpret_cast<HWND>(lp))) SetTextColor(dc, colours.text(*colour));
        if (controls_.has_hand_cursor(reinterpret_cast<HWND>(lp))) SetTextColor(dc, colours.link());
        SetBkColor(dc, colours.ground());
        return reinterpret_cast<LRESULT>(ground_brush());
    }
    case WM_CTLCOLORBTN:
        return reinterpret_cast<LRESULT>(ground_brush());
    case WM_CTLCOLORLISTBOX:
        if (reinterpret_cast<HWND>(lp) == controls_.get(ui::kLogList)) {
            SetTextColor(reinterpret_cast<HDC>(wp), palette().log_text());
            SetBkColor(reinterpret_cast<HDC>(wp), palette().ground());
            return reinterpret_cast<LRESULT>(ground_brush());
        }
        break;
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(hwnd_, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, ground_brush());
        return 1;
    }
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        // High Contrast turned on or off, or its colours changed: every
        // window of ours paints again with the palette read anew.
        reread_palette();
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        break;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        paint_frame(dc);
        EndPaint(hwnd_, &ps);
        VELTRANO_STAGE("frame painted");
        return 0;
    }
    case WM_NEXTDLGCTL: {
        // IsDialogMessage moves the focus this way for a label's underlined
        // letter (to the label, then on to the control after it); only a
        // dialog's own procedure answers it by default.
        HWND target = LOWORD(lp) ? reinterpret_cast<HWND>(wp) : GetNextDlgTabItem(hwnd_, GetFocus(), wp != 0);
        if (target) {
            SetFocus(target);
            if (SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(target, EM_SETSEL, 0, -1);
        }
        return 0;
    }
    case kFlushLog:
        log_.flush();
        return 0;
    case kFinishStartUp:
        guarded([&] { form_.finish_start_up(); });
        // Without the small windows no balloon, help or terms could show:
        // end as the program always did when they failed, with exit code 1.
        if (!dialogs_.create(hwnd_)) PostQuitMessage(1);
        return 0;
    case WM_CLOSE:
        // No close box: the way out is the Exit entry. Alt+F4 asks the same.
        guarded([&] { form_.exit_program(); });
        return 0;
    case WM_DESTROY:
        guarded([&] { form_.close_pages(); });
        hwnd_ = nullptr;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

void MainWindow::centre_on_screen() {
    RECT r;
    GetWindowRect(hwnd_, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::terminate() { DestroyWindow(hwnd_); }

}  // namespace veltrano::shell::win32
