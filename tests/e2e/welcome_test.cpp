// The welcome page as the user sees it: this machine's facts exactly as its
// registry holds them, memory figures that follow the machine, and the
// buttons' answers.
#include "veltrano_session.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>

namespace veltrano::e2e {
namespace {

using namespace veltrano::driver;

const std::wstring kCpu0 = L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
const std::wstring kCpu1 = L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\1";
const std::wstring kNt = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

// Read independently of the program: a missing value is an empty text or 0.
std::wstring str(const std::wstring& key, const wchar_t* name) {
    return read_string(HKEY_LOCAL_MACHINE, key, name).value_or(L"");
}
std::wstring num(const std::wstring& key, const wchar_t* name) {
    return std::to_wstring(static_cast<std::int32_t>(read_dword(HKEY_LOCAL_MACHINE, key, name).value_or(0)));
}

class WelcomePage : public VeltranoSession {
protected:
    // The texts of the page, pictures left out: a static's, or each line of
    // a window that draws several.
    std::vector<ControlInfo> page_texts() const {
        std::vector<ControlInfo> texts;
        for (const ControlInfo& c : visible_children(main_window())) {
            const bool sheet = c.class_name == L"VeltranoSheet";
            if (!sheet && _wcsicmp(c.class_name.c_str(), L"Static") != 0) continue;
            if ((GetWindowLongPtrW(c.hwnd, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) continue;
            HWND page = GetParent(c.hwnd);
            while (page && text_of(page) != L"Main Screen") page = GetParent(page);
            if (!page) continue;
            if (!sheet) {
                texts.push_back(c);
                continue;
            }
            for (std::size_t at = 0; at <= c.text.size();) {
                const std::size_t end = std::min(c.text.find(L"\r\n", at), c.text.size());
                texts.push_back(c);
                texts.back().text = c.text.substr(at, end - at);
                at = end + 2;
            }
        }
        return texts;
    }
    // The text of the page's label that starts so; waits for it to show.
    std::wstring label(const std::wstring& prefix) const {
        std::wstring found;
        wait_until([&] {
            for (const ControlInfo& c : page_texts())
                if (c.text.rfind(prefix, 0) == 0) return !(found = c.text).empty();
            return false;
        });
        return found;
    }
    // The figure a statistics label shows, in kbytes or percent, once the
    // first tick has written it.
    double figure(const std::wstring& prefix) const {
        std::wstring number;
        wait_until([&] { return (number = label(prefix).substr(prefix.size())).size() > 0 && iswdigit(number[0]); });
        // Whatever the user's decimal separator, it is the one non-digit
        // inside the number.
        std::string plain;
        for (wchar_t c : number) {
            if (iswdigit(c)) plain += static_cast<char>(c);
            else if (c == L' ') break;
            else plain += '.';
        }
        return std::strtod(plain.c_str(), nullptr);
    }
};

TEST_F(WelcomePage, ShowsThisMachinesFactsJoinedAsTheRegistryHoldsThem) {
    const std::wstring ie = L"SOFTWARE\\Microsoft\\Internet Explorer";
    const std::wstring expected[] = {
        L"CPU 1: " + str(kCpu0, L"Identifier") + L" Vendor: " + str(kCpu0, L"VendorIdentifier") + L" " +
            num(kCpu0, L"~MHZ") + L" MHz",
        L"CPU 2: " + str(kCpu1, L"Identifier") + L" Vendor: " + str(kCpu1, L"VendorIdentifier") + L" " +
            num(kCpu1, L"~MHZ") + L" MHz",
        L"Windows Name: " + str(kNt, L"ProductName"),
        L"Windows ProductId: " + str(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", L"ProductId"),
        L"Windows Type: " + str(kNt, L"CurrentType") + L" Version: " + str(kNt, L"CurrentVersion"),
        L"Windows CurrentBuildNumber: " + str(kNt, L"CurrentBuildNumber"),
        L"Windows BuildLab: " + str(kNt, L"BuildLab"),
        L"Internet Explorer Build: " + str(ie, L"Build") + L" Version: " + str(ie, L"Version"),
        L"Windows Registered Owner: " + str(kNt, L"RegisteredOwner"),
        L"Windows Boot Drive: " + str(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup", L"BootDir") +
            L"   and System Root: " + str(kNt, L"SystemRoot"),
    };
    for (const std::wstring& text : expected) {
        const std::wstring prefix = text.substr(0, text.find(L':') + 2);
        EXPECT_EQ(to_utf8(label(prefix)), to_utf8(text));
    }
    // The prefix holds real values, so the test compares something.
    EXPECT_FALSE(str(kNt, L"ProductName").empty());
}

TEST_F(WelcomePage, MemoryFiguresFollowTheMachineEverySecond) {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    ASSERT_TRUE(GlobalMemoryStatusEx(&status));
    // Past 4 GB here: the true total, not a capped one.
    EXPECT_NEAR(figure(L"Total  of physical memory: "), static_cast<double>(status.ullTotalPhys) / 1024, 0.5);
    EXPECT_NEAR(figure(L"Total size of paging file: "), static_cast<double>(status.ullTotalPageFile) / 1024,
                static_cast<double>(status.ullTotalPageFile) / 1024 / 100);
    EXPECT_GT(status.ullTotalPhys, 4ull << 30) << "this machine cannot tell the 64-bit figures from the 32-bit ones";

    // The bar and the load label come from the same tick.
    HWND bar = control(L"@msctls_progress32");
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(wait_until([&] {
        return static_cast<double>(SendMessageW(bar, PBM_GETPOS, 0, 0)) == figure(L"Net physical memory in use: ");
    }));

    // Take 256 MB of the machine's memory for ourselves: the available
    // figure has to move within a few ticks.
    const double before = figure(L"Available physical memory: ");
    constexpr std::size_t kTaken = 256u << 20;
    std::unique_ptr<char[]> taken(new char[kTaken]);
    for (std::size_t i = 0; i < kTaken; i += 4096) taken[i] = static_cast<char>(i);
    EXPECT_TRUE(wait_until([&] { return figure(L"Available physical memory: ") != before; }));
    EXPECT_NE(taken[4096], 1);  // keeps the pages in use until here
}

TEST_F(WelcomePage, EveryLabelIsFilledOnceTheFirstTickHasRun) {
    figure(L"Available in  paging file: ");
    const auto texts = page_texts();
    // Three texts of the introduction, eight captions, ten facts, the load
    // caption, the captions of the statistics' and the calendar's frames,
    // five statistics, the calendar's name for screen readers and the
    // language box's label.
    EXPECT_EQ(texts.size(), 31u) << describe_screen();
    for (const ControlInfo& c : texts) EXPECT_FALSE(c.text.empty()) << "empty label at " << c.screen_rect.left << "," << c.screen_rect.top;
}

TEST_F(WelcomePage, AgreeingToTheTermsReturnsToThePage) {
    click_caption(L"&Terms of use");
    HWND terms = find_top_window(L"Terms of use", process_id());
    ASSERT_NE(terms, nullptr);
    EXPECT_NE(find_control(terms, Selector::by_caption(L"You must agree to these terms and conditions before you can install or use the software. If you continue to use this software, it is assumed that  you have understood the risks involved and won't hold me liable in any manner direct or indirect.")), nullptr);
    HWND yes = find_control(terms, Selector::by_caption(L"&Yes, I Agree"));
    ASSERT_TRUE(click(yes));
    EXPECT_TRUE(wait_until([&] { return !is_visible(terms); }));
    EXPECT_NE(control(L"&Check for updates"), nullptr);
}

// The browser's automation object, made unknown for the test: Wine's own
// browser would otherwise start as a process of its own.
class WithoutABrowser : public WelcomePage {
protected:
    const std::wstring key = L"InternetExplorer.Application\\CLSID";
    std::optional<std::wstring> saved;
    void seed_machine() override {
        saved = read_string(HKEY_CLASSES_ROOT, key, L"");
        ASSERT_TRUE(delete_tree(HKEY_CLASSES_ROOT, key));
        ASSERT_FALSE(key_exists(HKEY_CLASSES_ROOT, key)) << "the browser would really start";
    }
    void TearDown() override {
        WelcomePage::TearDown();
        if (saved) write_string(HKEY_CLASSES_ROOT, key, L"", *saved);
    }
};

TEST_F(WithoutABrowser, CheckForUpdatesShowsTheErrorAndThePageStays) {
    click_caption(L"&Check for updates");
    auto box = find_message_box(process_id());
    ASSERT_TRUE(box.has_value()) << "no error box";
    EXPECT_EQ(box->text.rfind(L"Cannot open a browser window on http", 0), 0u) << to_utf8(box->text);
    EXPECT_NE(box->text.find(L"/veltrano_products.htm: "), std::wstring::npos) << to_utf8(box->text);
    ASSERT_TRUE(press_message_box_button(box->hwnd, L"OK"));
    EXPECT_NE(control(L"&Vote for Veltrano"), nullptr);
    EXPECT_NE(label(L"Windows Name: "), L"");
}

}  // namespace
}  // namespace veltrano::e2e
