#include "ui/win32/fit_captions.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace veltrano::ui::win32 {
namespace {

constexpr int kGap = 4;          // between a grown control and its neighbour
constexpr int kFrameInset = 6;   // from a frame's inner edge

enum class Kind { None, PushButton, Box, Text };

Kind kind_of(HWND control) {
    wchar_t cls[32] = {};
    GetClassNameW(control, cls, 32);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (lstrcmpiW(cls, WC_BUTTONW) == 0) {
        if (style & (BS_BITMAP | BS_ICON)) return Kind::None;
        switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON: return Kind::PushButton;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
        case BS_3STATE:
        case BS_AUTO3STATE: return Kind::Box;
        default: return Kind::None;
        }
    }
    if (lstrcmpiW(cls, WC_STATICW) == 0) {
        const LONG type = style & SS_TYPEMASK;
        if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) return Kind::Text;
    }
    return Kind::None;
}

bool is_frame(HWND control) {
    wchar_t cls[32] = {};
    GetClassNameW(control, cls, 32);
    return lstrcmpiW(cls, WC_BUTTONW) == 0 && (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

std::wstring text_of(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The text drawn in the control's font: wrapped at `width` (0: on one line).
SIZE text_extent(HWND control, const std::wstring& text, int width, UINT extra_format = 0) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT r{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_EXPANDTABS | extra_format | (width > 0 ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {r.right, r.bottom};
}

// A check box's or radio button's glyph and the gap after it: what the
// control's width holds besides its text.
int box_glyph_width(HWND control) {
    SIZE ideal{};
    const std::wstring text = text_of(control);
    if (!SendMessageW(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal))) return 20;
    return std::max<LONG>(ideal.cx - text_extent(control, text, 0, 0).cx, 0);
}

RECT rect_in_parent(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool overlaps(LONG a1, LONG a2, LONG b1, LONG b2) { return a1 < b2 && b1 < a2; }

struct Room {
    LONG right, bottom;
};

// How far the control may grow right and down without covering another
// control or leaving the frame it stands in or its container.
Room free_room(HWND control, const RECT& at, const std::vector<HWND>& siblings) {
    RECT container{};
    GetClientRect(GetParent(control), &container);
    Room room{container.right - kGap, container.bottom - kGap};
    for (HWND other : siblings) {
        if (other == control || !(GetWindowLongW(other, GWL_STYLE) & WS_VISIBLE)) continue;
        const RECT o = rect_in_parent(other);
        if (o.right <= o.left || o.bottom <= o.top) continue;
        if (is_frame(other) && o.left <= at.left && at.right <= o.right && o.top <= at.top && at.bottom <= o.bottom) {
            room.right = std::min(room.right, o.right - kFrameInset);
            room.bottom = std::min(room.bottom, o.bottom - kFrameInset);
            continue;
        }
        if (overlaps(at.top, at.bottom, o.top, o.bottom) && o.left >= at.right - 1)
            room.right = std::min(room.right, o.left - kGap);
    }
    return room;
}

LONG room_below(HWND control, const RECT& at, LONG bottom, const std::vector<HWND>& siblings) {
    for (HWND other : siblings) {
        if (other == control || !(GetWindowLongW(other, GWL_STYLE) & WS_VISIBLE)) continue;
        const RECT o = rect_in_parent(other);
        if (is_frame(other) && o.left <= at.left && at.right <= o.right && o.top <= at.top) continue;
        if (overlaps(at.left, at.right, o.left, o.right) && o.top >= at.bottom - 1) bottom = std::min(bottom, o.top - kGap / 2);
    }
    return bottom;
}

// A label names the edit or list right after it: where the label needs
// more room on its line, the edit gives it up from its own width, as long as
// it keeps most of it.
void make_room_beside(HWND label, const RECT& at, LONG wanted_right) {
    HWND named = GetWindow(label, GW_HWNDNEXT);
    if (!named) return;
    wchar_t cls[32] = {};
    GetClassNameW(named, cls, 32);
    if (lstrcmpiW(cls, WC_EDITW) != 0 && lstrcmpiW(cls, WC_COMBOBOXW) != 0) return;
    const RECT box = rect_in_parent(named);
    if (!overlaps(at.top, at.bottom, box.top, box.bottom) || box.left < at.right - 1) return;
    const LONG shift = std::min<LONG>(wanted_right + kGap - box.left, (box.right - box.left) / 3);
    if (shift <= 0) return;
    SetWindowPos(named, nullptr, box.left + shift, box.top, box.right - box.left - shift, box.bottom - box.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void fit_one(HWND control, Kind kind, const std::vector<HWND>& siblings) {
    RECT client{};
    GetClientRect(control, &client);
    if (client.right == 0 && client.bottom == 0) return;  // a name for a reader only
    const std::optional<SIZE> needs = caption_needs(control);
    if (!needs || (needs->cx <= client.right && needs->cy <= client.bottom)) return;

    const RECT at = rect_in_parent(control);
    if (kind == Kind::Text) make_room_beside(control, at, at.left + text_extent(control, text_of(control), 0).cx);
    const Room room = free_room(control, at, siblings);
    const std::wstring text = text_of(control);
    const int extra = (at.right - at.left) - client.right;  // borders
    const int inset = kind == Kind::Box ? box_glyph_width(control) : 0;
    // Wider first: one line, as far as the room allows.
    const LONG one_line = kind == Kind::PushButton ? needs->cx : text_extent(control, text, 0).cx + inset;
    LONG width = std::clamp<LONG>(one_line, client.right, std::max<LONG>(room.right - at.left - extra, client.right));
    LONG height = client.bottom;
    if (kind != Kind::PushButton) {
        // Then taller, wrapped at that width, into the room below.
        const LONG wrapped = text_extent(control, text, width - inset).cy;
        if (wrapped > height) {
            const LONG bottom = room_below(control, at, room.bottom, siblings);
            height = std::min<LONG>(wrapped, std::max<LONG>(bottom - at.top - extra, height));
            if (kind == Kind::Box && height > client.bottom)
                SetWindowLongW(control, GWL_STYLE, GetWindowLongW(control, GWL_STYLE) | BS_MULTILINE);
        }
    }
    if (width == client.right && height == client.bottom) return;
    SetWindowPos(control, nullptr, 0, 0, width + extra, height + extra, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

std::optional<SIZE> caption_needs(HWND control) {
    const Kind kind = kind_of(control);
    if (kind == Kind::None) return std::nullopt;
    const std::wstring text = text_of(control);
    if (text.empty()) return std::nullopt;
    RECT client{};
    GetClientRect(control, &client);
    if (kind == Kind::Text) {
        const LONG style = GetWindowLongW(control, GWL_STYLE);
        SIZE wrapped = text_extent(control, text, client.right, (style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
        return wrapped;
    }
    SIZE ideal{};
    if (!SendMessageW(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal))) return std::nullopt;
    if (kind == Kind::Box && (GetWindowLongW(control, GWL_STYLE) & BS_MULTILINE)) {
        // A box that wraps needs its text's lines at its width.
        const int inset = box_glyph_width(control);
        ideal = {client.right, text_extent(control, text, client.right - inset).cy};
    }
    return ideal;
}

namespace {

std::vector<HWND> children_of(HWND container) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(container, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

}  // namespace

void fit_captions(HWND container) {
    const std::vector<HWND> children = children_of(container);
    for (HWND child : children) {
        if (const Kind kind = kind_of(child); kind != Kind::None) fit_one(child, kind, children);
        // A panel within the page (a sub-page) holds controls of its own.
        else if (GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) fit_captions(child);
    }
}

void fit_caption(HWND control) {
    if (const Kind kind = kind_of(control); kind != Kind::None) fit_one(control, kind, children_of(GetParent(control)));
}

}  // namespace veltrano::ui::win32
