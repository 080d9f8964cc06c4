// The window at Windows' larger font sizes: started at 96, 120 and 144 DPI,
// the main window is 1.25 and 1.5 times its 96-DPI size, and on every page
// each caption fits its control. Wine reads the DPI from LogPixels under
// HKCU\Control Panel\Desktop and, where that has none, under the current
// hardware profile's Software\Fonts (probed: either alone gives a new
// process that DPI); both are set, before the start, and put back after.
#include "veltrano_session.h"

#include <cstdio>
#include <cwchar>
#include <iterator>
#include <optional>
#include <string>

namespace veltrano::e2e {
namespace {

using namespace veltrano::driver;

struct LogPixels {
    HKEY root;
    const wchar_t* key;
};
const LogPixels kLogPixels[] = {
    {HKEY_CURRENT_USER, L"Control Panel\\Desktop"},
    {HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts"},
};

// The main window's client area at 96 DPI.
constexpr int kClientWidth = 614, kClientHeight = 584;

// Every page's navigation entry; Exit would end the run.
constexpr const wchar_t* kPages[] = {L"Main",  L"Network",  L"Power",   L"System", L"Customize",
                                     L"Undo ", L"RegClean", L"Process", L"Admin"};

class DpiFit : public VeltranoSession, public ::testing::WithParamInterface<int> {
protected:
    void seed_machine() override {
        for (std::size_t i = 0; i < std::size(kLogPixels); ++i) {
            before_[i] = read_dword(kLogPixels[i].root, kLogPixels[i].key, L"LogPixels");
            ASSERT_TRUE(write_dword(kLogPixels[i].root, kLogPixels[i].key, L"LogPixels", static_cast<DWORD>(GetParam())));
        }
        seeded_ = true;
    }
    // The next test's program starts at the DPI there was before.
    void TearDown() override {
        VeltranoSession::TearDown();
        if (!seeded_) return;
        for (std::size_t i = 0; i < std::size(kLogPixels); ++i) {
            if (before_[i])
                EXPECT_TRUE(write_dword(kLogPixels[i].root, kLogPixels[i].key, L"LogPixels", *before_[i]));
            else
                EXPECT_TRUE(delete_value(kLogPixels[i].root, kLogPixels[i].key, L"LogPixels"));
        }
    }

    // The font every static of the program draws in: MS Sans Serif 8 pt
    // at the DPI the program started at. Another process's font cannot be
    // read back (GetObject knows only this process's fonts), so this is
    // what the issue asks of the program's font; the window's size above
    // shows that the program grew with it.
    HFONT program_font() const {
        return CreateFontW(-MulDiv(8, GetParam(), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                           L"MS Sans Serif");
    }

    // Each visible caption of a button, check box, radio button or text on
    // the screen now against the control it stands in; the cut ones, one a
    // line. `checked` counts those measured.
    std::string cut_captions(int& checked) const {
        std::string cut;
        for (const ControlInfo& c : visible_children(main_window())) {
            if (c.text.empty()) continue;
            RECT client{};
            GetClientRect(c.hwnd, &client);
            // A label of no size shows nothing: it only names the control
            // after it for a screen reader.
            if (client.right == 0 && client.bottom == 0) continue;
            const LONG style = GetWindowLongW(c.hwnd, GWL_STYLE);
            const std::string what = to_utf8(c.class_name) + " \"" + to_utf8(c.text) + "\"";
            if (_wcsicmp(c.class_name.c_str(), L"Button") == 0) {
                const LONG type = style & BS_TYPEMASK;
                if (type == BS_GROUPBOX || (style & (BS_BITMAP | BS_ICON))) continue;
                const std::optional<SIZE> needed = ideal_size(c.hwnd);
                if (!needed) {
                    cut += what + ": says no size\n";
                    continue;
                }
                ++checked;
                if (needed->cx > client.right || needed->cy > client.bottom)
                    cut += what + ": needs " + std::to_string(needed->cx) + "x" + std::to_string(needed->cy) +
                           ", has " + std::to_string(client.right) + "x" + std::to_string(client.bottom) + "\n";
            } else if (_wcsicmp(c.class_name.c_str(), L"Static") == 0) {
                const LONG type = style & SS_TYPEMASK;
                if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT) continue;
                HFONT font = program_font();
                if (!font) {
                    cut += what + ": no font to measure with\n";
                    continue;
                }
                ++checked;
                HDC dc = GetDC(nullptr);
                HGDIOBJ old = SelectObject(dc, font);
                // Wrapped at words as the static wraps it: all its lines in
                // its height, no word wider than it.
                RECT needed{0, 0, client.right, 0};
                DrawTextW(dc, c.text.c_str(), static_cast<int>(c.text.size()), &needed,
                          DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
                SelectObject(dc, old);
                ReleaseDC(nullptr, dc);
                DeleteObject(font);
                if (needed.right > client.right || needed.bottom > client.bottom)
                    cut += what + ": needs " + std::to_string(needed.right) + "x" + std::to_string(needed.bottom) +
                           ", has " + std::to_string(client.right) + "x" + std::to_string(client.bottom) + "\n";
            }
        }
        return cut;
    }

    // The page in view: the one panel straight on the main window.
    HWND page_in_view() const {
        for (const ControlInfo& c : visible_children(main_window()))
            if (c.depth == 1 && c.class_name == L"VeltranoPanel") return c.hwnd;
        return nullptr;
    }

private:
    std::optional<DWORD> before_[std::size(kLogPixels)];
    bool seeded_ = false;
};

TEST_P(DpiFit, TheWindowGrowsWithTheDpiAndEveryCaptionFits) {
    const double factor = GetParam() / 96.0;
    RECT client{};
    ASSERT_TRUE(GetClientRect(main_window(), &client));
    std::printf("client area at %d DPI: %ldx%ld\n", GetParam(), client.right, client.bottom);
    EXPECT_NEAR(client.right, kClientWidth * factor, 2.0);
    EXPECT_NEAR(client.bottom, kClientHeight * factor, 2.0);
    for (const wchar_t* page : kPages) {
        SCOPED_TRACE(to_utf8(page));
        // The first page is in view from the start.
        if (page != kPages[0]) {
            HWND before = page_in_view();
            click_caption(page);
            ASSERT_TRUE(wait_until([&] { return page_in_view() && page_in_view() != before; }))
                << "the page did not change";
        }
        settle();
        int checked = 0;
        EXPECT_EQ(cut_captions(checked), "");
        EXPECT_GT(checked, 0);
        std::printf("%s: %d captions measured\n", to_utf8(page).c_str(), checked);
    }
}

INSTANTIATE_TEST_SUITE_P(Dpi, DpiFit, ::testing::Values(96, 120, 144),
                         [](const ::testing::TestParamInfo<int>& info) { return std::to_string(info.param); });

}  // namespace
}  // namespace veltrano::e2e
