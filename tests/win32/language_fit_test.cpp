// Every page in every language: each caption fits its control in the
// control's own font, each character has a glyph in that font (no boxes),
// and no two controls of a page share an underlined letter.
#include "i18n/languages.h"
#include "i18n/translate.h"
#include "platform/win32/text.h"
#include "shell/page_table.h"
#include "shell/win32/main_window.h"
#include "shell/win32/window_classes.h"
#include "support/form_fixture.h"
#include "ui/win32/fit_captions.h"
#include "ui/win32/sheet.h"
#include "ui/win32/window_binding.h"

#include <commctrl.h>

#include <cwctype>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace veltrano {
namespace {

using platform::win32::to_utf8;

i18n::Catalogue catalogue_of(const i18n::Language& language) {
    if (language.code == "en") return {};
    std::string name(language.code);
    if (const auto dash = name.find('-'); dash != std::string::npos) name[dash] = '_';
    std::ifstream in(std::string(VELTRANO_CATALOGUE_DIR) + "/" + name + ".mo", std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return i18n::Catalogue::from_mo(bytes);
}

std::wstring text_of(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring class_of(HWND control) {
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    return name;
}

BOOL CALLBACK collect(HWND child, LPARAM all) {
    reinterpret_cast<std::vector<HWND>*>(all)->push_back(child);
    return TRUE;
}

std::vector<HWND> descendants(HWND parent) {
    std::vector<HWND> all;
    EnumChildWindows(parent, collect, reinterpret_cast<LPARAM>(&all));
    return all;
}

// The letter after a single &, lower case; 0 for none.
wchar_t mnemonic(const std::wstring& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') continue;
        if (text[i + 1] == L'&') {
            ++i;
            continue;
        }
        return static_cast<wchar_t>(std::towlower(text[i + 1]));
    }
    return 0;
}

bool has_every_glyph(HWND control, HFONT font, const std::wstring& text) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, font);
    std::vector<WORD> glyphs(text.size());
    const DWORD got = GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                                       GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    if (got == GDI_ERROR) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (glyphs[i] == 0xffff && !std::iswspace(text[i]) && text[i] != L'&') return false;
    return true;
}

// The navigation bar's entries: each caption on one line within its button.
std::string cut_entries(HWND bar) {
    std::string cut;
    HDC dc = GetDC(bar);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(bar, WM_GETFONT, 0, 0)));
    const int count = static_cast<int>(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        SendMessageW(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        wchar_t text[128] = {};
        SendMessageW(bar, TB_GETBUTTONTEXTW, button.idCommand, reinterpret_cast<LPARAM>(text));
        RECT at{};
        SendMessageW(bar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&at));
        SIZE extent{};
        GetTextExtentPoint32W(dc, text, lstrlenW(text), &extent);
        // The button's edges and the toolbar's own padding take a few pixels.
        if (extent.cx > at.right - at.left - 6)
            cut += "navigation \"" + to_utf8(text) + "\": needs " + std::to_string(extent.cx) + ", has " +
                   std::to_string(at.right - at.left - 6) + "\n";
    }
    SelectObject(dc, old);
    ReleaseDC(bar, dc);
    return cut;
}

class LanguageFit : public fakes::FormFixture, public ::testing::WithParamInterface<std::string_view> {
protected:
    void SetUp() override {
        const i18n::Language* language = i18n::language_by_code(GetParam());
        ASSERT_NE(language, nullptr);
        i18n::use_language(*language, catalogue_of(*language));
    }
    void TearDown() override { i18n::use_language(i18n::english(), {}); }
};

// What is wrong on the screen, one line each: captions cut, characters
// without a glyph, underlined letters two controls of a window share.
struct Findings {
    std::string cut, boxes, shared_letters;
    int measured = 0;

    // Every visible control of a window (a page, a dialog), named after it.
    void measure(HWND top, const std::string& where) {
        std::map<wchar_t, std::wstring> letters;
        for (HWND control : descendants(top)) {
            if (!IsWindowVisible(control)) continue;
            const std::wstring text = text_of(control);
            if (text.empty() || class_of(control) == TOOLBARCLASSNAMEW) continue;  // the bar: cut_entries
            const std::string what = where + " \"" + to_utf8(text) + "\"";
            // A sheet's labels each in their own place and font.
            if (class_of(control) == ui::win32::Sheet::kClass) {
                const auto* sheet = ui::win32::bound_object<ui::win32::Sheet>(control);
                for (std::size_t i = 0; i < sheet->size(); ++i) {
                    const ui::win32::SheetItem& item = sheet->item(i);
                    if (!item.visible || item.picture) continue;
                    ++measured;
                    const std::string label = where + " \"" + to_utf8(item.text) + "\"";
                    if (!sheet->fits(i)) cut += label + ": cut on the sheet\n";
                    if (!has_every_glyph(control, item.font, item.text)) boxes += label + "\n";
                }
                continue;
            }
            if (!has_every_glyph(control, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), text))
                boxes += what + "\n";
            RECT client{};
            GetClientRect(control, &client);
            if (client.right == 0 && client.bottom == 0) continue;  // a name for a screen reader only
            if (const wchar_t letter = mnemonic(text)) {
                const auto [at, fresh] = letters.emplace(letter, text);
                if (!fresh) shared_letters += what + " and \"" + to_utf8(at->second) + "\"\n";
            }
            const auto needs = ui::win32::caption_needs(control);
            if (!needs) continue;
            ++measured;
            if (needs->cx > client.right || needs->cy > client.bottom)
                cut += what + ": needs " + std::to_string(needs->cx) + "x" + std::to_string(needs->cy) + ", has " +
                       std::to_string(client.right) + "x" + std::to_string(client.bottom) + "\n";
        }
    }
};

TEST_P(LanguageFit, EveryCaptionFitsHasItsGlyphsAndItsOwnLetter) {
    shell::win32::Win32Dialogs dialogs{GetModuleHandleW(nullptr)};
    shell::win32::MainWindow window{GetModuleHandleW(nullptr),
                                    {reg, sys, time, sound, shutdown, browser, files, processes, shell, ansi}, dialogs};
    ASSERT_TRUE(window.create());
    ShowWindow(window.hwnd(), SW_SHOWNOACTIVATE);
    Findings found;
    for (const shell::PageRow& row : shell::page_table()) {
        window.set_visible(row.group_box, true);
        found.measure(window.hwnd(), std::string(row.group_box));
        window.set_visible(row.group_box, false);
    }
    if (HWND bar = FindWindowExW(window.hwnd(), nullptr, TOOLBARCLASSNAMEW, nullptr)) found.cut += cut_entries(bar);
    // The dialogs, laid out as they are when they open.
    ASSERT_TRUE(dialogs.create(window.hwnd()));
    for (const wchar_t* form :
         {shell::win32::kTermsOfUseClass, shell::win32::kNotCompatibleClass, shell::win32::kHelpViewerClass}) {
        HWND dialog = FindWindowW(form, nullptr);
        ASSERT_NE(dialog, nullptr) << to_utf8(form);
        ui::win32::fit_captions(dialog);
        ShowWindow(dialog, SW_SHOWNOACTIVATE);
        found.measure(dialog, to_utf8(form));
        ShowWindow(dialog, SW_HIDE);
    }
    EXPECT_GT(found.measured, 100);
    EXPECT_EQ(found.cut, "");
    EXPECT_EQ(found.boxes, "");
    EXPECT_EQ(found.shared_letters, "");
}

std::vector<std::string_view> all_codes() {
    std::vector<std::string_view> codes;
    for (const i18n::Language& language : i18n::languages()) codes.push_back(language.code);
    return codes;
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguageFit, ::testing::ValuesIn(all_codes()),
                         [](const ::testing::TestParamInfo<std::string_view>& info) {
                             std::string name(info.param);
                             if (const auto dash = name.find('-'); dash != std::string::npos) name.erase(dash, 1);
                             return name;
                         });

}  // namespace
}  // namespace veltrano
