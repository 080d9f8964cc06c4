// What the code that draws a page needs: where to put its controls and the
// fonts. Its handlers are plain functions of the logic: the kit runs each
// one through the guard (error_box.h). Each page's contents live
// in a view file of their own (welcome_page.cpp, tip_pages.cpp, ...); the
// table in page_views.cpp pairs each page with its view. The main window
// draws a page the first time it is shown, so what the user has not looked
// at costs nothing at start-up.
#pragma once

#include "ui/win32/controls.h"
#include "ui/page.h"

#include <windows.h>

#include <functional>
#include <string_view>

namespace veltrano::ui::win32 {

struct PageBuilder {
    Controls& controls;
    HWND page;        // the page's group box
    HFONT font;       // MS Sans Serif 8 pt
    HFONT bold_font;

    HWND add(ControlDecl decl) const { return controls.create(page, decl, font); }
    HWND add_to(HWND parent, ControlDecl decl) const { return controls.create(parent, decl, font); }
};

// One page's view: the page it fills, named by the logic's own constant,
// and how it draws that logic's controls and binds them to it. Made by
// view(), which names the logic's type: a view handed logic of another
// type says so through fits() rather than drawing on a guess.
struct PageView {
    std::string_view page;
    std::function<bool(ui::Page& logic)> fits;
    std::function<void(const PageBuilder& builder, ui::Page& logic)> build;
};

template <class Logic> PageView view(std::string_view page, void (*build)(const PageBuilder&, Logic&)) {
    return {page, [](ui::Page& logic) { return dynamic_cast<Logic*>(&logic) != nullptr; },
            [build](const PageBuilder& builder, ui::Page& logic) { build(builder, dynamic_cast<Logic&>(logic)); }};
}

}  // namespace veltrano::ui::win32
