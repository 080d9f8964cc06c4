#include "ui/win32/sheet.h"

#include "i18n/translate.h"

#include "ui/win32/sheet_accessible.h"
#include "ui/win32/window_binding.h"

#include "ui/win32/gdi.h"
#include "ui/win32/palette.h"

#include <algorithm>

namespace veltrano::ui::win32 {

Sheet::Sheet(HWND hwnd) : hwnd_(hwnd) { bind_window(hwnd, this); }

std::size_t Sheet::add(SheetItem item) {
    items_.push_back(std::move(item));
    // The English labels were placed for their texts: only a translation
    // is measured at start, which costs a round trip each under Wine.
    if (i18n::language_in_use().code != i18n::english().code) make_room(items_.size() - 1);
    changed(items_.back().at);
    return items_.size() - 1;
}

void Sheet::set_text(std::size_t index, std::wstring text) {
    SheetItem& item = items_.at(index);
    if (item.text == text) return;
    item.text = std::move(text);
    const RECT before = item.at;
    make_room(index);
    changed(before);
    changed(item.at);
}

namespace {

bool overlaps(LONG a1, LONG a2, LONG b1, LONG b2) { return a1 < b2 && b1 < a2; }

bool inside(const RECT& inner, const RECT& outer) {
    return outer.left <= inner.left && inner.right <= outer.right && outer.top <= inner.top && inner.bottom <= outer.bottom;
}

}  // namespace

SIZE Sheet::needs(const SheetItem& item, LONG width) const {
    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = SelectObject(dc, item.font);
    RECT r{0, 0, width, 0};
    const UINT lines = item.frame || width == 0 ? DT_SINGLELINE : DT_WORDBREAK;
    DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &r, DT_CALCRECT | DT_EXPANDTABS | DT_NOPREFIX | lines);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    return {r.right, r.bottom};
}

bool Sheet::fits(std::size_t index) const {
    const SheetItem& item = items_.at(index);
    if (item.picture || item.text.empty()) return true;
    const LONG width = item.at.right - item.at.left, height = item.at.bottom - item.at.top;
    if (width <= 0 || height <= 0) return true;  // a name for a screen reader only
    // A frame's caption stands on its top edge, between its corners.
    if (item.frame) return needs(item, 0).cx <= width - 16;
    const SIZE wanted = needs(item, width);
    return wanted.cx <= width && wanted.cy <= height;
}

// A label laid out for its English text may be given a longer one: it grows
// right into the free room on its row, then down into the room below it,
// as a control's caption does (fit_captions.h). A label that fits stays.
void Sheet::make_room(std::size_t index) {
    if (items_.at(index).frame || fits(index)) return;
    SheetItem& item = items_[index];
    RECT client{};
    GetClientRect(hwnd_, &client);
    LONG right = client.right - 4, bottom = client.bottom - 2;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const SheetItem& other = items_[i];
        if (i == index || !other.visible) continue;
        const RECT& o = other.at;
        if (other.frame && inside(item.at, o)) {
            right = std::min(right, o.right - 6);
            bottom = std::min(bottom, o.bottom - 4);
        } else if (overlaps(item.at.top, item.at.bottom, o.top, o.bottom) && o.left >= item.at.right - 1) {
            right = std::min(right, o.left - 4);
        }
    }
    const LONG one_line = item.at.left + needs(item, 0).cx;
    item.at.right = std::max(item.at.right, std::min(one_line, right));
    const LONG wrapped = item.at.top + needs(item, item.at.right - item.at.left).cy;
    if (wrapped <= item.at.bottom) return;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const SheetItem& other = items_[i];
        if (i == index || !other.visible || (other.frame && inside(item.at, other.at))) continue;
        if (overlaps(item.at.left, item.at.right, other.at.left, other.at.right) && other.at.top >= item.at.bottom - 1)
            bottom = std::min(bottom, other.at.top - 1);
    }
    item.at.bottom = std::max(item.at.bottom, std::min(wrapped, bottom));
}

void Sheet::set_visible(std::size_t index, bool visible) {
    SheetItem& item = items_.at(index);
    if (item.visible == visible) return;
    item.visible = visible;
    changed(item.at);
}

void Sheet::changed(const RECT& where) {
    // Before its first paint the whole sheet waits to be painted.
    if (!painted_) return;
    // Only the item's place: the memory figures change every second on a
    // sheet that holds the whole page.
    InvalidateRect(hwnd_, &where, TRUE);
}

// Never stored as the window's text: a stored text that changed with the
// memory figures every second told every screen reader of a new name.
std::wstring Sheet::text() const {
    std::wstring lines;
    for (const SheetItem& item : items_) {
        if (item.picture || !item.visible) continue;
        if (!lines.empty()) lines += L"\r\n";
        lines += item.text;
    }
    return lines;
}

// Each label as a static draws it: left-aligned, words wrapped, clipped to
// its own place; an ampersand is a character.
void Sheet::paint(HDC dc) const {
    SetBkMode(dc, TRANSPARENT);
    for (const SheetItem& item : items_) {
        if (!item.visible) continue;
        if (item.picture) {
            draw_centred(dc, item.picture, item.at);
            continue;
        }
        const int saved = SaveDC(dc);
        if (item.frame) {
            SelectObject(dc, item.font);
            SetTextColor(dc, palette().text(item.colour));
            draw_group_frame(dc, item.at, item.text.c_str(), static_cast<int>(item.text.size()));
            RestoreDC(dc, saved);
            continue;
        }
        IntersectClipRect(dc, item.at.left, item.at.top, item.at.right, item.at.bottom);
        SelectObject(dc, item.font);
        SetTextColor(dc, palette().text(item.colour));
        RECT at = item.at;
        DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &at,
                  DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
        RestoreDC(dc, saved);
    }
}

LRESULT CALLBACK Sheet::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* sheet = bound_object<Sheet>(hwnd);
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (sheet) {
            sheet->painted_ = true;
            sheet->paint(dc);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (sheet && msg == WM_GETTEXTLENGTH) return static_cast<LRESULT>(sheet->text().size());
    if (sheet && msg == WM_GETTEXT) {
        if (wp == 0 || !lp) return 0;
        const std::wstring text = sheet->text();
        const std::size_t copied = std::min<std::size_t>(text.size(), wp - 1);
        auto* out = reinterpret_cast<wchar_t*>(lp);
        text.copy(out, copied);
        out[copied] = L'\0';
        return static_cast<LRESULT>(copied);
    }
    if (sheet && msg == WM_GETOBJECT && static_cast<LONG>(lp) == static_cast<LONG>(OBJID_CLIENT)) {
        if (const LRESULT object = answer_sheet_object(hwnd, wp)) return object;
    }
    if (msg == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, ground_brush());
        return 1;
    }
    // The sheet holds nothing to click, but "what is under the pointer"
    // must find it rather than the page beneath.
    if (msg == WM_NCHITTEST) return HTCLIENT;
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void Sheet::register_class(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kClass;
    RegisterClassExW(&wc);
}

}  // namespace veltrano::ui::win32
