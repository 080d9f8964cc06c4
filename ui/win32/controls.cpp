#include "ui/win32/controls.h"

#include "i18n/translate.h"
#include "platform/win32/text.h"
#include "ui/win32/dpi.h"
#include "ui/win32/error_box.h"
#include "ui/win32/gdi.h"
#include "ui/win32/palette.h"
#include "ui/win32/window_binding.h"

#include <commctrl.h>
#include <shellapi.h>

namespace veltrano::ui::win32 {

using platform::win32::to_utf16;

namespace {

constexpr wchar_t kPanelClass[] = L"VeltranoPanel";

// A panel is a group box that can hold controls: it draws its own etched
// frame and caption, as a BS_GROUPBOX child laid over the controls would keep
// the panel from erasing beneath it.
void paint_panel(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    wchar_t caption[256];
    const int length = GetWindowTextW(hwnd, caption, 256);
    HGDIOBJ old_font = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    // The caption is coloured as a static would be: the window that colours
    // its statics may colour this one too.
    if (length > 0)
        SendMessageW(GetAncestor(hwnd, GA_ROOT), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(hwnd));
    draw_group_frame(dc, r, caption, length);
    SelectObject(dc, old_font);
    EndPaint(hwnd, &ps);
}

// The bitmap a flat picture button draws, kept on the button; the controls
// own it.
constexpr wchar_t kFlatPictureProp[] = L"VeltranoFlatPicture";

// A flat picture button is owner-drawn, so it looks as the clickable
// picture it replaces: the panel's ground, the picture, and the focus
// rectangle when the keyboard is on it.
bool draw_flat_picture(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON) return false;
    auto picture = static_cast<HBITMAP>(GetPropW(item.hwndItem, kFlatPictureProp));
    if (!picture) return false;
    auto ground = reinterpret_cast<HBRUSH>(GetClassLongPtrW(GetParent(item.hwndItem), GCLP_HBRBACKGROUND));
    FillRect(item.hDC, &item.rcItem, ground ? ground : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    draw_centred(item.hDC, picture, item.rcItem);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(item.hDC, &item.rcItem);
    return true;
}

LRESULT CALLBACK panel_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    static_assert(sizeof(LONG_PTR) >= sizeof(HFONT));
    switch (msg) {
    case WM_PAINT:
        paint_panel(hwnd);
        return 0;
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, ground_brush());
        return 1;
    }
    case WM_SETFONT:
        SetWindowLongPtrW(hwnd, 0, static_cast<LONG_PTR>(wp));
        return 0;
    case WM_GETFONT:
        return GetWindowLongPtrW(hwnd, 0);
    case WM_SETTEXT: {
        // The caption is painted inside the client area, which a new text
        // alone does not repaint. The children are clipped out.
        const LRESULT result = DefWindowProcW(hwnd, msg, wp, lp);
        InvalidateRect(hwnd, nullptr, TRUE);
        return result;
    }
    case WM_DRAWITEM:
        if (draw_flat_picture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return TRUE;
        break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
    case WM_SETCURSOR:
    case WM_CONTEXTMENU:
        return SendMessageW(GetAncestor(hwnd, GA_ROOT), msg, wp, lp);
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

struct ClassAndStyle {
    const wchar_t* cls;
    DWORD style;
};

ClassAndStyle class_for(ControlKind kind) {
    switch (kind) {
    case ControlKind::Panel: return {kPanelClass, WS_CLIPCHILDREN};
    case ControlKind::Label: return {WC_STATICW, SS_LEFT};
    case ControlKind::LinkText: return {WC_STATICW, SS_CENTER | SS_NOTIFY};
    case ControlKind::Picture: return {WC_STATICW, SS_BITMAP | SS_CENTERIMAGE};
    case ControlKind::Button: return {WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP};
    case ControlKind::CheckBox: return {WC_BUTTONW, BS_AUTOCHECKBOX | WS_TABSTOP};
    case ControlKind::ListBox:
        return {WC_LISTBOXW, LBS_NOINTEGRALHEIGHT | LBS_NOTIFY | WS_VSCROLL | WS_HSCROLL | WS_BORDER | WS_TABSTOP};
    case ControlKind::MonthCalendar: return {MONTHCAL_CLASSW, WS_BORDER};
    case ControlKind::ProgressBar: return {PROGRESS_CLASSW, 0};
    case ControlKind::RadioButton: return {WC_BUTTONW, BS_AUTORADIOBUTTON | WS_TABSTOP};
    case ControlKind::Timer: return {WC_STATICW, 0};
    case ControlKind::MenuItem: return {WC_STATICW, 0};
    case ControlKind::Grid:
        return {WC_LISTVIEWW, LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP};
    case ControlKind::ReadOnlyText:
        return {WC_EDITW, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP};
    case ControlKind::Edit: return {WC_EDITW, ES_AUTOHSCROLL | WS_TABSTOP};
    case ControlKind::Icon: return {WC_STATICW, SS_ICON | SS_CENTERIMAGE};
    case ControlKind::ComboBox: return {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP};
    case ControlKind::PictureButton: return {WC_BUTTONW, BS_PUSHBUTTON | BS_BITMAP | WS_TABSTOP};
    case ControlKind::Sheet: return {Sheet::kClass, 0};
    case ControlKind::FlatPictureButton: return {WC_BUTTONW, BS_OWNERDRAW | WS_TABSTOP};
    }
    return {WC_STATICW, 0};
}

// Every button shares the class's procedure; it is what a picture button
// hands on to.
WNDPROC g_button_proc = nullptr;

// The main window's keyboard goes through IsDialogMessage, which takes Enter
// for the default button; a plain window has none, so Enter on a focused
// push button did nothing. A picture button asks for Enter itself and takes
// it as a press, as Space already is.
LRESULT CALLBACK picture_button_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_GETDLGCODE:
        if (const auto* key = reinterpret_cast<const MSG*>(lp);
            key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
            return CallWindowProcW(g_button_proc, hwnd, msg, wp, lp) | DLGC_WANTMESSAGE;
        break;
    case WM_KEYDOWN:
        if (wp == VK_RETURN) {
            SendMessageW(hwnd, BM_CLICK, 0, 0);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wp == L'\r') return 0;  // no beep for the Enter already taken
        break;
    }
    return CallWindowProcW(g_button_proc, hwnd, msg, wp, lp);
}

// Every edit shares the class's procedure; what a read-only text hands on to.
WNDPROC g_edit_proc = nullptr;

// A multi-line edit asks the dialog manager for every key, Tab and Esc among
// them, so Tab never left a text the user only reads: a trap for anyone on
// the keyboard. It wants only what reading needs: the arrows to scroll and
// the keys that select.
LRESULT CALLBACK read_only_text_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const LRESULT result = CallWindowProcW(g_edit_proc, hwnd, msg, wp, lp);
    if (msg == WM_GETDLGCODE) return result & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
    return result;
}

}  // namespace

void register_panel_class(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = panel_proc;
    wc.cbWndExtra = sizeof(LONG_PTR);  // the font
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kPanelClass;
    RegisterClassExW(&wc);
    Sheet::register_class(instance);
}

HWND Controls::create(HWND parent, const ControlDecl& decl, HFONT font) {
    const auto [cls, style] = class_for(decl.kind);
    // A static with an image takes its text for a resource name.
    const bool button_image = decl.kind == ControlKind::PictureButton || decl.kind == ControlKind::FlatPictureButton;
    const bool image = decl.kind == ControlKind::Picture || decl.kind == ControlKind::Icon || button_image;
    // A button shows its picture alone; its text is there for readers.
    const std::wstring caption = button_image ? to_utf16(decl.accessible_name) : image ? L"" : to_utf16(decl.caption);
    // Tab and mnemonic keys look for controls inside a panel only when it
    // says it holds controls.
    const DWORD ex_style = decl.kind == ControlKind::Panel  ? WS_EX_CONTROLPARENT
                           : decl.kind == ControlKind::Edit ? WS_EX_CLIENTEDGE
                                                            : 0;
    // Only a picture or icon that answers clicks says so: a reader takes a
    // notifying static for a control to work.
    const bool clickable_image = decl.kind == ControlKind::Icon || decl.kind == ControlKind::Picture;
    const DWORD notify = clickable_image && decl.on_click ? SS_NOTIFY : 0;
    // A timer is a hidden window that carries the timer and its name; so is
    // a menu item.
    const bool shown = decl.visible && decl.kind != ControlKind::Timer && decl.kind != ControlKind::MenuItem;
    const DWORD single = decl.kind == ControlKind::Grid && !decl.multi_select ? LVS_SINGLESEL : 0;
    // An editable combo box is a drop-down with an edit in place of the
    // static field; the height is that of the box with its list dropped.
    const DWORD own_style =
        decl.kind == ControlKind::ComboBox && decl.editable ? (style & ~CBS_DROPDOWNLIST) | CBS_DROPDOWN : style;
    // Declared at 96 DPI: the one place a declaration becomes pixels.
    const RECT at = px(RECT{decl.left, decl.top, decl.left + decl.width,
                            decl.top + decl.height + (decl.kind == ControlKind::ComboBox ? 200 : 0)});
    HWND hwnd = CreateWindowExW(ex_style, cls, caption.c_str(),
                                WS_CHILD | WS_CLIPSIBLINGS | own_style | single | notify | (shown ? WS_VISIBLE : 0), at.left,
                                at.top, at.right - at.left, at.bottom - at.top, parent, nullptr,
                                reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    if (!hwnd) return nullptr;
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (decl.kind == ControlKind::Picture || decl.kind == ControlKind::PictureButton) {
        const UINT set_image = decl.kind == ControlKind::Picture ? STM_SETIMAGE : BM_SETIMAGE;
        if (HBITMAP picture = bitmap(decl.caption))
            SendMessageW(hwnd, set_image, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
    }
    if (decl.kind == ControlKind::FlatPictureButton) SetPropW(hwnd, kFlatPictureProp, bitmap(decl.caption));
    if (decl.kind == ControlKind::PictureButton || decl.kind == ControlKind::FlatPictureButton) {
        const auto previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(picture_button_proc)));
        if (!g_button_proc) g_button_proc = previous;
    }
    if (decl.kind == ControlKind::ReadOnlyText) {
        const auto previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(read_only_text_proc)));
        if (!g_edit_proc) g_edit_proc = previous;
    }
    if (decl.kind == ControlKind::Edit) {
        if (decl.password_char) SendMessageW(hwnd, EM_SETPASSWORDCHAR, decl.password_char, 0);
        if (decl.max_length > 0) SendMessageW(hwnd, EM_LIMITTEXT, static_cast<WPARAM>(decl.max_length), 0);
    }
    if (decl.kind == ControlKind::Icon) {
        // Only the file's type counts: the file need not be there.
        SHFILEINFOW info{};
        const UINT size = decl.width < 32 ? SHGFI_SMALLICON : SHGFI_LARGEICON;
        SHGetFileInfoW(to_utf16(decl.caption).c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                       SHGFI_ICON | SHGFI_USEFILEATTRIBUTES | size);
        HICON icon = info.hIcon;
        if (icon)
            icons_.emplace_back(icon);
        else
            icon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
        SendMessageW(hwnd, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    }
    by_name_[decl.name] = hwnd;
    by_hwnd_[hwnd] = Entry{decl.name,     decl.kind,           decl.on_click, decl.interval_ms, false,
                           decl.shortcut, decl.clear_on_escape, decl.on_help};
    if (decl.kind == ControlKind::Grid) {
        SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
        auto view = std::make_unique<GridView>(hwnd);
        view->on_select = decl.on_click;
        grids_[hwnd] = std::move(view);
    }
    if (decl.kind == ControlKind::ComboBox) {
        for (const std::string& item : decl.items)
            SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(to_utf16(item).c_str()));
        SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(decl.selected), 0);
        // With nothing chosen an editable box still shows its caption.
        if (decl.selected < 0) SetWindowTextW(hwnd, caption.c_str());
    }
    if (decl.kind == ControlKind::Sheet) sheets_[hwnd] = std::make_unique<Sheet>(hwnd);
    if (decl.kind == ControlKind::Timer) {
        bind_window(hwnd, this);
        set_timer_running(hwnd, decl.visible);
    }
    return hwnd;
}

void Controls::add_to_sheet(HWND sheet_hwnd, const ControlDecl& decl, HFONT font, COLORREF colour) {
    Sheet& sheet = *sheets_.at(sheet_hwnd);
    SheetItem item;
    item.at = px(RECT{decl.left, decl.top, decl.left + decl.width, decl.top + decl.height});
    item.font = font;
    item.colour = colour;
    item.visible = decl.visible;
    item.frame = decl.kind == ControlKind::Panel;
    if (decl.kind == ControlKind::Picture)
        item.picture = bitmap(decl.caption);
    else
        item.text = to_utf16(decl.caption);
    on_sheet_[decl.name] = OnSheet{&sheet, sheet.add(std::move(item))};
}

std::optional<Controls::OnSheet> Controls::on_sheet(std::string_view name) const {
    auto it = on_sheet_.find(name);
    return it == on_sheet_.end() ? std::nullopt : std::optional<OnSheet>(it->second);
}

HBITMAP Controls::bitmap(const std::string& name) {
    auto cached = bitmaps_.find(name);
    if (cached == bitmaps_.end()) {
        unique_gdi loaded(LoadImageW(GetModuleHandleW(nullptr), to_utf16(name).c_str(), IMAGE_BITMAP, 0, 0,
                                     LR_CREATEDIBSECTION));
        // Drawn once at the screen's DPI, as large as the place made for it.
        if (loaded && screen_dpi() != ui::kBaseDpi)
            if (unique_gdi scaled = scaled_bitmap(static_cast<HBITMAP>(loaded.get()))) loaded = std::move(scaled);
        cached = bitmaps_.emplace(name, std::move(loaded)).first;
    }
    return static_cast<HBITMAP>(cached->second.get());
}

void CALLBACK Controls::timer_tick(HWND hwnd, UINT, UINT_PTR, DWORD) {
    const auto* self = bound_object<const Controls>(hwnd);
    if (!self) return;
    auto it = self->by_hwnd_.find(hwnd);
    if (it != self->by_hwnd_.end() && it->second.running && it->second.on_click) enter_handler(hwnd, it->second.on_click);
}

GridView* Controls::grid(std::string_view name) const {
    auto it = grids_.find(get(name));
    return it == grids_.end() ? nullptr : it->second.get();
}

bool Controls::notify(const NMHDR& header, LRESULT& result) const {
    auto it = grids_.find(header.hwndFrom);
    if (it == grids_.end()) return false;
    bool handled = true;
    enter_handler(header.hwndFrom, [&] { handled = it->second->notify(header, result); });
    return handled;
}

void Controls::set_popup_menu(HWND control, std::vector<HWND> items) {
    menus_[control] = std::move(items);
    if (auto it = grids_.find(control); it != grids_.end())
        it->second->on_context_menu = [this, control] { show_popup_menu(control); };
}

void Controls::show_popup_menu(HWND control, bool from_keyboard) const {
    auto menu_items = menus_.find(control);
    if (menu_items == menus_.end()) return;
    const std::vector<HWND>& items = menu_items->second;
    const unique_menu menu(CreatePopupMenu());
    if (!menu) return;
    for (std::size_t i = 0; i < items.size(); ++i) {
        wchar_t caption[128];
        const int length = GetWindowTextW(items[i], caption, 128);
        std::wstring text(caption, static_cast<std::size_t>(length));
        if (text == L"-") {
            AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        if (const char key = by_hwnd_.at(items[i]).shortcut)
            // TRANSLATORS: a menu entry's shortcut, {0} the key pressed with Ctrl, named as keyboards label it
            text += L"\t" + to_utf16(i18n::trf("Ctrl+{0}", std::string(1, key)));
        // Ids from 1: TrackPopupMenu says 0 when nothing was chosen.
        AppendMenuW(menu.get(), MF_STRING | (IsWindowEnabled(items[i]) ? 0 : MF_GRAYED), i + 1, text.c_str());
    }
    POINT at{};
    GetCursorPos(&at);
    if (from_keyboard && !grids_.count(control)) {
        RECT r{};
        GetWindowRect(control, &r);
        at = {r.left, r.bottom};
    } else if (from_keyboard) {
        // Below the left end of the focused row, or the grid's corner.
        RECT row{LVIR_BOUNDS, 0, 0, 0};
        const LRESULT item = SendMessageW(control, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
        if (item >= 0 && SendMessageW(control, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&row)))
            at = {row.left + 8, row.bottom};
        else
            at = {8, 8};
        ClientToScreen(control, &at);
    }
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                         at.x, at.y, 0, GetAncestor(control, GA_ROOT), nullptr));
    if (chosen == 0 || chosen > items.size()) return;
    // A copy: the handler may rebuild what the entry lives in.
    const std::function<void()> click = by_hwnd_.at(items[chosen - 1]).on_click;
    if (click) enter_handler(control, click);
}

bool Controls::context_menu(HWND from, LPARAM at) const {
    if (grids_.count(from)) return false;
    const bool from_keyboard = at == -1;
    HWND target = from;
    if (!menus_.count(target) && !from_keyboard) {
        // The system gives a disabled control's clicks to the window
        // beneath it; the control is still the one under the pointer.
        POINT pt{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
        ScreenToClient(from, &pt);
        target = ChildWindowFromPointEx(from, pt, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    }
    if (!target || !menus_.count(target)) return false;
    show_popup_menu(target, from_keyboard);
    return true;
}

bool Controls::right_click_on_disabled(HWND under, LPARAM hit) const {
    if (HIWORD(hit) != WM_RBUTTONDOWN || IsWindowEnabled(under) || !menus_.count(under)) return false;
    // Posted: the menu's own loop must not run inside the cursor's question.
    return PostMessageW(GetAncestor(under, GA_ROOT), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(under),
                        static_cast<LPARAM>(GetMessagePos()));
}

bool Controls::shortcut(const MSG& msg) const {
    const bool key_down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    const bool key_up = msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_F1) {
        auto control = by_hwnd_.find(msg.hwnd);
        if (control == by_hwnd_.end() || !control->second.on_help) return false;
        const std::function<void()> help = control->second.on_help;
        enter_handler(msg.hwnd, help);
        return true;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
        auto edit = by_hwnd_.find(msg.hwnd);
        if (edit == by_hwnd_.end() || !edit->second.clear_on_escape) return false;
        SetWindowTextW(msg.hwnd, L"");
        // Whether the edit tells of a text set by the program differs
        // between systems; the handler takes a second call for the same text.
        if (edit->second.on_click) {
            const std::function<void()> changed = edit->second.on_click;
            changed();
        }
        return true;
    }
    auto menu_items = menus_.find(msg.hwnd);
    if (menu_items == menus_.end()) return false;
    const bool menu_key = msg.wParam == VK_APPS || (msg.wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0);
    if (menu_key && key_down) {
        show_popup_menu(msg.hwnd, true);
        return true;
    }
    // Their releases too: the default handling would open the menu again
    // as a context menu, or the window menu for F10.
    if (menu_key && key_up) return true;
    if (msg.message != WM_KEYDOWN) return false;
    // Ctrl alone, as an accelerator with FCONTROL matches.
    if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_MENU) < 0) return false;
    for (HWND item : menu_items->second) {
        const Entry& entry = by_hwnd_.at(item);
        if (!entry.shortcut || msg.wParam != static_cast<WPARAM>(entry.shortcut)) continue;
        if (IsWindowEnabled(item) && entry.on_click) {
            const std::function<void()> click = entry.on_click;
            enter_handler(item, click);
        }
        return true;
    }
    return false;
}

bool Controls::is_timer(HWND hwnd) const {
    auto it = by_hwnd_.find(hwnd);
    return it != by_hwnd_.end() && it->second.kind == ControlKind::Timer;
}

void Controls::set_timer_running(HWND timer, bool running) {
    auto it = by_hwnd_.find(timer);
    if (it == by_hwnd_.end()) return;
    it->second.running = running;
    if (running)
        SetTimer(timer, 1, it->second.interval_ms, timer_tick);
    else
        KillTimer(timer, 1);
}

bool Controls::timer_running(HWND timer) const {
    auto it = by_hwnd_.find(timer);
    return it != by_hwnd_.end() && it->second.running;
}

HWND Controls::get(std::string_view name) const {
    auto it = by_name_.find(name);
    return it == by_name_.end() ? nullptr : it->second;
}

const std::string& Controls::name_of(HWND hwnd) const {
    static const std::string none;
    auto it = by_hwnd_.find(hwnd);
    return it == by_hwnd_.end() ? none : it->second.name;
}

bool Controls::command(HWND from, UINT code) const {
    auto it = by_hwnd_.find(from);
    if (it == by_hwnd_.end() || !it->second.on_click) return false;
    // A combo box says CBN_SELCHANGE when the user picks an item (never
    // when the program sets one), an edit EN_CHANGE for each change of its
    // text. Buttons say BN_CLICKED, notifying statics STN_CLICKED; both are 0.
    const UINT wanted = it->second.kind == ControlKind::ComboBox ? CBN_SELCHANGE
                        : it->second.kind == ControlKind::Edit   ? EN_CHANGE
                                                                 : BN_CLICKED;
    if (code != wanted && !(wanted == BN_CLICKED && code == STN_CLICKED)) return false;
    enter_handler(from, it->second.on_click);
    return true;
}

HCURSOR Controls::cursor(HWND hwnd) const {
    if (auto grid = grids_.find(hwnd); grid != grids_.end() && grid->second->busy())
        return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_APPSTARTING));
    if (auto it = cursors_.find(hwnd); it != cursors_.end()) return LoadCursorW(nullptr, it->second);
    return has_hand_cursor(hwnd) ? LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)) : nullptr;
}

void Controls::set_tooltip(HWND hwnd, const std::string& text) {
    HWND top = GetAncestor(hwnd, GA_ROOT);
    if (!tooltips_)
        tooltips_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, top, nullptr,
                                    reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(top, GWLP_HINSTANCE)), nullptr);
    if (!tooltips_) return;
    std::wstring wide = to_utf16(text);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    // The tooltip watches the control's own mouse messages.
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(hwnd);
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd);
    tool.lpszText = wide.data();
    SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

bool Controls::has_hand_cursor(HWND hwnd) const {
    auto it = by_hwnd_.find(hwnd);
    return it != by_hwnd_.end() && (it->second.kind == ControlKind::LinkText ||
                                    it->second.kind == ControlKind::PictureButton ||
                                    it->second.kind == ControlKind::FlatPictureButton ||
                                    (it->second.kind == ControlKind::Icon && it->second.on_click));
}

}  // namespace veltrano::ui::win32
