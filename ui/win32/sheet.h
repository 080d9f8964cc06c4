// Labels, pictures and group frames that one window draws: what takes no
// click needs no window of its own, and under Wine every window costs a
// start 1 to 3 ms. The
// page's logic still reaches each label by its name. A screen reader reads
// the items one by one through the sheet's accessible object
// (sheet_accessible.h); a program that asks for the window's text gets the
// shown labels' texts, a line each, made when asked.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace veltrano::ui::win32 {

struct SheetItem {
    std::wstring text;          // a label's
    RECT at;                    // within the sheet
    HFONT font = nullptr;
    COLORREF colour = RGB(0, 0, 0);
    HBITMAP picture = nullptr;  // a picture's, centred in `at`; null for a label
    bool frame = false;         // a group's etched frame around `at`, `text` its caption
    bool visible = true;
};

class Sheet {
public:
    explicit Sheet(HWND hwnd);
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;

    HWND hwnd() const { return hwnd_; }
    std::size_t add(SheetItem item);
    const SheetItem& item(std::size_t index) const { return items_.at(index); }
    std::size_t size() const { return items_.size(); }
    void set_text(std::size_t index, std::wstring text);
    void set_visible(std::size_t index, bool visible);
    // Whether the label's text fits its place in its font; a label made or
    // given a text that does not grows into the free room first.
    bool fits(std::size_t index) const;

    static void register_class(HINSTANCE instance);
    static constexpr wchar_t kClass[] = L"VeltranoSheet";

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void paint(HDC dc) const;
    // A change of the item at `where` shows at the next paint, however many
    // come before it.
    void changed(const RECT& where);
    SIZE needs(const SheetItem& item, LONG width) const;
    void make_room(std::size_t index);
    // The shown labels' texts, a line each.
    std::wstring text() const;

    HWND hwnd_;
    std::vector<SheetItem> items_;
    bool painted_ = false;
};

}  // namespace veltrano::ui::win32
