// The four tip pages and the Undo page, laid out from the catalogue's
// display tables; every click goes to the tip logic.
#include "i18n/translate.h"
#include "platform/win32/text.h"
#include "tips/win32/tip_pages.h"

#include <utility>
#include <vector>

namespace veltrano::tips::win32 {

using namespace ui::win32;

namespace {

using i18n::tr;

constexpr COLORREF kBlue = RGB(0, 0, 255);

ControlDecl decl(ControlKind kind, std::string_view name, std::string_view caption, const tips::Rect& r,
                 std::function<void()> on_click = {}) {
    return {kind, std::string(name), std::string(caption), r.left, r.top, r.width, r.height, std::move(on_click)};
}

ControlDecl button(const tips::ButtonDisplay& b, std::function<void()> on_click) {
    return decl(ControlKind::Button, b.name, tr(b.caption), b.rect, std::move(on_click));
}

// The group boxes of the tip pages carry their caption bold and blue.
void style_page_caption(const PageBuilder& b, HWND page) {
    SendMessageW(page, WM_SETFONT, reinterpret_cast<WPARAM>(b.bold_font), FALSE);
    b.controls.set_text_colour(page, kBlue);
}

}  // namespace

void build_tip_page(const PageBuilder& b, tips::TipPage& logic) {
    const tips::GroupDisplay& group = tips::group_display(logic.group());
    style_page_caption(b, b.page);
    std::vector<std::pair<HWND, HWND>> menu_owners;  // each tip's help image and box
    // Created in tip order, which is also the tab order: each help image,
    // a button for the keyboard and for readers, then its tip's box. F1 on
    // the box opens the same help.
    for (int tip = group.first_tip; tip <= group.last_tip; ++tip) {
        const tips::TipDisplay& t = tips::tip_display(tip);
        ControlDecl image = decl(ControlKind::FlatPictureButton, t.help_image, "Help", tips::help_image_rect(tip),
                                 [&logic, tip] { logic.help_image_click(tip); });
        image.accessible_name = tips::help_image_name(tip);
        HWND help = b.add(image);
        b.controls.set_cursor(help, reinterpret_cast<LPCWSTR>(IDC_HELP));
        ControlDecl check = decl(ControlKind::CheckBox, t.check_box, tr(t.caption), tips::check_box_rect(tip));
        check.on_help = [&logic, box = std::string(t.check_box)] { logic.check_box_help(box); };
        HWND box = b.add(check);
        b.controls.set_text_colour(box, kBlue);
        menu_owners.push_back({help, box});
    }
    // Each tip's menu, on its box and on its help image: an applied tip's
    // box is disabled, so the keyboard reaches the menu from the image
    // before it. Hidden windows after the visible controls, out of the tab
    // order and of the readers' way.
    for (int tip = group.first_tip; tip <= group.last_tip; ++tip) {
        std::vector<HWND> items;
        for (const bool previous : {false, true})
            items.push_back(b.add(decl(ControlKind::MenuItem, tips::undo_tip_menu_item(tip, previous),
                                       i18n::tr(previous ? tips::kUndoTipPreviousCaption : tips::kUndoTipFactoryCaption), {},
                                       [&logic, tip, previous] { logic.undo_tip(tip, previous); })));
        const auto [help, box] = menu_owners[static_cast<std::size_t>(tip - group.first_tip)];
        b.controls.set_popup_menu(help, items);
        b.controls.set_popup_menu(box, std::move(items));
    }
    b.add(button(group.select_all, [&logic] { logic.select_all(); }));
    b.add(button(group.clear_all, [&logic] { logic.clear_all(); }));
    b.add(button(group.apply, [&logic] { logic.apply(); }));
    // Profiles: on the buttons' row, right of Apply where the row was empty,
    // so no control of the page moved; after Apply in the tab order.
    const std::string box(group.group_box);
    b.add(decl(ControlKind::Button, "LoadProfile_" + box, tr("&Load profile..."), {352, tips::kButtonTop, 105, tips::kButtonHeight},
               [&logic] { logic.load_profile(); }));
    b.add(decl(ControlKind::Button, "SaveProfile_" + box, tr("Sa&ve profile..."), {472, tips::kButtonTop, 105, tips::kButtonHeight},
               [&logic] { logic.save_profile(); }));
}

void build_undo_page(const PageBuilder& b, tips::UndoPage& logic) {
    HWND page = b.page;
    style_page_caption(b, page);
    for (std::size_t i = 0; i < tips::kUndoLines.size(); ++i) {
        const tips::UndoLineDisplay& line = tips::kUndoLines[i];
        HWND frame = b.controls.create(page, decl(ControlKind::Panel, line.frame, tr(line.frame_caption),
                                                  tips::undo_frame_rect(i)),
                                       b.font);
        HWND box = b.controls.create(frame, decl(ControlKind::CheckBox, line.check_box, tr(line.check_caption),
                                                 tips::kUndoCheckBoxRect),
                                     b.font);
        b.controls.set_text_colour(box, kBlue);
        // The two radio buttons sit alone inside their empty frame, so they
        // exclude each other and no other line's.
        const tips::Rect& g = tips::kUndoRadioGroupRect;
        HWND radio_group = b.controls.create(frame, decl(ControlKind::Panel, line.radio_group, "", g), b.font);
        auto inside = [&g](tips::Rect r) { return tips::Rect{r.left - g.left, r.top - g.top, r.width, r.height}; };
        HWND factory = b.controls.create(radio_group, decl(ControlKind::RadioButton, line.factory_radio,
                                                           tr(tips::kFactoryRadioCaption),
                                                           inside(tips::kUndoFactoryRadioRect)),
                                         b.font);
        b.controls.create(radio_group, decl(ControlKind::RadioButton, line.previous_radio, tr(line.previous_caption),
                                            inside(tips::kUndoPreviousRadioRect)),
                          b.font);
        SendMessageW(factory, BM_SETCHECK, BST_CHECKED, 0);
    }
    const tips::UndoButtons& buttons = tips::kUndoButtons;
    b.add(button(buttons.select_all, [&logic] { logic.select_all(); }));
    b.add(button(buttons.clear_all, [&logic] { logic.clear_all(); }));
    b.add(button(buttons.undo, [&logic] { logic.undo(); }));
}

}  // namespace veltrano::tips::win32
