// The four tip pages and the Undo page, laid out from the catalogue's
// display tables; every click goes to the tip logic through the guard.
#include "shell/win32/help.h"
#include "shell/win32/page_builder.h"
#include "tips/catalogue.h"

namespace veltrano::shell::win32 {

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);

Page page_of(tips::Group group) {
    switch (group) {
    case tips::Group::Network: return Page::Network;
    case tips::Group::Power: return Page::Power;
    case tips::Group::System: return Page::System;
    case tips::Group::Customization: break;
    }
    return Page::Customize;
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

void build_group(const PageBuilder& b, const tips::GroupDisplay& group) {
    const Page page = page_of(group.group);
    HWND parent = b.page(page);
    style_page_caption(b, parent);
    TForm1& form = b.form;
    // Created in tip order, which is also the tab order; the help images
    // are no tab stops, so they do not get in the way.
    for (int tip = group.first_tip; tip <= group.last_tip; ++tip) {
        const tips::TipDisplay& t = tips::tip_display(tip);
        const std::string image(t.help_image);
        HWND help = b.add(page, decl(ControlKind::Picture, t.help_image, "Help", tips::help_image_rect(tip),
                                     b.guard([&form, image] { form.catalogue().help_image_click(image); })));
        b.controls.set_cursor(help, reinterpret_cast<LPCWSTR>(IDC_HELP));
        HWND box = b.add(page, decl(ControlKind::CheckBox, t.check_box, t.caption, tips::check_box_rect(tip)));
        b.controls.set_text_colour(box, kBlue);
    }
    const tips::Group g = group.group;
    const std::function<void()> handlers[] = {
        [&form, g] { form.catalogue().page(g).select_all(); },
        [&form, g] { form.catalogue().page(g).clear_all(); },
        [&form, g] { form.catalogue().page(g).apply(); },
    };
    for (std::size_t i = 0; i < group.buttons.size(); ++i) {
        const tips::ButtonDisplay& button = group.buttons[i];
        b.controls.create(parent, decl(ControlKind::Button, button.name, button.caption, button.rect,
                                       b.guard(handlers[i])),
                          b.font);
    }
    (void)parent;
}

void build_undo(const PageBuilder& b) {
    HWND page = b.page(Page::Undo);
    style_page_caption(b, page);
    TForm1& form = b.form;
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
        ControlDecl previous = decl(ControlKind::RadioButton, line.previous_radio, line.previous_caption,
                                    inside(tips::kUndoPreviousRadioRect));
        previous.visible = false;
        b.controls.create(radio_group, previous, b.font);
        SendMessageW(factory, BM_SETCHECK, BST_CHECKED, 0);
    }
    const std::function<void()> handlers[] = {
        [&form] { form.undo_page().BitBtn15Click(); },
        [&form] { form.undo_page().BitBtn16Click(); },
        [&form] { form.undo_page().BitBtn17Click(); },
    };
    for (std::size_t i = 0; i < tips::kUndoButtons.size(); ++i) {
        const tips::ButtonDisplay& button = tips::kUndoButtons[i];
        b.controls.create(page, decl(ControlKind::Button, button.name, button.caption, button.rect,
                                     b.guard(handlers[i])),
                          b.font);
    }
}

}  // namespace

void build_tip_pages(const PageBuilder& b) {
    for (const tips::GroupDisplay& group : tips::kGroupDisplay) build_group(b, group);
    build_undo(b);
    b.form.catalogue().set_help_base(help_base_address());
}

}  // namespace veltrano::shell::win32
