#include "ui/win32/sheet.h"

#include "ui/win32/sheet_accessible.h"
#include "ui/win32/window_binding.h"

#include "ui/win32/gdi.h"
#include "ui/win32/palette.h"

#include <algorithm>

namespace veltrano::shell::win32 {

Sheet::Sheet(HWND hwnd) : hwnd_(hwnd) { bind_window(hwnd, this); }

std::size_t Sheet::add(SheetItem item) {
    items_.push_back(std::move(item));
    changed(items_.back().at);
    return items_.size() - 1;
}

void Sheet::set_text(std::size_t index, std::wstring text) {
    SheetItem& item = items_.at(index);
    if (item.text == text) return;
    item.text = std::move(text);
    changed(item.at);
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

}  // namespace veltrano::shell::win32
