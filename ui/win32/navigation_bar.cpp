#include "ui/win32/navigation_bar.h"

#include "platform/win32/text.h"
#include "ui/win32/controls.h"
#include "ui/win32/gdi.h"

namespace veltrano::shell::win32 {

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
    hwnd_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_CUSTOMERASE |
                                CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER,
                            left, top, kEntryWidth * static_cast<int>(entries.size()), kEntryHeight, parent, nullptr,
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
    SendMessageW(hwnd_, TB_SETBUTTONSIZE, 0, MAKELPARAM(kEntryWidth, kEntryHeight));
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
        FillRect(draw.nmcd.hdc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        result = CDRF_SKIPDEFAULT;
        return true;
    }
    case CDDS_PREPAINT:
        result = CDRF_NOTIFYITEMDRAW;
        return true;
    case CDDS_ITEMPREPAINT: {
        const std::size_t entry = draw.nmcd.dwItemSpec - first_command_;
        if (entry < captions_.size()) draw_entry(draw.nmcd.hdc, draw.nmcd.rc, entry);
        result = CDRF_SKIPDEFAULT;
        return true;
    }
    default:
        result = CDRF_DODEFAULT;
        return true;
    }
}

// The caption on a line of its own at the top, centred, in the colour of
// the other clickable texts; the picture centred in the rest.
void NavigationBar::draw_entry(HDC dc, const RECT& r, std::size_t entry) const {
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HGDIOBJ old_font = SelectObject(dc, font_);
    SetTextColor(dc, kLinkColour);
    SetBkMode(dc, TRANSPARENT);
    RECT line{r.left, r.top, r.right, r.top + kCaptionHeight};
    const std::wstring& caption = captions_[entry];
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &line,
              DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old_font);
    draw_centred(dc, pictures_[entry], {r.left, r.top + kCaptionHeight + kGap, r.right, r.bottom});
}

}  // namespace veltrano::shell::win32
