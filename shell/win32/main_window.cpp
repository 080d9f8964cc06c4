#include "shell/win32/main_window.h"

#include "core/error.h"
#include "shell/win32/error_box.h"
#include "shell/win32/page_builder.h"
#include "shell/welcome.h"
#include "platform/win32/text.h"

#include <commctrl.h>

namespace veltrano::shell::win32 {

using platform::win32::to_utf16;

namespace {

constexpr wchar_t kMainClass[] = L"TForm1";
constexpr int kClientWidth = 614, kClientHeight = 584;
constexpr int kTimer1 = 1, kTimer2 = 2;
constexpr UINT kFlushLog = WM_APP + 1;
// Ctrl+1 to Ctrl+9 and Ctrl+0 reach the ten navigation entries: the bar's
// pictures and captions take no keyboard focus of their own.
constexpr WORD kNavigationCommand = 0x7000;
// Caption without buttons: no system menu, no minimise, maximise or close.
constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;

constexpr COLORREF kLogGreen = RGB(0, 128, 0);
constexpr COLORREF kCream = RGB(255, 251, 240);
constexpr COLORREF kNavy = RGB(0, 0, 128);

constexpr int kLogLeft = 8, kLogWidth = 601;

HFONT make_font(int weight) {
    // MS Sans Serif 8 pt: the pixel positions of every page assume it.
    return CreateFontW(-11, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, Services services, Dialogs& dialogs)
    : instance_(instance), form_(services, *this, dialogs, *this) {}

MainWindow::~MainWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

template <class Fn> void MainWindow::guarded(Fn fn) {
    run_guarded(hwnd_, fn);
}

HWND MainWindow::control(std::string_view name) const {
    HWND hwnd = controls_.get(name);
    if (!hwnd) throw core::VeltranoError("No control named " + std::string(name));
    return hwnd;
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
    wc.lpszClassName = kMainClass;
    RegisterClassExW(&wc);

    font_.reset(make_font(FW_NORMAL));
    bold_font_.reset(make_font(FW_BOLD));
    white_brush_.reset(CreateSolidBrush(RGB(255, 255, 255)));
    cream_brush_.reset(CreateSolidBrush(kCream));

    RECT r{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&r, kMainStyle, FALSE, 0);
    hwnd_ = CreateWindowExW(0, kMainClass, kMainCaption, kMainStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                            r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance_, this);
    if (!hwnd_) return false;
    build_controls();
    // The memory statistics tick from the start to the end, on every page.
    SetTimer(hwnd_, kTimer1, 1000, nullptr);
    guarded([&] { form_.FormCreate(); });
    return true;
}

unique_accelerators MainWindow::create_accelerators() const {
    ACCEL keys[kNavigation.size()];
    for (std::size_t i = 0; i < kNavigation.size(); ++i) {
        keys[i].fVirt = FVIRTKEY | FCONTROL;
        keys[i].key = static_cast<WORD>('0' + (i + 1) % 10);
        keys[i].cmd = static_cast<WORD>(kNavigationCommand + i);
    }
    return unique_accelerators(CreateAcceleratorTableW(keys, static_cast<int>(kNavigation.size())));
}

void MainWindow::show() {
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
}

void MainWindow::build_controls() {
    HFONT font = static_cast<HFONT>(font_.get());
    // The navigation bar: a caption above each icon, both clickable.
    HWND bar = controls_.create(hwnd_, {ControlKind::Panel, "GroupBox1", "", 8, 8, 601, 81}, font);
    constexpr int kEntryWidth = 60;
    for (std::size_t i = 0; i < kNavigation.size(); ++i) {
        const NavEntry& nav = kNavigation[i];
        const int left = 1 + static_cast<int>(i) * kEntryWidth;
        auto click = [this, i] { guarded([&] { form_.navigation_click(i); }); };
        controls_.create(bar, {ControlKind::LinkText, std::string(nav.caption_component), std::string(nav.caption),
                               left, 10, kEntryWidth, 14, click},
                         font);
        controls_.create(bar, {ControlKind::Picture, std::string(nav.icon), std::string(nav.icon), left + 6, 26,
                               48, 48, click},
                         font);
    }

    // Every page is a group box at the same place; hiding it hides all on it.
    for (const PageInfo& info : kPages)
        controls_.create(hwnd_,
                         {ControlKind::Panel, std::string(info.group_box), std::string(info.caption), kPageLeft,
                          kPageTop, kPageWidth, info.height, {}, info.page != Page::Network},
                         font);
    const PageBuilder builder{controls_, form_, font, static_cast<HFONT>(bold_font_.get()),
                              [this](std::function<void()> handler) -> std::function<void()> {
                                  return [this, handler] { guarded(handler); };
                              }};
    build_welcome_page(builder);
    build_tip_pages(builder);

    // The activity log under the short pages.
    HWND label = controls_.create(hwnd_,
                                  {ControlKind::Label, "Label2", "Log of activities carried out in this session",
                                   kLogLeft, 432, kLogWidth, 14},
                                  font);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(bold_font_.get()), FALSE);
    controls_.create(hwnd_, {ControlKind::Picture, "Image5", "Image5", kLogLeft, 448, kLogWidth, 8}, font);
    HWND list = controls_.create(hwnd_, {ControlKind::ListBox, "ListBox1", "", kLogLeft, 456, kLogWidth, 121}, font);
    SendMessageW(list, LB_SETHORIZONTALEXTENT, 1000, 0);
    log_.attach(list, hwnd_, kFlushLog);
}

void MainWindow::paint_frame(HDC dc) {
    // Thin strips along the four edges, stretched from their bitmaps.
    struct Strip {
        const wchar_t* name;
        RECT at;
    };
    const Strip strips[] = {
        {L"Image_frame_top", {0, 0, kClientWidth, 4}},
        {L"Image_frame_bottom", {0, kClientHeight - 4, kClientWidth, kClientHeight}},
        {L"Image_frame_left", {0, 0, 4, kClientHeight}},
        {L"Image_frame_right", {kClientWidth - 4, 0, kClientWidth, kClientHeight}},
    };
    HDC mem = CreateCompatibleDC(dc);
    for (const auto& s : strips) {
        unique_gdi bmp(LoadImageW(instance_, s.name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        if (!bmp) continue;
        BITMAP info{};
        GetObjectW(bmp.get(), sizeof info, &info);
        HGDIOBJ old = SelectObject(mem, bmp.get());
        StretchBlt(dc, s.at.left, s.at.top, s.at.right - s.at.left, s.at.bottom - s.at.top, mem, 0, 0,
                   info.bmWidth, info.bmHeight, SRCCOPY);
        SelectObject(mem, old);
    }
    DeleteDC(mem);
}

LRESULT CALLBACK MainWindow::window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    return self->handle(msg, wp, lp);
}

LRESULT MainWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (lp && controls_.command(reinterpret_cast<HWND>(lp), HIWORD(wp))) return 0;
        if (!lp && HIWORD(wp) == 1 && LOWORD(wp) >= kNavigationCommand &&
            LOWORD(wp) < kNavigationCommand + kNavigation.size()) {
            const std::size_t entry = LOWORD(wp) - kNavigationCommand;
            guarded([&] { form_.navigation_click(entry); });
            return 0;
        }
        break;
    case WM_SETCURSOR:
        if (HCURSOR cursor = controls_.cursor(reinterpret_cast<HWND>(wp))) {
            SetCursor(cursor);
            return TRUE;
        }
        break;
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wp);
        const std::string& name = controls_.name_of(reinterpret_cast<HWND>(lp));
        if (name == "Label2") {
            SetTextColor(dc, kLogGreen);
            SetBkColor(dc, kCream);
            return reinterpret_cast<LRESULT>(cream_brush_.get());
        }
        if (auto colour = controls_.text_colour(reinterpret_cast<HWND>(lp))) SetTextColor(dc, *colour);
        if (controls_.has_hand_cursor(reinterpret_cast<HWND>(lp))) SetTextColor(dc, kNavy);
        SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(white_brush_.get());
    }
    case WM_CTLCOLORBTN:
        return reinterpret_cast<LRESULT>(white_brush_.get());
    case WM_CTLCOLORLISTBOX:
        if (reinterpret_cast<HWND>(lp) == controls_.get("ListBox1")) {
            SetTextColor(reinterpret_cast<HDC>(wp), kLogGreen);
            return reinterpret_cast<LRESULT>(white_brush_.get());
        }
        break;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        paint_frame(dc);
        EndPaint(hwnd_, &ps);
        return 0;
    }
    case kFlushLog:
        log_.flush();
        return 0;
    case WM_TIMER:
        if (wp == kTimer1) {
            guarded([&] { form_.Timer1Timer(); });
            return 0;
        }
        break;
    case WM_CLOSE:
        // No close box: the way out is the Exit entry. Alt+F4 asks the same.
        guarded([&] { form_.Image_exit_optionsClick(); });
        return 0;
    case WM_DESTROY:
        guarded([&] { form_.FormDestroy(); });
        hwnd_ = nullptr;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

void MainWindow::set_page_visible(Page page, bool visible) {
    ShowWindow(controls_.get(page_info(page).group_box), visible ? SW_SHOW : SW_HIDE);
}

void MainWindow::set_log_visible(bool visible) {
    for (const char* name : {"Label2", "Image5", "ListBox1"})
        ShowWindow(controls_.get(name), visible ? SW_SHOW : SW_HIDE);
}

void MainWindow::set_timer2_enabled(bool enabled) {
    if (enabled)
        SetTimer(hwnd_, kTimer2, 1000, nullptr);
    else
        KillTimer(hwnd_, kTimer2);
}

void MainWindow::centre_on_screen() {
    RECT r;
    GetWindowRect(hwnd_, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::set_calendar_today() {
    SYSTEMTIME today;
    GetLocalTime(&today);
    SendMessageW(controls_.get("MonthCalendar1"), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&today));
}

void MainWindow::set_system_labels_visible(bool visible) {
    for (const SystemLabel& label : system_labels()) ShowWindow(control(label.name), visible ? SW_SHOW : SW_HIDE);
}

// The analyser's grid and buttons and the admin sub-panels arrive with their
// pages; until then their pages are frames and there is nothing to set.
void MainWindow::set_grid_heading(int, const std::string&) {}
void MainWindow::set_regclean_buttons_enabled(bool) {}
void MainWindow::show_admin_auto_logon_panel() {}

void MainWindow::show_error(const std::string& message) { show_error_box(hwnd_, message); }

bool MainWindow::ask_yes_no(const std::string& question) {
    return MessageBoxW(hwnd_, to_utf16(question).c_str(), L"Veltrano", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void MainWindow::set_progress(std::string_view name, int position) {
    SendMessageW(control(name), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void MainWindow::set_enabled(std::string_view name, bool enabled) { EnableWindow(control(name), enabled); }
bool MainWindow::is_enabled(std::string_view name) const { return IsWindowEnabled(control(name)) != FALSE; }

void MainWindow::set_checked(std::string_view name, bool checked) {
    SendMessageW(control(name), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool MainWindow::is_checked(std::string_view name) const {
    return SendMessageW(control(name), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindow::set_visible(std::string_view name, bool visible) {
    ShowWindow(control(name), visible ? SW_SHOW : SW_HIDE);
}

// The control's own flag: a control on a hidden page still counts as shown.
bool MainWindow::is_visible(std::string_view name) const {
    return (GetWindowLongPtrW(control(name), GWL_STYLE) & WS_VISIBLE) != 0;
}

void MainWindow::set_text(std::string_view name, const std::string& text) {
    SetWindowTextW(control(name), to_utf16(text).c_str());
}

std::string MainWindow::text(std::string_view name) const {
    HWND hwnd = control(name);
    std::wstring buffer(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    buffer.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, buffer.data(), static_cast<int>(buffer.size()))));
    return platform::win32::to_utf8(buffer);
}

void MainWindow::terminate() { DestroyWindow(hwnd_); }

void MainWindow::add(const std::string& line) { log_.add(line); }

void MainWindow::clear() { log_.clear(); }

}  // namespace veltrano::shell::win32
