#include "ui/win32/navigation_bar.h"

#include "i18n/translate.h"
#include "platform/win32/text.h"
#include "ui/win32/controls.h"
#include "ui/win32/dpi.h"
#include "ui/win32/palette.h"
#include "ui/win32/gdi.h"
#include "ui/win32/window_binding.h"

namespace veltrano::ui::win32 {

namespace {

// The caption's line at the top, and the space between it and the picture.
constexpr int kCaptionHeight = 14, kGap = 2;

}  // namespace

void NavigationBar::create(HWND parent, int left, int top, const std::vector<NavigationEntry>& entries, HFONT font,
                           WORD first_command) {
    first_command_ = first_command;
    font_ = font;
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    for (const NavigationEntry& entry : entries) {
        captions_.push_back(platform::win32::to_utf16(entry.caption));
        pictures_.push_back(entry.picture);
    }
    // Flat, no tooltips (a window more), no divider, placed where we say;
    // the background is ours to paint.
    // TRANSLATORS: what a screen reader calls the bar of page pictures on the left of the window
    const std::wstring name = platform::win32::to_utf16(i18n::tr("Navigation"));
    hwnd_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, name.c_str(),
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | TBSTYLE_FLAT | TBSTYLE_CUSTOMERASE |
                                CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER,
                            px(left), px(top), px(kEntryWidth * static_cast<int>(entries.size())), px(kEntryHeight),
                            parent, nullptr,
                            instance, nullptr);
    if (!hwnd_) return;
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(hwnd_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(hwnd_, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    std::vector<TBBUTTON> buttons(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        buttons[i].iBitmap = I_IMAGENONE;
        buttons[i].idCommand = first_command + static_cast<int>(i);
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_BUTTON;
        buttons[i].iString = reinterpret_cast<INT_PTR>(captions_[i].c_str());
    }
    SendMessageW(hwnd_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageW(hwnd_, TB_SETBUTTONSIZE, 0, MAKELPARAM(px(kEntryWidth), px(kEntryHeight)));
    // Subclassed the XP way: SetWindowSubclass is no named export there.
    bind_window(hwnd_, this);
    toolbar_proc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(keyboard_proc)));
}

void NavigationBar::set_current(std::size_t entry) {
    current_ = entry;
    for (std::size_t i = 0; i < captions_.size(); ++i)
        SendMessageW(hwnd_, TB_SETSTATE, first_command_ + i,
                     MAKELPARAM(TBSTATE_ENABLED | (i == entry ? TBSTATE_CHECKED : 0), 0));
}

// The toolbar of comctl32 takes no keys of its own worth having here, and
// the dialog manager would take the arrows and Enter for itself: the bar
// asks for them and answers them.
LRESULT CALLBACK NavigationBar::keyboard_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = bound_object<NavigationBar>(hwnd);
    if (!self || !self->toolbar_proc_) return DefWindowProcW(hwnd, msg, wp, lp);
    switch (msg) {
    case WM_GETDLGCODE:
        if (const auto* key = reinterpret_cast<const MSG*>(lp);
            key && key->message == WM_KEYDOWN && (key->wParam == VK_RETURN || key->wParam == VK_SPACE))
            return DLGC_WANTARROWS | DLGC_WANTMESSAGE;
        return DLGC_WANTARROWS;
    case WM_KEYDOWN:
        if (self->answer_key(wp)) return 0;
        break;
    case WM_CHAR:
        if (wp == L'\r' || wp == L' ') return 0;  // taken as a key already
        break;
    case WM_SETFOCUS:
        SendMessageW(hwnd, TB_SETHOTITEM, self->current_, 0);
        break;
    case WM_KILLFOCUS:
        SendMessageW(hwnd, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
        break;
    }
    return CallWindowProcW(self->toolbar_proc_, hwnd, msg, wp, lp);
}

bool NavigationBar::answer_key(WPARAM key) {
    const auto count = static_cast<LRESULT>(captions_.size());
    LRESULT hot = SendMessageW(hwnd_, TB_GETHOTITEM, 0, 0);
    if (hot < 0 || hot >= count) hot = static_cast<LRESULT>(current_);
    switch (key) {
    case VK_LEFT:
    case VK_UP: hot = (hot + count - 1) % count; break;
    case VK_RIGHT:
    case VK_DOWN: hot = (hot + 1) % count; break;
    case VK_HOME: hot = 0; break;
    case VK_END: hot = count - 1; break;
    case VK_RETURN:
    case VK_SPACE:
        PostMessageW(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(first_command_ + hot, BN_CLICKED),
                     reinterpret_cast<LPARAM>(hwnd_));
        return true;
    default: return false;
    }
    SendMessageW(hwnd_, TB_SETHOTITEM, static_cast<WPARAM>(hot), 0);
    return true;
}

std::optional<std::size_t> NavigationBar::entry_of(WPARAM wp, LPARAM lp) const {
    if (!hwnd_ || reinterpret_cast<HWND>(lp) != hwnd_) return std::nullopt;
    const WORD command = LOWORD(wp);
    if (command < first_command_ || command >= first_command_ + captions_.size()) return std::nullopt;
    return command - first_command_;
}

bool NavigationBar::notify(const NMHDR& header, LRESULT& result) const {
    if (!hwnd_ || header.hwndFrom != hwnd_ || header.code != NM_CUSTOMDRAW) return false;
    const auto& draw = reinterpret_cast<const NMTBCUSTOMDRAW&>(header);
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREERASE: {
        RECT r;
        GetClientRect(hwnd_, &r);
        FillRect(draw.nmcd.hdc, &r, ground_brush());
        result = CDRF_SKIPDEFAULT;
        return true;
    }
    case CDDS_PREPAINT:
        result = CDRF_NOTIFYITEMDRAW;
        return true;
    case CDDS_ITEMPREPAINT: {
        const std::size_t entry = draw.nmcd.dwItemSpec - first_command_;
        if (entry < captions_.size()) draw_entry(draw.nmcd.hdc, draw.nmcd.rc, entry, draw.nmcd.uItemState);
        result = CDRF_SKIPDEFAULT;
        return true;
    }
    default:
        result = CDRF_DODEFAULT;
        return true;
    }
}

// The caption on a line of its own at the top, centred, in the colour of
// the other clickable texts; the picture centred in the rest. The page in
// view sits on a sunken ground; the entry the keyboard is on has the focus
// rectangle while the bar has the focus.
void NavigationBar::draw_entry(HDC dc, const RECT& r, std::size_t entry, UINT state) const {
    const ui::Palette& colours = palette();
    FillRect(dc, &r, ground_brush());
    const bool current = (state & CDIS_CHECKED) != 0;
    if (current) {
        const unique_gdi ground(CreateSolidBrush(colours.current_entry_ground()));
        FillRect(dc, &r, static_cast<HBRUSH>(ground.get()));
        RECT edge = r;
        DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
    }
    HGDIOBJ old_font = SelectObject(dc, font_);
    SetTextColor(dc, current ? colours.current_entry_text() : colours.link());
    SetBkMode(dc, TRANSPARENT);
    RECT line{r.left, r.top, r.right, r.top + px(kCaptionHeight)};
    const std::wstring& caption = captions_[entry];
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &line,
              DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old_font);
    draw_centred(dc, pictures_[entry], {r.left, r.top + px(kCaptionHeight + kGap), r.right, r.bottom});
    if ((state & CDIS_HOT) && GetFocus() == hwnd_) {
        RECT focus = r;
        InflateRect(&focus, -px(2), -px(2));
        DrawFocusRect(dc, &focus);
    }
}

}  // namespace veltrano::ui::win32
