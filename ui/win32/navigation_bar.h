// The navigation bar: an entry for each page in their order, then Exit,
// side by side, each its caption above its picture. One toolbar draws them
// all, where a window each cost the start about 1.5 ms under Wine; its
// buttons carry the captions, so whoever reads the screen finds them there.
// A click on an entry reaches the parent as WM_COMMAND with its command. The
// bar is a Tab stop: the arrows move between its entries, Enter or Space
// opens one; the entry of the page in view is shown pressed (checked, as a
// screen reader says it).
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

namespace veltrano::ui::win32 {

struct NavigationEntry {
    std::string caption;
    HBITMAP picture;  // the caller's, kept for as long as the bar
};

class NavigationBar {
public:
    static constexpr int kEntryWidth = 60, kEntryHeight = 64;

    // Entry i answers with command first_command + i. The bar's top left
    // corner is at `left`, `top` of the parent; these and the entries' size
    // are at 96 DPI, and grow with the screen's.
    void create(HWND parent, int left, int top, const std::vector<NavigationEntry>& entries, HFONT font,
                WORD first_command);
    HWND hwnd() const { return hwnd_; }
    // The entry a WM_COMMAND from the bar names; none for another sender.
    std::optional<std::size_t> entry_of(WPARAM wp, LPARAM lp) const;
    // Draws the bar; true when the notification was its own.
    bool notify(const NMHDR& header, LRESULT& result) const;
    // The entry shown pressed: the page in view.
    void set_current(std::size_t entry);

private:
    static LRESULT CALLBACK keyboard_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    bool answer_key(WPARAM key);
    void draw_entry(HDC dc, const RECT& r, std::size_t entry, UINT state) const;

    HWND hwnd_ = nullptr;
    WORD first_command_ = 0;
    std::vector<std::wstring> captions_;
    std::vector<HBITMAP> pictures_;
    HFONT font_ = nullptr;
    std::size_t current_ = 0;
    WNDPROC toolbar_proc_ = nullptr;
};

}  // namespace veltrano::ui::win32
