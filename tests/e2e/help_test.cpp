// Every tip's help image asks the help viewer for its own page and anchor.
// Under Wine without a browser engine the viewer cannot show it: the error
// box names the address, and the viewer stays closed. The pages it would
// show are installed beside the program, each with its anchor.
#include "tips_session.h"

#include "e2e_environment.h"

#include <fstream>
#include <sstream>

namespace veltrano::e2e {
namespace {

using namespace veltrano::driver;

const wchar_t* const kNavigation[] = {L"Network", L"Power", L"System", L"Customize"};

std::wstring folder_of(const std::wstring& exe) { return exe.substr(0, exe.find_last_of(L"\\/") + 1); }

// The file URL of the folder "help" beside the program, as the error box
// names it: so a program started from anywhere (an unpacked zip, a folder
// with a blank in its name) is seen to look beside itself.
std::wstring help_address(const std::wstring& exe) {
    std::wstring address = L"file:///";
    for (wchar_t c : to_windows_path(folder_of(exe))) {
        if (c == L'\\') address += L'/';
        else if (c == L' ') address += L"%20";
        else address += c;
    }
    return address + L"help";
}

class HelpLinks : public TipsSession {
protected:
    // The help image of a tip sits left of and above its check box.
    HWND help_image(int tip) {
        HWND box_hwnd = tip_box(tip);
        if (!box_hwnd) return nullptr;
        const RECT box_rect = screen_rect_of(box_hwnd);
        const tips::Rect image = tips::help_image_rect(tip), check = tips::check_box_rect(tip);
        POINT centre{box_rect.left + image.left - check.left + image.width / 2,
                     box_rect.top + image.top - check.top + image.height / 2};
        HWND parent = GetParent(box_hwnd);
        ScreenToClient(parent, &centre);
        return ChildWindowFromPointEx(parent, centre, CWP_SKIPINVISIBLE);
    }

    // Clicks the tip's help image: the error box names its page and anchor in
    // the folder "help" beside the program, the viewer stays closed, and the
    // page is there with the anchor.
    void check_link(const tips::TipDisplay& t) {
        SCOPED_TRACE("tip " + std::to_string(t.tip));
        const std::wstring exe = setting(L"VELTRANO_EXE");
        go(kNavigation[static_cast<int>(t.group)]);
        HWND image = help_image(t.tip);
        ASSERT_NE(image, nullptr);
        ASSERT_NE(image, tip_box(t.tip));
        ASSERT_EQ(class_of(image), L"Button");
        ASSERT_TRUE(click(image, ClickMethod::PostedMouse));
        auto box_shown = find_message_box(process_id());
        ASSERT_TRUE(box_shown) << "no error box";
        // The address is the help folder's, a "/" and the tip's link.
        const std::wstring link = L"/" + from_utf8(t.help_link);
        const std::wstring address = help_address(exe) + link;
        EXPECT_NE(box_shown->text.find(address + L" cannot be shown"), std::wstring::npos)
            << to_utf8(box_shown->text) << "\nexpected " << to_utf8(address);
        EXPECT_TRUE(windows_of_process(process_id(), shell::win32::kHelpViewerClass, true).empty())
            << "the viewer opened";
        ASSERT_TRUE(press_message_box_button(box_shown->hwnd, L"OK"));

        std::ifstream page(to_utf8(folder_of(exe) + L"help/" + from_utf8(tips::help_page(t.help_link))));
        ASSERT_TRUE(page) << "help page missing beside the program";
        std::stringstream html;
        html << page.rdbuf();
        EXPECT_NE(html.str().find("<a name=\"" + std::string(tips::help_anchor(t.help_link)) + "\">"),
                  std::string::npos);
    }
};

TEST_F(HelpLinks, EachImageAsksForItsOwnPageAndAnchorAndTheViewerStaysClosed) {
    for (const tips::TipDisplay& t : tips::kTipDisplay) ASSERT_NO_FATAL_FAILURE(check_link(t));
}

// The one the unpacked zip is tried with: every link shares the folder, and
// all of them take minutes under Wine.
TEST_F(HelpLinks, OneImageFindsItsPageBesideTheProgram) { check_link(tips::kTipDisplay[0]); }

}  // namespace
}  // namespace veltrano::e2e
