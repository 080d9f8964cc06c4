// The four tip pages and the Undo page, laid out from the catalogue's
// display tables; every click goes to the tip logic through the guard.
#include "platform/win32/text.h"
#include "shell/win32/page_builder.h"
#include "shell/win32/writer_lock.h"
#include "tips/tip_engine.h"
#include "tips/undo.h"

namespace veltrano::shell::win32 {

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);

// Apply and Undo change the machine: never while a command line does.
template <class Fn> std::function<void()> as_writer(HWND page, Fn fn) {
    return [page, fn] {
        WriterLock lock;
        if (!lock.acquire(0)) {
            MessageBoxW(GetAncestor(page, GA_ROOT), platform::win32::to_utf16(kAnotherWriter).c_str(), L"Veltrano",
                        MB_OK | MB_ICONINFORMATION);
            return;
        }
        fn();
    };
}

ControlDecl decl(ControlKind kind, std::string_view name, std::string_view caption, const tips::Rect& r,
                 std::function<void()> on_click = {}) {
    return {kind, std::string(name), std::string(caption), r.left, r.top, r.width, r.height, std::move(on_click)};
}

// The group boxes of the tip pages carry their caption bold and blue.
void style_page_caption(const PageBuilder& b, HWND page) {
    SendMessageW(page, WM_SETFONT, reinterpret_cast<WPARAM>(b.bold_font), FALSE);
    b.controls.set_text_colour(page, kBlue);
}

void build_group(const PageBuilder& b, const tips::GroupDisplay& group, tips::TipPage& logic) {
    style_page_caption(b, b.page);
    // Created in tip order, which is also the tab order; the help images
    // are no tab stops, so they do not get in the way.
    for (int tip = group.first_tip; tip <= group.last_tip; ++tip) {
        const tips::TipDisplay& t = tips::tip_display(tip);
        HWND help = b.add(decl(ControlKind::Picture, t.help_image, "Help", tips::help_image_rect(tip),
                               b.guard([&logic, tip] { logic.help_image_click(tip); })));
        b.controls.set_cursor(help, reinterpret_cast<LPCWSTR>(IDC_HELP));
        HWND box = b.add(decl(ControlKind::CheckBox, t.check_box, t.caption, tips::check_box_rect(tip)));
        b.controls.set_text_colour(box, kBlue);
    }
    const std::function<void()> handlers[] = {
        [&logic] { logic.select_all(); },
        [&logic] { logic.clear_all(); },
        as_writer(b.page, [&logic] { logic.apply(); }),
    };
    for (std::size_t i = 0; i < group.buttons.size(); ++i) {
        const tips::ButtonDisplay& button = group.buttons[i];
        b.add(decl(ControlKind::Button, button.name, button.caption, button.rect, b.guard(handlers[i])));
    }
    // Profiles: on the buttons' row, right of Apply where the row was empty,
    // so no control of the page moved; after Apply in the tab order.
    const std::string box(group.group_box);
    b.add(decl(ControlKind::Button, "LoadProfile_" + box, "&Load profile...", {352, tips::kButtonTop, 105, tips::kButtonHeight},
               b.guard([&logic] { logic.load_profile(); })));
    b.add(decl(ControlKind::Button, "SaveProfile_" + box, "Sa&ve profile...", {472, tips::kButtonTop, 105, tips::kButtonHeight},
               b.guard([&logic] { logic.save_profile(); })));
}

template <tips::Group G> void build_group_view(const PageBuilder& b, ui::Page* logic) {
    build_group(b, tips::group_display(G), static_cast<tips::TipPage&>(*logic));
}

void build_undo(const PageBuilder& b, ui::Page* page_logic) {
    auto& logic = static_cast<tips::UndoPage&>(*page_logic);
    HWND page = b.page;
    style_page_caption(b, page);
    for (std::size_t i = 0; i < tips::kUndoLines.size(); ++i) {
        const tips::UndoLineDisplay& line = tips::kUndoLines[i];
        HWND frame = b.controls.create(page, decl(ControlKind::Panel, line.frame, line.frame_caption,
                                                  tips::undo_frame_rect(i)),
                                       b.font);
        HWND box = b.controls.create(frame, decl(ControlKind::CheckBox, line.check_box, line.check_caption,
                                                 tips::kUndoCheckBoxRect),
                                     b.font);
        b.controls.set_text_colour(box, kBlue);
        // The two radio buttons sit alone inside their empty frame, so they
        // exclude each other and no other line's.
        const tips::Rect& g = tips::kUndoRadioGroupRect;
        HWND radio_group = b.controls.create(frame, decl(ControlKind::Panel, line.radio_group, "", g), b.font);
        auto inside = [&g](tips::Rect r) { return tips::Rect{r.left - g.left, r.top - g.top, r.width, r.height}; };
        HWND factory = b.controls.create(radio_group, decl(ControlKind::RadioButton, line.factory_radio,
                                                           tips::kFactoryRadioCaption,
                                                           inside(tips::kUndoFactoryRadioRect)),
                                         b.font);
        b.controls.create(radio_group, decl(ControlKind::RadioButton, line.previous_radio, line.previous_caption,
                                            inside(tips::kUndoPreviousRadioRect)),
                          b.font);
        SendMessageW(factory, BM_SETCHECK, BST_CHECKED, 0);
    }
    const std::function<void()> handlers[] = {
        [&logic] { logic.BitBtn15Click(); },
        [&logic] { logic.BitBtn16Click(); },
        as_writer(page, [&logic] { logic.BitBtn17Click(); }),
    };
    for (std::size_t i = 0; i < tips::kUndoButtons.size(); ++i) {
        const tips::ButtonDisplay& button = tips::kUndoButtons[i];
        b.controls.create(page, decl(ControlKind::Button, button.name, button.caption, button.rect,
                                     b.guard(handlers[i])),
                          b.font);
    }
}

const PageView kTipPageViews[] = {
    {tips::group_display(tips::Group::Network).group_box, build_group_view<tips::Group::Network>},
    {tips::group_display(tips::Group::Power).group_box, build_group_view<tips::Group::Power>},
    {tips::group_display(tips::Group::System).group_box, build_group_view<tips::Group::System>},
    {tips::group_display(tips::Group::Customization).group_box, build_group_view<tips::Group::Customization>},
    {tips::kUndoGroupBox, build_undo},
};

}  // namespace

}  // namespace veltrano::shell::win32
